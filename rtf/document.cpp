#include "rtf/rtf.h"

#include "rtf/parser.h"

#include <utility>

namespace vostrel::rtf {

Document::Document(std::string source) : source_(std::move(source)) {
    adopt(detail::Parse(source_));
}

void Document::adopt(detail::Parsed&& parsed) {
    index_ = std::move(parsed.index);
    closingBrace_ = parsed.closingBrace;
    textAtEnd_ = parsed.textAtEnd;
    maxDepth_ = parsed.maxDepth;
}

std::u32string Document::text() const {
    return index_.text();
}

char32_t Document::character(std::size_t pos) const {
    if (pos >= textSize())
        throw std::out_of_range("rtf::Document::character: position outside the text");
    return index_.character(pos);
}

Document::SourceRange Document::sourceRange(std::size_t pos) const {
    if (pos >= textSize())
        throw std::out_of_range("rtf::Document::sourceRange: position outside the text");
    return index_.sourceRange(pos);
}

std::size_t Document::find(std::u32string_view needle, std::size_t from) const {
    if (from > textSize())
        return npos;
    if (needle.empty())
        return from;
    return index_.find(needle, from);
}

} // namespace vostrel::rtf
