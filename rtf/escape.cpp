#include "rtf/escape.h"

#include "rtf/characters.h"
#include "rtf/rtf.h"

#include <algorithm>

namespace vostrel::rtf {

namespace detail {

namespace {

// One UTF-16 unit as \uN? with N a signed 16-bit number.
void AppendUnicode(std::string& out, char32_t unit) {
    const int value = unit < 0x8000 ? static_cast<int>(unit) : static_cast<int>(unit) - 0x10000;
    out += "\\u";
    out += std::to_string(value);
    out += '?';
}

// A character at or above U+0080, surrogates and values past U+10FFFF
// replaced; returns the character written.
char32_t AppendNonAscii(std::string& out, char32_t c) {
    if (IsSurrogate(c) || c > 0x10FFFF)
        c = kReplacement;
    if (c <= 0xFFFF) {
        AppendUnicode(out, c);
    } else {
        AppendUnicode(out, 0xD800 + ((c - 0x10000) >> 10));
        AppendUnicode(out, 0xDC00 + ((c - 0x10000) & 0x3FF));
    }
    return c;
}

} // namespace

Escaped Escape(std::u32string_view value) {
    Escaped r;
    if (value.empty())
        return r;
    r.rtf = "{\\uc1 ";
    auto add = [&r](char32_t ch, std::size_t begin) {
        r.text.push_back(ch);
        r.ranges.push_back({begin, r.rtf.size()});
    };
    int open = 0; // groups opened by marks
    for (std::size_t k = 0; k < value.size(); ++k) {
        const char32_t c = value[k];
        const std::size_t begin = r.rtf.size();
        if (c == kItalicMark || c == kSubscriptMark) {
            r.rtf += c == kItalicMark ? "{\\i " : "{\\sub ";
            r.depth = std::max(r.depth, ++open + 1);
        } else if (c == kEndMark) {
            if (open > 0) {
                r.rtf += '}';
                --open;
            }
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && k + 1 < value.size() && value[k + 1] == '\n')
                ++k;
            r.rtf += "\\line ";
            add(0x0B, begin);
        } else if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
            continue;
        } else if (c == '\\' || c == '{' || c == '}') {
            r.rtf += '\\';
            r.rtf += static_cast<char>(c);
            add(c, begin);
        } else if (c < 0x80) {
            r.rtf += static_cast<char>(c);
            add(c, begin);
        } else {
            add(AppendNonAscii(r.rtf, c), begin);
        }
    }
    if (r.text.empty())
        return {};
    r.rtf.append(static_cast<std::size_t>(open), '}');
    r.rtf += '}';
    return r;
}

} // namespace detail

std::string EscapeText(std::u32string_view value) {
    return detail::Escape(value).rtf;
}

} // namespace vostrel::rtf
