// Text to number and the fixed-point text, on both decimal separators.
#include "calc/numtext.h"

#include <QtTest>
#include <cmath>
#include <limits>
#include <random>

using namespace vostrel;

namespace {
std::string S(const QString& s) {
    return s.toStdString();
}
} // namespace

class TestNumText : public QObject {
    Q_OBJECT
private slots:
    void fixedText_data();
    void fixedText();
    void fixedTextOtherSeparators();
    void textToFloatAccepts_data();
    void textToFloatAccepts();
    void textToFloatRefuses_data();
    void textToFloatRefuses();
    void textToInt_data();
    void textToInt();
    void messages();
    void writtenNumbersConvertBack();
};

void TestNumText::fixedText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("comma"); // expected with "," as separator

    // Exact binary ties round away from zero, unlike printf's ties-to-even.
    QTest::newRow("tie 0.25") << 0.25 << 1 << "0,3";
    QTest::newRow("tie 0.125") << 0.125 << 2 << "0,13";
    QTest::newRow("tie 2.5 no decimals") << 2.5 << 0 << "3";
    QTest::newRow("tie negative") << -0.25 << 1 << "-0,3";
    QTest::newRow("tie 0.375") << 0.375 << 2 << "0,38";
    // Not ties: the exact value of the double decides.
    QTest::newRow("0.35 is below the tie") << 0.35 << 1 << "0,3";
    QTest::newRow("0.05 is above the tie") << 0.05 << 1 << "0,1";
    QTest::newRow("99.95 carries") << 99.95 << 1 << "100,0";
    // Worked examples of the strike count and the zone.
    QTest::newRow("N 0.024568") << 0.024568 << 5 << "0,02457";
    QTest::newRow("N 0.006142") << 0.006142 << 5 << "0,00614";
    QTest::newRow("N 1.26525") << 1.26525 << 5 << "1,26525";
    QTest::newRow("N 34.7055 six digits") << 34.7055 << 5 << "34,70550";
    QTest::newRow("h0 15.3") << 15.3 << 1 << "15,3";
    QTest::newRow("r0 23.49") << 23.49 << 1 << "23,5";
    QTest::newRow("rx negative") << -6.4 << 1 << "-6,4";
    // Six significant digits at most.
    QTest::newRow("six digits below one") << 0.1234567 << 5 << "0,12346";
    QTest::newRow("six digits padded") << 123.456789 << 5 << "123,45700";
    QTest::newRow("six integer digits") << 123456.75 << 1 << "123457,0";
    QTest::newRow("999999.4") << 999999.4 << 5 << "999999,00000";
    QTest::newRow("99999.96 carries to six digits") << 99999.96 << 1 << "100000,0";
    QTest::newRow("99999.95 is below the tie") << 99999.95 << 1 << "99999,9";
    // Exponent form above six integer digits.
    QTest::newRow("999999.5 to exponent") << 999999.5 << 5 << "1E6";
    QTest::newRow("1234567") << 1234567.0 << 5 << "1,23457E6";
    QTest::newRow("10000000") << 10000000.0 << 5 << "1E7";
    QTest::newRow("12345678 one decimal") << 12345678.0 << 1 << "1,23457E7";
    QTest::newRow("1.5e7") << 15000000.0 << 1 << "1,5E7";
    QTest::newRow("negative exponent form") << -2.5e9 << 1 << "-2,5E9";
    QTest::newRow("1e20") << 1e20 << 5 << "1E20";
    // Zero and values that round to zero carry no sign.
    QTest::newRow("zero") << 0.0 << 5 << "0,00000";
    QTest::newRow("negative zero") << -0.0 << 1 << "0,0";
    QTest::newRow("small negative") << -0.04 << 1 << "0,0";
    QTest::newRow("below the last decimal") << 0.0000049 << 5 << "0,00000";
    QTest::newRow("rounds up into the last decimal") << 0.000005 << 5 << "0,00001";
    QTest::newRow("tiny") << 1e-300 << 5 << "0,00000";
    QTest::newRow("leading zero below one") << 0.5 << 1 << "0,5";
    // Not a number: written, and refused when read back.
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << 1 << "INF";
    QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity() << 1 << "-INF";
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << 1 << "NAN";
}

void TestNumText::fixedText() {
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, comma);
    QCOMPARE(QString::fromStdString(FixedText(value, decimals, ",")), comma);
    QString point = comma;
    point.replace(',', '.');
    QCOMPARE(QString::fromStdString(FixedText(value, decimals, ".")), point);
}

void TestNumText::fixedTextOtherSeparators() {
    // A separator of more than one byte (Arabic decimal separator).
    const std::string arabic = "\u066B";
    QCOMPARE(FixedText(1.5, 1, arabic), "1" + arabic + "5");
    QCOMPARE(TextToFloat("1" + arabic + "25", arabic), 1.25);
    QVERIFY_THROWS_EXCEPTION(ConversionError, TextToFloat("1.25", arabic));
}

void TestNumText::textToFloatAccepts_data() {
    QTest::addColumn<QString>("comma"); // text with "," as separator
    QTest::addColumn<double>("value");
    QTest::newRow("decimal") << "12,5" << 12.5;
    QTest::newRow("integer") << "12" << 12.0;
    QTest::newRow("leading zeros") << "007" << 7.0;
    QTest::newRow("no integer digits") << ",5" << 0.5;
    QTest::newRow("no decimals") << "5," << 5.0;
    QTest::newRow("negative") << "-3,25" << -3.25;
    QTest::newRow("plus sign") << "+3" << 3.0;
    QTest::newRow("blanks around") << "  12,5 " << 12.5;
    QTest::newRow("exponent form written back") << "1,23457E6" << 1234570.0;
    QTest::newRow("exponent without decimals") << "1E7" << 1e7;
    QTest::newRow("small exponent") << "2,5e-3" << 0.0025;
    QTest::newRow("underflow is zero") << "1E-400" << 0.0;
    QTest::newRow("many digits") << "0,1000000000000000000000000000001" << 0.1;
    // Leading zeros of the exponent do not make it large.
    QTest::newRow("tiny with a zero-padded exponent")
        << "0," + QString(330, '0') + "1E0000000" << 0.0;
}

void TestNumText::textToFloatAccepts() {
    QFETCH(QString, comma);
    QFETCH(double, value);
    QCOMPARE(TextToFloat(S(comma), ","), value);
    QString point = comma;
    point.replace(',', '.');
    QCOMPARE(TextToFloat(S(point), "."), value);
}

void TestNumText::textToFloatRefuses_data() {
    QTest::addColumn<QString>("comma");
    QTest::newRow("empty") << "";
    QTest::newRow("blank") << " ";
    QTest::newRow("lone separator") << ",";
    QTest::newRow("two separators") << "1,2,3";
    QTest::newRow("sign only") << "-";
    QTest::newRow("double sign") << "--1";
    QTest::newRow("letters") << "abc";
    QTest::newRow("inner blank") << "1 2";
    QTest::newRow("exponent without mantissa") << "E5";
    QTest::newRow("exponent without digits") << "1E";
    QTest::newRow("exponent sign only") << "1E+";
    QTest::newRow("hex") << "0x10";
    QTest::newRow("infinity") << "inf";
    QTest::newRow("nan") << "nan";
    QTest::newRow("overflow") << "1E400";
    QTest::newRow("overflow with a zero-padded exponent") << "1" + QString(400, '0') + "E-0000001";
    QTest::newRow("fullwidth digit") << "\uFF11";
}

void TestNumText::textToFloatRefuses() {
    QFETCH(QString, comma);
    QVERIFY_THROWS_EXCEPTION(ConversionError, TextToFloat(S(comma), ","));
    QString point = comma;
    point.replace(',', '.');
    QVERIFY_THROWS_EXCEPTION(ConversionError, TextToFloat(S(point), "."));
    // The other separator is not a number either.
    QVERIFY_THROWS_EXCEPTION(ConversionError, TextToFloat("12.5", ","));
    QVERIFY_THROWS_EXCEPTION(ConversionError, TextToFloat("12,5", "."));
    QVERIFY_THROWS_EXCEPTION(ConversionError, TextToFloat("1,2.3", ","));
}

void TestNumText::textToInt_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("code") << "4" << true << 4;
    QTest::newRow("negative") << "-7" << true << -7;
    QTest::newRow("plus") << "+5" << true << 5;
    QTest::newRow("blanks") << " 12 " << true << 12;
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << true << int(-2147483648LL);
    QTest::newRow("too large") << "2147483648" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("decimal") << "4,0" << false << 0;
    QTest::newRow("exponent") << "1e2" << false << 0;
    QTest::newRow("caption") << "Label3" << false << 0;
    QTest::newRow("two signs") << "+-1" << false << 0;
}

void TestNumText::textToInt() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    if (valid)
        QCOMPARE(TextToInt(S(text)), value);
    else
        QVERIFY_THROWS_EXCEPTION(ConversionError, TextToInt(S(text)));
}

void TestNumText::messages() {
    try {
        TextToFloat("12.5", ",");
        QFAIL("12.5 was taken under a comma separator");
    } catch (const ConversionError& e) {
        QCOMPARE(std::string(e.what()), "'12.5' is not a valid floating point value.");
        QCOMPARE(e.text(), "12.5");
        QVERIFY(e.kind() == ConversionError::Kind::Float);
    }
    try {
        TextToInt("Label3");
        QFAIL("Label3 was taken as an integer");
    } catch (const ConversionError& e) {
        QCOMPARE(std::string(e.what()), "'Label3' is not a valid integer value.");
    }
}

void TestNumText::writtenNumbersConvertBack() {
    // Whatever the program writes converts back, to the value as rounded.
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> exponent(-8, 12);
    for (int i = 0; i < 4000; ++i) {
        const double value = (i % 2 ? -1 : 1) * std::pow(10.0, exponent(random));
        for (const char* sep : {",", "."}) {
            for (int decimals : {1, 5}) {
                const std::string text = FixedText(value, decimals, sep);
                const double back = TextToFloat(text, sep);
                const double tolerance =
                    std::max(0.5 * std::pow(10.0, -decimals), std::fabs(value) * 5e-6);
                if (!(std::fabs(back - value) <= tolerance * (1 + 1e-12)))
                    QFAIL(qPrintable(QString("%1 written as %2 reads back as %3")
                                         .arg(value, 0, 'g', 17)
                                         .arg(QString::fromStdString(text))
                                         .arg(back, 0, 'g', 17)));
                QCOMPARE(FixedText(back, decimals, sep), text);
            }
        }
    }
}

QTEST_APPLESS_MAIN(TestNumText)
#include "tst_numtext.moc"
