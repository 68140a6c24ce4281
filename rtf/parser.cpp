#include "rtf/parser.h"

#include "rtf/characters.h"
#include "rtf/codepages.h"
#include "rtf/controlwords.h"
#include "rtf/rtf.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vostrel::rtf::detail {

namespace {

// Bytes that end a stretch of plain bytes.
constexpr auto kStop = [] {
    std::array<bool, 256> t{};
    t['\\'] = t['{'] = t['}'] = true;
    return t;
}();

// ASCII bytes that are text characters as they are.
constexpr auto kPlain = [] {
    std::array<bool, 256> t{};
    for (int b = 0; b < 0x80; ++b)
        t[b] = !kStop[b] && !IsIgnoredByte(static_cast<unsigned char>(b));
    return t;
}();

// One pass over the source with an explicit group stack.
class Parser {
public:
    explicit Parser(std::string_view source) : s_(source), builder_(source.size()) {}

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

    struct Word {
        std::string_view name;
        bool hasParam = false;
        long param = 0;
        std::size_t end = 0; // after the delimiting space, or after the data of \bin
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
        builder_.addCharacter(held_.c, held_.begin, held_.end);
        held_.end = 0;
    }

    // Whether the element ending at `end` is a fallback unit of the last \uN,
    // which it then consumes.
    bool fallback(std::size_t end) {
        if (pending_ <= 0)
            return false;
        --pending_;
        if (extendLast_)
            revise(held_.c, end);
        return true;
    }

    // A group's brace ends any fallback and surrogate pairing.
    void endFallback() {
        pending_ = 0;
        highPending_ = false;
    }

    void setDocumentCodePage(int codePage) {
        documentCodePage_ = codePage;
        ++fontsVersion_;
    }

    void openGroup();
    bool closeGroup(std::size_t at);
    std::size_t backslash(std::size_t at);
    Word readWord(std::size_t at) const;
    std::size_t hexByte(std::size_t at);
    std::size_t bytes(std::size_t at);
    std::size_t textBytes(std::size_t at);
    Parsed finish(std::size_t at);

    int codePage();
    void controlWord(const Word& word, std::size_t begin, bool afterHigh);
    void unicode(long param, std::size_t begin, std::size_t end, bool afterHigh);
    void fontWord(Op op, int value);
    void controlSymbol(unsigned char c, std::size_t begin, std::size_t end);

    std::string_view s_;
    const WordTable& words_ = ControlWords();
    Parsed out_;
    RunIndex::Builder builder_;
    State cur_;
    std::vector<State> stack_; // states of the enclosing groups
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

Parsed Parser::run() {
    for (std::size_t i = 0; i < s_.size();) {
        const auto c = static_cast<unsigned char>(s_[i]);
        if (c == '{') {
            openGroup();
            ++i;
        } else if (c == '}') {
            if (closeGroup(i++))
                return finish(i);
        } else if (c == '\\') {
            i = backslash(i);
        } else {
            i = bytes(i);
        }
    }
    throw RtfError("unbalanced braces: the RTF document is not closed");
}

void Parser::openGroup() {
    stack_.push_back(cur_);
    if (stack_.size() > static_cast<std::size_t>(kMaxDepth))
        throw RtfError("RTF groups nested deeper than " + std::to_string(kMaxDepth));
    out_.maxDepth = std::max(out_.maxDepth, static_cast<int>(stack_.size()));
    endFallback();
}

// Closes the group of the '}' at `at`; true for the document's closing brace.
bool Parser::closeGroup(std::size_t at) {
    out_.textAtEnd = cur_.dest == Dest::Text;
    cur_ = stack_.back();
    stack_.pop_back();
    endFallback();
    if (!stack_.empty())
        return false;
    out_.closingBrace = at;
    return true;
}

// A control word, \'hh or a control symbol at `at`; returns where it ends.
std::size_t Parser::backslash(std::size_t at) {
    if (at + 1 >= s_.size())
        throw RtfError("RTF source ends inside a control word");
    const auto c = static_cast<unsigned char>(s_[at + 1]);
    if (IsLetter(c)) {
        const Word word = readWord(at);
        if (!fallback(word.end))
            controlWord(word, at, std::exchange(highPending_, false));
        return word.end;
    }
    if (c == '\'')
        return hexByte(at);
    if (!fallback(at + 2)) {
        highPending_ = false;
        controlSymbol(c, at, at + 2);
    }
    return at + 2;
}

Parser::Word Parser::readWord(std::size_t at) const {
    const std::size_t n = s_.size();
    std::size_t j = at + 1;
    while (j < n && IsLetter(static_cast<unsigned char>(s_[j])))
        ++j;
    Word word;
    word.name = s_.substr(at + 1, j - at - 1);
    bool negative = false;
    if (j + 1 < n && s_[j] == '-' && IsDigit(static_cast<unsigned char>(s_[j + 1]))) {
        negative = true;
        ++j;
    }
    long param = 0;
    while (j < n && IsDigit(static_cast<unsigned char>(s_[j]))) {
        word.hasParam = true;
        if (param < 10'000'000'000L) // saturates: no parameter is that large
            param = param * 10 + (s_[j] - '0');
        ++j;
    }
    param = std::min(param, static_cast<long>(std::numeric_limits<int>::max()));
    word.param = negative ? -param : param;
    if (j < n && s_[j] == ' ')
        ++j;
    word.end = j;
    if (word.name == "bin") { // raw bytes follow: never text, never markup
        if (word.param < 0)
            throw RtfError("negative \\bin length");
        if (static_cast<std::size_t>(word.param) > n - word.end)
            throw RtfError("\\bin data runs past the end of the RTF source");
        word.end += static_cast<std::size_t>(word.param);
    }
    return word;
}

std::size_t Parser::hexByte(std::size_t at) {
    if (at + 4 > s_.size())
        throw RtfError("RTF source ends inside \\'hh");
    const int hi = HexValue(static_cast<unsigned char>(s_[at + 2]));
    const int lo = HexValue(static_cast<unsigned char>(s_[at + 3]));
    if (hi < 0 || lo < 0)
        throw RtfError("\\' not followed by two hexadecimal digits");
    if (!fallback(at + 4)) {
        highPending_ = false;
        if (cur_.dest == Dest::Text)
            emit(DecodeByte(codePage(), static_cast<unsigned char>(hi * 16 + lo)), at, at + 4);
    }
    return at + 4;
}

// Bytes that are no markup, from `at` on; returns where they end.
std::size_t Parser::bytes(std::size_t at) {
    if (IsIgnoredByte(static_cast<unsigned char>(s_[at])) || fallback(at + 1))
        return at + 1;
    highPending_ = false;
    if (cur_.dest == Dest::Text)
        return textBytes(at);
    while (at < s_.size() && !kStop[static_cast<unsigned char>(s_[at])])
        ++at;
    return at;
}

// Text bytes: ASCII stretches at once, others one by one.
std::size_t Parser::textBytes(std::size_t at) {
    const std::size_t n = s_.size();
    while (at < n) {
        std::size_t j = at;
        while (j < n && kPlain[static_cast<unsigned char>(s_[j])])
            ++j;
        if (j > at) {
            release();
            builder_.addAscii(s_.substr(at, j - at), at);
            at = j;
        }
        if (at >= n || static_cast<unsigned char>(s_[at]) < 0x80)
            break;
        emit(DecodeByte(codePage(), static_cast<unsigned char>(s_[at])), at, at + 1);
        ++at;
    }
    return at;
}

// Only white space may follow the closing brace, which ends before `at`.
Parsed Parser::finish(std::size_t at) {
    for (; at < s_.size(); ++at) {
        const auto c = static_cast<unsigned char>(s_[at]);
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\0')
            throw RtfError("unbalanced braces: something follows the end of the RTF document");
    }
    release();
    out_.index = builder_.finish();
    return std::move(out_);
}

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

void Parser::controlWord(const Word& word, std::size_t begin, bool afterHigh) {
    const WordInfo* const info = words_.find(word.name);
    if (!info)
        return;
    switch (info->op) {
    case Op::Destination:
        cur_.dest = Dest::Skip;
        break;
    case Op::FontTable:
        cur_.dest = cur_.dest == Dest::Text ? Dest::FontTable : Dest::Skip;
        break;
    case Op::Char:
        if (cur_.dest == Dest::Text)
            emit(info->ch, begin, word.end);
        break;
    case Op::Unicode:
        if (word.hasParam)
            unicode(word.param, begin, word.end, afterHigh);
        break;
    case Op::UnicodeSkip:
        cur_.uc = word.hasParam ? std::clamp(static_cast<int>(word.param), 0, 1 << 20) : 1;
        break;
    case Op::CharacterSet:
        setDocumentCodePage(info->codePage);
        break;
    case Op::Font:
    case Op::Charset:
    case Op::FontCodePage:
    case Op::AnsiCodePage:
    case Op::DefaultFont:
        if (word.hasParam)
            fontWord(info->op, static_cast<int>(word.param));
        break;
    case Op::Plain:
        if (cur_.dest == Dest::Text)
            cur_.font = -1;
        break;
    }
}

// \uN, N from -32768 to 65535: its fallback is the next `uc` units.
void Parser::unicode(long param, std::size_t begin, std::size_t end, bool afterHigh) {
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
}

// A word of the fonts or code pages, with its parameter `value`.
void Parser::fontWord(Op op, int value) {
    switch (op) {
    case Op::Font:
        if (cur_.dest == Dest::FontTable)
            definedFont_ = value;
        else if (cur_.dest == Dest::Text)
            cur_.font = value;
        break;
    case Op::Charset:
    case Op::FontCodePage:
        if (cur_.dest == Dest::FontTable) {
            FontInfo& font = fonts_[definedFont_];
            (op == Op::Charset ? font.charset : font.codePage) = value;
            ++fontsVersion_;
        }
        break;
    case Op::AnsiCodePage:
        if (value > 0)
            setDocumentCodePage(value);
        break;
    case Op::DefaultFont:
        defaultFont_ = value;
        ++fontsVersion_;
        break;
    default:
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

} // namespace

Parsed Parse(std::string_view source) {
    if (source.size() > kMaxSource)
        throw RtfError("RTF source larger than 4 GB");
    if (!source.starts_with("{\\rtf") ||
        (source.size() > 5 && IsLetter(static_cast<unsigned char>(source[5]))))
        throw RtfError("not an RTF document: it must start with {\\rtf");
    return Parser(source).run();
}

} // namespace vostrel::rtf::detail
