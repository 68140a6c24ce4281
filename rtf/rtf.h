// RTF documents in memory: the text a reader sees, searching it, and replacing
// parts of it in the source without disturbing the rest of the document.
//
// Text characters: plain source bytes, \'hh (in the code page of the current
// font), \uN with its fallback, the control symbols \\ \{ \} \~ \- \_, and
// these control words:
//   \par \sect \page \column, and "\" before a CR or LF  -> U+000D
//   \line -> U+000B    \tab -> U+0009    \cell \row \nestcell \nestrow -> U+0007
//   \emdash \endash \lquote \rquote \ldblquote \rdblquote \bullet \emspace
//   \enspace \qmspace \zwj \zwnj \zwbo \zwnbo \ltrmark \rtlmark -> their characters.
// Raw control bytes in the source (CR and LF included) are not text, except a
// raw TAB. Groups that hold no main-story text (font table, pictures, field
// instructions, headers, footnotes, any {\* ...} group and the like) are kept
// in the source but contribute no text. Lone UTF-16 surrogates from \uN read
// as U+FFFD.
#pragma once

#include "rtf/runindex.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vostrel::rtf {

// Thrown for source that is not well-formed RTF.
class RtfError : public std::runtime_error {
public:
    using runtime_error::runtime_error;
};

// Deepest group nesting a document may have.
inline constexpr int kMaxDepth = 10000;

// A PNG image to put into a document.
struct Picture {
    std::string png;           // the bytes of a PNG file
    std::uint32_t widthPx = 0; // the image's size in pixels (\picw, \pich)
    std::uint32_t heightPx = 0;
    std::uint32_t widthTwips = 0; // the size it is shown at (\picwgoal, \pichgoal)
    std::uint32_t heightTwips = 0;
};

namespace detail {
struct Parsed;
} // namespace detail

// An RTF document held in memory: its source, and the text a reader sees (the
// main story), each text character knowing the source bytes it came from.
// Besides the source it holds about one byte per text character and a few
// bytes per run of characters written alike.
class Document {
public:
    // Parses RTF source. Throws RtfError when it does not start with "{\rtf",
    // braces are unbalanced, a control word or \'hh is truncated, \bin runs
    // past the end, groups nest deeper than kMaxDepth, anything but white space
    // follows the closing brace, or the source exceeds 4 GB.
    explicit Document(std::string source);

    // The text, decoded from the index on each call (linear in its size).
    std::u32string text() const;
    std::size_t textSize() const { return index_.size(); }
    // Text character `pos`; throws std::out_of_range outside the text.
    char32_t character(std::size_t pos) const;

    const std::string& source() const { return source_; }

    // The source bytes [begin, end) that text character `pos` came from.
    // Throws std::out_of_range for a position outside the text.
    using SourceRange = detail::SourceRange;
    SourceRange sourceRange(std::size_t pos) const;

    // Position of the first occurrence of `needle` in text() at or after
    // `from` (a text position), or npos.
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    std::size_t find(std::u32string_view needle, std::size_t from) const;

    // Replaces the text characters [pos, pos + length) by `value`: deletes
    // exactly those characters' source bytes (the groups and control words
    // between them stay) and inserts EscapeText(value) where the character at
    // `pos` began, so that the value takes that character's formatting. With
    // pos == textSize() the value goes after the last character (or before
    // the closing brace of a document without text). Where a deletion would join a
    // control word to the digits or letters after it, an empty group "{}" is
    // left to keep them apart. Returns the text position just after the
    // inserted value. Throws std::out_of_range for a range outside the text,
    // and RtfError (leaving the document as it was) if the value's group
    // would nest deeper than kMaxDepth, or the document has no text and its
    // closing brace ends a group that holds none (e.g. after \*).
    std::size_t replace(std::size_t pos, std::size_t length, std::u32string_view value);

    // Deletes the text characters [pos, pos + length) as replace() does and
    // puts PictureGroup(picture) where the character at `pos` began, inside
    // its formatting. A picture is no text: the text loses `length`
    // characters. Returns `pos`, the text position just after the deletion.
    // Throws std::out_of_range for a range outside the text, then
    // std::invalid_argument for a picture PictureGroup refuses, and RtfError
    // as replace() does; in each case the document stays as it was.
    std::size_t replaceWithPicture(std::size_t pos, std::size_t length, const Picture& picture);

private:
    struct Splice;

    void adopt(detail::Parsed&& parsed);
    // Deletes [pos, pos + length) and puts `rtf` at its place: `text` with
    // the source bytes `ranges` (relative to the start of `rtf`).
    // `depth`: how deep the groups of `rtf` nest.
    std::size_t edit(std::size_t pos, std::size_t length, std::string_view rtf,
                     std::u32string_view text, const std::vector<SourceRange>& ranges,
                     int depth = 1);
    Splice splice(std::size_t pos, std::size_t length, std::string_view rtf) const;
    void spliceOut(Splice& splice, std::size_t pos, std::size_t length) const;
    void reparse(const Splice& splice);
    bool joinsSurrogates(std::size_t pos, std::size_t length) const;

    std::string source_;
    detail::RunIndex index_;
    std::size_t closingBrace_ = 0; // offset of the document's final '}'
    bool textAtEnd_ = false;       // text may stand before that brace
    int maxDepth_ = 0;             // deepest nesting, an upper bound after edits
};

// The RTF for a plain-text value: \ { } escaped, every non-ASCII character as
// \uN? (a signed 16-bit N; characters above U+FFFF as a surrogate pair), the
// whole wrapped in a group that starts with \uc1 so that readers skip the "?".
// "\n", "\r\n" and "\r" become \line; other control characters (C0, DEL, C1)
// are dropped; surrogate code points and values above U+10FFFF become U+FFFD.
// A value with nothing left gives an empty string (no group). Three of the
// control characters are marks, no text: kItalicMark and kSubscriptMark open
// a group in italics or subscript, kEndMark closes the latest one (a group
// still open closes at the value's end, an end without one is dropped).
inline constexpr char32_t kItalicMark = 0x02;
inline constexpr char32_t kSubscriptMark = 0x0E;
inline constexpr char32_t kEndMark = 0x03;
std::string EscapeText(std::u32string_view value);

// The RTF group of a picture: "{\pict\pngblip\picwW\pichH\picwgoalWG\pichgoalHG "
// then the PNG bytes as lower-case hexadecimal digits in lines of 128 joined
// by CR LF, then "}". Throws std::invalid_argument unless the data starts
// with the PNG signature and every size lies in 1..2147483647 (RTF reads
// parameters as signed 32-bit numbers).
std::string PictureGroup(const Picture& picture);

} // namespace vostrel::rtf
