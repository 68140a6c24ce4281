#include "report/rtf.h"

#include "report/codepages.h"

#include <algorithm>
#include <array>
#include <limits>
#include <unordered_map>
#include <utility>

namespace vostrel::rtf {

namespace {

using detail::RunBlock;
using detail::TextIndex;

constexpr std::size_t kMaxSource = std::numeric_limits<std::uint32_t>::max();
constexpr char32_t kReplacement = 0xFFFD;

bool IsLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

// Raw bytes that carry nothing: CR, LF and the other control bytes but TAB.
constexpr bool IsIgnoredByte(unsigned char c) {
    return c < 0x20 && c != '\t';
}

int HexValue(unsigned char c) {
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

// What a control word does to the text or to the reading state.
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
    Ansi,
    Mac,
    Pc,
    Pca,
    DefaultFont,
    Plain,
};

struct WordInfo {
    Op op;
    char32_t ch = 0;
};

// The control words that matter, in an open-addressing table: looking one up
// is a short hash and a compare or two, for every control word of a document.
class WordTable {
public:
    void emplace(std::string_view name, WordInfo info) {
        std::size_t k = Hash(name);
        while (!slots_[k].name.empty())
            k = (k + 1) % kSlots;
        slots_[k] = {name, info};
    }

    const WordInfo* find(std::string_view name) const {
        for (std::size_t k = Hash(name);; k = (k + 1) % kSlots) {
            if (slots_[k].name == name)
                return &slots_[k].info;
            if (slots_[k].name.empty())
                return nullptr;
        }
    }

private:
    static constexpr std::size_t kSlots = 512; // over three times the words: short probes

    static std::size_t Hash(std::string_view name) {
        std::uint32_t h = 2166136261u; // FNV-1a
        for (const char c : name)
            h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
        return h % kSlots;
    }

    struct Slot {
        std::string_view name; // empty: free (the names are string literals)
        WordInfo info{Op::Plain};
    };
    std::array<Slot, kSlots> slots_{};
};

const WordTable& Words() {
    static const auto words = [] {
        WordTable words;
        // Groups with no main-story text.
        constexpr std::string_view kDestinations =
            "colortbl stylesheet info listtable listoverridetable rsidtbl generator pict object "
            "objdata themedata colorschememapping latentstyles datastore xmlnstbl fldinst header "
            "headerl headerr headerf footer footerl footerr footerf footnote annotation atnid "
            "atnauthor atndate atnref atnicn atntime atrfstart atrfend bkmkstart bkmkend pgdsctbl "
            "revtbl userprops docvar xe txe rxe tc nonshppict shppict shpinst shptxt sp sn sv "
            "mmathPr listtext pntext pn pntxta pntxtb filetbl author operator title subject "
            "keywords comment doccomm company manager category template ftnsep ftnsepc ftncn "
            "aftnsep aftnsepc aftncn fontemb fontfile falt panose background do protusertbl "
            "passwordhash xmlopen xmlattrname xmlattrvalue wgrffmtfilter mhtmltag htmltag "
            "listpicture blipuid bliptag picprop formfield datafield fldtype";
        for (std::size_t b = 0; b < kDestinations.size();) {
            const std::size_t e = std::min(kDestinations.find(' ', b), kDestinations.size());
            words.emplace(kDestinations.substr(b, e - b), WordInfo{Op::Destination});
            b = e + 1;
        }
        words.emplace("fonttbl", WordInfo{Op::FontTable});
        const std::pair<std::string_view, char32_t> chars[] = {
            {"par", 0x0D},       {"sect", 0x0D},      {"page", 0x0D},        {"column", 0x0D},
            {"line", 0x0B},      {"tab", 0x09},       {"cell", 0x07},        {"row", 0x07},
            {"nestcell", 0x07},  {"nestrow", 0x07},   {"emdash", 0x2014},    {"endash", 0x2013},
            {"lquote", 0x2018},  {"rquote", 0x2019},  {"ldblquote", 0x201C}, {"rdblquote", 0x201D},
            {"bullet", 0x2022},  {"emspace", 0x2003}, {"enspace", 0x2002},   {"qmspace", 0x2005},
            {"zwj", 0x200D},     {"zwnj", 0x200C},    {"zwbo", 0x200B},      {"zwnbo", 0xFEFF},
            {"ltrmark", 0x200E}, {"rtlmark", 0x200F},
        };
        for (const auto& [name, ch] : chars)
            words.emplace(name, WordInfo{Op::Char, ch});
        words.emplace("u", WordInfo{Op::Unicode});
        words.emplace("uc", WordInfo{Op::UnicodeSkip});
        words.emplace("f", WordInfo{Op::Font});
        words.emplace("fcharset", WordInfo{Op::Charset});
        words.emplace("cpg", WordInfo{Op::FontCodePage});
        words.emplace("ansicpg", WordInfo{Op::AnsiCodePage});
        words.emplace("ansi", WordInfo{Op::Ansi});
        words.emplace("mac", WordInfo{Op::Mac});
        words.emplace("pc", WordInfo{Op::Pc});
        words.emplace("pca", WordInfo{Op::Pca});
        words.emplace("deff", WordInfo{Op::DefaultFont});
        words.emplace("plain", WordInfo{Op::Plain});
        return words;
    }();
    return words;
}

// Runs per block of the index: a lookup decodes at most this many.
constexpr std::size_t kBlockRuns = 16;

// A run of the index, decoded: `count` characters of `width` source bytes
// each, back to back from `src`, with code points page << 8 | low byte.
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

// Reads the runs in order, from the start of a block on.
class RunReader {
public:
    RunReader(const TextIndex& index, std::size_t block) : ix_(&index), block_(block) { enter(); }

    // The next run; false after the last one.
    bool next(Run& run) {
        while (p_ == end_) {
            if (block_ + 1 >= ix_->blocks.size())
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
        if (block_ >= ix_->blocks.size())
            return;
        const RunBlock& b = ix_->blocks[block_];
        const auto* data = reinterpret_cast<const unsigned char*>(ix_->runs.data());
        p_ = data + b.offset;
        end_ = data + (block_ + 1 < ix_->blocks.size() ? ix_->blocks[block_ + 1].offset
                                                       : ix_->runs.size());
        text_ = b.text;
        srcEnd_ = b.src;
    }

    const TextIndex* ix_;
    std::size_t block_;
    const unsigned char* p_ = nullptr;
    const unsigned char* end_ = nullptr;
    std::size_t text_ = 0;
    std::size_t srcEnd_ = 0;
};

// Appends runs to an index, joining each to the one before where it goes on
// from it. The last run stays open until flush().
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

    void flush() {
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

private:
    std::string& runs_;
    std::vector<RunBlock>& blocks_;
    Run open_;
    std::size_t srcEnd_ = 0; // where the last run written ends
    std::size_t inBlock_ = 0;
};

// The block holding text position `pos` (< the text size).
std::size_t BlockOf(const TextIndex& ix, std::size_t pos) {
    const auto it = std::upper_bound(ix.blocks.begin(), ix.blocks.end(), pos,
                                     [](std::size_t p, const RunBlock& b) { return p < b.text; });
    return static_cast<std::size_t>(it - ix.blocks.begin()) - 1;
}

// The run holding text position `pos` (< the text size), and a reader that
// goes on after it.
struct Located {
    RunReader reader;
    Run run;
};

Located Locate(const TextIndex& ix, std::size_t pos) {
    Located l{RunReader(ix, BlockOf(ix, pos)), {}};
    while (l.reader.next(l.run) && l.run.textEnd() <= pos) {
    }
    return l;
}

// Calls f(begin, end) for the source bytes of the characters [pos, pos +
// length) (length > 0), one stretch per run, in order.
template <typename F>
void ForEachStretch(const TextIndex& ix, std::size_t pos, std::size_t length, F f) {
    auto [reader, run] = Locate(ix, pos);
    const std::size_t cut = pos + length;
    for (;;) {
        f(run.begin(std::max(pos, run.text)), run.begin(std::min(cut, run.textEnd())));
        if (run.textEnd() >= cut || !reader.next(run))
            return;
    }
}

// Whether the characters at `pos` onwards read as `needle`, given that their
// low bytes do.
bool PagesMatch(const TextIndex& ix, std::size_t pos, std::u32string_view needle) {
    auto [reader, run] = Locate(ix, pos);
    for (std::size_t k = 0; k < needle.size(); ++k) {
        while (pos + k >= run.textEnd())
            reader.next(run);
        if (run.page != needle[k] >> 8)
            return false;
    }
    return true;
}

struct Parsed {
    TextIndex index;
    std::size_t closingBrace = 0;
    bool textAtEnd = false; // text may stand before the closing brace
    int maxDepth = 0;
};

// One pass over the source with an explicit group stack.
class Parser {
public:
    explicit Parser(std::string_view source) : s_(source) {}

    Parsed run();

private:
    enum class Dest : std::uint8_t { Text, FontTable, Skip };

    struct State {
        Dest dest = Dest::Text;
        int uc = 1;    // fallback units after \uN
        int font = -1; // -1: the default font
    };

    struct FontInfo {
        int charset = -1;
        int codePage = 0; // from \cpgN, wins over the charset
    };

    // The last character is held back until the next one comes, for its
    // \uN fallback or surrogate pairing may still change it.
    void emit(char32_t c, std::size_t begin, std::size_t end) {
        release();
        held_ = {c, begin, end};
    }

    // Makes the last character `c`, from its first source byte up to `end`.
    void revise(char32_t c, std::size_t end) {
        held_.c = c;
        held_.end = end;
    }

    void release() {
        if (held_.end == 0)
            return;
        writer_.add(out_.index.low.size(), held_.begin, held_.end - held_.begin, 1, held_.c >> 8);
        out_.index.low.push_back(static_cast<char>(held_.c & 0xFF));
        held_.end = 0;
    }

    // Consumes one fallback unit of the last \uN, ending at `end`.
    void skipFallback(std::size_t end) {
        --pending_;
        if (extendLast_)
            revise(held_.c, end);
    }

    int codePage();
    void controlWord(std::string_view name, bool hasParam, long param, std::size_t begin,
                     std::size_t end, bool afterHigh);
    void controlSymbol(unsigned char c, std::size_t begin, std::size_t end);

    std::string_view s_;
    Parsed out_;
    RunWriter writer_{out_.index.runs, out_.index.blocks};
    State cur_;
    struct Held {
        char32_t c = 0;
        std::size_t begin = 0;
        std::size_t end = 0; // 0: none held
    } held_;
    char32_t high_ = 0;        // the high surrogate it stands for, while highPending_
    int pending_ = 0;          // fallback units still to skip
    bool extendLast_ = false;  // the skipped fallback belongs to the last character
    bool highPending_ = false; // the last character is a high surrogate open to pairing

    std::unordered_map<int, FontInfo> fonts_;
    int definedFont_ = 0; // the font table entry being read
    int documentCodePage_ = 1252;
    int defaultFont_ = -1;
    unsigned fontsVersion_ = 1; // changes whenever a code page may have changed
    unsigned cachedVersion_ = 0;
    int cachedFont_ = 0;
    int cachedCodePage_ = 1252;
};

int Parser::codePage() {
    if (cachedVersion_ == fontsVersion_ && cachedFont_ == cur_.font)
        return cachedCodePage_;
    int result = documentCodePage_;
    const int font = cur_.font >= 0 ? cur_.font : defaultFont_;
    if (const auto it = fonts_.find(font); it != fonts_.end()) {
        if (it->second.codePage > 0)
            result = it->second.codePage;
        else if (it->second.charset >= 0)
            result = CharsetCodePage(it->second.charset, documentCodePage_);
    }
    cachedVersion_ = fontsVersion_;
    cachedFont_ = cur_.font;
    cachedCodePage_ = result;
    return result;
}
void Parser::controlWord(std::string_view name, bool hasParam, long param, std::size_t begin,
                         std::size_t end, bool afterHigh) {
    const WordInfo* const info = Words().find(name);
    if (!info)
        return;
    const int value = static_cast<int>(param);
    switch (info->op) {
    case Op::Destination:
        cur_.dest = Dest::Skip;
        break;
    case Op::FontTable:
        cur_.dest = cur_.dest == Dest::Text ? Dest::FontTable : Dest::Skip;
        break;
    case Op::Char:
        if (cur_.dest == Dest::Text)
            emit(info->ch, begin, end);
        break;
    case Op::Unicode: {
        if (!hasParam)
            break;
        const long code = param < 0 ? param + 65536 : param;
        const char32_t c = code >= 0 && code <= 0xFFFF ? static_cast<char32_t>(code) : kReplacement;
        extendLast_ = cur_.dest == Dest::Text;
        if (extendLast_) {
            if (afterHigh && IsLowSurrogate(c)) {
                revise(0x10000 + ((high_ - 0xD800) << 10) + (c - 0xDC00), end);
            } else {
                // A surrogate left unpaired is no character.
                emit(IsSurrogate(c) ? kReplacement : c, begin, end);
                highPending_ = IsHighSurrogate(c);
                high_ = c;
            }
        }
        pending_ = cur_.uc;
        break;
    }
    case Op::UnicodeSkip:
        cur_.uc = hasParam ? std::clamp(value, 0, 1 << 20) : 1;
        break;
    case Op::Font:
        if (!hasParam)
            break;
        if (cur_.dest == Dest::FontTable)
            definedFont_ = value;
        else if (cur_.dest == Dest::Text)
            cur_.font = value;
        break;
    case Op::Charset:
        if (cur_.dest == Dest::FontTable && hasParam) {
            fonts_[definedFont_].charset = value;
            ++fontsVersion_;
        }
        break;
    case Op::FontCodePage:
        if (cur_.dest == Dest::FontTable && hasParam) {
            fonts_[definedFont_].codePage = value;
            ++fontsVersion_;
        }
        break;
    case Op::AnsiCodePage:
        if (hasParam && value > 0) {
            documentCodePage_ = value;
            ++fontsVersion_;
        }
        break;
    case Op::Ansi:
        documentCodePage_ = 1252;
        ++fontsVersion_;
        break;
    case Op::Mac:
        documentCodePage_ = 10000;
        ++fontsVersion_;
        break;
    case Op::Pc:
        documentCodePage_ = 437;
        ++fontsVersion_;
        break;
    case Op::Pca:
        documentCodePage_ = 850;
        ++fontsVersion_;
        break;
    case Op::DefaultFont:
        if (hasParam) {
            defaultFont_ = value;
            ++fontsVersion_;
        }
        break;
    case Op::Plain:
        if (cur_.dest == Dest::Text)
            cur_.font = -1;
        break;
    }
}

void Parser::controlSymbol(unsigned char c, std::size_t begin, std::size_t end) {
    char32_t ch = 0;
    switch (c) {
    case '\\':
    case '{':
    case '}':
        ch = c;
        break;
    case '~':
        ch = 0x00A0;
        break;
    case '-':
        ch = 0x00AD;
        break;
    case '_':
        ch = 0x2011;
        break;
    case '\r': // "\" before a line end is a paragraph mark
    case '\n':
        ch = 0x0D;
        break;
    case '*': // a group the reader may skip: nothing in it is main-story text
        cur_.dest = Dest::Skip;
        return;
    default: // \| \: and unknown symbols carry no text
        return;
    }
    if (cur_.dest == Dest::Text)
        emit(ch, begin, end);
}

Parsed Parser::run() {
    const std::size_t n = s_.size();
    if (n > kMaxSource)
        throw RtfError("RTF source larger than 4 GB");
    if (!s_.starts_with("{\\rtf") || (n > 5 && IsLetter(static_cast<unsigned char>(s_[5]))))
        throw RtfError("not an RTF document: it must start with {\\rtf");

    static constexpr auto kStop = [] {
        std::array<bool, 256> t{};
        t['\\'] = t['{'] = t['}'] = true;
        return t;
    }();
    // ASCII bytes that are text characters as they are.
    static constexpr auto kPlain = [] {
        std::array<bool, 256> t{};
        for (int b = 0; b < 0x80; ++b)
            t[b] = !kStop[b] && !IsIgnoredByte(static_cast<unsigned char>(b));
        return t;
    }();

    // A character takes at least one byte: reserving that much spares the
    // copies of growing, which hold the old and the new buffer at once (pages
    // never written are never resident). Documents that word processors
    // write have a run per 4 to 16 source bytes, of some 4 bytes, and a
    // block per 16 runs: reserve for a run per 4 bytes. What is left over is
    // given back at the end.
    TextIndex& index = out_.index;
    std::string& low = index.low;
    low.reserve(n);
    index.runs.reserve(n + 64);
    index.blocks.reserve(n / 64 + 1);
    std::vector<State> stack; // states of the enclosing groups
    std::size_t i = 0;
    bool closed = false;
    while (i < n) {
        const auto c = static_cast<unsigned char>(s_[i]);
        if (c == '{') {
            stack.push_back(cur_);
            if (stack.size() > static_cast<std::size_t>(kMaxDepth))
                throw RtfError("RTF groups nested deeper than " + std::to_string(kMaxDepth));
            out_.maxDepth = std::max(out_.maxDepth, static_cast<int>(stack.size()));
            pending_ = 0;
            highPending_ = false;
            ++i;
            continue;
        }
        if (c == '}') {
            out_.textAtEnd = cur_.dest == Dest::Text;
            cur_ = stack.back();
            stack.pop_back();
            pending_ = 0;
            highPending_ = false;
            if (stack.empty()) {
                out_.closingBrace = i;
                closed = true;
                ++i;
                break;
            }
            ++i;
            continue;
        }
        if (c == '\\') {
            if (i + 1 >= n)
                throw RtfError("RTF source ends inside a control word");
            const auto c1 = static_cast<unsigned char>(s_[i + 1]);
            if (IsLetter(c1)) {
                std::size_t j = i + 1;
                while (j < n && IsLetter(static_cast<unsigned char>(s_[j])))
                    ++j;
                const std::string_view name = s_.substr(i + 1, j - i - 1);
                bool negative = false;
                if (j + 1 < n && s_[j] == '-' && IsDigit(static_cast<unsigned char>(s_[j + 1]))) {
                    negative = true;
                    ++j;
                }
                bool hasParam = false;
                long param = 0;
                while (j < n && IsDigit(static_cast<unsigned char>(s_[j]))) {
                    hasParam = true;
                    if (param < 10'000'000'000L) // saturates: no parameter is that large
                        param = param * 10 + (s_[j] - '0');
                    ++j;
                }
                param = std::min(param, static_cast<long>(std::numeric_limits<int>::max()));
                if (negative)
                    param = -param;
                if (j < n && s_[j] == ' ')
                    ++j;
                std::size_t end = j;
                if (name == "bin") { // raw bytes follow: never text, never markup
                    if (param < 0)
                        throw RtfError("negative \\bin length");
                    if (static_cast<std::size_t>(param) > n - end)
                        throw RtfError("\\bin data runs past the end of the RTF source");
                    end += static_cast<std::size_t>(param);
                }
                if (pending_ > 0)
                    skipFallback(end);
                else
                    controlWord(name, hasParam, param, i, end, std::exchange(highPending_, false));
                i = end;
                continue;
            }
            if (c1 == '\'') {
                if (i + 4 > n)
                    throw RtfError("RTF source ends inside \\'hh");
                const int hi = HexValue(static_cast<unsigned char>(s_[i + 2]));
                const int lo = HexValue(static_cast<unsigned char>(s_[i + 3]));
                if (hi < 0 || lo < 0)
                    throw RtfError("\\' not followed by two hexadecimal digits");
                if (pending_ > 0) {
                    skipFallback(i + 4);
                } else {
                    highPending_ = false;
                    if (cur_.dest == Dest::Text)
                        emit(DecodeByte(codePage(), static_cast<unsigned char>(hi * 16 + lo)), i,
                             i + 4);
                }
                i += 4;
                continue;
            }
            if (pending_ > 0) {
                skipFallback(i + 2);
            } else {
                highPending_ = false;
                controlSymbol(c1, i, i + 2);
            }
            i += 2;
            continue;
        }
        if (IsIgnoredByte(c)) {
            ++i;
            continue;
        }
        if (pending_ > 0) {
            skipFallback(i + 1);
            ++i;
            continue;
        }
        highPending_ = false;
        if (cur_.dest != Dest::Text) {
            while (i < n && !kStop[static_cast<unsigned char>(s_[i])])
                ++i;
            continue;
        }
        // A run of text bytes: ASCII stretches at once, others one by one.
        while (i < n) {
            std::size_t j = i;
            while (j < n && kPlain[static_cast<unsigned char>(s_[j])])
                ++j;
            if (j > i) {
                release();
                writer_.add(low.size(), i, 1, j - i, 0);
                low.append(s_.data() + i, j - i);
                i = j;
            }
            if (i >= n)
                break;
            const auto b = static_cast<unsigned char>(s_[i]);
            if (b < 0x80)
                break;
            emit(DecodeByte(codePage(), b), i, i + 1);
            ++i;
        }
    }
    if (!closed)
        throw RtfError("unbalanced braces: the RTF document is not closed");
    for (; i < n; ++i) {
        const auto c = static_cast<unsigned char>(s_[i]);
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\0')
            throw RtfError("unbalanced braces: something follows the end of the RTF document");
    }
    release();
    writer_.flush();
    if (low.size() < low.capacity() / 2)
        low.shrink_to_fit();
    if (index.runs.size() < index.runs.capacity() / 2)
        index.runs.shrink_to_fit();
    if (index.blocks.size() < index.blocks.capacity() / 2)
        index.blocks.shrink_to_fit();
    return std::move(out_);
}

Parsed Parse(std::string_view source) {
    return Parser(source).run();
}

// The escaped RTF of a value, with the text it reads as and the source bytes
// (relative to the start of `rtf`) of each of its characters.
struct Escaped {
    std::string rtf;
    std::u32string text;
    std::vector<Document::SourceRange> ranges;
    int depth = 1; // the deepest nesting of its groups
};

void AppendUnicode(std::string& out, char32_t unit) {
    const int value = unit < 0x8000 ? static_cast<int>(unit) : static_cast<int>(unit) - 0x10000;
    out += "\\u";
    out += std::to_string(value);
    out += '?';
}

Escaped Escape(std::u32string_view value) {
    Escaped r;
    if (value.empty())
        return r;
    r.rtf = "{\\uc1 ";
    auto add = [&r](char32_t ch, std::size_t begin) {
        r.text.push_back(ch);
        r.ranges.push_back({begin, r.rtf.size()});
    };
    int open = 0; // groups opened by marks
    for (std::size_t k = 0; k < value.size(); ++k) {
        char32_t c = value[k];
        const std::size_t begin = r.rtf.size();
        if (c == kItalicMark || c == kSubscriptMark) {
            r.rtf += c == kItalicMark ? "{\\i " : "{\\sub ";
            r.depth = std::max(r.depth, ++open + 1);
        } else if (c == kEndMark) {
            if (open > 0) {
                r.rtf += '}';
                --open;
            }
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && k + 1 < value.size() && value[k + 1] == '\n')
                ++k;
            r.rtf += "\\line ";
            add(0x0B, begin);
        } else if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
            continue;
        } else if (c == '\\' || c == '{' || c == '}') {
            r.rtf += '\\';
            r.rtf += static_cast<char>(c);
            add(c, begin);
        } else if (c < 0x80) {
            r.rtf += static_cast<char>(c);
            add(c, begin);
        } else {
            if (IsSurrogate(c) || c > 0x10FFFF)
                c = kReplacement;
            if (c <= 0xFFFF) {
                AppendUnicode(r.rtf, c);
            } else {
                AppendUnicode(r.rtf, 0xD800 + ((c - 0x10000) >> 10));
                AppendUnicode(r.rtf, 0xDC00 + ((c - 0x10000) & 0x3FF));
            }
            add(c, begin);
        }
    }
    if (r.text.empty())
        return {};
    r.rtf.append(static_cast<std::size_t>(open), '}');
    r.rtf += '}';
    return r;
}

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

Document::Document(std::string source) : source_(std::move(source)) {
    Parsed p = Parse(source_);
    index_ = std::move(p.index);
    closingBrace_ = p.closingBrace;
    textAtEnd_ = p.textAtEnd;
    maxDepth_ = p.maxDepth;
}

std::u32string Document::text() const {
    std::u32string text(textSize(), U'\0');
    RunReader reader(index_, 0);
    for (Run run; reader.next(run);)
        for (std::size_t k = run.text; k < run.textEnd(); ++k)
            text[k] = run.page << 8 | static_cast<unsigned char>(index_.low[k]);
    return text;
}

char32_t Document::character(std::size_t pos) const {
    if (pos >= textSize())
        throw std::out_of_range("rtf::Document::character: position outside the text");
    return Locate(index_, pos).run.page << 8 | static_cast<unsigned char>(index_.low[pos]);
}

Document::SourceRange Document::sourceRange(std::size_t pos) const {
    if (pos >= textSize())
        throw std::out_of_range("rtf::Document::sourceRange: position outside the text");
    const Run run = Locate(index_, pos).run;
    return {run.begin(pos), run.begin(pos + 1)};
}

std::size_t Document::find(std::u32string_view needle, std::size_t from) const {
    if (from > textSize())
        return npos;
    if (needle.empty())
        return from;
    // Search the low bytes, then check the rest of each code point.
    std::string low(needle.size(), '\0');
    for (std::size_t k = 0; k < needle.size(); ++k)
        low[k] = static_cast<char>(needle[k] & 0xFF);
    const std::string_view haystack(index_.low);
    for (std::size_t at = from; (at = haystack.find(low, at)) != std::string_view::npos; ++at)
        if (PagesMatch(index_, at, needle))
            return at;
    return npos;
}

// Whether deleting [pos, pos + length) leaves two unpaired \uN surrogates
// with nothing but ignored bytes between them, which a reader would pair.
bool Document::joinsSurrogates(std::size_t pos, std::size_t length) const {
    if (pos == 0 || pos + length >= textSize())
        return false;
    if (character(pos - 1) != kReplacement || character(pos + length) != kReplacement)
        return false;
    auto ignorable = [this](std::size_t from, std::size_t to) {
        for (std::size_t k = from; k < to; ++k)
            if (!IsIgnoredByte(static_cast<unsigned char>(source_[k])))
                return false;
        return true;
    };
    std::size_t cursor = sourceRange(pos - 1).end;
    bool ignored = true;
    ForEachStretch(index_, pos, length, [&](std::size_t begin, std::size_t end) {
        ignored = ignored && ignorable(cursor, begin);
        cursor = end;
    });
    return ignored && ignorable(cursor, sourceRange(pos + length).begin);
}

std::size_t Document::replace(std::size_t pos, std::size_t length, std::u32string_view value) {
    CheckRange(pos, length, textSize(), "replace");
    const Escaped esc = Escape(value);
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
    const std::size_t size = textSize();
    if (length == 0 && rtf.empty())
        return pos;
    if (size == 0 && !textAtEnd_)
        throw RtfError("the RTF document has no place for text");

    const std::size_t at = pos < size ? sourceRange(pos).begin
                           : size > 0 ? sourceRange(size - 1).end
                                      : closingBrace_;
    // The source [at, end) becomes `middle`: the insertion, then what lies
    // between the deleted characters.
    std::string middle;
    std::size_t end = at;
    bool groupAdded = !rtf.empty();
    if (rtf.empty() && length > 0 && joinsSurrogates(pos, length)) {
        middle = "{}";
        groupAdded = true;
    }
    middle += rtf;
    if (length > 0) {
        // Keep a control word before a deleted stretch from running into
        // what follows the stretch.
        const auto keepApart = [&] {
            const char prev = middle.empty() ? source_[at - 1] : middle.back();
            if (end < source_.size() && MayJoinWord(static_cast<unsigned char>(prev),
                                                    static_cast<unsigned char>(source_[end]))) {
                middle += "{}";
                groupAdded = true;
            }
        };
        bool first = true;
        ForEachStretch(index_, pos, length, [&](std::size_t begin, std::size_t stretchEnd) {
            if (!first && begin != end) {
                keepApart();
                middle.append(source_, end, begin - end);
            }
            first = false;
            end = stretchEnd;
        });
        keepApart();
    }
    // Unsigned wrap-around makes a shrinking `grow` subtract.
    const std::size_t grow = middle.size() - (end - at);
    if (source_.size() + grow > kMaxSource)
        throw std::length_error("rtf::Document: RTF source larger than 4 GB");

    if (groupAdded && maxDepth_ + depth > kMaxDepth) {
        // Near the nesting limit the added groups may nest too deep:
        // read the result in full, which refuses it if it is.
        std::string edited = source_;
        edited.replace(at, end - at, middle);
        Parsed p = Parse(edited);
        source_ = std::move(edited);
        index_ = std::move(p.index);
        closingBrace_ = p.closingBrace;
        textAtEnd_ = p.textAtEnd;
        maxDepth_ = p.maxDepth;
        return pos + text.size();
    }

    // Rewrite the blocks of runs that hold the range: the runs before it,
    // the inserted characters, then the runs after it, moved by the change
    // in text size and in source size.
    const std::size_t count = text.size();
    const std::size_t cut = pos + length;
    TextIndex& ix = index_;
    std::string runs;
    std::vector<RunBlock> blocks;
    RunWriter writer(runs, blocks);
    bool inserted = false;
    const auto insert = [&] {
        if (std::exchange(inserted, true))
            return;
        for (std::size_t k = 0; k < count; ++k)
            writer.add(pos + k, at + ranges[k].begin, ranges[k].end - ranges[k].begin, 1,
                       text[k] >> 8);
    };
    std::size_t first = 0, last = 0; // the blocks [first, last] are rewritten
    std::size_t bytesFrom = 0, bytesTo = 0;
    if (!ix.blocks.empty()) {
        first = BlockOf(ix, pos < size ? pos : size - 1);
        last = length > 0 ? BlockOf(ix, cut - 1) : first;
        bytesFrom = ix.blocks[first].offset;
        bytesTo = last + 1 < ix.blocks.size() ? ix.blocks[last + 1].offset : ix.runs.size();
        RunReader reader(ix, first);
        for (Run run; reader.next(run) && reader.block() <= last;) {
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

    // Allocate first, so that nothing below can fail half-way.
    const std::size_t runsGrow = runs.size() - (bytesTo - bytesFrom);
    source_.reserve(source_.size() + grow);
    ix.low.reserve(size - length + count);
    ix.runs.reserve(ix.runs.size() + runsGrow);
    ix.blocks.reserve(ix.blocks.size() + blocks.size());

    for (RunBlock& b : blocks)
        b.offset += bytesFrom;
    const std::size_t later = ix.blocks.empty() ? 0 : last + 1;
    for (std::size_t k = later; k < ix.blocks.size(); ++k) {
        RunBlock& b = ix.blocks[k];
        b.offset += runsGrow;
        b.text = static_cast<std::uint32_t>(b.text + count - length);
        b.src = static_cast<std::uint32_t>(b.src + grow);
    }
    ix.runs.replace(bytesFrom, bytesTo - bytesFrom, runs);
    const auto firstBlock = ix.blocks.begin() + static_cast<std::ptrdiff_t>(first);
    const auto laterBlock = ix.blocks.begin() + static_cast<std::ptrdiff_t>(later);
    ix.blocks.insert(ix.blocks.erase(firstBlock, laterBlock), blocks.begin(), blocks.end());
    std::string low(count, '\0');
    for (std::size_t k = 0; k < count; ++k)
        low[k] = static_cast<char>(text[k] & 0xFF);
    ix.low.replace(pos, length, low);

    closingBrace_ += grow;
    source_.replace(at, end - at, middle);
    if (groupAdded)
        maxDepth_ += depth;
    return pos + count;
}

std::string EscapeText(std::u32string_view value) {
    return Escape(value).rtf;
}

std::string PictureGroup(const Picture& picture) {
    static constexpr std::string_view kSignature("\x89PNG\r\n\x1a\n", 8);
    if (!std::string_view(picture.png).starts_with(kSignature))
        throw std::invalid_argument("rtf::PictureGroup: the data is not a PNG file");
    constexpr std::uint32_t kLargest = std::numeric_limits<std::int32_t>::max();
    for (const std::uint32_t size :
         {picture.widthPx, picture.heightPx, picture.widthTwips, picture.heightTwips})
        if (size == 0 || size > kLargest)
            throw std::invalid_argument("rtf::PictureGroup: picture sizes must be 1 to " +
                                        std::to_string(kLargest));
    std::string out = "{\\pict\\pngblip\\picw" + std::to_string(picture.widthPx) + "\\pich" +
                      std::to_string(picture.heightPx) + "\\picwgoal" +
                      std::to_string(picture.widthTwips) + "\\pichgoal" +
                      std::to_string(picture.heightTwips) + ' ';
    constexpr std::size_t kLineBytes = 64; // 128 hexadecimal digits
    const std::size_t bytes = picture.png.size();
    out.reserve(out.size() + 2 * bytes + 2 * (bytes / kLineBytes) + 1);
    static constexpr char kHex[] = "0123456789abcdef";
    for (std::size_t k = 0; k < bytes; ++k) {
        if (k > 0 && k % kLineBytes == 0)
            out += "\r\n";
        const auto b = static_cast<unsigned char>(picture.png[k]);
        out += kHex[b >> 4];
        out += kHex[b & 0xF];
    }
    out += '}';
    return out;
}

} // namespace vostrel::rtf
