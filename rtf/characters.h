// Byte and character classes the parser, the escaping and the editing share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

namespace vostrel::rtf::detail {

// Offsets into the source are kept in 32 bits.
inline constexpr std::size_t kMaxSource = std::numeric_limits<std::uint32_t>::max();
inline constexpr char32_t kReplacement = 0xFFFD;

constexpr bool IsLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

constexpr bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

// Raw bytes that carry nothing: CR, LF and the other control bytes but TAB.
constexpr bool IsIgnoredByte(unsigned char c) {
    return c < 0x20 && c != '\t';
}

// The value of a hexadecimal digit, or -1.
constexpr int HexValue(unsigned char c) {
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

constexpr bool IsHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

constexpr bool IsLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

constexpr bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

} // namespace vostrel::rtf::detail
