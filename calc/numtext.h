// Number text forms: text to number with a given decimal separator, and the
// fixed-point text in which the program writes every number.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vostrel {

// Thrown when a text is not a number of the kind asked for. what() is the
// message the user sees, e.g. "'12.5' is not a valid floating point value."
class ConversionError : public std::runtime_error {
public:
    enum class Kind { Float, Integer };

    ConversionError(std::string text, Kind kind);

    const std::string& text() const { return text_; }
    Kind kind() const { return kind_; }

private:
    std::string text_;
    Kind kind_;
};

// Parses an optionally signed decimal number with the given separator and an
// optional exponent ("E" or "e"); leading and trailing blanks are ignored.
// Throws ConversionError for an empty text, a lone separator, two separators,
// the other separator, a value beyond the range of double, or anything else.
double TextToFloat(std::string_view text, std::string_view decimalSeparator);

// Parses an optionally signed decimal integer in the 32-bit range; leading
// and trailing blanks are ignored. Throws ConversionError otherwise.
std::int32_t TextToInt(std::string_view text);

// The fixed-point text with `decimals` digits after the separator: rounded
// (half away from zero on the exact value) to at most six significant digits
// and at most `decimals` decimals, whichever keeps fewer; a value with more
// than six integer digits after rounding is written in exponent form
// (1234567 -> "1,23457E6", 10000000 -> "1E7").
std::string FixedText(double value, int decimals, std::string_view decimalSeparator);

} // namespace vostrel
