// Reading RTF source: the text of its main story and where each character
// came from.
#pragma once

#include "rtf/runindex.h"

#include <cstddef>
#include <string_view>

namespace vostrel::rtf::detail {

struct Parsed {
    RunIndex index;
    std::size_t closingBrace = 0; // offset of the document's final '}'
    bool textAtEnd = false;       // text may stand before that brace
    int maxDepth = 0;             // deepest group nesting
};

// Throws RtfError for source that is not well-formed RTF (see Document).
Parsed Parse(std::string_view source);

} // namespace vostrel::rtf::detail
