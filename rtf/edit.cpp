#include "rtf/rtf.h"

#include "rtf/characters.h"
#include "rtf/escape.h"
#include "rtf/parser.h"

namespace vostrel::rtf {

namespace {

using detail::IsDigit;
using detail::IsLetter;

// Whether removing the bytes between `prev` and `next` could make one control
// word of them (e.g. "\b0" and "5" reading as "\b05"), or give the word a
// delimiting space that was text.
bool MayJoinWord(unsigned char prev, unsigned char next) {
    const bool prevWord = IsLetter(prev) || IsDigit(prev) || prev == '-';
    const bool nextWord = IsLetter(next) || IsDigit(next) || next == '-' || next == ' ';
    return prevWord && nextWord;
}

void CheckRange(std::size_t pos, std::size_t length, std::size_t size, const char* function) {
    if (pos > size || length > size - pos)
        throw std::out_of_range(std::string("rtf::Document::") + function +
                                ": range outside the text");
}

} // namespace

// How an edit changes the source: the bytes [at, end) become `middle`, the
// insertion followed by what lay between the deleted characters.
struct Document::Splice {
    std::size_t at = 0;
    std::size_t end = 0;
    std::string middle;
    bool groupAdded = false; // `middle` holds a group the source did not have

    // Bytes the source gains; wraps around, and so subtracts, when it shrinks.
    std::size_t grow() const { return middle.size() - (end - at); }

    // Keeps a control word before a deleted stretch from running into what
    // follows the stretch.
    void keepApart(const std::string& source) {
        const char prev = middle.empty() ? source[at - 1] : middle.back();
        if (end < source.size() && MayJoinWord(static_cast<unsigned char>(prev),
                                               static_cast<unsigned char>(source[end]))) {
            middle += "{}";
            groupAdded = true;
        }
    }
};

std::size_t Document::replace(std::size_t pos, std::size_t length, std::u32string_view value) {
    CheckRange(pos, length, textSize(), "replace");
    const detail::Escaped esc = detail::Escape(value);
    return edit(pos, length, esc.rtf, esc.text, esc.ranges, esc.depth);
}

std::size_t Document::replaceWithPicture(std::size_t pos, std::size_t length,
                                         const Picture& picture) {
    CheckRange(pos, length, textSize(), "replaceWithPicture");
    return edit(pos, length, PictureGroup(picture), {}, {});
}

std::size_t Document::edit(std::size_t pos, std::size_t length, std::string_view rtf,
                           std::u32string_view text, const std::vector<SourceRange>& ranges,
                           int depth) {
    if (length == 0 && rtf.empty())
        return pos;
    if (textSize() == 0 && !textAtEnd_)
        throw RtfError("the RTF document has no place for text");
    const Splice s = splice(pos, length, rtf);
    const std::size_t grow = s.grow();
    if (source_.size() + grow > detail::kMaxSource)
        throw std::length_error("rtf::Document: RTF source larger than 4 GB");
    if (s.groupAdded && maxDepth_ + depth > kMaxDepth) {
        reparse(s);
        return pos + text.size();
    }
    // Allocated before anything changes, so that nothing fails half-way.
    source_.reserve(source_.size() + grow);
    index_.replace(pos, length, {text, ranges, s.at}, grow);
    source_.replace(s.at, s.end - s.at, s.middle);
    closingBrace_ += grow;
    if (s.groupAdded)
        maxDepth_ += depth;
    return pos + text.size();
}

// The change of source that deletes [pos, pos + length) and puts `rtf` where
// the character at `pos` begins (or after the last character, or before the
// closing brace of a document without text).
Document::Splice Document::splice(std::size_t pos, std::size_t length, std::string_view rtf) const {
    const std::size_t size = textSize();
    Splice s;
    s.at = pos < size ? sourceRange(pos).begin
           : size > 0 ? sourceRange(size - 1).end
                      : closingBrace_;
    s.end = s.at;
    s.groupAdded = !rtf.empty();
    if (rtf.empty() && length > 0 && joinsSurrogates(pos, length)) {
        s.middle = "{}";
        s.groupAdded = true;
    }
    s.middle += rtf;
    if (length > 0)
        spliceOut(s, pos, length);
    return s;
}

// Extends `s` over the source of the characters [pos, pos + length), keeping
// what lies between them.
void Document::spliceOut(Splice& s, std::size_t pos, std::size_t length) const {
    bool first = true;
    index_.forEachStretch(pos, length, [&](SourceRange stretch) {
        if (!first && stretch.begin != s.end) {
            s.keepApart(source_);
            s.middle.append(source_, s.end, stretch.begin - s.end);
        }
        first = false;
        s.end = stretch.end;
    });
    s.keepApart(source_);
}

// Near the nesting limit an added group may be one level too deep: the
// edited source is read in full, which refuses it if it is.
void Document::reparse(const Splice& s) {
    std::string edited = source_;
    edited.replace(s.at, s.end - s.at, s.middle);
    detail::Parsed parsed = detail::Parse(edited);
    source_ = std::move(edited);
    adopt(std::move(parsed));
}

// Whether deleting [pos, pos + length) leaves two unpaired \uN surrogates
// with nothing but ignored bytes between them, which a reader would pair.
bool Document::joinsSurrogates(std::size_t pos, std::size_t length) const {
    if (pos == 0 || pos + length >= textSize())
        return false;
    if (character(pos - 1) != detail::kReplacement ||
        character(pos + length) != detail::kReplacement)
        return false;
    auto ignorable = [this](std::size_t from, std::size_t to) {
        for (std::size_t k = from; k < to; ++k)
            if (!detail::IsIgnoredByte(static_cast<unsigned char>(source_[k])))
                return false;
        return true;
    };
    std::size_t cursor = sourceRange(pos - 1).end;
    bool ignored = true;
    index_.forEachStretch(pos, length, [&](SourceRange stretch) {
        ignored = ignored && ignorable(cursor, stretch.begin);
        cursor = stretch.end;
    });
    return ignored && ignorable(cursor, sourceRange(pos + length).begin);
}

} // namespace vostrel::rtf
