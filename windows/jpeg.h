// JPEG decoding through libjpeg.
#pragma once

#include <QByteArray>
#include <QImage>

namespace vostrel {

// Decodes a JFIF image held in memory. Throws std::runtime_error with
// libjpeg's description for data that is not a complete, valid JPEG image.
QImage DecodeJpeg(const QByteArray& data);

} // namespace vostrel
