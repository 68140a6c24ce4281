#include "conversions.h"

#include "calc/numtext.h"

#include <QLocale>

namespace vostrel {

QString NumberText::systemDecimalSeparator() {
    return QLocale::system().decimalPoint();
}

NumberText::NumberText(QString decimalSeparator) : separatorUtf8_(decimalSeparator.toStdString()) {}

double NumberText::toFloat(const QString& text) const {
    return TextToFloat(text.toStdString(), separatorUtf8_);
}

std::int32_t NumberText::toInt(const QString& text) const {
    return TextToInt(text.toStdString());
}

QString NumberText::fixed(double value, int decimals) const {
    return QString::fromStdString(FixedText(value, decimals, separatorUtf8_));
}

} // namespace vostrel
