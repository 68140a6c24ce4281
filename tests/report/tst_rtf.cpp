// The RTF engine: the text a reader sees, finding tags split by markup, and
// replacing them in the source without breaking or injecting markup.
#include "png_sample.h"
#include "rtf/rtf.h"
#include "value_text.h"

#include <QtTest>
#include <random>

using namespace vostrel::rtf;

namespace {

QString Q(std::u32string_view s) {
    return QString::fromUcs4(s.data(), static_cast<qsizetype>(s.size()));
}

std::u32string U(const QString& s) {
    const QList<uint> ucs4 = s.toUcs4();
    return {ucs4.begin(), ucs4.end()};
}

std::string S(const QByteArray& b) {
    return {b.constData(), static_cast<std::size_t>(b.size())};
}

// Empty when reading the source again gives the same text and the same
// source bytes for every character; otherwise what differs.
std::string Inconsistency(const Document& doc) {
    try {
        const Document again(doc.source());
        if (again.text() != doc.text())
            return "text differs on reading the source again";
        for (std::size_t i = 0; i < doc.textSize(); ++i) {
            const auto a = doc.sourceRange(i), b = again.sourceRange(i);
            if (a.begin != b.begin || a.end != b.end)
                return "source range of character " + std::to_string(i) + " differs";
        }
        return {};
    } catch (const RtfError& e) {
        return std::string("edited source refused: ") + e.what();
    }
}

// Replaces and checks the text and the round trip; empty or what went wrong.
std::string ReplaceChecked(Document& doc, std::size_t pos, std::size_t length,
                           std::u32string_view value) {
    std::u32string expected = doc.text();
    const std::u32string inserted = ValueText(value);
    expected.replace(pos, length, inserted);
    const std::size_t after = doc.replace(pos, length, value);
    if (doc.text() != expected)
        return "text after replacing is not the text with the value";
    if (after != pos + inserted.size())
        return "wrong position after the value";
    return Inconsistency(doc);
}

Picture SamplePicture() {
    return {SamplePng(), 2, 2, 300, 300};
}

// The bytes written as hexadecimal digits in the first \pict group of
// `source`, or what is wrong with them.
std::string PictureBytes(const std::string& source) {
    const std::size_t start = source.find("{\\pict");
    if (start == std::string::npos)
        return "no picture";
    const std::size_t end = source.find('}', start);
    std::string bytes;
    int high = -1;
    for (std::size_t k = source.find(' ', start) + 1; k < end; ++k) {
        const char c = source[k];
        if (c == '\r' || c == '\n')
            continue;
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0)
            return std::string("not a lower-case hexadecimal digit: ") + c;
        if (high < 0) {
            high = digit;
        } else {
            bytes += static_cast<char>(high * 16 + digit);
            high = -1;
        }
    }
    return high < 0 ? bytes : "an odd number of digits";
}

const QByteArray kHeader =
    R"({\rtf1\ansi\ansicpg1251\deff0{\fonttbl{\f0\fcharset204 Times New Roman;})"
    R"({\f1\fcharset0 Arial ##ll&;}}{\colortbl;\red0\green0\blue0;})";

} // namespace

class TestRtf : public QObject {
    Q_OBJECT
private slots:
    void readsText_data();
    void readsText();
    void refusesMalformed_data();
    void refusesMalformed();
    void replacesSplitTags_data();
    void replacesSplitTags();
    void valuesCannotInjectMarkup_data();
    void valuesCannotInjectMarkup();
    void escapeText_data();
    void escapeText();
    void fillsTemplateInOrder();
    void destinationsKeptVerbatim();
    void rangesAndEnds();
    void unpairedSurrogatesStayApart();
    void nestingLimit();
    void mutatedDocumentsKeepInvariants();
    void findComparesWholeCodePoints();
    void editsAcrossBlocks();
    void pictureGroup();
    void refusesPictures_data();
    void refusesPictures();
    void replacesTagWithPicture_data();
    void replacesTagWithPicture();
    void pictureBytesReadBack();
    void picturesAndValuesInOrder();
    void pictureRefusalsLeaveDocument();
};

void TestRtf::readsText_data() {
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QString>("text");

    QTest::newRow("delimiter space belongs to the word")
        << QByteArray(R"({\rtf1 \b bold\b0  x})") << "bold x";
    QTest::newRow("raw line ends are not text") << QByteArray("{\\rtf1 a\r\nb\\b\r\nc}") << "abc";
    QTest::newRow("cp1251 by \\ansicpg")
        << QByteArray(R"({\rtf1\ansi\ansicpg1251 \'c2\'fb\'f1\'ee\'f2\'e0 \'b9\'98})")
        << "Высота №\uFFFD";
    QTest::newRow("cp1252 by default") << QByteArray(R"({\rtf1 \'80\'99\'c2\'81})") << "€™Â\uFFFD";
    QTest::newRow("font charsets")
        << QByteArray(R"({\rtf1\ansi\deff0{\fonttbl{\f0\fcharset204 T;}{\f1\fcharset0 A;}})"
                      R"(\'c2{\f1\'c2}\f1\'c2\plain\'c2})")
        << "ВÂÂВ";
    QTest::newRow("default font charset")
        << QByteArray(R"({\rtf1\ansi\deff1{\fonttbl{\f1\fcharset204 A;}{\f2\fcharset238 B;})"
                      R"({\f3\cpg1253\fcharset0 C;}}\'c2\f2\'b9\f3\'e1})")
        << "Вąα";
    QTest::newRow("raw high bytes in the font code page") << kHeader + "\xc2\xfb}"
                                                          << "Вы";
    QTest::newRow("\\u with \\uc1") << QByteArray(R"({\rtf1 \u1042?\u1099\'3f!})") << "Вы!";
    QTest::newRow("\\uc0 and \\uc2")
        << QByteArray(R"({\rtf1 \uc0\u1042\u1099 x\uc2\u1040\'c0?y})") << "ВыxАy";
    QTest::newRow("\\uc is group scoped")
        << QByteArray(R"({\rtf1 {\uc2\u1042??}\u1043??})") << "ВГ?";
    QTest::newRow("fallback ends at a group") << QByteArray(R"({\rtf1 \uc3\u1042{x}y})") << "Вxy";
    QTest::newRow("fallback control word") << QByteArray(R"({\rtf1 \u1042\par x})") << "Вx";
    QTest::newRow("negative and huge \\u")
        << QByteArray(R"({\rtf1 \u-3?\u-32768?\u99999999999999999999?})") << "\uFFFD\u8000\uFFFD";
    QTest::newRow("surrogate pair") << QByteArray("{\\rtf1 \\u-10179?\r\n\\u-8704?}") << "😀";
    QTest::newRow("unpaired surrogates")
        << QByteArray(R"({\rtf1 \u-10179?x\u-8704?})") << "\uFFFDx\uFFFD";
    QTest::newRow("control symbols")
        << QByteArray(R"({\rtf1 \\\{\}\~\-\_\|\:})") << "\\{}\u00A0\u00AD\u2011";
    QTest::newRow("breaks and typographic characters")
        << QByteArray("{\\rtf1 a\\par b\\line c\\tab d\\cell\\row\\\ne\\emdash\\endash\\lquote"
                      "\\rquote\\ldblquote\\rdblquote\\bullet\\emspace\\enspace}")
        << "a\rb\vc\td\a\a\re—–‘’“”•\u2003\u2002";
    QTest::newRow("destinations hold no text")
        << kHeader + R"({\stylesheet{\s0 Normal ##ll&;}}{\info{\title ##ll&}})"
                     R"({\*\generator ##ll&;}{\*\unknown ##ll&}{\header ##ll&}{\footnote ##ll&})"
                     R"({\listtext 1.\tab}{\pict\pngblip 2323 ##ll&}{\*\bkmkstart ##ll&}x})"
        << "x";
    QTest::newRow("\\bin data is not text")
        << QByteArray("{\\rtf1 a\\bin6 }{\\'x}b{\\pict\\bin2 {{}c}") << "abc";
    QTest::newRow("field result is text")
        << QByteArray(R"({\rtf1 {\field{\*\fldinst HYPERLINK "##ll&"}{\fldrslt {\ul ##ll&}}}})")
        << "##ll&";
    QTest::newRow("white space after the end") << QByteArray("{\\rtf1 x}\r\n\0 ", 13) << "x";
    QTest::newRow("huge \\uc skips to the group end")
        << QByteArray(R"({\rtf1 {\uc2147483647\u1042 abc\'41\par}d})") << "Вd";
}

void TestRtf::readsText() {
    QFETCH(QByteArray, source);
    QFETCH(QString, text);
    const Document doc(S(source));
    QCOMPARE(Q(doc.text()), text);
    QCOMPARE(doc.source(), S(source));
}

void TestRtf::refusesMalformed_data() {
    QTest::addColumn<QByteArray>("source");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("plain text") << QByteArray("hello");
    QTest::newRow("leading space") << QByteArray(R"( {\rtf1 x})");
    QTest::newRow("other word") << QByteArray(R"({\rtfx x})");
    QTest::newRow("unclosed") << QByteArray(R"({\rtf1 {x})");
    QTest::newRow("extra close") << QByteArray(R"({\rtf1 x}})");
    QTest::newRow("text after the end") << QByteArray(R"({\rtf1 x}y)");
    QTest::newRow("second group after the end") << QByteArray(R"({\rtf1 x}{y})");
    QTest::newRow("truncated backslash") << QByteArray(R"({\rtf1 x\)");
    QTest::newRow("truncated \\'") << QByteArray(R"({\rtf1 x\'4)");
    QTest::newRow("\\' one digit") << QByteArray(R"({\rtf1 x\'4})");
    QTest::newRow("\\' not hex") << QByteArray(R"({\rtf1 x\'zz})");
    QTest::newRow("\\bin past the end") << QByteArray(R"({\rtf1 \bin10 abc})");
    QTest::newRow("negative \\bin") << QByteArray(R"({\rtf1 \bin-1 abc})");
    QTest::newRow("\\bin hides the close") << QByteArray(R"({\rtf1 \bin1 })");
    QTest::newRow("too deep") << QByteArray(R"({\rtf1 )") + QByteArray(kMaxDepth, '{') +
                                     QByteArray(kMaxDepth, '}') + '}';
}

void TestRtf::refusesMalformed() {
    QFETCH(QByteArray, source);
    QVERIFY_THROWS_EXCEPTION(RtfError, Document{S(source)});
}

void TestRtf::replacesSplitTags_data() {
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("edited"); // with "15" for the first ##ll&
    QTest::addColumn<QString>("text");

    QTest::newRow("plain") << QByteArray(R"({\rtf1 a ##ll& b})")
                           << QByteArray(R"({\rtf1 a {\uc1 15} b})") << "a 15 b";
    QTest::newRow("revision runs")
        << QByteArray(R"({\rtf1 {\insrsid1 ##}{\insrsid2 ll&}.})")
        << QByteArray(R"({\rtf1 {\insrsid1 {\uc1 15}}{\insrsid2 }.})") << "15.";
    QTest::newRow("formatting kept") << QByteArray(R"({\rtf1 {\b ##}{\i ll&}})")
                                     << QByteArray(R"({\rtf1 {\b {\uc1 15}}{\i }})") << "15";
    QTest::newRow("group inside") << QByteArray(R"({\rtf1 ##l{\b l}&})")
                                  << QByteArray(R"({\rtf1 {\uc1 15}{\b }})") << "15";
    QTest::newRow("hex and \\u") << QByteArray(R"({\rtf1 #\'23l\u108?&!})")
                                 << QByteArray(R"({\rtf1 {\uc1 15}!})") << "15!";
    QTest::newRow("value after a bare word")
        << QByteArray(R"({\rtf1 \b\'23\'23ll&})") << QByteArray(R"({\rtf1 \b{\uc1 15}})") << "15";
    QTest::newRow("word meets digits")
        << QByteArray(R"({\rtf1 ##\b0ll&5})") << QByteArray(R"({\rtf1 {\uc1 15}\b0{}5})") << "155";
    QTest::newRow("word meets space")
        << QByteArray(R"({\rtf1 #\b#ll& x})") << QByteArray(R"({\rtf1 {\uc1 15}\b{} x})") << "15 x";
    QTest::newRow("line end inside")
        << QByteArray("{\\rtf1 ##l\r\nl&}") << QByteArray("{\\rtf1 {\\uc1 15}\r\n}") << "15";
    QTest::newRow("field result")
        << QByteArray(R"({\rtf1 {\field{\*\fldinst ##ll&}{\fldrslt ##ll&}}})")
        << QByteArray(R"({\rtf1 {\field{\*\fldinst ##ll&}{\fldrslt {\uc1 15}}}})") << "15";
    QTest::newRow("cyrillic around")
        << QByteArray(R"({\rtf1\ansi\ansicpg1251 \'c2\'fb\'f1\'ee\'f2\'e0 ##ll& \'ec})")
        << QByteArray(R"({\rtf1\ansi\ansicpg1251 \'c2\'fb\'f1\'ee\'f2\'e0 {\uc1 15} \'ec})")
        << "Высота 15 м";
    QTest::newRow("\\uc0 around") << QByteArray(R"({\rtf1 \uc0\u1042##ll&\u1099})")
                                  << QByteArray(R"({\rtf1 \uc0\u1042{\uc1 15}\u1099})") << "В15ы";
    QTest::newRow("\\uc2 around") << QByteArray(R"({\rtf1 \uc2\u1042\'c2?##ll&\u1099??})")
                                  << QByteArray(R"({\rtf1 \uc2\u1042\'c2?{\uc1 15}\u1099??})")
                                  << "В15ы";
}

void TestRtf::replacesSplitTags() {
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, edited);
    QFETCH(QString, text);
    Document doc(S(source));
    const std::size_t at = doc.find(U"##ll&", 0);
    QVERIFY(at != Document::npos);
    const std::string problem = ReplaceChecked(doc, at, 5, U"15");
    QVERIFY2(problem.empty(), problem.c_str());
    QCOMPARE(doc.source(), S(edited));
    QCOMPARE(Q(doc.text()), text);
}

void TestRtf::valuesCannotInjectMarkup_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("text"); // what the value reads as
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("braces and backslashes") << R"(a}{\b x\\)"
                                            << R"(a}{\b x\\)";
    QTest::newRow("field") << R"(}{\field{\*\fldinst HYPERLINK "x"}})"
                           << R"(}{\field{\*\fldinst HYPERLINK "x"}})";
    QTest::newRow("words and hex") << R"(\par\'41\u1040?\bin5 \*)"
                                   << R"(\par\'41\u1040?\bin5 \*)";
    QTest::newRow("cyrillic") << "Высота 1,5 м"
                              << "Высота 1,5 м";
    QTest::newRow("line breaks") << "1\n2\r\n3\r4"
                                 << "1\v2\v3\v4";
    QTest::newRow("control characters") << QString("a\x01\tb\x7f") + QChar(0x85) << "ab";
    QTest::newRow("only control characters") << "\x02"
                                             << "";
    QTest::newRow("outside the BMP") << "😀x"
                                     << "😀x";
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + "x"
                                    << "\uFFFDx";
}

void TestRtf::valuesCannotInjectMarkup() {
    QFETCH(QString, value);
    QFETCH(QString, text);
    // After a bare control word, before digits: the worst neighbours.
    Document doc(R"({\rtf1 \b0##ll&5\par})");
    std::u32string v = U(value);
    if (value.startsWith(QChar(0xD800))) // toUcs4 turns a lone surrogate into U+FFFD
        v[0] = 0xD800;
    const std::string problem = ReplaceChecked(doc, doc.find(U"##ll&", 0), 5, v);
    QVERIFY2(problem.empty(), problem.c_str());
    QCOMPARE(Q(doc.text()), text + "5\r");
}

void TestRtf::escapeText_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("rtf");
    QTest::newRow("empty") << "" << QByteArray();
    QTest::newRow("nothing left") << "\x01\x1f" << QByteArray();
    QTest::newRow("digits") << "15" << QByteArray(R"({\uc1 15})");
    QTest::newRow("leading space") << " 1" << QByteArray(R"({\uc1  1})");
    QTest::newRow("escapes") << R"(a{b}\)" << QByteArray(R"({\uc1 a\{b\}\\})");
    QTest::newRow("line then digit") << "\n1" << QByteArray(R"({\uc1 \line 1})");
    QTest::newRow("signed 16 bits") << QString("В") + QChar(0x7FFF) + QChar(0x8000) + QChar(0xFFFF)
                                    << QByteArray(R"({\uc1 \u1042?\u32767?\u-32768?\u-1?})");
    QTest::newRow("marks") << QString("a\x02h\x0E"
                                      "c\x03\x03 b")
                           << QByteArray(R"({\uc1 a{\i h{\sub c}} b})");
    QTest::newRow("marks unbalanced")
        << QString("\x03x\x02y\x0Ez") << QByteArray(R"({\uc1 x{\i y{\sub z}}})");
    QTest::newRow("only marks") << QString("\x02\x03") << QByteArray();
    QTest::newRow("marks") << QString("a\x02h\x0E"
                                      "c\x03\x03 b")
                           << QByteArray(R"({\uc1 a{\i h{\sub c}} b})");
    QTest::newRow("marks unbalanced")
        << QString("\x03x\x02y\x0Ez") << QByteArray(R"({\uc1 x{\i y{\sub z}}})");
    QTest::newRow("only marks") << QString("\x02\x03") << QByteArray();
    QTest::newRow("surrogate pair") << "😀" << QByteArray(R"({\uc1 \u-10179?\u-8704?})");
}

void TestRtf::escapeText() {
    QFETCH(QString, value);
    QFETCH(QByteArray, rtf);
    QCOMPARE(EscapeText(U(value)), S(rtf));
}

void TestRtf::fillsTemplateInOrder() {
    // Each step searches from the start again, as the report does; values may
    // be longer or shorter than tags, and one ##ll& is left over.
    Document doc(S(kHeader + R"(\f0 {\insrsid5 #}#ll& \'e8 ##ll&\par {\b #2rx&}, #2r{\i x}&;)"
                             R"( ##ll&\par})"));
    const std::pair<std::u32string_view, std::u32string_view> steps[] = {
        {U"##ll&", U"123,456"}, {U"#2rx&", U"7"}, {U"##ll&", U""}, {U"#2rx&", U"Ж\n"}};
    for (const auto& [tag, value] : steps) {
        const std::size_t at = doc.find(tag, 0);
        QVERIFY(at != Document::npos);
        const std::string problem = ReplaceChecked(doc, at, tag.size(), value);
        QVERIFY2(problem.empty(), problem.c_str());
    }
    QCOMPARE(Q(doc.text()), "123,456 и \r7, Ж\v; ##ll&\r");
    QCOMPARE(doc.find(U"#2rx&", 0), Document::npos);

    const std::size_t left = doc.find(U"##ll&", 0);
    QCOMPARE(left, std::size_t(18));
    QCOMPARE(doc.find(U"##ll&", left), left);
    QCOMPARE(doc.find(U"##ll&", left + 1), Document::npos);
    QCOMPARE(doc.find(U"", doc.textSize()), doc.textSize());
    QCOMPARE(doc.find(U"", doc.textSize() + 1), Document::npos);
}

void TestRtf::destinationsKeptVerbatim() {
    const QByteArray body =
        R"(\pard {\*\generator Riched ##ll&;}{\pict\wmetafile8 2323 ##ll& 6c6c26})"
        R"({\pict\bin5 ##ll&}{\field{\*\fldinst {REF ##ll&}}{\fldrslt 0}} )";
    const std::string before = S(kHeader + body);
    Document doc(before + "##ll&}");
    QCOMPARE(doc.find(U"##ll&", 0), std::size_t(2));
    QCOMPARE(doc.replace(2, 5, U"9"), std::size_t(3));
    QCOMPARE(doc.source(), before + "{\\uc1 9}}");
    QCOMPARE(doc.find(U"##ll&", 0), Document::npos);
}

void TestRtf::rangesAndEnds() {
    Document doc(R"({\rtf1 {\b a}\u1042?\'41})");
    QCOMPARE(doc.sourceRange(1).begin, std::size_t(13));
    QCOMPARE(doc.sourceRange(1).end, std::size_t(20));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, doc.sourceRange(3));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, doc.replace(4, 0, U"x"));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, doc.replace(2, 2, U"x"));
    QCOMPARE(doc.replace(1, 0, U""), std::size_t(1)); // nothing to do
    QCOMPARE(doc.replace(3, 0, U"!"), std::size_t(4));
    QCOMPARE(Q(doc.text()), "aВA!");
    QCOMPARE(doc.replace(0, 0, U">"), std::size_t(1));
    QCOMPARE(doc.source(), R"({\rtf1 {\b {\uc1 >}a}\u1042?\'41{\uc1 !}})");

    Document empty(R"({\rtf1 {\fonttbl x;}})");
    QCOMPARE(empty.replace(0, 0, U"x"), std::size_t(1));
    QCOMPARE(empty.source(), R"({\rtf1 {\fonttbl x;}{\uc1 x}})");
    QCOMPARE(Inconsistency(empty), std::string());
    Document hidden(R"({\rtf1 \*\x})"); // nothing written there could be seen
    QVERIFY_THROWS_EXCEPTION(RtfError, hidden.replace(0, 0, U"x"));
}

void TestRtf::unpairedSurrogatesStayApart() {
    // Removing what stands between two unpaired halves must not pair them.
    Document doc("{\\rtf1 \\u-10179?##ll&\r\n\\u-8704?}");
    const std::string problem = ReplaceChecked(doc, 1, 5, U"");
    QVERIFY2(problem.empty(), problem.c_str());
    QCOMPARE(Q(doc.text()), "\uFFFD\uFFFD");
}

void TestRtf::nestingLimit() {
    const auto nested = [](int depth, const QByteArray& inner) {
        return S(QByteArray(R"({\rtf1 ##ll&)") + QByteArray(depth - 1, '{') + inner +
                 QByteArray(depth - 1, '}') + '}');
    };
    Document deep(nested(kMaxDepth, "##ll&"));
    std::string problem = ReplaceChecked(deep, 0, 5, U"1"); // the tag at depth 1
    QVERIFY2(problem.empty(), problem.c_str());
    const std::string source = deep.source();
    QVERIFY_THROWS_EXCEPTION(RtfError, deep.replace(deep.find(U"##ll&", 0), 5, U"2"));
    QCOMPARE(deep.source(), source);
    problem = ReplaceChecked(deep, deep.find(U"##ll&", 0), 5, U""); // no group needed
    QVERIFY2(problem.empty(), problem.c_str());
    // Each mark nests one group more inside the value's.
    Document marked(nested(kMaxDepth - 2, "##ll&"));
    const std::string before = marked.source();
    QVERIFY_THROWS_EXCEPTION(RtfError, marked.replace(marked.find(U"##ll&", 5), 5,
                                                      U"\x02h\x0E"
                                                      U"c\x03\x03"));
    QCOMPARE(marked.source(), before);
    problem = ReplaceChecked(marked, marked.find(U"##ll&", 5), 5, U"\x02h\x03");
    QVERIFY2(problem.empty(), problem.c_str());
}

void TestRtf::mutatedDocumentsKeepInvariants() {
    const QByteArray base =
        kHeader + R"({\stylesheet{\s0 Normal;}}{\*\generator W;}{\info{\title T}})"
                  R"(\pard\plain\f0 \'c2\'fb\'f1\'ee\'f2\'e0 {\insrsid1 ##}{\insrsid2 ll&}\par)"
                  "\r\n"
                  R"({\b #2r}x&\tab \uc0\u1042\uc1\u1099?\u-10179?\u-8704? #\'23ll&\line )"
                  R"({\field{\*\fldinst PAGE}{\fldrslt ##ll&}}{\pict\bin3 ##l}\cell\row)"
                  R"(\b0##l\i ll&5\~\\\{\} ##ll& end\par})";
    const char* const pieces[] = {"{",        "}",          "\\",        "\\'",    "\\'e0",
                                  "\\u1040?", "\\u-10179?", "\\u-8704?", "\\uc0 ", "\\uc2 ",
                                  "\\bin3 ",  "\\*",        "\\b",       "\\b0",   "5",
                                  " ",        "##ll&",      "#",         "\r\n",   "\\par ",
                                  "\\f1 ",    "\\fonttbl ", "\\pict ",   "-",      "\\f"};
    const std::u32string_view values[] = {U"",     U"15", U"1,25", U"Высота", U"a}{\\b x\\", U"1\n",
                                          U"\x01", U"😀",  U"-",    U" ",      U"x y"};
    std::mt19937 rng(20240611);
    auto below = [&rng](std::size_t n) {
        return static_cast<std::size_t>(std::uniform_int_distribution<std::size_t>(0, n - 1)(rng));
    };
    int readable = 0;
    for (int variant = 0; variant < 2000; ++variant) {
        std::string src = S(base);
        const std::size_t mutations = 1 + below(3);
        for (std::size_t m = 0; m < mutations; ++m) {
            const std::size_t at = below(src.size() + 1);
            switch (below(4)) {
            case 0:
                src.insert(at, pieces[below(std::size(pieces))]);
                break;
            case 1:
                src.erase(at, below(6));
                break;
            case 2:
                if (at < src.size())
                    src[at] = static_cast<char>(below(256));
                break;
            default:
                src.insert(at, src.substr(below(src.size()), below(40)));
            }
        }
        std::unique_ptr<Document> doc;
        try {
            doc = std::make_unique<Document>(src);
        } catch (const RtfError&) {
            continue;
        }
        ++readable;
        std::string problem = Inconsistency(*doc);
        for (int step = 0; step < 4 && problem.empty() && doc->textSize() > 0; ++step) {
            const std::size_t size = doc->textSize();
            std::size_t pos = doc->find(U"##ll&", 0), length = 5;
            if (pos == Document::npos || step == 3) {
                pos = below(size + 1);
                length = below(std::min<std::size_t>(size - pos, 8) + 1);
            }
            problem = ReplaceChecked(*doc, pos, length, values[below(std::size(values))]);
        }
        QVERIFY2(problem.empty(), (problem + " in variant " + std::to_string(variant) + ":\n" +
                                   src + "\nedited:\n" + doc->source())
                                      .c_str());
    }
    QVERIFY2(readable > 500, "the mutations leave too few readable documents to test");
}

void TestRtf::findComparesWholeCodePoints() {
    // У (U+0423) has the low byte of "#", the emoji (U+1F600) that of NUL:
    // a search must not take one for the other.
    const Document doc(R"({\rtf1\ansi\ansicpg1251 \'d3\'d3ll& ##ll& \u1059?#\u-10179?\u-8704?})");
    const std::u32string text = U"УУll& ##ll& У#😀";
    QCOMPARE(Q(doc.text()), Q(text));
    QCOMPARE(doc.textSize(), text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        QCOMPARE(doc.character(i), text[i]);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, doc.character(text.size()));

    const std::pair<std::u32string_view, std::size_t> needles[] = {
        {U"##ll&", 0},    {U"#", 0},  {U"#", 7},  {U"#", 8}, {U"УУ", 0},
        {U"У", 1},        {U"У", 2},  {U"У#", 0}, {U"😀", 0}, {U"\U0001F623", 0},
        {U"\x110023", 0}, {U"l&", 4}, {U"\0", 0}};
    for (const auto& [needle, from] : needles)
        QCOMPARE(doc.find(needle, from), text.find(needle, from));
}

void TestRtf::editsAcrossBlocks() {
    // Thousands of runs of every kind, so that the index has many blocks and
    // edits reach across several of them.
    const char* const pieces[] = {"\\'c2\\'fb\\'f1\\'ee\\'f2\\'e0 ",
                                  "{\\b ##ll&}",
                                  "plain text ",
                                  "\\u1042?\\u1099?",
                                  "\\~",
                                  "\\par\r\n",
                                  "\xc2\xfb ",
                                  "{\\*\\bkmkstart x}",
                                  "\\u-10179?\\u-8704?",
                                  "\\tab\\emdash ",
                                  "#\\'23ll&",
                                  "\\b0",
                                  "5"};
    const std::u32string_view values[] = {U"", U"15", U"Высота 1,5 м", U"a}{\\b x\\", U"1\n😀"};
    std::mt19937 rng(3);
    QByteArray source = kHeader + "\\f0 ";
    for (int i = 0; i < 3000; ++i)
        source += pieces[rng() % std::size(pieces)];
    Document doc(S(source + "}"));
    QCOMPARE(Inconsistency(doc), std::string());
    for (int step = 0; step < 60; ++step) {
        const std::size_t size = doc.textSize();
        const std::size_t pos = rng() % (size + 1);
        const std::size_t length = std::min<std::size_t>(size - pos, rng() % 400);
        const std::string problem = ReplaceChecked(doc, pos, length, values[step % 5]);
        QVERIFY2(problem.empty(), (problem + " at step " + std::to_string(step)).c_str());
        const std::u32string text = doc.text();
        for (const std::u32string_view needle : {U"##ll&", U"ы", U"\r\u00A0", U"😀"}) {
            const std::size_t from = rng() % (size + 1);
            QCOMPARE(doc.find(needle, from), text.find(needle, from));
        }
    }
    // All of the text goes, then a value comes into the empty document.
    std::string problem = ReplaceChecked(doc, 0, doc.textSize(), U"");
    QVERIFY2(problem.empty(), problem.c_str());
    QCOMPARE(doc.textSize(), std::size_t(0));
    problem = ReplaceChecked(doc, 0, 0, U"Высота 1,5 м");
    QVERIFY2(problem.empty(), problem.c_str());
}

void TestRtf::pictureGroup() {
    QCOMPARE(PictureGroup(SamplePicture()),
             std::string("{\\pict\\pngblip\\picw2\\pich2\\picwgoal300\\pichgoal300 ") +
                 "89504e470d0a1a0a0000000d494844520000000200000002080200000" +
                 "0fdd49a73000000124944415478da63f8cfc0c000c20cff8100001fee05fbf1abba7700" +
                 "\r\n00000049454e44ae426082}");

    // Longer data: lines of 128 digits, the last one shorter.
    Picture large{SamplePng() + std::string(200, '\xab'), 1, 2147483647, 3, 4};
    const std::string group = PictureGroup(large);
    const std::string prefix = "{\\pict\\pngblip\\picw1\\pich2147483647\\picwgoal3\\pichgoal4 ";
    QVERIFY(group.starts_with(prefix));
    QVERIFY(group.ends_with("abab}"));
    const QList<QByteArray> lines =
        QByteArray::fromStdString(group.substr(prefix.size(), group.size() - prefix.size() - 1))
            .split('\n');
    QCOMPARE(lines.size(), 5); // 275 bytes: 4 lines of 64 and one of 19
    for (qsizetype i = 0; i < lines.size() - 1; ++i) {
        QCOMPARE(lines[i].size(), 129);
        QVERIFY(lines[i].endsWith('\r'));
    }
    QCOMPARE(lines.back().size(), 38);
    QCOMPARE(PictureBytes(group), large.png);
}

void TestRtf::refusesPictures_data() {
    QTest::addColumn<QByteArray>("png");
    QTest::addColumn<uint>("widthPx");
    QTest::addColumn<uint>("heightTwips");
    const QByteArray png = QByteArray::fromStdString(SamplePng());
    QTest::newRow("no data") << QByteArray() << 2u << 300u;
    QTest::newRow("signature cut short") << png.left(7) << 2u << 300u;
    QTest::newRow("GIF") << QByteArray("GIF89a\x02\x00\x02\x00") << 2u << 300u;
    QTest::newRow("signature with a wrong byte") << "\x89PNG\n\n\x1a\n" + png.mid(8) << 2u << 300u;
    QTest::newRow("no width") << png << 0u << 300u;
    QTest::newRow("no height") << png << 2u << 0u;
    QTest::newRow("width beyond a signed parameter") << png << 2147483648u << 300u;
    QTest::newRow("height beyond a signed parameter") << png << 2u << 4294967295u;
}

void TestRtf::refusesPictures() {
    QFETCH(QByteArray, png);
    QFETCH(uint, widthPx);
    QFETCH(uint, heightTwips);
    const Picture picture{S(png), widthPx, 2, 300, heightTwips};
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, PictureGroup(picture));
    const std::string source = R"({\rtf1 a ##ll& b})";
    Document doc(source);
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, doc.replaceWithPicture(2, 5, picture));
    QCOMPARE(doc.source(), source);
    QCOMPARE(Q(doc.text()), "a ##ll& b");
}

void TestRtf::replacesTagWithPicture_data() {
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("edited"); // "@" for the picture's group
    QTest::addColumn<QString>("text");

    QTest::newRow("between words")
        << QByteArray(R"({\rtf1 a ##ll& b})") << QByteArray(R"({\rtf1 a @ b})") << "a  b";
    QTest::newRow("at the start") << QByteArray(R"({\rtf1 ##ll&b\par})")
                                  << QByteArray(R"({\rtf1 @b\par})") << "b\r";
    QTest::newRow("at the end") << QByteArray(R"({\rtf1 a\par ##ll&})")
                                << QByteArray(R"({\rtf1 a\par @})") << "a\r";
    QTest::newRow("the whole text")
        << QByteArray(R"({\rtf1 ##ll&})") << QByteArray(R"({\rtf1 @})") << "";
    QTest::newRow("split in nested groups") << QByteArray(R"({\rtf1 {\b {\i #}#}{\ul ll&}x})")
                                            << QByteArray(R"({\rtf1 {\b {\i @}}{\ul }x})") << "x";
    QTest::newRow("hex and \\u") << QByteArray(R"({\rtf1\ansi\ansicpg1251 \'c2#\'23l\u108?&\'fb})")
                                 << QByteArray(R"({\rtf1\ansi\ansicpg1251 \'c2@\'fb})") << "Вы";
    QTest::newRow("word meets digits")
        << QByteArray(R"({\rtf1 ##\b0ll&5})") << QByteArray(R"({\rtf1 @\b0{}5})") << "5";
    QTest::newRow("between unpaired surrogates")
        << QByteArray(R"({\rtf1 \u-10179?##ll&\u-8704?})")
        << QByteArray(R"({\rtf1 \u-10179?@\u-8704?})") << "\uFFFD\uFFFD";
    QTest::newRow("field result") << QByteArray(
                                         R"({\rtf1 {\field{\*\fldinst ##ll&}{\fldrslt ##ll&}}})")
                                  << QByteArray(R"({\rtf1 {\field{\*\fldinst ##ll&}{\fldrslt @}}})")
                                  << "";
}

void TestRtf::replacesTagWithPicture() {
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, edited);
    QFETCH(QString, text);
    Document doc(S(source));
    const std::size_t at = doc.find(U"##ll&", 0);
    QVERIFY(at != Document::npos);
    QCOMPARE(doc.replaceWithPicture(at, 5, SamplePicture()), at);
    QCOMPARE(doc.source(),
             S(edited.replace('@', QByteArray::fromStdString(PictureGroup(SamplePicture())))));
    QCOMPARE(Q(doc.text()), text);
    QCOMPARE(Inconsistency(doc), std::string());
    QCOMPARE(doc.find(U"##ll&", 0), Document::npos);
}

void TestRtf::pictureBytesReadBack() {
    // Every byte value, over several lines; read back from the written source.
    std::string png = SamplePng();
    for (int b = 0; b < 256; ++b)
        png += static_cast<char>(b);
    Document doc(S(kHeader + R"(\pard\f0 \'c2\'fb\'f1\'ee\'f2\'e0: ##ll& \'ec\par})"));
    doc.replaceWithPicture(doc.find(U"##ll&", 0), 5, {png, 16, 16, 240, 240});
    const Document again(doc.source());
    QCOMPARE(Q(again.text()), "Высота:  м\r");
    QCOMPARE(PictureBytes(again.source()), png);
}

void TestRtf::picturesAndValuesInOrder() {
    // Positions after a picture stay right for the searches and edits that follow.
    Document doc(S(kHeader + R"(\f0 {\b ##ll&} #2rx& {\i #}#pp&, ##ll&\par})"));
    QCOMPARE(doc.replaceWithPicture(doc.find(U"#2rx&", 0), 5, SamplePicture()), std::size_t(6));
    std::string problem = ReplaceChecked(doc, doc.find(U"##ll&", 0), 5, U"15,5");
    QVERIFY2(problem.empty(), problem.c_str());
    const std::size_t pp = doc.find(U"##pp&", 0);
    QCOMPARE(pp, std::size_t(6));
    QCOMPARE(doc.replaceWithPicture(pp, 5, SamplePicture()), pp);
    QCOMPARE(doc.find(U"##ll&", pp), std::size_t(8));
    problem = ReplaceChecked(doc, 8, 5, U"Ж");
    QVERIFY2(problem.empty(), problem.c_str());
    QCOMPARE(Q(doc.text()), "15,5  , Ж\r");
    QCOMPARE(Inconsistency(doc), std::string());
    QCOMPARE(doc.replaceWithPicture(1, 7, SamplePicture()), std::size_t(1)); // over pictures
    QCOMPARE(Q(doc.text()), "1Ж\r");
    QCOMPARE(doc.find(U"Ж", 0), std::size_t(1));
    QCOMPARE(Inconsistency(doc), std::string());

    // A picture after the last character, and into a document without text.
    QCOMPARE(doc.replaceWithPicture(doc.textSize(), 0, SamplePicture()), doc.textSize());
    QVERIFY(doc.source().ends_with("\\par" + PictureGroup(SamplePicture()) + "}"));
    QCOMPARE(Inconsistency(doc), std::string());
    Document empty(R"({\rtf1 {\fonttbl x;}})");
    QCOMPARE(empty.replaceWithPicture(0, 0, SamplePicture()), std::size_t(0));
    QCOMPARE(empty.source(), R"({\rtf1 {\fonttbl x;})" + PictureGroup(SamplePicture()) + "}");
    QCOMPARE(empty.textSize(), std::size_t(0));
}

void TestRtf::pictureRefusalsLeaveDocument() {
    Document doc(R"({\rtf1 a ##ll& b})");
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, doc.replaceWithPicture(9, 1, SamplePicture()));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, doc.replaceWithPicture(10, 0, SamplePicture()));
    QCOMPARE(doc.source(), std::string(R"({\rtf1 a ##ll& b})"));

    Document hidden(R"({\rtf1 \*\x})"); // nothing written there could be seen
    QVERIFY_THROWS_EXCEPTION(RtfError, hidden.replaceWithPicture(0, 0, SamplePicture()));
    QCOMPARE(hidden.source(), std::string(R"({\rtf1 \*\x})"));

    // A tag at the deepest level has no room for the picture's group.
    const std::string deep = S(QByteArray(R"({\rtf1 )") + QByteArray(kMaxDepth - 1, '{') + "##ll&" +
                               QByteArray(kMaxDepth - 1, '}') + "x}");
    Document nested(deep);
    QVERIFY_THROWS_EXCEPTION(RtfError, nested.replaceWithPicture(0, 5, SamplePicture()));
    QCOMPARE(nested.source(), deep);
    QCOMPARE(Q(nested.text()), "##ll&x");
    QCOMPARE(nested.replaceWithPicture(5, 1, SamplePicture()), std::size_t(5)); // at depth 1
    QCOMPARE(Q(nested.text()), "##ll&");
    QCOMPARE(Inconsistency(nested), std::string());
}

QTEST_APPLESS_MAIN(TestRtf)
#include "tst_rtf.moc"
