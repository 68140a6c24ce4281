// The text a value reads as once the RTF engine has inserted it, worked out
// independently of the engine: "\r\n", "\r" and "\n" as U+000B, other control
// characters (C0, DEL, C1) gone, surrogates and values beyond U+10FFFF as
// U+FFFD. Shared by the engine's unit test and its fuzz target.
#pragma once

#include <string>
#include <string_view>

inline std::u32string ValueText(std::u32string_view v) {
    std::u32string r;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const char32_t c = v[i];
        if (c == '\r' && i + 1 < v.size() && v[i + 1] == '\n')
            continue;
        if (c == '\r' || c == '\n')
            r += U'\v';
        else if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
            r += U'\uFFFD';
        else if (c >= 0x20 && (c < 0x7F || c > 0x9F))
            r += c;
    }
    return r;
}
