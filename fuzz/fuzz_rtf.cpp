// libFuzzer target for the RTF engine (rtf/rtf.h).
//
// Input: an RTF file as it is (starting with "{") is the document, edited by
// a fixed script that fills tags the way the report does. Any other input is
//   [flags] [script: (flags >> 1) % 64 bytes] [body]
// where the document is the body, after "{\rtf1 " when flags & 1.
// The script is a few operations of four bytes: find a tag, a needle cut
// from the document's own text or a position, and replace it by a value
// (braces, backslashes, line ends, Cyrillic, control characters, surrogates,
// or code points made from the script's bytes) or by a picture; up to ten.
// Checked: the source gives RtfError or a Document, without crash or hang;
// every character comes from its own bytes of the source, in order; find
// agrees with a search of the text; after each replace the text is the old
// text with the range replaced by what the value reads as, the returned
// position is just after it, and reading the source again gives the same
// text from the same bytes; a refused replace leaves the document as it was;
// EscapeText reads back as the value. A picture in place of a range leaves
// the text without the range, the same checks holding, and its group in the
// source.
#include "rtf/rtf.h"
#include "tests/report/png_sample.h"
#include "tests/report/value_text.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

using namespace vostrel::rtf;

namespace {

constexpr std::size_t kMaxInput = 64 * 1024;

[[noreturn]] void Fail(const char* what, const Document& doc) {
    const std::string& source = doc.source();
    const int shown = static_cast<int>(std::min<std::size_t>(source.size(), 4096));
    std::fprintf(stderr, "rtf invariant broken: %s\nsource (%zu bytes):\n%.*s\n", what,
                 source.size(), shown, source.data());
    std::abort();
}

// Each character has bytes of its own, in source order, inside the source;
// the same as in `again`, when given.
void CheckSpans(const Document& doc, const Document* again = nullptr) {
    std::size_t last = 0;
    for (std::size_t i = 0; i < doc.textSize(); ++i) {
        const auto r = doc.sourceRange(i);
        if (r.begin < last || r.end <= r.begin || r.end > doc.source().size())
            Fail("character source ranges overlap, are empty or lie outside the source", doc);
        last = r.end;
        if (again) {
            const auto a = again->sourceRange(i);
            if (a.begin != r.begin || a.end != r.end)
                Fail("reading the edited source gives other source ranges", doc);
        }
    }
    try {
        (void)doc.sourceRange(doc.textSize());
    } catch (const std::out_of_range&) {
        return;
    }
    Fail("sourceRange accepts a position past the text", doc);
}

// Reading the source again gives the same text from the same bytes, each
// character from bytes of its own.
void CheckReread(const Document& doc) {
    std::optional<Document> again;
    try {
        again.emplace(doc.source());
    } catch (const RtfError&) {
        Fail("edited source is refused", doc);
    }
    if (again->text() != doc.text())
        Fail("reading the edited source gives another text", doc);
    CheckSpans(doc, &*again);
}

void CheckEscape(std::u32string_view value) {
    const std::string rtf = EscapeText(value);
    const std::u32string text = ValueText(value);
    if (rtf.empty() != text.empty()) {
        std::fprintf(stderr, "EscapeText gives '%s' for a value of %zu characters\n", rtf.c_str(),
                     text.size());
        std::abort();
    }
    if (rtf.empty())
        return;
    // After a bare control word and before a digit: the worst neighbours.
    const Document doc("{\\rtf1 \\b" + rtf + "5}");
    if (doc.text() != text + U"5")
        Fail("EscapeText does not read back as the value", doc);
}

// Reads the script's bytes; zero once they run out.
class Script {
public:
    explicit Script(std::string_view bytes) : bytes_(bytes) {}
    bool done() const { return at_ >= bytes_.size(); }
    unsigned byte() { return at_ < bytes_.size() ? static_cast<unsigned char>(bytes_[at_++]) : 0; }
    std::size_t word() { return byte() | byte() << 8; }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

const std::u32string_view kValues[] = {
    U"",
    U"15",
    U"1,25",
    U"123,456",
    U"Высота 1,5 м",
    U"a}{\\b x\\",
    U"}{\\field{\\*\\fldinst HYPERLINK \"x\"}}",
    U"\\par\\'41\\u1040?\\bin5 \\*",
    U"1\n2\r\n3\r4",
    U"\x01\t\x7f\u0085",
    U"😀x",
    U" ",
    U"-5",
    U"##ll&",
    U"\uFFFD",
    U"\x02h\x0E"
    U"c\x03\x03 = \x03\x02r\x0E"
    U"0", // formatting marks, one left open
};

const char32_t kCodePoints[] = {
    '\\',    '{',      '}',      '\r',       '\n',   '\t',   '?',    ' ',    '5',
    'b',     0x00,     0x7F,     0x85,       0x9F,   0xA0,   0xAD,   0x0416, 0x044F,
    0x2116,  0xD800,   0xDBFF,   0xDC00,     0xDFFF, 0xFEFF, 0xFFFD, 0xFFFE, 0xFFFF,
    0x1F600, 0x10FFFF, 0x110000, 0xFFFFFFFF, 0x02,   0x03,   0x0E,
};

std::u32string Value(Script& script) {
    const unsigned pick = script.byte();
    if (pick < 0xC0)
        return std::u32string(kValues[pick % std::size(kValues)]);
    std::u32string v;
    for (unsigned n = pick % 8; n > 0; --n) {
        const unsigned b = script.byte();
        v += b < 0x80 ? char32_t{b} : kCodePoints[b % std::size(kCodePoints)];
    }
    return v;
}

// Replaces and checks the outcome against the text as a plain string.
void Replace(Document& doc, std::size_t pos, std::size_t length, std::u32string_view value) {
    const std::string sourceBefore = doc.source();
    const std::u32string textBefore = doc.text();
    std::u32string expected = textBefore;
    const std::u32string inserted = ValueText(value);
    expected.replace(pos, length, inserted);
    std::size_t after = 0;
    try {
        after = doc.replace(pos, length, value);
    } catch (const RtfError&) {
        // Only with no text (no place to write) or near the nesting limit.
        if (doc.source() != sourceBefore || doc.text() != textBefore)
            Fail("a refused replace changes the document", doc);
        if (!textBefore.empty() &&
            std::count(sourceBefore.begin(), sourceBefore.end(), '{') < kMaxDepth)
            Fail("replace refused in a shallow document with text", doc);
        return;
    }
    if (doc.text() != expected)
        Fail("text after replace is not the text with the value", doc);
    if (after != pos + inserted.size())
        Fail("replace returns the wrong position", doc);
    CheckReread(doc);
}

// Puts a picture in place of a range and checks the outcome.
void ReplaceWithPicture(Document& doc, std::size_t pos, std::size_t length, unsigned size) {
    const std::string sourceBefore = doc.source();
    const std::u32string textBefore = doc.text();
    std::u32string expected = textBefore;
    expected.erase(pos, length);
    const Picture picture{SamplePng(), 1 + size % 4, 2, 15 * (1 + size), 30};
    std::size_t after = 0;
    try {
        after = doc.replaceWithPicture(pos, length, picture);
    } catch (const RtfError&) {
        if (doc.source() != sourceBefore || doc.text() != textBefore)
            Fail("a refused picture changes the document", doc);
        if (!textBefore.empty() &&
            std::count(sourceBefore.begin(), sourceBefore.end(), '{') < kMaxDepth)
            Fail("picture refused in a shallow document with text", doc);
        return;
    }
    if (doc.text() != expected)
        Fail("text after a picture is not the text without the range", doc);
    if (after != pos)
        Fail("replaceWithPicture returns the wrong position", doc);
    if (doc.source().find(PictureGroup(picture)) == std::string::npos)
        Fail("the picture's group is not in the source", doc);
    CheckReread(doc);
}

void Run(Document& doc, Script& script) {
    // A tag of the template: "#", then up to six characters and "&".
    const auto findTag = [&doc](std::size_t from) -> std::pair<std::size_t, std::size_t> {
        const std::u32string t = doc.text();
        const std::size_t hash = t.find(U'#', from);
        if (hash == std::u32string::npos)
            return {Document::npos, 0};
        const std::size_t amp = t.find(U'&', hash);
        if (amp == std::u32string::npos || amp - hash > 7)
            return {Document::npos, 0};
        return {hash, amp - hash + 1};
    };
    for (int step = 0; step < 10 && !script.done(); ++step) {
        const std::u32string text = doc.text();
        const std::size_t size = text.size();
        const unsigned op = script.byte();
        switch (op % 6) {
        case 0: { // the first tag at or after a position, searched from the start
            const auto [at, length] = findTag(script.word() % (size + 1));
            if (at == Document::npos)
                break;
            const std::u32string tag = text.substr(at, length);
            const std::size_t found = doc.find(tag, 0);
            if (found != text.find(tag))
                Fail("find disagrees with a search of the text", doc);
            Replace(doc, found, tag.size(), Value(script));
            break;
        }
        case 1: { // a fixed tag
            static constexpr std::u32string_view kTags[] = {U"##ll&", U"#2rx&", U"##ss&", U"##hh&"};
            const std::u32string_view tag = kTags[script.byte() % std::size(kTags)];
            const std::size_t found = doc.find(tag, 0);
            if (found != text.find(tag))
                Fail("find disagrees with a search of the text", doc);
            if (found != Document::npos)
                Replace(doc, found, tag.size(), Value(script));
            break;
        }
        case 2: { // a needle cut from the text, searched from some position
            const std::size_t start = script.word() % (size + 1);
            const std::size_t length = std::min<std::size_t>(script.byte() % 8, size - start);
            const std::u32string needle = text.substr(start, length);
            const std::size_t from = script.word() % (size + 2);
            const std::size_t found = doc.find(needle, from);
            const std::size_t expected =
                from > size ? Document::npos : std::u32string_view(text).find(needle, from);
            if (found != expected)
                Fail("find disagrees with a search of the text", doc);
            if (found != Document::npos)
                Replace(doc, found, needle.size(), Value(script));
            break;
        }
        case 3: { // a position and a length
            const std::size_t pos = script.word() % (size + 1);
            const std::size_t length = script.byte() % (std::min<std::size_t>(size - pos, 64) + 1);
            Replace(doc, pos, length, Value(script));
            break;
        }
        case 5: { // a picture in place of a position and a length, or of a tag
            std::size_t pos = script.word() % (size + 1);
            std::size_t length = script.byte() % (std::min<std::size_t>(size - pos, 16) + 1);
            if (const auto [at, tagLength] = findTag(pos); at != Document::npos && pos % 2 == 0) {
                pos = at;
                length = tagLength;
            }
            ReplaceWithPicture(doc, pos, length, script.byte());
            break;
        }
        default: { // a range outside the text is refused and changes nothing
            const std::string before = doc.source();
            const std::u32string textBefore = text;
            const std::size_t pos = size - std::min<std::size_t>(size, script.byte() % 4);
            const std::size_t length = size - pos + 1 + script.byte() % 3;
            try {
                doc.replace(pos, length, U"x");
                Fail("replace accepts a range outside the text", doc);
            } catch (const std::out_of_range&) {
            }
            try {
                doc.replaceWithPicture(pos, length, {SamplePng(), 1, 1, 1, 1});
                Fail("replaceWithPicture accepts a range outside the text", doc);
            } catch (const std::out_of_range&) {
            }
            if (doc.source() != before || doc.text() != textBefore)
                Fail("a refused replace changes the document", doc);
            CheckEscape(Value(script));
        }
        }
    }
}

// For an RTF file as it is: fill every tag in order as the report does, then
// a few edits of other kinds.
constexpr unsigned char kFileScript[] = {
    0, 0, 0, 3,                          // first tag: "123,456"
    0, 0, 0, 4,                          // next: "Высота 1,5 м"
    0, 0, 0, 8,                          // next: line ends
    0, 0, 0, 0,                          // next: nothing
    1, 0, 5,                             // "##ll&": braces and backslashes
    2, 7, 0, 3,  0,    0,    10,         // a needle from the text: a surrogate pair
    3, 1, 0, 9,  0xC3, 0x8F, 0x91, 0x99, // a range: lone surrogates, beyond U+10FFFF
    4, 1, 2, 12,                         // outside the text
    5, 0, 0, 0,  1,                      // a picture in place of the first tag
    5, 3, 0, 5,  2,                      // a picture in place of a range
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > kMaxInput)
        return 0;
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    std::string source;
    std::string_view script;
    if (in.front() == '{') {
        source = in;
        script = {reinterpret_cast<const char*>(kFileScript), sizeof kFileScript};
    } else {
        const unsigned flags = data[0];
        const std::size_t length = std::min<std::size_t>((flags >> 1) % 64, size - 1);
        script = in.substr(1, length);
        if (flags & 1)
            source = "{\\rtf1 ";
        source += in.substr(1 + length);
    }

    std::optional<Document> doc;
    try {
        doc.emplace(source);
    } catch (const RtfError&) {
        return 0;
    }
    CheckSpans(*doc);
    Script s(script);
    Run(*doc, s);
    return 0;
}
