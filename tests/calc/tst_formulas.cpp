// Strike count, zone type, catenary zone and required rod height.
#include "calc/catenary.h"
#include "calc/numtext.h"
#include "calc/rodheight.h"
#include "calc/strike.h"
#include "calc/zone.h"

#include <QtTest>

using namespace vostrel;

class TestFormulas : public QObject {
    Q_OBJECT
private slots:
    void strikeCount_data();
    void strikeCount();
    void strikeCountClasses();
};

void TestFormulas::strikeCount_data() {
    QTest::addColumn<double>("S");
    QTest::addColumn<double>("L");
    QTest::addColumn<double>("h");
    QTest::addColumn<int>("hours");
    QTest::addColumn<double>("N");
    QTest::addColumn<QString>("text");
    QTest::newRow("40 h") << 12.0 << 36.0 << 10.0 << 40 << 0.024568 << "0,02457";
    QTest::newRow("5 h") << 12.0 << 36.0 << 10.0 << 5 << 0.006142 << "0,00614";
    QTest::newRow("10 h") << 12.0 << 36.0 << 10.0 << 10 << 0.006142 << "0,00614";
    QTest::newRow("80 h") << 100.0 << 200.0 << 50.0 << 80 << 1.26525 << "1,26525";
    QTest::newRow("140 h") << 1000.0 << 2000.0 << 100.0 << 140 << 34.7055 << "34,70550";
    QTest::newRow("100 h as 140 h") << 1000.0 << 2000.0 << 100.0 << 100 << 34.7055 << "34,70550";
    QTest::newRow("nothing captured") << 0.0 << 0.0 << 0.0 << 60 << 0.0 << "0,00000";
    QTest::newRow("no height") << 20.0 << 50.0 << 0.0 << 20 << 0.002 << "0,00200";
}

void TestFormulas::strikeCount() {
    QFETCH(double, S);
    QFETCH(double, L);
    QFETCH(double, h);
    QFETCH(int, hours);
    QFETCH(double, N);
    QFETCH(QString, text);
    const auto entry = std::find_if(kThunderstormClasses.begin(), kThunderstormClasses.end(),
                                    [&](const ThunderstormClass& c) { return c.hours == hours; });
    QVERIFY(entry != kThunderstormClasses.end());
    const double n = StrikeCount(S, L, h, entry->density);
    QVERIFY2(std::fabs(n - N) <= 1e-15 * std::max(1.0, N), qPrintable(QString::number(n, 'g', 17)));
    QCOMPARE(QString::fromStdString(StrikeCountText(n, ",")), text);
}

void TestFormulas::strikeCountClasses() {
    // Eight legend entries, six distinct densities, in the legend's order.
    const int hours[] = {5, 10, 20, 40, 60, 80, 100, 140};
    const double density[] = {1.0, 1.0, 2.0, 4.0, 5.5, 7.0, 8.5, 8.5};
    for (size_t i = 0; i < kThunderstormClasses.size(); ++i) {
        QCOMPARE(kThunderstormClasses[i].hours, hours[i]);
        QCOMPARE(kThunderstormClasses[i].density, density[i]);
    }
    // The order of evaluation: h = 0 gives S·L·n·10⁻⁶ exactly as computed.
    QCOMPARE(StrikeCount(12, 36, 0, 4), static_cast<double>(12.0L * 36.0L * (1e-6L * 4)));
}

QTEST_APPLESS_MAIN(TestFormulas)
#include "tst_formulas.moc"
