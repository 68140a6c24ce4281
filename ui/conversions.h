// Conversions between field texts and numbers with the user's decimal
// separator; the rules themselves live in calc/numtext.h.
#pragma once

#include <QString>
#include <cstdint>
#include <string>

namespace vostrel {

class NumberText {
public:
    // The separator of the user's regional settings (QLocale::system()).
    static QString systemDecimalSeparator();

    explicit NumberText(QString decimalSeparator = systemDecimalSeparator());

    const std::string& decimalSeparatorUtf8() const { return separatorUtf8_; }

    // Throw ConversionError for a text that is not such a number.
    double toFloat(const QString& text) const;
    std::int32_t toInt(const QString& text) const;

    // Fixed-point text with `decimals` digits after the separator.
    QString fixed(double value, int decimals) const;
    static QString fromInt(std::int32_t value) { return QString::number(value); }

private:
    std::string separatorUtf8_;
};

} // namespace vostrel
