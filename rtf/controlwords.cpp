#include "rtf/controlwords.h"

#include <algorithm>
#include <utility>

namespace vostrel::rtf::detail {

namespace {

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

constexpr std::pair<std::string_view, char32_t> kCharacters[] = {
    {"par", 0x0D},       {"sect", 0x0D},      {"page", 0x0D},        {"column", 0x0D},
    {"line", 0x0B},      {"tab", 0x09},       {"cell", 0x07},        {"row", 0x07},
    {"nestcell", 0x07},  {"nestrow", 0x07},   {"emdash", 0x2014},    {"endash", 0x2013},
    {"lquote", 0x2018},  {"rquote", 0x2019},  {"ldblquote", 0x201C}, {"rdblquote", 0x201D},
    {"bullet", 0x2022},  {"emspace", 0x2003}, {"enspace", 0x2002},   {"qmspace", 0x2005},
    {"zwj", 0x200D},     {"zwnj", 0x200C},    {"zwbo", 0x200B},      {"zwnbo", 0xFEFF},
    {"ltrmark", 0x200E}, {"rtlmark", 0x200F},
};

constexpr std::pair<std::string_view, int> kCharacterSets[] = {
    {"ansi", 1252},
    {"mac", 10000},
    {"pc", 437},
    {"pca", 850},
};

constexpr std::pair<std::string_view, Op> kStateWords[] = {
    {"fonttbl", Op::FontTable},    {"u", Op::Unicode},
    {"uc", Op::UnicodeSkip},       {"f", Op::Font},
    {"fcharset", Op::Charset},     {"cpg", Op::FontCodePage},
    {"ansicpg", Op::AnsiCodePage}, {"deff", Op::DefaultFont},
    {"plain", Op::Plain},
};

WordTable MakeTable() {
    WordTable words;
    for (std::size_t b = 0; b < kDestinations.size();) {
        const std::size_t e = std::min(kDestinations.find(' ', b), kDestinations.size());
        words.emplace(kDestinations.substr(b, e - b), WordInfo{Op::Destination});
        b = e + 1;
    }
    for (const auto& [name, ch] : kCharacters)
        words.emplace(name, WordInfo{Op::Char, ch});
    for (const auto& [name, codePage] : kCharacterSets)
        words.emplace(name, WordInfo{Op::CharacterSet, 0, codePage});
    for (const auto& [name, op] : kStateWords)
        words.emplace(name, WordInfo{op});
    return words;
}

} // namespace

const WordTable& ControlWords() {
    static const WordTable words = MakeTable();
    return words;
}

} // namespace vostrel::rtf::detail
