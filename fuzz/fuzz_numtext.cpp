// libFuzzer target for the number text forms (calc/numtext.h).
//
// The whole input is a text read with TextToFloat under each separator and
// with TextToInt; its first eight bytes are also taken as a raw double. The
// last byte picks the separator and the decimals count for writing numbers.
// Checked:
//  - TextToFloat refuses exactly what is not an optionally signed decimal
//    number with at most one separator and an optional exponent, and values
//    beyond double range; what it accepts is the nearest double (as strtod
//    reads the same number), never infinite or NaN;
//  - TextToInt accepts exactly the signed decimal integers in the 32-bit
//    range, and the value's decimal text reads back as itself;
//  - FixedText writes a finite value as a text that reads back without error,
//    within the rounding it promises, and writes that value back as the same
//    text; with at most six significant digits and exactly `decimals` digits
//    after the separator in fixed form; INF, -INF and NAN for the rest, which
//    do not read back.
#include "calc/numtext.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

using namespace vostrel;

namespace {

const std::string_view kSeparators[] = {",", ".", "\u066B"}; // the last: Arabic, two bytes

[[noreturn]] void Fail(const char* what, std::string_view text, std::string_view sep, double value,
                       int decimals) {
    std::fprintf(stderr, "numtext invariant broken: %s\n  text: '%.*s'\n  separator: '%.*s'\n",
                 what, static_cast<int>(text.size()), text.data(), static_cast<int>(sep.size()),
                 sep.data());
    std::fprintf(stderr, "  value: %.17g  decimals: %d\n", value, decimals);
    std::abort();
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

// The number as C's strtod spells it, or nothing when `text` is not a number
// of the accepted form: [sign] digits with at most one separator (at least
// one digit in all) [E|e [sign] digits], blanks around.
std::optional<std::string> CSpelling(std::string_view text, std::string_view sep) {
    const std::string_view s = Trim(text);
    std::string c;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        c += s[i++];
    std::size_t digits = 0, separators = 0;
    for (;;) {
        if (i < s.size() && IsDigit(s[i])) {
            c += s[i++];
            ++digits;
        } else if (s.substr(i).starts_with(sep)) {
            if (++separators > 1)
                return std::nullopt;
            c += '.';
            i += sep.size();
        } else {
            break;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        c += 'e';
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            c += s[i++];
        std::size_t expDigits = 0;
        while (i < s.size() && IsDigit(s[i])) {
            c += s[i++];
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != s.size())
        return std::nullopt;
    return c;
}

bool SameDouble(double a, double b) {
    return a == b && std::signbit(a) == std::signbit(b);
}

void CheckTextToFloat(std::string_view text, std::string_view sep) {
    const std::optional<std::string> c = CSpelling(text, sep);
    // strtod is correctly rounded in glibc and gives HUGE_VAL on overflow,
    // zero (or a subnormal) for values too small.
    double expected = 0;
    if (c)
        expected = std::strtod(c->c_str(), nullptr);
    const bool valid = c && std::isfinite(expected);
    double value = 0;
    try {
        value = TextToFloat(text, sep);
    } catch (const ConversionError& e) {
        if (valid)
            Fail("TextToFloat refuses a number", text, sep, expected, -1);
        if (e.text() != text || e.kind() != ConversionError::Kind::Float)
            Fail("ConversionError does not carry the text", text, sep, 0, -1);
        return;
    }
    if (!valid)
        Fail("TextToFloat accepts what is not a number in range", text, sep, value, -1);
    if (!SameDouble(value, expected))
        Fail("TextToFloat gives another value than strtod", text, sep, value, -1);
}

void CheckTextToInt(std::string_view text) {
    const std::string_view s = Trim(text);
    std::size_t i = s.starts_with('+') || s.starts_with('-') ? 1 : 0;
    const bool negative = s.starts_with('-');
    bool valid = i < s.size();
    std::int64_t magnitude = 0;
    for (; i < s.size() && valid; ++i) {
        valid = IsDigit(s[i]);
        magnitude = std::min<std::int64_t>(magnitude * 10 + (s[i] - '0'), std::int64_t{1} << 40);
    }
    const std::int64_t expected = negative ? -magnitude : magnitude;
    valid = valid && expected >= std::numeric_limits<std::int32_t>::min() &&
            expected <= std::numeric_limits<std::int32_t>::max();
    std::int32_t value = 0;
    try {
        value = TextToInt(text);
    } catch (const ConversionError& e) {
        if (valid)
            Fail("TextToInt refuses an integer", text, "", static_cast<double>(expected), -1);
        if (e.text() != text || e.kind() != ConversionError::Kind::Integer)
            Fail("ConversionError does not carry the text", text, "", 0, -1);
        return;
    }
    if (!valid || value != expected)
        Fail("TextToInt accepts a wrong value", text, "", value, -1);
    if (TextToInt(std::to_string(value)) != value)
        Fail("an integer's decimal text does not read back", text, "", value, -1);
}

// Significant digits of a written number: from the first non-zero digit to
// the last non-zero one.
int SignificantDigits(std::string_view digits) {
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string_view::npos)
        return 0;
    return static_cast<int>(digits.find_last_not_of('0') - first + 1);
}

void CheckShape(std::string_view text, double value, int decimals, std::string_view sep) {
    std::string_view s = text;
    if (s.starts_with('-'))
        s.remove_prefix(1);
    std::string digits;
    bool exponentForm = false;
    std::size_t i = 0;
    while (i < s.size() && IsDigit(s[i]))
        digits += s[i++];
    const std::size_t integerDigits = digits.size();
    std::size_t fraction = 0;
    if (s.substr(i).starts_with(sep)) {
        i += sep.size();
        while (i < s.size() && IsDigit(s[i])) {
            digits += s[i++];
            ++fraction;
        }
    }
    if (i < s.size() && s[i] == 'E') {
        exponentForm = true;
        ++i;
        const std::size_t e = i;
        while (i < s.size() && IsDigit(s[i]))
            ++i;
        if (i == e || std::atoi(std::string(s.substr(e)).c_str()) < 6)
            Fail("exponent form below a million", text, sep, value, decimals);
    }
    if (i != s.size() || integerDigits == 0)
        Fail("written number malformed", text, sep, value, decimals);
    if (SignificantDigits(digits) > 6)
        Fail("more than six significant digits written", text, sep, value, decimals);
    if (exponentForm) {
        if (integerDigits != 1 || digits[0] == '0' || (fraction > 0 && digits.back() == '0'))
            Fail("exponent form not normalised", text, sep, value, decimals);
        return;
    }
    if (fraction != static_cast<std::size_t>(decimals) || (integerDigits > 1 && digits[0] == '0') ||
        integerDigits > 6)
        Fail("fixed form without the asked decimals", text, sep, value, decimals);
    if (text.starts_with('-') && SignificantDigits(digits) == 0)
        Fail("zero written with a sign", text, sep, value, decimals);
}

void CheckFixedText(double value, int decimals, std::string_view sep) {
    const std::string text = FixedText(value, decimals, sep);
    if (!std::isfinite(value)) {
        const char* expected = std::isnan(value) ? "NAN" : value < 0 ? "-INF" : "INF";
        if (text != expected)
            Fail("non-finite value written wrongly", text, sep, value, decimals);
        try {
            TextToFloat(text, sep);
        } catch (const ConversionError&) {
            return;
        }
        Fail("INF or NAN reads back", text, sep, value, decimals);
    }
    CheckShape(text, value, decimals, sep);
    double back = 0;
    try {
        back = TextToFloat(text, sep);
    } catch (const ConversionError&) {
        Fail("written number does not read back", text, sep, value, decimals);
    }
    // Half a unit in the coarser of the last decimal and the sixth
    // significant digit, with room for the conversions' own rounding: a few
    // units in the last place of the values compared.
    const double tolerance =
        std::max(0.5 * std::pow(10.0, -decimals), std::fabs(value) * 5e-6) * (1 + 1e-12) +
        4 * std::numeric_limits<double>::epsilon() * std::max(std::fabs(value), std::fabs(back));
    if (!std::isfinite(back) || !(std::fabs(back - value) <= tolerance))
        Fail("written number reads back too far from the value", text, sep, value, decimals);
    if (FixedText(back, decimals, sep) != text)
        Fail("value read back is written differently", text, sep, back, decimals);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > 4096)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::uint8_t control = data[size - 1];
    const std::string_view sep = kSeparators[control % 3];
    const int decimals = control / 3 % 7;

    for (const std::string_view s : kSeparators) {
        CheckTextToFloat(text, s);
        try {
            CheckFixedText(TextToFloat(text, s), decimals, s);
        } catch (const ConversionError&) {
        }
    }
    CheckTextToInt(text);

    std::uint8_t raw[sizeof(double)] = {};
    std::memcpy(raw, data, std::min(size, sizeof raw));
    double value = 0;
    std::memcpy(&value, raw, sizeof value);
    CheckFixedText(value, decimals, sep);
    return 0;
}
