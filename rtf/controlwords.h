// The control words the parser acts on, and what each does.
#pragma once

#include <cstdint>
#include <string_view>

namespace vostrel::rtf::detail {

enum class Op : std::uint8_t {
    Destination, // the rest of the group holds no main-story text
    FontTable,
    Char, // a text character
    Unicode,
    UnicodeSkip,
    Font,
    Charset,
    FontCodePage,
    AnsiCodePage,
    CharacterSet, // \ansi \mac \pc \pca: the document's code page
    DefaultFont,
    Plain,
};

struct WordInfo {
    Op op;
    char32_t ch = 0;  // Op::Char: the character
    int codePage = 0; // Op::CharacterSet: the code page it stands for
};

// The control word `name` (without backslash or parameter), or nullptr for
// one that carries no text and changes nothing the parser keeps.
const WordInfo* FindControlWord(std::string_view name);

} // namespace vostrel::rtf::detail
