// Strike count, zone type, catenary zone and required rod height.
#include "calc/catenary.h"
#include "calc/numtext.h"
#include "calc/rodheight.h"
#include "calc/rodzones.h"
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
    void zoneType_data();
    void zoneType();
    void confirmZone();
    void catenaryZone_data();
    void catenaryZone();
    void catenaryKeepsResultsWithoutFlags();
    void requiredRodHeight_data();
    void requiredRodHeight();
    void requiredHeightUndoesZones_data();
    void requiredHeightUndoesZones();
    void requiredHeightBeyondReach();
    void catenarySupportHeight_data();
    void catenarySupportHeight();
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

void TestFormulas::zoneType_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("N"); // as shown in the main window
    QTest::addColumn<int>("zoneA"); // -1: no rule
    QTest::addColumn<int>("zoneB");
    QTest::newRow("1 any N") << 1 << "0,00100" << 1 << 0;
    QTest::newRow("2 N above 1") << 2 << "1,00001" << 1 << 0;
    QTest::newRow("2 N of 1") << 2 << "1,00000" << 0 << 1;
    QTest::newRow("3 any N") << 3 << "50,00000" << 0 << 1;
    QTest::newRow("4 N 2.5") << 4 << "2,50000" << 1 << 0;
    QTest::newRow("5 N small") << 5 << "0,02457" << 0 << 1;
    QTest::newRow("6 N just above 2") << 6 << "2,00001" << 1 << 0;
    QTest::newRow("7 N of 2") << 7 << "2,00000" << 0 << 1;
    QTest::newRow("8 any N") << 8 << "9,00000" << 0 << 1;
    QTest::newRow("9 any N") << 9 << "9,00000" << 0 << 1;
    QTest::newRow("12 any N") << 12 << "34,70550" << 0 << 1;
    QTest::newRow("14 any N") << 14 << "0,00000" << 0 << 1;
    QTest::newRow("0 no rule") << 0 << "5,00000" << -1 << -1;
    QTest::newRow("15 no rule") << 15 << "5,00000" << -1 << -1;
    QTest::newRow("negative no rule") << -4 << "5,00000" << -1 << -1;
}

void TestFormulas::zoneType() {
    QFETCH(int, code);
    QFETCH(QString, N);
    QFETCH(int, zoneA);
    QFETCH(int, zoneB);
    const auto flags = ZoneType(code, TextToFloat(N.toStdString(), ","));
    QCOMPARE(flags.has_value(), zoneA >= 0);
    if (flags) {
        QCOMPARE(flags->zoneA, zoneA);
        QCOMPARE(flags->zoneB, zoneB);
    }
}

void TestFormulas::confirmZone() {
    // Every code with a rule sets exactly one flag, whatever N.
    for (int code = 1; code <= 14; ++code)
        for (double N : {0.0, 1.0, 2.0, 2.000004, 3.0}) {
            const ZoneConfirmation c = ConfirmZone({}, code, N);
            QCOMPARE(c.flags.zoneA + c.flags.zoneB, 1);
            QVERIFY(c.zoneLetter.has_value());
        }
    // Code 4 above 2, then code 9: A turns into B.
    ZoneConfirmation c = ConfirmZone({}, 4, 2.5);
    QCOMPARE(c.flags, (ZoneFlags{1, 0}));
    QCOMPARE(c.zoneLetter.value(), std::string("       \u0410"));
    QCOMPARE(c.zoneAText, "1");
    QCOMPARE(c.zoneBText, "0");
    c = ConfirmZone(c.flags, 9, 2.5);
    QCOMPARE(c.flags, (ZoneFlags{0, 1}));
    QCOMPARE(c.zoneLetter.value(), std::string("       \u0411"));
    QCOMPARE(c.zoneAText, "0");
    QCOMPARE(c.zoneBText, "1");
    // A code without a rule keeps the flags and writes their texts again.
    c = ConfirmZone(c.flags, 15, 2.5);
    QCOMPARE(c.flags, (ZoneFlags{0, 1}));
    QCOMPARE(c.zoneLetter.value(), std::string("       \u0411"));
    QCOMPARE(c.zoneBText, "1");
    // As the first confirmation of a run: both 0, the letter left alone.
    c = ConfirmZone({}, 0, 2.5);
    QCOMPARE(c.flags, (ZoneFlags{0, 0}));
    QVERIFY(!c.zoneLetter.has_value());
    QCOMPARE(c.zoneAText, "0");
    QCOMPARE(c.zoneBText, "0");
}

void TestFormulas::catenaryZone_data() {
    QTest::addColumn<double>("hop");
    QTest::addColumn<double>("a"); // any span below 120 m: the cable sags 2 m
    QTest::addColumn<double>("hx");
    QTest::addColumn<int>("zoneA");
    QTest::addColumn<int>("zoneB");
    QTest::addColumn<double>("h0");
    QTest::addColumn<double>("r0");
    QTest::addColumn<double>("rx");
    QTest::addColumn<QString>("texts"); // h0, r0, rx, 2rx, 2r0 with one decimal

    QTest::newRow("zone A") << 20.0 << 100.0 << 10.0 << 1 << 0 << 15.3 << 23.49 << 8.1370588235294
                            << "15,3 23,5 8,1 16,3 47,0";
    QTest::newRow("zone B") << 20.0 << 60.0 << 10.0 << 0 << 1 << 16.56 << 30.6 << 12.1217391304348
                            << "16,6 30,6 12,1 24,2 61,2";
    QTest::newRow("both flags: zone B stands") << 20.0 << 0.0 << 10.0 << 1 << 1 << 16.56 << 30.6
                                               << 12.1217391304348 << "16,6 30,6 12,1 24,2 61,2";
    QTest::newRow("zone A hx above h0") << 20.0 << 119.9 << 20.0 << 1 << 0 << 15.3 << 23.49
                                        << -7.2158823529412 << "15,3 23,5 -7,2 -14,4 47,0";
    QTest::newRow("zone B hx above h0") << 20.0 << 30.0 << 20.0 << 0 << 1 << 16.56 << 30.6
                                        << -6.3565217391304 << "16,6 30,6 -6,4 -12,7 61,2";
    QTest::newRow("zone A hop 2") << 2.0 << 100.0 << 5.0 << 1 << 0 << 0.0 << 0.0 << -7.9411764705882
                                  << "0,0 0,0 -7,9 -15,9 0,0";
    QTest::newRow("zone B hop 2") << 2.0 << 119.0 << 5.0 << 0 << 1 << 0.0 << 0.0 << -9.2391304347826
                                  << "0,0 0,0 -9,2 -18,5 0,0";
    // The constants' widths decide these one-decimal texts: 0.85 and 1.7 held
    // as double would give 7.6499999999999995 and "7,6".
    QTest::newRow("zone A h0 7.65") << 11.0 << 5.0 << 1.0 << 1 << 0 << 7.65 << 11.9475
                                    << 10.3857352941176 << "7,7 11,9 10,4 20,8 23,9";
    QTest::newRow("zone B r0 7.65") << 6.5 << 110.0 << 0.5 << 0 << 1 << 4.14 << 7.65
                                    << 6.7260869565217 << "4,1 7,7 6,7 13,5 15,3";
}

void TestFormulas::catenaryZone() {
    QFETCH(double, hop);
    QFETCH(double, a);
    QFETCH(double, hx);
    QFETCH(int, zoneA);
    QFETCH(int, zoneB);
    QFETCH(double, h0);
    QFETCH(double, r0);
    QFETCH(double, rx);
    QFETCH(QString, texts);
    const CatenaryResult z = CatenaryZone(hop, a, hx, zoneA, zoneB, {});
    QCOMPARE(z.h, hop - 2);
    QVERIFY2(std::fabs(z.h0 - h0) < 1e-9, qPrintable(QString::number(z.h0, 'g', 17)));
    QVERIFY2(std::fabs(z.r0 - r0) < 1e-9, qPrintable(QString::number(z.r0, 'g', 17)));
    QVERIFY2(std::fabs(z.rx - rx) < 1e-9, qPrintable(QString::number(z.rx, 'g', 17)));
    QStringList shown;
    for (double v : {z.h0, z.r0, z.rx, z.rx * 2.0f, z.r0 * 2.0f})
        shown << QString::fromStdString(FixedText(v, 1, ","));
    QCOMPARE(shown.join(' '), texts);
}

void TestFormulas::catenaryKeepsResultsWithoutFlags() {
    const CatenaryResult first = CatenaryZone(20, 100, 10, 0, 0, {});
    QCOMPARE(first.h, 18.0);
    QCOMPARE(first.h0, 0.0);
    QCOMPARE(first.r0, 0.0);
    QCOMPARE(first.rx, 0.0);
    QCOMPARE(first.zone, ZoneKind::None);
    const CatenaryResult zoneB = CatenaryZone(20, 100, 10, 0, 1, {});
    const CatenaryResult kept = CatenaryZone(30, 100, 5, 0, 0, zoneB);
    QCOMPARE(kept.h, 28.0);
    QCOMPARE(kept.h0, zoneB.h0);
    QCOMPARE(kept.r0, zoneB.r0);
    QCOMPARE(kept.rx, zoneB.rx);
    QCOMPARE(kept.zone, ZoneKind::B);
}

void TestFormulas::requiredRodHeight_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("zoneA");
    QTest::addColumn<double>("p");
    QTest::addColumn<double>("q");
    QTest::addColumn<QString>("text"); // empty: nothing computed
    const QString single = "Высота одиночного стержневого молниеотвода для зоны Б равна ";
    const QString twin = "Высота молниеотвода для зоны Б равна ";
    QTest::newRow("1") << 1 << false << 10.0 << 12.0 << single + "18.9 м";
    QTest::newRow("2") << 2 << false << 10.0 << 12.0 << twin + "12.6 м";
    QTest::newRow("3") << 3 << false << 10.0 << 12.0 << "";
    QTest::newRow("0") << 0 << false << 10.0 << 12.0 << "";
    QTest::newRow("6") << 6 << true << 10.0 << 12.0 << "";
    QTest::newRow("1 p 0") << 1 << false << 0.0 << 3.0 << single + "2.0 м";
    // Near a rounding boundary the constants' widths decide: the factor 1.63 as
    // double would give 2.8499999999999996 ("2.8").
    QTest::newRow("1 boundary") << 1 << false << 2.5 << 0.2 << single + "2.9 м";
    // Zone A: rx = (1,1 − 0,002h)(h − hx/0,85) = 12 at hx = 10 for h = 23,15...
    QTest::newRow("1 zone A") << 1 << true << 10.0 << 12.0
                              << "Высота одиночного стержневого молниеотвода для зоны А равна "
                                 "23.2 м";
    QTest::newRow("2 zone A") << 2 << true << 40.0 << 23.71
                              << "Высота молниеотвода для зоны А равна 30.0 м";
}

void TestFormulas::requiredRodHeight() {
    QFETCH(int, code);
    QFETCH(bool, zoneA);
    QFETCH(double, p);
    QFETCH(double, q);
    QFETCH(QString, text);
    const ZoneKind zone = zoneA ? ZoneKind::A : ZoneKind::B;
    const std::optional<double> h = RequiredRodHeight(code, zone, p, q);
    QCOMPARE(h.has_value(), !text.isEmpty());
    if (h)
        QCOMPARE(QString::fromStdString(RodHeightText(code, zone, *h, std::nullopt, ".")), text);
}

// Each zone's height formula undoes the zone's own formulas: the height that
// gives a zone's rx (single rod, catenary) or hc (two rods, two cables) is
// the height the zone was computed for. The first rows are the worked
// examples of the zone reference, as printed (six decimals).
void TestFormulas::requiredHeightUndoesZones_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("zoneA");
    QTest::addColumn<double>("p"); // hx or L
    QTest::addColumn<double>("q"); // rx or hc
    QTest::addColumn<double>("h"); // the rod's or cable's height
    QTest::newRow("rod h 30 hx 10 A") << 1 << true << 10.0 << 18.964706 << 30.0;
    QTest::newRow("two rods L 40 A") << 2 << true << 40.0 << 23.71 << 30.0;
    QTest::newRow("two rods L 80 A") << 2 << true << 80.0 << 16.55 << 30.0;
    QTest::newRow("two rods L 40 B") << 2 << false << 40.0 << 26.2 << 30.0;
    QTest::newRow("two rods L 80 B") << 2 << false << 80.0 << 20.6 << 30.0;
    QTest::newRow("cables L 25 A") << 5 << true << 25.0 << 16.25 << 20.0;
    QTest::newRow("cables L 25 B") << 5 << false << 25.0 << 17.8 << 20.0;
    for (const bool zoneA : {true, false})
        for (const double h : {5.0, 18.0, 47.3, 100.0, 148.0}) {
            const std::int32_t a = zoneA ? 1 : 0, b = zoneA ? 0 : 1;
            const double hx = 0.3 * h, L = 1.7 * h;
            const char* z = zoneA ? "A" : "B";
            if (zoneA) // zone B's single formulas round 1,5/0,92 and 1,7/0,92
                QTest::addRow("rod %s h %g", z, h)
                    << 1 << zoneA << hx << SingleRodZone(h, hx, a, b, {}).rx << h;
            if (zoneA)
                QTest::addRow("cable %s h %g", z, h)
                    << 4 << zoneA << hx << CatenaryZone(h + 2, 60, hx, a, b, {}).rx << h;
            QTest::addRow("two rods %s h %g", z, h)
                << 2 << zoneA << L << DoubleRodZone(h, L, hx, a, b, {}).hc << h;
            QTest::addRow("two cables %s h %g", z, h)
                << 5 << zoneA << L << DoubleCatenaryZone(h + 2, 60, L, hx, a, b, {}).hc << h;
        }
}

void TestFormulas::requiredHeightUndoesZones() {
    QFETCH(int, code);
    QFETCH(bool, zoneA);
    QFETCH(double, p);
    QFETCH(double, q);
    QFETCH(double, h);
    const double found = RequiredRodHeight(code, zoneA ? ZoneKind::A : ZoneKind::B, p, q).value();
    QVERIFY2(std::abs(found - h) < 5e-6,
             qPrintable(QString("h = %1, expected %2").arg(found).arg(h)));
}

void TestFormulas::requiredHeightBeyondReach() {
    // A zone A radius past the top of its curve: no rod height gives it.
    QVERIFY(std::isinf(RequiredRodHeight(1, ZoneKind::A, 10, 500).value()));
    QVERIFY(std::isinf(RequiredRodHeight(4, ZoneKind::A, 10, 800).value()));
}

void TestFormulas::catenarySupportHeight_data() {
    QTest::addColumn<double>("span");
    QTest::addColumn<double>("sag"); // 0: no support height
    QTest::newRow("60") << 60.0 << 2.0;
    QTest::newRow("119,9") << 119.9 << 2.0;
    QTest::newRow("120") << 120.0 << 3.0;
    QTest::newRow("149,9") << 149.9 << 3.0;
    QTest::newRow("150") << 150.0 << 0.0;
}

void TestFormulas::catenarySupportHeight() {
    QFETCH(double, span);
    QFETCH(double, sag);
    const std::optional<SupportHeight> support = CatenarySupportHeight(17.5, span);
    QCOMPARE(support.has_value(), sag > 0);
    if (!support)
        return;
    QCOMPARE(support->hop, 17.5 + sag);
    // The line names the supports, the cable and the sag with its span band.
    const std::string text = RodHeightText(4, ZoneKind::A, 17.5, support, ",");
    const QString expected =
        QString("Высота опор одиночного тросового молниеотвода для зоны А равна %1,5 м\n"
                "трос на высоте 17,5 м, провес %2 м при пролёте %3")
            .arg(17 + int(sag))
            .arg(int(sag))
            .arg(sag == 2 ? "меньше 120 м" : "от 120 м");
    QCOMPARE(QString::fromStdString(text), expected);
}

QTEST_APPLESS_MAIN(TestFormulas)
#include "tst_formulas.moc"
