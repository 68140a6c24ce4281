#include "numtext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <vector>

namespace vostrel {

namespace {

std::string conversionMessage(const std::string& text, ConversionError::Kind kind) {
    return "'" + text + "' is not a valid " +
           (kind == ConversionError::Kind::Float ? "floating point" : "integer") + " value.";
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

// Up to this many significant digits are written.
constexpr int kSignificant = 6;

// The exact decimal expansion of a finite, positive double: its significant
// digits (no leading zeros) and the decimal exponent such that
// value = 0.d1d2d3... * 10^exponent.
struct Digits {
    std::string digits;
    int exponent = 0;
};

Digits exactDigits(double positive) {
    // A double has at most 767 significant decimal digits; 800 after the
    // point of the mantissa is always exact (glibc prints exact expansions).
    char buffer[1024];
    const int n = std::snprintf(buffer, sizeof buffer, "%.800e", positive);
    std::string_view text(buffer, static_cast<size_t>(n));
    const size_t e = text.find('e');
    Digits result;
    result.digits.reserve(e);
    for (char c : text.substr(0, e))
        if (isDigit(c))
            result.digits.push_back(c);
    int exp10 = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(),
                    exp10);
    result.exponent = exp10 + 1;
    while (result.digits.size() > 1 && result.digits.back() == '0')
        result.digits.pop_back();
    return result;
}

// The mantissa read so far, rewritten with "." as separator for from_chars,
// and what the magnitude check of an out-of-range value needs.
struct Scanned {
    std::string normal;
    size_t next = 0;                      // the first character not read
    bool significant = false;             // a non-zero digit was seen
    long long integerSignificant = 0;     // digits before the separator, from the first non-zero
    long long leadingZerosAfterPoint = 0; // zeros before the first significant digit
    long long exponent = 0;               // the written exponent, saturated
};

// The optional sign and the digits around one separator; false when there
// is no digit at all.
bool scanMantissa(std::string_view s, std::string_view decimalSeparator, Scanned& in) {
    size_t& i = in.next;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-')
            in.normal.push_back('-');
        ++i;
    }
    long long mantissaDigits = 0;
    bool seenPoint = false;
    while (i < s.size()) {
        if (isDigit(s[i])) {
            in.normal.push_back(s[i]);
            ++mantissaDigits;
            if (s[i] != '0')
                in.significant = true;
            if (!seenPoint && in.significant)
                ++in.integerSignificant;
            if (seenPoint && !in.significant)
                ++in.leadingZerosAfterPoint;
            ++i;
        } else if (!seenPoint && !decimalSeparator.empty() &&
                   s.substr(i, decimalSeparator.size()) == decimalSeparator) {
            seenPoint = true;
            in.normal.push_back('.');
            i += decimalSeparator.size();
        } else {
            break;
        }
    }
    return mantissaDigits > 0;
}

// An optional "E" or "e", a sign and digits; false when the exponent has no
// digit.
bool scanExponent(std::string_view s, Scanned& in) {
    size_t& i = in.next;
    if (i >= s.size() || (s[i] != 'E' && s[i] != 'e'))
        return true;
    in.normal.push_back('e');
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        in.normal.push_back(s[i++]);
    const size_t expStart = in.normal.size();
    while (i < s.size() && isDigit(s[i]))
        in.normal.push_back(s[i++]);
    if (in.normal.size() == expStart)
        return false;
    // Saturate absurd exponents so the magnitude estimate cannot overflow;
    // leading zeros do not make an exponent large ("1E-0000001"), and the
    // bound stays far above any count of mantissa digits.
    std::string_view digits(in.normal.data() + expStart, in.normal.size() - expStart);
    while (digits.size() > 1 && digits.front() == '0')
        digits.remove_prefix(1);
    in.exponent = digits.size() > 15 ? 1'000'000'000'000'000 : std::stoll(std::string(digits));
    if (in.normal[expStart - 1] == '-')
        in.exponent = -in.exponent;
    return true;
}

// The value of the blank-trimmed text, or nothing when it is not a finite
// number; too small for a double rounds to zero.
std::optional<double> parseFloat(std::string_view s, std::string_view decimalSeparator) {
    Scanned in;
    in.normal.reserve(s.size() + 2);
    if (!scanMantissa(s, decimalSeparator, in) || !scanExponent(s, in) || in.next != s.size())
        return std::nullopt;
    double value = 0;
    const std::string& normal = in.normal;
    const auto [end, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (ec == std::errc::result_out_of_range && in.significant) {
        const long long magnitude =
            in.exponent +
            (in.integerSignificant > 0 ? in.integerSignificant : -in.leadingZerosAfterPoint);
        if (magnitude < 0)
            return normal.front() == '-' ? -0.0 : 0.0;
        return std::nullopt;
    }
    if (ec != std::errc() || end != normal.data() + normal.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The digits of a finite positive value rounded half up to the given
// decimals but to no more than six significant digits, trailing zeros
// dropped; no digits when it rounds to zero.
Digits roundedDigits(double positive, int decimals) {
    Digits d = exactDigits(positive);
    const int keep = std::min(kSignificant, d.exponent + decimals);
    if (keep < 0) {
        d.digits.clear();
    } else if (static_cast<size_t>(keep) < d.digits.size()) {
        const bool up = d.digits[static_cast<size_t>(keep)] >= '5';
        d.digits.resize(static_cast<size_t>(keep));
        if (up) {
            // Add one unit in the last kept place, carrying leftwards.
            int k = keep - 1;
            while (k >= 0 && d.digits[static_cast<size_t>(k)] == '9')
                d.digits[static_cast<size_t>(k--)] = '0';
            if (k >= 0) {
                ++d.digits[static_cast<size_t>(k)];
            } else {
                d.digits.insert(d.digits.begin(), '1');
                ++d.exponent;
            }
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

// "d.dddE±n" for values too large to write out in six digits.
std::string scientificText(const Digits& d, std::string_view decimalSeparator) {
    std::string out(1, d.digits.front());
    if (d.digits.size() > 1) {
        out += decimalSeparator;
        out.append(d.digits, 1);
    }
    out += 'E';
    out += std::to_string(d.exponent - 1);
    return out;
}

// The integer part (at least "0") and exactly `decimals` digits after the
// separator, zeros past the kept digits.
std::string positionalText(const Digits& d, int decimals, std::string_view decimalSeparator) {
    // Digit at place p (p = 0 is the first integer digit when exponent > 0).
    const auto digitAt = [&](int p) {
        return p >= 0 && static_cast<size_t>(p) < d.digits.size() ? d.digits[static_cast<size_t>(p)]
                                                                  : '0';
    };
    std::string out;
    if (d.exponent <= 0) {
        out += '0';
    } else {
        for (int p = 0; p < d.exponent; ++p)
            out += digitAt(p);
    }
    if (decimals > 0) {
        out += decimalSeparator;
        for (int k = 0; k < decimals; ++k)
            out += digitAt(d.exponent + k);
    }
    return out;
}

} // namespace

ConversionError::ConversionError(std::string text, Kind kind)
    : std::runtime_error(conversionMessage(text, kind)), text_(std::move(text)), kind_(kind) {}

double TextToFloat(std::string_view text, std::string_view decimalSeparator) {
    const std::optional<double> value = parseFloat(trimBlanks(text), decimalSeparator);
    if (!value)
        throw ConversionError(std::string(text), ConversionError::Kind::Float);
    return *value;
}

std::int32_t TextToInt(std::string_view text) {
    std::string_view s = trimBlanks(text);
    const bool negative = !s.empty() && s.front() == '-';
    if (!s.empty() && (s.front() == '+' || s.front() == '-'))
        s.remove_prefix(1);
    // Parsed as a magnitude in 64 bits so that -2147483648 fits.
    std::int64_t magnitude = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), magnitude);
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (s.empty() || !isDigit(s.front()) || ec != std::errc() || end != s.data() + s.size() ||
        value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        throw ConversionError(std::string(text), ConversionError::Kind::Integer);
    return static_cast<std::int32_t>(value);
}

std::string FixedText(double value, int decimals, std::string_view decimalSeparator) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    decimals = std::clamp(decimals, 0, 18);
    Digits d;
    if (value != 0)
        d = roundedDigits(std::fabs(value), decimals);
    if (d.digits.empty()) { // the value rounds to zero: no sign
        std::string zero(1, '0');
        if (decimals > 0)
            zero.append(decimalSeparator).append(static_cast<size_t>(decimals), '0');
        return zero;
    }
    const std::string sign = std::signbit(value) ? "-" : "";
    if (d.exponent > kSignificant)
        return sign + scientificText(d, decimalSeparator);
    return sign + positionalText(d, decimals, decimalSeparator);
}

} // namespace vostrel
