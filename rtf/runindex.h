// The text of a document, each character knowing the source bytes it came
// from, in about one byte per character and a few bytes per run of
// characters written alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace vostrel::rtf::detail {

// Source bytes [begin, end).
struct SourceRange {
    std::size_t begin;
    std::size_t end;
};

// `count` characters of `width` source bytes each, back to back from `src`,
// whose code points are page << 8 | their low byte.
struct Run {
    std::size_t text = 0; // position of the first character
    std::size_t src = 0;
    std::size_t width = 0;
    std::size_t count = 0;
    char32_t page = 0;

    std::size_t textEnd() const { return text + count; }
    std::size_t srcEnd() const { return src + count * width; }
    // First source byte of character `pos` (or the end, for textEnd()).
    std::size_t begin(std::size_t pos) const { return src + (pos - text) * width; }
};

// Where a block of encoded runs starts, and its first character.
struct RunBlock {
    std::size_t offset; // in the encoded runs
    std::uint32_t text; // text position of its first character
    std::uint32_t src;  // source offset of its first character
};

// Encodes runs one after the other, joining each to the one before where it
// goes on from it. The last run stays open until flush().
class RunWriter {
public:
    RunWriter(std::string& runs, std::vector<RunBlock>& blocks) : runs_(runs), blocks_(blocks) {}

    void add(std::size_t text, std::size_t src, std::size_t width, std::size_t count,
             char32_t page) {
        if (open_.count > 0 && open_.width == width && open_.page == page &&
            open_.textEnd() == text && open_.srcEnd() == src) {
            open_.count += count;
            return;
        }
        flush();
        open_ = {text, src, width, count, page};
    }

    void flush();

private:
    std::string& runs_;
    std::vector<RunBlock>& blocks_;
    Run open_;
    std::size_t srcEnd_ = 0; // where the last run written ends
    std::size_t inBlock_ = 0;
};

// The characters of the text: the low byte of each, and the runs, encoded
// compactly in blocks that a lookup enters by binary search.
class RunIndex {
public:
    class Builder;

    // Characters written in at an edit: the text, and the source bytes of
    // each, relative to `at`.
    struct Insertion {
        std::u32string_view text;
        const std::vector<SourceRange>& ranges;
        std::size_t at;
    };

    std::size_t size() const { return low_.size(); }
    std::u32string text() const;
    // The character at `pos` and its source bytes (pos < size()).
    char32_t character(std::size_t pos) const;
    SourceRange sourceRange(std::size_t pos) const;
    // Calls f(stretch) for the source bytes of the characters [pos, pos +
    // length) (length > 0), one stretch a run, in order.
    template <typename F> void forEachStretch(std::size_t pos, std::size_t length, F&& f) const {
        visitStretches(pos, length, &f, [](void* context, SourceRange stretch) {
            (*static_cast<std::remove_reference_t<F>*>(context))(stretch);
        });
    }
    // Position of the first `needle` (not empty) at or after `from`, or npos.
    std::size_t find(std::u32string_view needle, std::size_t from) const;

    // Puts `insertion` in place of the characters [pos, pos + length); the
    // source after them moves by `grow` bytes (wrapping around, and so
    // subtracting, when it shrinks). Allocates before it changes anything:
    // when it throws, the index is as it was.
    void replace(std::size_t pos, std::size_t length, const Insertion& insertion, std::size_t grow);

private:
    class Reader;
    struct Located;
    struct Rewrite;

    void visitStretches(std::size_t pos, std::size_t length, void* context,
                        void (*visit)(void* context, SourceRange stretch)) const;
    std::size_t blockOf(std::size_t pos) const;
    Located locate(std::size_t pos) const;
    bool pagesMatch(std::size_t pos, std::u32string_view needle) const;
    Rewrite rewrite(std::size_t pos, std::size_t length, const Insertion& insertion,
                    std::size_t grow) const;

    std::string low_;
    std::string runs_; // each run as four LEB128 numbers: source bytes since the
                       // previous run ended, width, count, page
    std::vector<RunBlock> blocks_;
};

// Builds the index of a source from its characters in order.
class RunIndex::Builder {
public:
    // Reserves for the characters of a source of `sourceSize` bytes.
    explicit Builder(std::size_t sourceSize);

    void addCharacter(char32_t c, std::size_t begin, std::size_t end) {
        writer_.add(index_.low_.size(), begin, end - begin, 1, c >> 8);
        index_.low_.push_back(static_cast<char>(c & 0xFF));
    }

    // ASCII text characters, one source byte each, from `src` on.
    void addAscii(std::string_view bytes, std::size_t src) {
        writer_.add(index_.low_.size(), src, 1, bytes.size(), 0);
        index_.low_.append(bytes);
    }

    RunIndex finish();

private:
    RunIndex index_;
    RunWriter writer_{index_.runs_, index_.blocks_};
};

} // namespace vostrel::rtf::detail
