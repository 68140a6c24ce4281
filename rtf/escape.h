// Plain text as RTF: what EscapeText writes, with what it reads as.
#pragma once

#include "rtf/runindex.h"

#include <string>
#include <string_view>
#include <vector>

namespace vostrel::rtf::detail {

// The escaped RTF of a value, the text it reads as, and the source bytes
// (relative to the start of `rtf`) of each of its characters.
struct Escaped {
    std::string rtf;
    std::u32string text;
    std::vector<SourceRange> ranges;
    int depth = 1; // the deepest nesting of its groups
};

Escaped Escape(std::u32string_view value);

} // namespace vostrel::rtf::detail
