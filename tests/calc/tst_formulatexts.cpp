// The report's formulas with the design's numbers put in, for the worked
// examples of every rod type, and the marks that set symbols in italics.
#include "calc/formulatexts.h"

#include <QtTest>

using namespace vostrel;

namespace {
QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// The marks shown as "{i ", "{sub " and "}".
QString Shown(const std::string& marked) {
    QString out;
    for (const QChar c : Q(marked)) {
        if (c == QChar(kItalicMark))
            out += "{i ";
        else if (c == QChar(kSubscriptMark))
            out += "{sub ";
        else if (c == QChar(kEndMark))
            out += "}";
        else
            out += c;
    }
    return out;
}
} // namespace

class TestFormulaTexts : public QObject {
    Q_OBJECT
private slots:
    void zoneNumbers_data();
    void zoneNumbers();
    void strikeNumbers();
    void marks_data();
    void marks();
};

// Worked examples: code, zone A, inputs, separator, then the lines under h0,
// r0, rx and under the inner region's case ("" where there is none).
void TestFormulaTexts::zoneNumbers_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("zoneA");
    QTest::addColumn<QList<double>>("inputs");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QStringList>("lines"); // h0, r0, rx, inner
    QTest::newRow("rod 25, hx 8, A")
        << 1 << true << QList<double>{25, 8} << ","
        << QStringList{"h0 = 0,85 · 25 = 21,3 м", "r0 = (1,1 − 0,002 · 25) · 25 = 26,3 м",
                       "rx = (1,1 − 0,002 · 25) · (25 − 8/0,85) = 16,4 м", ""};
    QTest::newRow("rod 30, hx 10, B, point")
        << 1 << false << QList<double>{30, 10} << "."
        << QStringList{"h0 = 0.92 · 30 = 27.6 м", "r0 = 1.5 · 30 = 45.0 м",
                       "rx = 1.5 · (30 − 10/0.92) = 28.7 м", ""};
    QTest::newRow("two rods L 40, A")
        << 2 << true << QList<double>{30, 40, 10} << ","
        << QStringList{"h0 = 0,85 · 30 = 25,5 м", "r0 = (1,1 − 0,002 · 30) · 30 = 31,2 м",
                       "rx = (1,1 − 0,002 · 30) · (30 − 10/0,85) = 19,0 м",
                       "hc = 25,5 − (0,17 + 3·10⁻⁴ · 30) · (40 − 30) = 23,7 м\n"
                       "rc = r0 = 31,2 м\nrcx = 31,2 · (23,7 − 10)/23,7 = 18,0 м"};
    QTest::newRow("two rods L 80, A: rc narrowed")
        << 2 << true << QList<double>{30, 80, 10} << ","
        << QStringList{"", "", "",
                       "hc = 25,5 − (0,17 + 3·10⁻⁴ · 30) · (80 − 30) = 16,6 м\n"
                       "rc = 31,2 · [1 − 0,2 · (80 − 2 · 30)/30] = 27,0 м\n"
                       "rcx = 27,0 · (16,6 − 10)/16,6 = 10,7 м"};
    QTest::newRow("two rods L 80, B")
        << 2 << false << QList<double>{30, 80, 10} << ","
        << QStringList{"", "", "",
                       "hc = 27,6 − 0,14 · (80 − 30) = 20,6 м\nrc = r0 = 45,0 м\n"
                       "rcx = 45,0 · (20,6 − 10)/20,6 = 23,2 м"};
    QTest::newRow("two rods L ≤ h")
        << 2 << false << QList<double>{30, 25, 10} << ","
        << QStringList{"", "", "", "hc = h0 = 27,6 м\nrc = r0 = 45,0 м\nrcx = rx = 28,7 м"};
    QTest::newRow("two rods single: no inner region")
        << 2 << false << QList<double>{30, 200, 10} << "," << QStringList{"", "", "", ""};
    QTest::newRow("unequal rods, B")
        << 3 << false << QList<double>{30, 20, 35, 8} << ","
        << QStringList{"h01 = 0,92 · 30 = 27,6 м\nh02 = 0,92 · 20 = 18,4 м",
                       "r01 = 1,5 · 30 = 45,0 м\nr02 = 1,5 · 20 = 30,0 м",
                       "rx1 = 1,5 · (30 − 8/0,92) = 32,0 м\nrx2 = 1,5 · (20 − 8/0,92) = 17,0 м",
                       "hc1 = 27,6 − 0,14 · (35 − 30) = 26,9 м\n"
                       "hc2 = 18,4 − 0,14 · (35 − 20) = 16,3 м\n"
                       "hc = (26,9 + 16,3)/2 = 21,6 м\nrc = (45,0 + 30,0)/2 = 37,5 м\n"
                       "rcx = 37,5 · (21,6 − 8)/21,6 = 23,6 м"};
    QTest::newRow("catenary 20 m, A")
        << 4 << true << QList<double>{22, 60, 6} << ","
        << QStringList{"h0 = 0,85 · 20 = 17,0 м", "r0 = (1,35 − 0,0025 · 20) · 20 = 26,0 м",
                       "rx = (1,35 − 0,0025 · 20) · (20 − 6/0,85) = 16,8 м", ""};
    QTest::newRow("cables L 25, A")
        << 5 << true << QList<double>{22, 60, 25, 6} << ","
        << QStringList{"", "", "",
                       "hc = 17,0 − (0,14 + 5·10⁻⁴ · 20) · (25 − 20) = 16,3 м\n"
                       "rc = r0 = 26,0 м\nrcx = 26,0 · (16,3 − 6)/16,3 = 16,4 м\n"
                       "r′x = L/2 = 25/2 = 12,5 м"};
    QTest::newRow("cables L 25, B, hx above hc")
        << 5 << false << QList<double>{22, 60, 25, 18} << ","
        << QStringList{"h0 = 0,92 · 20 = 18,4 м", "r0 = 1,7 · 20 = 34,0 м",
                       "rx = 1,7 · (20 − 18/0,92) = 0,7 м",
                       "hc = 18,4 − 0,12 · (25 − 20) = 17,8 м\nrc = r0 = 34,0 м\n"
                       "rcx = 34,0 · (17,8 − 18)/17,8 = -0,4 м\n"
                       "r′x = (25/2) · (18,4 − 18)/(18,4 − 17,8) = 8,3 м"};
}

void TestFormulaTexts::zoneNumbers() {
    QFETCH(int, code);
    QFETCH(bool, zoneA);
    QFETCH(QList<double>, inputs);
    QFETCH(QString, separator);
    QFETCH(QStringList, lines);
    ZoneInputs in{};
    for (qsizetype i = 0; i < inputs.size(); ++i)
        in[static_cast<size_t>(i)] = inputs[i];
    const RodZone zone = ZoneOf(code, in, zoneA, !zoneA, {});
    const FormulaNumbers got = FormulaNumbersOf(code, in, zone, separator.toStdString());
    const QString parts[] = {Q(got.h0), Q(got.r0), Q(got.rx), Q(got.inner)};
    for (int i = 0; i < 4; ++i)
        if (!lines[i].isEmpty() || i == 3)
            QCOMPARE(parts[i], lines[i]);
    // Without a zone type there is nothing to show.
    const FormulaNumbers none = FormulaNumbersOf(code, in, ZoneOf(code, in, 0, 0, {}), ",");
    QVERIFY(none.h0.empty() && none.r0.empty() && none.rx.empty() && none.inner.empty());
    // A catenary's cable height, whatever the zone.
    QCOMPARE(Q(got.cable), code == 4 || code == 5 ? "h = hоп − 2 = 22 − 2 = 20,0 м" : "");
    const ZoneInputs longSpan{22, 125, 25, 6};
    if (code == 5)
        QCOMPARE(Q(FormulaNumbersOf(code, longSpan, ZoneOf(code, longSpan, 0, 1, {}), ",").cable),
                 "h = hоп − 3 = 22 − 3 = 19,0 м");
}

void TestFormulaTexts::strikeNumbers() {
    QCOMPARE(Q(StrikeNumbers(12, 36, 10, 4, ",")),
             "N = [(12 + 6 · 10)(36 + 6 · 10) − 7,7 · 10²] · 4 · 10⁻⁶ = 0,02457");
    QCOMPARE(Q(StrikeNumbers(100, 200, 50, 7, ".")),
             "N = [(100 + 6 · 50)(200 + 6 · 50) − 7.7 · 50²] · 7 · 10⁻⁶ = 1.26525");
    QCOMPARE(Q(StrikeNumbers(12.5, 36, 10.25, 5.5, ",")),
             "N = [(12,5 + 6 · 10,25)(36 + 6 · 10,25) − 7,7 · 10,25²] · 5,5 · 10⁻⁶ = 0,03523");
}

void TestFormulaTexts::marks_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("marked");
    QTest::newRow("case") << "hc = h0 − 0,14(L − h)"
                          << "{i h{sub c}} = {i h{sub 0}} − 0,14({i L} − {i h})";
    QTest::newRow("prime, Cyrillic index") << "r′x = 8,3 м; hоп = 22"
                                           << "{i r′{sub x}} = 8,3 м; {i h{sub оп}} = 22";
    QTest::newRow("after a digit") << "L ≤ 6hmin: 10⁻⁴h"
                                   << "{i L} ≤ 6{i h{sub min}}: 10⁻⁴{i h}";
    QTest::newRow("two-character index") << "rx1 = 32,0, rcx = 1"
                                         << "{i r{sub x1}} = 32,0, {i r{sub cx}} = 1";
    QTest::newRow("words stay") << "Vostrel, hz, ax2b, на высоте hx."
                                << "Vostrel, hz, ax2b, на высоте {i h{sub x}}.";
    QTest::newRow("N, S, n, a") << "N = 0,1; S, n; a < 150"
                                << "{i N} = 0,1; {i S}, {i n}; {i a} < 150";
}

void TestFormulaTexts::marks() {
    QFETCH(QString, text);
    QFETCH(QString, marked);
    const std::string got = MarkSymbols(text.toStdString());
    QCOMPARE(Shown(got), marked);
    QCOMPARE(Q(Unmarked(got)), text);
}

QTEST_APPLESS_MAIN(TestFormulaTexts)
#include "tst_formulatexts.moc"
