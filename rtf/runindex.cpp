#include "rtf/runindex.h"

#include <algorithm>
#include <utility>

namespace vostrel::rtf::detail {

namespace {

// Runs per block: a lookup decodes at most this many.
constexpr std::size_t kBlockRuns = 16;

// Writes `v` as LEB128 at `out`; returns the end.
char* PutNumber(char* out, std::size_t v) {
    for (; v >= 0x80; v >>= 7)
        *out++ = static_cast<char>((v & 0x7F) | 0x80);
    *out++ = static_cast<char>(v);
    return out;
}

std::size_t GetNumber(const unsigned char*& p) {
    if (*p < 0x80) // most numbers take one byte
        return *p++;
    std::size_t v = 0;
    for (int shift = 0;; shift += 7) {
        const unsigned char b = *p++;
        v |= static_cast<std::size_t>(b & 0x7F) << shift;
        if (b < 0x80)
            return v;
    }
}

} // namespace

void RunWriter::flush() {
    if (open_.count == 0)
        return;
    if (blocks_.empty() || inBlock_ == kBlockRuns) {
        blocks_.push_back({runs_.size(), static_cast<std::uint32_t>(open_.text),
                           static_cast<std::uint32_t>(open_.src)});
        srcEnd_ = open_.src;
        inBlock_ = 0;
    }
    const std::size_t gap = open_.src - srcEnd_;
    char encoded[4 * 10];
    char* end = encoded + 4;
    if ((gap | open_.width | open_.count | open_.page) < 0x80) { // the common case
        encoded[0] = static_cast<char>(gap);
        encoded[1] = static_cast<char>(open_.width);
        encoded[2] = static_cast<char>(open_.count);
        encoded[3] = static_cast<char>(open_.page);
    } else {
        end = PutNumber(encoded, gap);
        end = PutNumber(end, open_.width);
        end = PutNumber(end, open_.count);
        end = PutNumber(end, open_.page);
    }
    runs_.append(encoded, static_cast<std::size_t>(end - encoded));
    srcEnd_ = open_.srcEnd();
    ++inBlock_;
    open_.count = 0;
}

// Reads the runs in order, from the start of a block on.
class RunIndex::Reader {
public:
    Reader(const RunIndex& index, std::size_t block) : ix_(&index), block_(block) { enter(); }

    // The next run; false after the last one.
    bool next(Run& run) {
        while (p_ == end_) {
            if (block_ + 1 >= ix_->blocks_.size())
                return false;
            ++block_;
            enter();
        }
        run.src = srcEnd_ + GetNumber(p_);
        run.width = GetNumber(p_);
        run.count = GetNumber(p_);
        run.page = static_cast<char32_t>(GetNumber(p_));
        run.text = text_;
        text_ += run.count;
        srcEnd_ = run.srcEnd();
        return true;
    }

    // The block of the run read last.
    std::size_t block() const { return block_; }

private:
    void enter() {
        p_ = end_ = nullptr;
        const std::vector<RunBlock>& blocks = ix_->blocks_;
        if (block_ >= blocks.size())
            return;
        const auto* data = reinterpret_cast<const unsigned char*>(ix_->runs_.data());
        p_ = data + blocks[block_].offset;
        end_ = data + (block_ + 1 < blocks.size() ? blocks[block_ + 1].offset : ix_->runs_.size());
        text_ = blocks[block_].text;
        srcEnd_ = blocks[block_].src;
    }

    const RunIndex* ix_;
    std::size_t block_;
    const unsigned char* p_ = nullptr;
    const unsigned char* end_ = nullptr;
    std::size_t text_ = 0;
    std::size_t srcEnd_ = 0;
};

// The run holding a text position, and a reader that goes on after it.
struct RunIndex::Located {
    Reader reader;
    Run run;
};

// The block holding text position `pos` (< size()).
std::size_t RunIndex::blockOf(std::size_t pos) const {
    const auto it = std::upper_bound(blocks_.begin(), blocks_.end(), pos,
                                     [](std::size_t p, const RunBlock& b) { return p < b.text; });
    return static_cast<std::size_t>(it - blocks_.begin()) - 1;
}

RunIndex::Located RunIndex::locate(std::size_t pos) const {
    Located l{Reader(*this, blockOf(pos)), {}};
    while (l.reader.next(l.run) && l.run.textEnd() <= pos) {
    }
    return l;
}

std::u32string RunIndex::text() const {
    std::u32string text(size(), U'\0');
    Reader reader(*this, 0);
    for (Run run; reader.next(run);)
        for (std::size_t k = run.text; k < run.textEnd(); ++k)
            text[k] = run.page << 8 | static_cast<unsigned char>(low_[k]);
    return text;
}

char32_t RunIndex::character(std::size_t pos) const {
    return locate(pos).run.page << 8 | static_cast<unsigned char>(low_[pos]);
}

SourceRange RunIndex::sourceRange(std::size_t pos) const {
    const Run run = locate(pos).run;
    return {run.begin(pos), run.begin(pos + 1)};
}

void RunIndex::visitStretches(std::size_t pos, std::size_t length, void* context,
                              void (*visit)(void* context, SourceRange stretch)) const {
    auto [reader, run] = locate(pos);
    const std::size_t cut = pos + length;
    do
        visit(context,
              {run.begin(std::max(pos, run.text)), run.begin(std::min(cut, run.textEnd()))});
    while (run.textEnd() < cut && reader.next(run));
}

// Whether the characters at `pos` onwards read as `needle`, given that their
// low bytes do.
bool RunIndex::pagesMatch(std::size_t pos, std::u32string_view needle) const {
    auto [reader, run] = locate(pos);
    for (std::size_t k = 0; k < needle.size(); ++k) {
        while (pos + k >= run.textEnd())
            reader.next(run);
        if (run.page != needle[k] >> 8)
            return false;
    }
    return true;
}

std::size_t RunIndex::find(std::u32string_view needle, std::size_t from) const {
    // Search the low bytes, then check the rest of each code point.
    std::string low(needle.size(), '\0');
    for (std::size_t k = 0; k < needle.size(); ++k)
        low[k] = static_cast<char>(needle[k] & 0xFF);
    const std::string_view haystack(low_);
    for (std::size_t at = from; (at = haystack.find(low, at)) != std::string_view::npos; ++at)
        if (pagesMatch(at, needle))
            return at;
    return std::u32string_view::npos;
}

// The encoded runs of an edit, which take the place of the blocks [first, last].
struct RunIndex::Rewrite {
    std::string runs;
    std::vector<RunBlock> blocks;
    std::size_t first = 0;
    std::size_t last = 0;
    std::size_t bytesFrom = 0; // where the blocks [first, last] lie in runs_
    std::size_t bytesTo = 0;
};

// The runs of the blocks that hold the edited range: the runs before it, the
// inserted characters, then the runs after it, moved by the change in text
// size and in source size.
RunIndex::Rewrite RunIndex::rewrite(std::size_t pos, std::size_t length, const Insertion& insertion,
                                    std::size_t grow) const {
    Rewrite r;
    RunWriter writer(r.runs, r.blocks);
    const std::size_t count = insertion.text.size();
    const std::size_t cut = pos + length;
    bool inserted = false;
    const auto insert = [&] {
        if (std::exchange(inserted, true))
            return;
        for (std::size_t k = 0; k < count; ++k) {
            const SourceRange& range = insertion.ranges[k];
            writer.add(pos + k, insertion.at + range.begin, range.end - range.begin, 1,
                       insertion.text[k] >> 8);
        }
    };
    if (!blocks_.empty()) {
        r.first = blockOf(pos < size() ? pos : size() - 1);
        r.last = length > 0 ? blockOf(cut - 1) : r.first;
        r.bytesFrom = blocks_[r.first].offset;
        r.bytesTo = r.last + 1 < blocks_.size() ? blocks_[r.last + 1].offset : runs_.size();
        Reader reader(*this, r.first);
        for (Run run; reader.next(run) && reader.block() <= r.last;) {
            if (run.text < pos)
                writer.add(run.text, run.src, run.width, std::min(run.textEnd(), pos) - run.text,
                           run.page);
            if (run.textEnd() > cut) {
                insert();
                const std::size_t from = std::max(run.text, cut);
                writer.add(from - length + count, run.begin(from) + grow, run.width,
                           run.textEnd() - from, run.page);
            }
        }
    }
    insert();
    writer.flush();
    return r;
}

void RunIndex::replace(std::size_t pos, std::size_t length, const Insertion& insertion,
                       std::size_t grow) {
    Rewrite r = rewrite(pos, length, insertion, grow);
    const std::size_t count = insertion.text.size();
    std::string low(count, '\0');
    for (std::size_t k = 0; k < count; ++k)
        low[k] = static_cast<char>(insertion.text[k] & 0xFF);
    const std::size_t runsGrow = r.runs.size() - (r.bytesTo - r.bytesFrom);
    low_.reserve(size() - length + count);
    runs_.reserve(runs_.size() + runsGrow);
    blocks_.reserve(blocks_.size() + r.blocks.size());

    for (RunBlock& b : r.blocks)
        b.offset += r.bytesFrom;
    const std::size_t later = blocks_.empty() ? 0 : r.last + 1;
    for (std::size_t k = later; k < blocks_.size(); ++k) {
        RunBlock& b = blocks_[k];
        b.offset += runsGrow;
        b.text = static_cast<std::uint32_t>(b.text + count - length);
        b.src = static_cast<std::uint32_t>(b.src + grow);
    }
    runs_.replace(r.bytesFrom, r.bytesTo - r.bytesFrom, r.runs);
    const auto firstBlock = blocks_.begin() + static_cast<std::ptrdiff_t>(r.first);
    const auto laterBlock = blocks_.begin() + static_cast<std::ptrdiff_t>(later);
    blocks_.insert(blocks_.erase(firstBlock, laterBlock), r.blocks.begin(), r.blocks.end());
    low_.replace(pos, length, low);
}

RunIndex::Builder::Builder(std::size_t sourceSize) {
    // A character takes at least one byte: reserving that much spares the
    // copies of growing, which hold the old and the new buffer at once (pages
    // never written are never resident). Documents that word processors
    // write have a run per 4 to 16 source bytes, of some 4 bytes, and a
    // block per 16 runs: reserve for a run per 4 bytes. finish() gives back
    // what is left over.
    index_.low_.reserve(sourceSize);
    index_.runs_.reserve(sourceSize + 64);
    index_.blocks_.reserve(sourceSize / 64 + 1);
}

RunIndex RunIndex::Builder::finish() {
    writer_.flush();
    const auto shrink = [](auto& buffer) {
        if (buffer.size() < buffer.capacity() / 2)
            buffer.shrink_to_fit();
    };
    shrink(index_.low_);
    shrink(index_.runs_);
    shrink(index_.blocks_);
    return std::move(index_);
}

} // namespace vostrel::rtf::detail
