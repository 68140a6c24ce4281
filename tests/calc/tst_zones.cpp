// Protection zones of every rod type: worked examples, case bounds, flags,
// spans, r′x and the message a calculation calls for.
#include "calc/rodzones.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace vostrel;

namespace {

// One calculation of any rod type with its quantities in a fixed order:
//   1: h0 r0 rx (inputs h, hx)
//   2: h0 r0 rx hc rc rcx (inputs h, L, hx)
//   3: h01 r01 rx1 h02 r02 rx2 hc1 hc2 hc rc rcx (inputs h1, h2, L, hx)
//   4: h h0 r0 rx (inputs hop, a, hx)
//   5: h h0 r0 rx hc rc rcx rpx (inputs hop, a, L, hx)
struct Outcome {
    QList<double> values;
    PairCase pairCase = PairCase::Single;
    ZoneKind zone = ZoneKind::None;
    ZoneWarning warning = ZoneWarning::None;
};

Outcome Run(int code, const QList<double>& in, int zoneA, int zoneB) {
    const double hx = in.last();
    switch (code) {
    case 1: {
        const auto r = SingleRodZone(in[0], hx, zoneA, zoneB, {});
        return {{r.h0, r.r0, r.rx}, PairCase::Single, r.zone, WarningOf(r, hx)};
    }
    case 2: {
        const auto r = DoubleRodZone(in[0], in[1], hx, zoneA, zoneB, {});
        return {{r.h0, r.r0, r.rx, r.hc, r.rc, r.rcx}, r.pairCase, r.zone, WarningOf(r, hx)};
    }
    case 3: {
        const auto r = UnequalRodZone(in[0], in[1], in[2], hx, zoneA, zoneB, {});
        return {{r.h01, r.r01, r.rx1, r.h02, r.r02, r.rx2, r.hc1, r.hc2, r.hc, r.rc, r.rcx},
                r.pairCase,
                r.zone,
                WarningOf(r, hx)};
    }
    case 4: {
        const auto r = CatenaryZone(in[0], in[1], hx, zoneA, zoneB, {});
        return {{r.h, r.h0, r.r0, r.rx}, PairCase::Single, r.zone, WarningOf(r, hx)};
    }
    default: {
        const auto r = DoubleCatenaryZone(in[0], in[1], in[2], hx, zoneA, zoneB, {});
        return {{r.h, r.h0, r.r0, r.rx, r.hc, r.rc, r.rcx, r.rpx},
                r.pairCase,
                r.zone,
                WarningOf(r, hx)};
    }
    }
}

Outcome Run(int code, const QList<double>& in, char zone) {
    return Run(code, in, zone == 'A', zone == 'B');
}

void CompareValues(const QList<double>& got, const QList<double>& want, double tolerance) {
    QCOMPARE(got.size(), want.size());
    for (qsizetype i = 0; i < got.size(); ++i)
        QVERIFY2(std::fabs(got[i] - want[i]) <= tolerance,
                 qPrintable(QString("value %1: %2, expected %3")
                                .arg(i)
                                .arg(got[i], 0, 'g', 17)
                                .arg(want[i], 0, 'g', 17)));
}

double Above(double v) {
    return std::nextafter(v, std::numeric_limits<double>::infinity());
}

} // namespace

Q_DECLARE_METATYPE(PairCase)
Q_DECLARE_METATYPE(ZoneWarning)

class TestZones : public QObject {
    Q_OBJECT
private slots:
    void workedExamples_data();
    void workedExamples();
    void caseBounds_data();
    void caseBounds();
    void continuousAtBounds_data();
    void continuousAtBounds();
    void singleRodsKeepEndRegions_data();
    void singleRodsKeepEndRegions();
    void flags_data();
    void flags();
    void unequalRodsLimitedByLowerRod_data();
    void unequalRodsLimitedByLowerRod();
    void unequalRodsOfEqualHeight();
    void catenarySpan_data();
    void catenarySpan();
    void innerReach_data();
    void innerReach();
    void hxAtMidHeight();
    void warning_data();
    void warning();
};

void TestZones::workedExamples_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QList<double>>("inputs");
    QTest::addColumn<char>("zone");
    QTest::addColumn<QList<double>>("values");
    using L = QList<double>;
    QTest::newRow("rod A") << 1 << L{30, 10} << 'A' << L{25.5, 31.2, 18.964706};
    QTest::newRow("rod B") << 1 << L{30, 10} << 'B' << L{27.6, 45, 28.695652};
    QTest::newRow("rods L 40 A") << 2 << L{30, 40, 10} << 'A'
                                 << L{25.5, 31.2, 18.964706, 23.71, 31.2, 18.040995};
    QTest::newRow("rods L 40 B") << 2 << L{30, 40, 10} << 'B'
                                 << L{27.6, 45, 28.695652, 26.2, 45, 27.824427};
    QTest::newRow("rods L 80 A") << 2 << L{30, 80, 10} << 'A'
                                 << L{25.5, 31.2, 18.964706, 16.55, 27.04, 10.701631};
    QTest::newRow("rods L 80 B") << 2 << L{30, 80, 10} << 'B'
                                 << L{27.6, 45, 28.695652, 20.6, 45, 23.15534};
    QTest::newRow("unequal A") << 3 << L{30, 20, 35, 8} << 'A'
                               << L{25.5,   31.2,  21.411765, 17,   21.2,     11.223529,
                                    24.605, 14.36, 19.4825,   26.2, 15.441627};
    QTest::newRow("unequal B") << 3 << L{30, 20, 35, 8} << 'B'
                               << L{27.6, 45,   31.956522, 18.4, 30,       16.956522,
                                    26.9, 16.3, 21.6,      37.5, 23.611111};
    // Cables of height 20: supports of 22 m with a span below 120 m.
    QTest::newRow("cables A") << 5 << L{22, 100, 25, 6} << 'A'
                              << L{20, 17, 26, 16.823529, 16.25, 26, 16.4, 12.5};
    QTest::newRow("cables B") << 5 << L{22, 100, 25, 6} << 'B'
                              << L{20, 18.4, 34, 22.913043, 17.8, 34, 22.539326, 12.5};
    QTest::newRow("cables A hx 16.5")
        << 5 << L{22, 100, 25, 16.5} << 'A' << L{20, 17, 26, 0.764706, 16.25, 26, -0.4, 8.333333};
    QTest::newRow("cables B hx 18") << 5 << L{22, 100, 25, 18} << 'B'
                                    << L{20, 18.4, 34, 0.739130, 17.8, 34, -0.382022, 8.333333};
}

void TestZones::workedExamples() {
    QFETCH(int, code);
    QFETCH(QList<double>, inputs);
    QFETCH(char, zone);
    QFETCH(QList<double>, values);
    const Outcome o = Run(code, inputs, zone);
    CompareValues(o.values, values, 5e-7);
    QCOMPARE(o.zone, zone == 'A' ? ZoneKind::A : ZoneKind::B);
}

void TestZones::caseBounds_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<char>("zone");
    QTest::addColumn<double>("ratio"); // L/h
    QTest::addColumn<bool>("beyond");  // the next double above L
    QTest::addColumn<PairCase>("pairCase");
    const struct {
        double ratio;
        bool beyond;
        PairCase a, b;
    } bounds[] = {
        {1, false, PairCase::Close, PairCase::Close},
        {1, true, PairCase::Medium, PairCase::Medium},
        {2, false, PairCase::Medium, PairCase::Medium},
        {2, true, PairCase::Wide, PairCase::Medium},
        {4, false, PairCase::Wide, PairCase::Medium},
        {4, true, PairCase::Single, PairCase::Medium},
        {6, false, PairCase::Single, PairCase::Medium},
        {6, true, PairCase::Single, PairCase::Single},
    };
    for (int code : {2, 5})
        for (const auto& b : bounds)
            for (char zone : {'A', 'B'})
                QTest::addRow("code %d zone %c L %gh%s", code, zone, b.ratio, b.beyond ? "+" : "")
                    << code << zone << b.ratio << b.beyond << (zone == 'A' ? b.a : b.b);
}

void TestZones::caseBounds() {
    QFETCH(int, code);
    QFETCH(char, zone);
    QFETCH(double, ratio);
    QFETCH(bool, beyond);
    QFETCH(PairCase, pairCase);
    // Rods of 30 m; cables of 20 m (supports of 22 m).
    const double h = code == 2 ? 30 : 20;
    const double L = beyond ? Above(ratio * h) : ratio * h;
    const Outcome o = code == 2 ? Run(2, {h, L, 5}, zone) : Run(5, {22, 100, L, 5}, zone);
    QCOMPARE(o.pairCase, pairCase);
}

void TestZones::continuousAtBounds_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<char>("zone");
    QTest::addColumn<double>("ratio");
    for (int code : {2, 5}) {
        QTest::addRow("code %d zone A L h", code) << code << 'A' << 1.0;
        QTest::addRow("code %d zone A L 2h", code) << code << 'A' << 2.0;
        QTest::addRow("code %d zone B L h", code) << code << 'B' << 1.0;
    }
}

void TestZones::continuousAtBounds() {
    QFETCH(int, code);
    QFETCH(char, zone);
    QFETCH(double, ratio);
    const double h = code == 2 ? 30 : 20, L = ratio * h;
    const auto at = [&](double l) {
        return code == 2 ? Run(2, {h, l, 7}, zone) : Run(5, {22, 100, l, 7}, zone);
    };
    const Outcome on = at(L), off = at(Above(L));
    QVERIFY(on.pairCase != off.pairCase);
    CompareValues(off.values, on.values, 1e-9);
}

void TestZones::singleRodsKeepEndRegions_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<char>("zone");
    QTest::addColumn<double>("L");
    QTest::newRow("rods A") << 2 << 'A' << Above(120.0);
    QTest::newRow("rods B") << 2 << 'B' << 181.0;
    QTest::newRow("cables A") << 5 << 'A' << Above(80.0);
    QTest::newRow("cables B") << 5 << 'B' << 500.0;
}

void TestZones::singleRodsKeepEndRegions() {
    QFETCH(int, code);
    QFETCH(char, zone);
    QFETCH(double, L);
    // The end regions are those of one rod (cable); nothing lies between.
    const Outcome pair = code == 2 ? Run(2, {30, L, 10}, zone) : Run(5, {22, 100, L, 10}, zone);
    const Outcome one = code == 2 ? Run(1, {30, 10}, zone) : Run(4, {22, 100, 10}, zone);
    QCOMPARE(pair.pairCase, PairCase::Single);
    const qsizetype n = one.values.size();
    QCOMPARE(pair.values.first(n), one.values);
    QCOMPARE(pair.values.sliced(n), QList<double>(pair.values.size() - n, 0.0));
    QCOMPARE(pair.warning, ZoneWarning::Single);
}

void TestZones::flags_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QList<double>>("inputs");
    using L = QList<double>;
    QTest::newRow("1") << 1 << L{30, 10};
    QTest::newRow("2") << 2 << L{30, 40, 10};
    QTest::newRow("3") << 3 << L{30, 20, 35, 8};
    QTest::newRow("5") << 5 << L{22, 100, 25, 6};
}

void TestZones::flags() {
    QFETCH(int, code);
    QFETCH(QList<double>, inputs);
    const Outcome b = Run(code, inputs, 0, 1);
    const Outcome both = Run(code, inputs, 1, 1);
    QCOMPARE(both.values, b.values);
    QCOMPARE(both.zone, ZoneKind::B);
    QVERIFY(Run(code, inputs, 1, 0).values != b.values);
    // Neither flag 1 (a 2 is not 1): the previous result comes back as given;
    // the double catenary takes its cable height from the span all the same.
    const auto kept = [&](std::int32_t zoneA, std::int32_t zoneB) {
        const double hx = inputs.last();
        switch (code) {
        case 1: {
            const SingleRodResult prev{1, 2, 3, ZoneKind::A};
            const auto r = SingleRodZone(inputs[0], hx, zoneA, zoneB, prev);
            return r.h0 == 1 && r.r0 == 2 && r.rx == 3 && r.zone == ZoneKind::A;
        }
        case 2: {
            const DoubleRodResult prev{1, 2, 3, 4, 5, 6, PairCase::Wide, ZoneKind::A};
            const auto r = DoubleRodZone(inputs[0], inputs[1], hx, zoneA, zoneB, prev);
            return r.h0 == 1 && r.rcx == 6 && r.pairCase == PairCase::Wide && r.zone == ZoneKind::A;
        }
        case 3: {
            UnequalRodResult prev;
            prev.h01 = 1, prev.rcx = 11, prev.hc2Case = PairCase::Wide, prev.zone = ZoneKind::B;
            const auto r = UnequalRodZone(inputs[0], inputs[1], inputs[2], hx, zoneA, zoneB, prev);
            return r.h01 == 1 && r.rcx == 11 && r.hc2Case == PairCase::Wide && r.r02 == 0 &&
                   r.zone == ZoneKind::B;
        }
        default: {
            const DoubleCatenaryResult prev{1, 2, 3, 4, 5, 6, 7, 8, PairCase::Close, ZoneKind::A};
            const auto r =
                DoubleCatenaryZone(inputs[0], inputs[1], inputs[2], hx, zoneA, zoneB, prev);
            return r.h == 20 && r.h0 == 2 && r.rpx == 8 && r.pairCase == PairCase::Close;
        }
        }
    };
    QVERIFY(kept(0, 0));
    QVERIFY(kept(2, -1));
}

void TestZones::unequalRodsLimitedByLowerRod_data() {
    QTest::addColumn<char>("zone");
    QTest::addColumn<double>("L");
    QTest::addColumn<PairCase>("pairCase");
    QTest::addColumn<PairCase>("hc1Case"); // h1 = 30
    QTest::addColumn<PairCase>("hc2Case"); // h2 = 20
    QTest::newRow("A L 25") << 'A' << 25.0 << PairCase::Medium << PairCase::Close
                            << PairCase::Medium;
    QTest::newRow("A L 45") << 'A' << 45.0 << PairCase::Wide << PairCase::Medium << PairCase::Wide;
    QTest::newRow("A L 4hmin") << 'A' << 80.0 << PairCase::Wide << PairCase::Wide << PairCase::Wide;
    // Within 4·h1 but beyond 4·h2: two single rods.
    QTest::newRow("A L above 4hmin")
        << 'A' << Above(80.0) << PairCase::Single << PairCase::Single << PairCase::Single;
    QTest::newRow("A L 100") << 'A' << 100.0 << PairCase::Single << PairCase::Single
                             << PairCase::Single;
    QTest::newRow("B L 6hmin") << 'B' << 120.0 << PairCase::Medium << PairCase::Medium
                               << PairCase::Medium;
    QTest::newRow("B L 150") << 'B' << 150.0 << PairCase::Single << PairCase::Single
                             << PairCase::Single;
}

void TestZones::unequalRodsLimitedByLowerRod() {
    QFETCH(char, zone);
    QFETCH(double, L);
    QFETCH(PairCase, pairCase);
    QFETCH(PairCase, hc1Case);
    QFETCH(PairCase, hc2Case);
    for (bool swapped : {false, true}) {
        const UnequalRodResult r = swapped
                                       ? UnequalRodZone(20, 30, L, 5, zone == 'A', zone == 'B', {})
                                       : UnequalRodZone(30, 20, L, 5, zone == 'A', zone == 'B', {});
        QCOMPARE(r.pairCase, pairCase);
        QCOMPARE(swapped ? r.hc2Case : r.hc1Case, hc1Case);
        QCOMPARE(swapped ? r.hc1Case : r.hc2Case, hc2Case);
        const DoubleRodResult one = DoubleRodZone(20, L, 5, zone == 'A', zone == 'B', {});
        const double lowerHc = swapped ? r.hc1 : r.hc2;
        QCOMPARE(lowerHc, pairCase == PairCase::Single ? 0.0 : one.hc);
        if (pairCase == PairCase::Single) {
            QCOMPARE(r.hc, 0.0);
            QCOMPARE(r.rc, 0.0);
            QCOMPARE(r.rcx, 0.0);
            QVERIFY(r.rx1 > 0 && r.rx2 > 0); // the end regions stay computed
        } else {
            QCOMPARE(r.hc, (r.hc1 + r.hc2) / 2);
            QVERIFY(r.rcx > 0);
        }
    }
}

void TestZones::unequalRodsOfEqualHeight() {
    // Up to 2h the unequal formulas give those of two equal rods; beyond, rc is
    // the plain mean of r01 and r02, not narrowed as for equal rods.
    for (double L : {20.0, 45.0, 60.0}) {
        const DoubleRodResult d = DoubleRodZone(30, L, 10, 1, 0, {});
        const UnequalRodResult u = UnequalRodZone(30, 30, L, 10, 1, 0, {});
        QCOMPARE(u.pairCase, d.pairCase);
        CompareValues({u.hc, u.rc, u.rcx}, {d.hc, d.rc, d.rcx}, 1e-12);
    }
    const DoubleRodResult d = DoubleRodZone(30, 80, 10, 1, 0, {});
    const UnequalRodResult u = UnequalRodZone(30, 30, 80, 10, 1, 0, {});
    QCOMPARE(u.hc, d.hc);
    QCOMPARE(u.rc, d.r0);
    QVERIFY(u.rcx > d.rcx);
}

void TestZones::catenarySpan_data() {
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("h"); // 0: no height, the previous result stands
    QTest::newRow("119.9") << 119.9 << 20.0;
    QTest::newRow("120") << 120.0 << 19.0;
    QTest::newRow("149.9") << 149.9 << 19.0;
    QTest::newRow("150") << 150.0 << 0.0;
    QTest::newRow("400") << 400.0 << 0.0;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 0.0;
}

void TestZones::catenarySpan() {
    QFETCH(double, a);
    QFETCH(double, h);
    QCOMPARE(CatenarySpanAllowed(a), h > 0);
    QCOMPARE(CatenaryHeight(22, a).value_or(0), h);
    const CatenaryResult single = CatenaryZone(22, a, 6, 1, 0, {1, 2, 3, 4, ZoneKind::B});
    const DoubleCatenaryResult twin = DoubleCatenaryZone(22, a, 25, 6, 1, 0, {1, 2, 3, 4});
    if (h == 0) {
        QCOMPARE(QList<double>({single.h, single.h0, single.r0, single.rx}),
                 QList<double>({1, 2, 3, 4}));
        QCOMPARE(single.zone, ZoneKind::B);
        QCOMPARE(QList<double>({twin.h, twin.h0, twin.r0, twin.rx}), QList<double>({1, 2, 3, 4}));
        return;
    }
    QCOMPARE(single.h, h);
    QCOMPARE(twin.h, h);
    QCOMPARE(single.h0, 0.85 * h);
    QCOMPARE(twin.rx, single.rx);
}

void TestZones::innerReach_data() {
    QTest::addColumn<double>("L");
    QTest::addColumn<double>("hx");
    QTest::addColumn<char>("zone");
    QTest::addColumn<double>("rpx");
    // Cables of 20 m: zone A h0 17, hc 16.25 at L 25; zone B h0 18.4.
    QTest::newRow("hx below hc") << 25.0 << 10.0 << 'A' << 12.5;
    QTest::newRow("between hc and h0") << 25.0 << 16.9 << 'A' << 12.5 * 0.1 / 0.75;
    QTest::newRow("at h0") << 25.0 << 17.0 << 'A' << 0.0;
    QTest::newRow("above h0") << 25.0 << 19.0 << 'A' << 0.0;
    QTest::newRow("close cables") << 18.0 << 16.9 << 'A' << 9.0;
    QTest::newRow("close cables above h0") << 18.0 << 17.5 << 'A' << 0.0;
    QTest::newRow("zone B wide") << 100.0 << 3.0 << 'B' << 50.0;
    QTest::newRow("single cables") << 81.0 << 3.0 << 'A' << 0.0;
}

void TestZones::innerReach() {
    QFETCH(double, L);
    QFETCH(double, hx);
    QFETCH(char, zone);
    QFETCH(double, rpx);
    const DoubleCatenaryResult r = DoubleCatenaryZone(22, 100, L, hx, zone == 'A', zone == 'B', {});
    QVERIFY2(std::fabs(r.rpx - rpx) < 1e-12, qPrintable(QString::number(r.rpx, 'g', 17)));
}

void TestZones::hxAtMidHeight() {
    // At hx = hc nothing is left midway, and the whole strip between two
    // cables is still protected.
    const DoubleRodResult rods = DoubleRodZone(30, 50, 0, 1, 0, {});
    const DoubleRodResult atHc = DoubleRodZone(30, 50, rods.hc, 1, 0, {});
    QCOMPARE(atHc.rcx, 0.0);
    QCOMPARE(WarningOf(atHc, rods.hc), ZoneWarning::HxNotBelowMidHeight);
    QCOMPARE(WarningOf(atHc, std::nextafter(rods.hc, 0.0)), ZoneWarning::None);
    const DoubleCatenaryResult cables = DoubleCatenaryZone(22, 100, 30, 0, 0, 1, {});
    const DoubleCatenaryResult cablesAtHc = DoubleCatenaryZone(22, 100, 30, cables.hc, 0, 1, {});
    QCOMPARE(cablesAtHc.rcx, 0.0);
    QCOMPARE(cablesAtHc.rpx, 15.0);
    const double just = Above(cables.hc);
    QVERIFY(DoubleCatenaryZone(22, 100, 30, just, 0, 1, {}).rpx < 15.0);
}

void TestZones::warning_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QList<double>>("inputs");
    QTest::addColumn<ZoneWarning>("warning");
    using L = QList<double>;
    QTest::newRow("rod below h0") << 1 << L{30, 25.4} << ZoneWarning::None;
    QTest::newRow("rod at h0") << 1 << L{30, 25.5} << ZoneWarning::HxNotBelowTop;
    QTest::newRow("catenary at h0") << 4 << L{22, 100, 17} << ZoneWarning::HxNotBelowTop;
    QTest::newRow("rods below hc") << 2 << L{30, 40, 23.7} << ZoneWarning::None;
    QTest::newRow("rods above hc") << 2 << L{30, 40, 23.72} << ZoneWarning::HxNotBelowMidHeight;
    QTest::newRow("rods above h0, single") << 2 << L{30, 130, 26} << ZoneWarning::HxNotBelowTop;
    QTest::newRow("rods single") << 2 << L{30, 130, 10} << ZoneWarning::Single;
    QTest::newRow("unequal above h02") << 3 << L{30, 20, 35, 17} << ZoneWarning::HxNotBelowTop;
    QTest::newRow("unequal above hc") << 3 << L{30, 20, 70, 14} << ZoneWarning::HxNotBelowMidHeight;
    QTest::newRow("unequal single") << 3 << L{30, 20, 81, 8} << ZoneWarning::Single;
    QTest::newRow("cables above hc")
        << 5 << L{22, 100, 25, 16.5} << ZoneWarning::HxNotBelowMidHeight;
    QTest::newRow("cables single") << 5 << L{22, 100, 81, 6} << ZoneWarning::Single;
}

void TestZones::warning() {
    QFETCH(int, code);
    QFETCH(QList<double>, inputs);
    QFETCH(ZoneWarning, warning);
    QCOMPARE(Run(code, inputs, 'A').warning, warning);
}

QTEST_APPLESS_MAIN(TestZones)
#include "tst_zones.moc"
