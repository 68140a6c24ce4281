#include "report/rtf.h"

#include "report/codepages.h"

#include <algorithm>
#include <array>
#include <limits>
#include <unordered_map>
#include <utility>

namespace vostrel::rtf {

namespace {

using Span = Document::Span;

constexpr std::size_t kMaxSource = std::numeric_limits<std::uint32_t>::max();
constexpr char32_t kReplacement = 0xFFFD;

bool IsLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

// Raw bytes that carry nothing: CR, LF and the other control bytes but TAB.
bool IsIgnoredByte(unsigned char c) {
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

const std::unordered_map<std::string_view, WordInfo>& Words() {
    static const auto words = [] {
        std::unordered_map<std::string_view, WordInfo> words;
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

struct Parsed {
    std::u32string text;
    std::vector<Span> spans;
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

    void emit(char32_t c, std::size_t begin, std::size_t end) {
        out_.text.push_back(c);
        out_.spans.push_back({static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end)});
    }

    // Consumes one fallback unit of the last \uN, ending at `end`.
    void skipFallback(std::size_t end) {
        --pending_;
        if (extendLast_)
            out_.spans.back().end = static_cast<std::uint32_t>(end);
    }

    int codePage();
    void controlWord(std::string_view name, bool hasParam, long param, std::size_t begin,
                     std::size_t end, bool afterHigh);
    void controlSymbol(unsigned char c, std::size_t begin, std::size_t end);

    std::string_view s_;
    Parsed out_;
    State cur_;
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
    const auto& words = Words();
    const auto it = words.find(name);
    if (it == words.end())
        return;
    const int value = static_cast<int>(param);
    switch (it->second.op) {
    case Op::Destination:
        cur_.dest = Dest::Skip;
        break;
    case Op::FontTable:
        cur_.dest = cur_.dest == Dest::Text ? Dest::FontTable : Dest::Skip;
        break;
    case Op::Char:
        if (cur_.dest == Dest::Text)
            emit(it->second.ch, begin, end);
        break;
    case Op::Unicode: {
        if (!hasParam)
            break;
        const long code = param < 0 ? param + 65536 : param;
        const char32_t c = code >= 0 && code <= 0xFFFF ? static_cast<char32_t>(code) : kReplacement;
        extendLast_ = cur_.dest == Dest::Text;
        if (extendLast_) {
            if (afterHigh && IsLowSurrogate(c)) {
                char32_t& high = out_.text.back();
                high = 0x10000 + ((high - 0xD800) << 10) + (c - 0xDC00);
                out_.spans.back().end = static_cast<std::uint32_t>(end);
            } else {
                emit(c, begin, end);
                highPending_ = IsHighSurrogate(c);
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

    // A character takes at least one byte: reserving that much spares the
    // copies of growing; what is left over is given back at the end.
    out_.text.reserve(n);
    out_.spans.reserve(n);
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
        // A run of text bytes.
        while (i < n) {
            const auto b = static_cast<unsigned char>(s_[i]);
            if (kStop[b] || IsIgnoredByte(b))
                break;
            emit(b < 0x80 ? char32_t{b} : DecodeByte(codePage(), b), i, i + 1);
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
    // Surrogates left unpaired are not characters.
    for (char32_t& ch : out_.text)
        if (ch >= 0xD800 && ch <= 0xDFFF)
            ch = kReplacement;
    if (out_.text.size() < out_.text.capacity() / 2) {
        out_.text.shrink_to_fit();
        out_.spans.shrink_to_fit();
    }
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
    std::vector<Span> spans;
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
        r.spans.push_back(
            {static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(r.rtf.size())});
    };
    for (std::size_t k = 0; k < value.size(); ++k) {
        char32_t c = value[k];
        const std::size_t begin = r.rtf.size();
        if (c == '\r' || c == '\n') {
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
            if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
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

} // namespace

Document::Document(std::string source) : source_(std::move(source)) {
    Parsed p = Parse(source_);
    text_ = std::move(p.text);
    spans_ = std::move(p.spans);
    closingBrace_ = p.closingBrace;
    textAtEnd_ = p.textAtEnd;
    maxDepth_ = p.maxDepth;
}

Document::SourceRange Document::sourceRange(std::size_t pos) const {
    const Span& s = spans_.at(pos);
    return {s.begin, s.end};
}

std::size_t Document::find(std::u32string_view needle, std::size_t from) const {
    if (from > text_.size())
        return npos;
    return std::u32string_view(text_).find(needle, from);
}

// Whether deleting [pos, pos + length) leaves two unpaired \uN surrogates
// with nothing but ignored bytes between them, which a reader would pair.
bool Document::joinsSurrogates(std::size_t pos, std::size_t length) const {
    if (pos == 0 || pos + length >= text_.size())
        return false;
    if (text_[pos - 1] != kReplacement || text_[pos + length] != kReplacement)
        return false;
    auto ignorable = [this](std::size_t from, std::size_t to) {
        for (std::size_t k = from; k < to; ++k)
            if (!IsIgnoredByte(static_cast<unsigned char>(source_[k])))
                return false;
        return true;
    };
    std::size_t cursor = spans_[pos - 1].end;
    for (std::size_t j = pos; j < pos + length; ++j) {
        if (!ignorable(cursor, spans_[j].begin))
            return false;
        cursor = spans_[j].end;
    }
    return ignorable(cursor, spans_[pos + length].begin);
}

std::size_t Document::replace(std::size_t pos, std::size_t length, std::u32string_view value) {
    const std::size_t size = text_.size();
    if (pos > size || length > size - pos)
        throw std::out_of_range("rtf::Document::replace: range outside the text");
    Escaped esc = Escape(value);
    if (length == 0 && esc.rtf.empty())
        return pos;
    if (size == 0 && !textAtEnd_)
        throw RtfError("the RTF document has no place for text");

    const std::size_t at = pos < size ? spans_[pos].begin
                           : size > 0 ? spans_.back().end
                                      : closingBrace_;
    // The source [at, end) becomes `middle`: the value, then what lies
    // between the deleted characters.
    std::string middle;
    std::size_t end = at;
    bool groupAdded = !esc.rtf.empty();
    if (esc.rtf.empty() && length > 0 && joinsSurrogates(pos, length)) {
        middle = "{}";
        groupAdded = true;
    }
    middle += esc.rtf;
    if (length > 0) {
        // Keep a control word before a deleted run from running into what
        // follows the run.
        const std::size_t last = pos + length - 1;
        end = spans_[pos].end;
        for (std::size_t j = pos;; ++j) {
            if (j == last || spans_[j + 1].begin != end) {
                const char prev = middle.empty() ? source_[at - 1] : middle.back();
                if (end < source_.size() && MayJoinWord(static_cast<unsigned char>(prev),
                                                        static_cast<unsigned char>(source_[end]))) {
                    middle += "{}";
                    groupAdded = true;
                }
            }
            if (j == last)
                break;
            middle.append(source_, end, spans_[j + 1].begin - end);
            end = spans_[j + 1].end;
        }
    }
    // Unsigned wrap-around makes a shrinking `grow` subtract.
    const std::size_t grow = middle.size() - (end - at);
    if (source_.size() + grow > kMaxSource)
        throw std::length_error("rtf::Document::replace: RTF source larger than 4 GB");

    if (groupAdded && maxDepth_ >= kMaxDepth) {
        // Near the nesting limit the added group may be one level too deep:
        // read the result in full, which refuses it if it is.
        std::string edited = source_;
        edited.replace(at, end - at, middle);
        Parsed p = Parse(edited);
        source_ = std::move(edited);
        text_ = std::move(p.text);
        spans_ = std::move(p.spans);
        closingBrace_ = p.closingBrace;
        textAtEnd_ = p.textAtEnd;
        maxDepth_ = p.maxDepth;
        return pos + esc.text.size();
    }

    // The edit lies before the characters after the range: they move by grow.
    const auto delta = static_cast<std::uint32_t>(grow);
    const std::size_t count = esc.text.size();
    text_.replace(pos, length, esc.text);
    if (count > length)
        spans_.insert(spans_.begin() + static_cast<std::ptrdiff_t>(pos + length), count - length,
                      Span{});
    else if (count < length)
        spans_.erase(spans_.begin() + static_cast<std::ptrdiff_t>(pos + count),
                     spans_.begin() + static_cast<std::ptrdiff_t>(pos + length));
    const auto base = static_cast<std::uint32_t>(at);
    for (std::size_t k = 0; k < count; ++k)
        spans_[pos + k] = {base + esc.spans[k].begin, base + esc.spans[k].end};
    for (std::size_t k = pos + count; k < spans_.size(); ++k) {
        spans_[k].begin += delta;
        spans_[k].end += delta;
    }
    closingBrace_ += grow;
    source_.replace(at, end - at, middle);
    if (groupAdded)
        ++maxDepth_;
    return pos + count;
}

std::string EscapeText(std::u32string_view value) {
    return Escape(value).rtf;
}

} // namespace vostrel::rtf
