// Single-byte Windows code pages used by RTF documents: byte to Unicode, and
// the code page that a font character set (\fcharsetN) stands for.
#pragma once

namespace vostrel::rtf {

// The character that `byte` stands for in Windows code page `codePage`. Bytes
// below 0x80 are ASCII in every code page; a byte the code page leaves
// undefined gives U+FFFD. Known: 874 and 1250 to 1258; any other code page
// (double-byte ones included) is read as 1252.
char32_t DecodeByte(int codePage, unsigned char byte);

// Whether DecodeByte has a table of its own for `codePage`.
bool HasCodePageTable(int codePage);

// The code page of an RTF font character set; 0 (ANSI), 1 (default) and any
// unknown set mean the document's code page `documentCodePage`, 2 (symbol) 1252.
int CharsetCodePage(int charset, int documentCodePage);

} // namespace vostrel::rtf
