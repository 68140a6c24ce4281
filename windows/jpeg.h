// JPEG decoding through libjpeg.
#pragma once

#include "calc/outcome.h"

#include <QByteArray>
#include <QImage>

namespace vostrel {

// Decodes a JFIF image held in memory; fails with libjpeg's description for
// data that is not a complete, valid JPEG image.
Outcome<QImage, QString> DecodeJpeg(const QByteArray& data);

} // namespace vostrel
