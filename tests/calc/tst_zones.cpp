// Protection zones of every rod type: worked examples, case bounds, flags,
// spans, r′x and the message a calculation calls for.
#include "calc/numtext.h"
#include "calc/rodtypes.h"
#include "calc/rodzones.h"
#include "calc/zonetexts.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace vostrel;

Q_DECLARE_METATYPE(PairCase)
Q_DECLARE_METATYPE(ZoneWarning)
Q_DECLARE_METATYPE(InputRefusal)

namespace {

using Values = QList<double>;

// One calculation of rod type `code` in zone 'A' or 'B', its quantities in
// the order of the result struct (the cases left out), hx the last input:
//   1: h, hx   2: h, L, hx   3: h1, h2, L, hx   4: hop, a, hx   5: hop, a, L, hx
struct Outcome {
    Values values;
    PairCase pairCase = PairCase::Single;
    ZoneWarning warning = ZoneWarning::None;
};

Outcome Run(int code, const Values& in, char zone) {
    const int a = zone == 'A', b = zone == 'B';
    const double hx = in.last();
    switch (code) {
    case 1: {
        const auto r = SingleRodZone(in[0], hx, a, b, {});
        return {{r.h0, r.r0, r.rx}, PairCase::Single, WarningOf(r, hx)};
    }
    case 2: {
        const auto r = DoubleRodZone(in[0], in[1], hx, a, b, {});
        return {{r.h0, r.r0, r.rx, r.hc, r.rc, r.rcx}, r.pairCase, WarningOf(r, hx)};
    }
    case 3: {
        const auto r = UnequalRodZone(in[0], in[1], in[2], hx, a, b, {});
        return {{r.h01, r.r01, r.rx1, r.h02, r.r02, r.rx2, r.hc1, r.hc2, r.hc, r.rc, r.rcx},
                r.pairCase,
                WarningOf(r, hx)};
    }
    case 4: {
        const auto r = CatenaryZone(in[0], in[1], hx, a, b, {});
        return {{r.h, r.h0, r.r0, r.rx}, PairCase::Single, WarningOf(r, hx)};
    }
    default: {
        const auto r = DoubleCatenaryZone(in[0], in[1], in[2], hx, a, b, {});
        return {{r.h, r.h0, r.r0, r.rx, r.hc, r.rc, r.rcx, r.rpx}, r.pairCase, WarningOf(r, hx)};
    }
    }
}

void CompareValues(const Values& got, const Values& want, double tolerance) {
    QCOMPARE(got.size(), want.size());
    for (qsizetype i = 0; i < got.size(); ++i)
        QVERIFY2(std::fabs(got[i] - want[i]) <= tolerance,
                 qPrintable(QString("value %1: %2, expected %3")
                                .arg(i)
                                .arg(got[i], 0, 'g', 17)
                                .arg(want[i], 0, 'g', 17)));
}

// The next double above v still counts as v (equal as typed); this is just
// above, and does not.
double Above(double v) {
    return v * (1 + 1e-12);
}

// zone(zoneA, zoneB, previous) of one rod type with fixed inputs.
template <class Result, class Zone> void CheckFlags(Zone zone) {
    const Result a = zone(1, 0, Result{}), b = zone(0, 1, Result{});
    QVERIFY(!(a == b));
    QCOMPARE(a.zone, ZoneKind::A);
    QVERIFY(zone(1, 1, a) == b); // zone B wins
    QVERIFY(zone(0, 0, b) == b); // neither flag 1: kept as given
    QVERIFY(zone(2, -1, a) == a);
}

// A value typed in millionths of a metre, e.g. 10030000 for "10,03", read
// as the program reads it.
double Typed(qint64 micro) {
    QString fraction = QString::number(micro % 1000000).rightJustified(6, '0');
    while (fraction.endsWith('0'))
        fraction.chop(1);
    const QString text =
        QString::number(micro / 1000000) + (fraction.isEmpty() ? QString() : "," + fraction);
    return TextToFloat(text.toStdString(), ",");
}

// An input as a function of the height t in tenths of a metre, in millionths
// of a metre: t2·t² + t1·t + t0.
struct Poly {
    qint64 t2 = 0, t1 = 0, t0 = 0;
    qint64 at(qint64 t) const { return (t2 * t + t1) * t + t0; }
};
constexpr qint64 kM = 1000000, kTenth = 100000; // a metre, a tenth of a metre

// A sweep over the one-decimal heights 1,0 to 150,0: the inputs of rod type
// `code` in zone 'A' or 'B' as typed, hx the last.
struct Sweep {
    const char* name;
    int code;
    char zone;
    QList<Poly> inputs;
};

RodZone ZoneAt(const Sweep& s, qint64 t, qint64 extra = 0, int extraAt = -1) {
    ZoneInputs in{};
    for (qsizetype i = 0; i < s.inputs.size(); ++i)
        in[static_cast<size_t>(i)] = Typed(s.inputs[i].at(t) + (i == extraAt ? extra : 0));
    return ZoneOf(s.code, in, s.zone == 'A', s.zone == 'B', {});
}

// Fails unless `fails` holds for none of the heights 1,0 to 150,0 (t in
// tenths of a metre); names the first few it holds for.
template <class Fails> void ExpectNone(Fails fails) {
    int count = 0;
    QStringList first;
    for (qint64 t = 10; t <= 1500; ++t)
        if (fails(t) && ++count <= 5)
            first << QString::number(t / 10.0, 'f', 1);
    QVERIFY2(count == 0,
             qPrintable(QString("%1 of 1491 heights, first %2").arg(count).arg(first.join(" "))));
}

} // namespace

Q_DECLARE_METATYPE(Sweep)

class TestZones : public QObject {
    Q_OBJECT
private slots:
    void sentences_data();
    void sentences();
    void workedExamples_data();
    void workedExamples();
    void caseBounds_data();
    void caseBounds();
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
    void boundsAsTyped_data();
    void boundsAsTyped();
    void hxAsTyped_data();
    void hxAsTyped();
    void quotedCases();
    void betweenUnequalTops();
    void inputsByMeaning_data();
    void inputsByMeaning();
};

void TestZones::workedExamples_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<Values>("inputs");
    QTest::addColumn<char>("zone");
    QTest::addColumn<Values>("values");
    // Cables of 20 m: supports of 22 m with a span below 120 m.
    const struct {
        const char* name;
        int code;
        Values inputs;
        char zone;
        Values values;
    } rows[] = {
        {"rod", 1, {30, 10}, 'A', {25.5, 31.2, 18.964706}},
        {"rod", 1, {30, 10}, 'B', {27.6, 45, 28.695652}},
        {"rods L 40", 2, {30, 40, 10}, 'A', {25.5, 31.2, 18.964706, 23.71, 31.2, 18.040995}},
        {"rods L 40", 2, {30, 40, 10}, 'B', {27.6, 45, 28.695652, 26.2, 45, 27.824427}},
        {"rods L 80", 2, {30, 80, 10}, 'A', {25.5, 31.2, 18.964706, 16.55, 27.04, 10.701631}},
        {"rods L 80", 2, {30, 80, 10}, 'B', {27.6, 45, 28.695652, 20.6, 45, 23.15534}},
        {"unequal",
         3,
         {30, 20, 35, 8},
         'A',
         {25.5, 31.2, 21.411765, 17, 21.2, 11.223529, 24.605, 14.36, 19.4825, 26.2, 15.441627}},
        {"unequal",
         3,
         {30, 20, 35, 8},
         'B',
         {27.6, 45, 31.956522, 18.4, 30, 16.956522, 26.9, 16.3, 21.6, 37.5, 23.611111}},
        {"cables", 5, {22, 100, 25, 6}, 'A', {20, 17, 26, 16.823529, 16.25, 26, 16.4, 12.5}},
        {"cables", 5, {22, 100, 25, 6}, 'B', {20, 18.4, 34, 22.913043, 17.8, 34, 22.539326, 12.5}},
        {"cables hx 16.5",
         5,
         {22, 100, 25, 16.5},
         'A',
         {20, 17, 26, 0.764706, 16.25, 26, -0.4, 8.333333}},
        {"cables hx 18",
         5,
         {22, 100, 25, 18},
         'B',
         {20, 18.4, 34, 0.739130, 17.8, 34, -0.382022, 8.333333}},
    };
    for (const auto& r : rows)
        QTest::addRow("%s %c", r.name, r.zone) << r.code << r.inputs << r.zone << r.values;
}

void TestZones::workedExamples() {
    QFETCH(int, code);
    QFETCH(Values, inputs);
    QFETCH(char, zone);
    QFETCH(Values, values);
    CompareValues(Run(code, inputs, zone).values, values, 5e-7);
}

void TestZones::caseBounds_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<char>("zone");
    QTest::addColumn<double>("ratio");    // L/h
    QTest::addColumn<PairCase>("at");     // the case at L = ratio·h
    QTest::addColumn<PairCase>("beyond"); // at the next double above
    using P = PairCase;
    const struct {
        double ratio;
        P atA, beyondA, atB, beyondB;
    } bounds[] = {{1, P::Close, P::Medium, P::Close, P::Medium},
                  {2, P::Medium, P::Wide, P::Medium, P::Medium},
                  {4, P::Wide, P::Single, P::Medium, P::Medium},
                  {6, P::Single, P::Single, P::Medium, P::Single}};
    for (int code : {2, 5})
        for (const auto& b : bounds) {
            QTest::addRow("code %d A L %gh", code, b.ratio)
                << code << 'A' << b.ratio << b.atA << b.beyondA;
            QTest::addRow("code %d B L %gh", code, b.ratio)
                << code << 'B' << b.ratio << b.atB << b.beyondB;
        }
}

void TestZones::caseBounds() {
    QFETCH(int, code);
    QFETCH(char, zone);
    QFETCH(double, ratio);
    QFETCH(PairCase, at);
    QFETCH(PairCase, beyond);
    // Rods of 30 m; cables of 20 m (supports of 22 m).
    const double h = code == 2 ? 30 : 20;
    const auto run = [&](double L) {
        return code == 2 ? Run(2, {h, L, 7}, zone) : Run(5, {22, 100, L, 7}, zone);
    };
    const Outcome on = run(ratio * h), off = run(Above(ratio * h));
    QCOMPARE(on.pairCase, at);
    QCOMPARE(run(std::nextafter(ratio * h, 1e3)).pairCase, at);
    QCOMPARE(off.pairCase, beyond);
    // Continuous from one case into the next, up to the limit.
    if (at != beyond && beyond != PairCase::Single)
        CompareValues(off.values, on.values, 1e-9);
    // As single rods (cables): the end regions of one, nothing between.
    if (off.pairCase == PairCase::Single) {
        const Values one =
            code == 2 ? Run(1, {h, 7}, zone).values : Run(4, {22, 100, 7}, zone).values;
        QCOMPARE(off.values.first(one.size()), one);
        QCOMPARE(off.values.sliced(one.size()), Values(off.values.size() - one.size(), 0.0));
        QCOMPARE(off.warning, ZoneWarning::Single);
    }
}

void TestZones::flags() {
    CheckFlags<SingleRodResult>(
        [](int a, int b, const SingleRodResult& p) { return SingleRodZone(30, 10, a, b, p); });
    CheckFlags<DoubleRodResult>(
        [](int a, int b, const DoubleRodResult& p) { return DoubleRodZone(30, 40, 10, a, b, p); });
    CheckFlags<UnequalRodResult>([](int a, int b, const UnequalRodResult& p) {
        return UnequalRodZone(30, 20, 35, 8, a, b, p);
    });
    CheckFlags<CatenaryResult>(
        [](int a, int b, const CatenaryResult& p) { return CatenaryZone(22, 100, 6, a, b, p); });
    CheckFlags<DoubleCatenaryResult>([](int a, int b, const DoubleCatenaryResult& p) {
        return DoubleCatenaryZone(22, 100, 25, 6, a, b, p);
    });
    // As for one cable, the cable height follows the supports all the same.
    const DoubleCatenaryResult b = DoubleCatenaryZone(22, 100, 25, 6, 0, 1, {});
    const DoubleCatenaryResult kept = DoubleCatenaryZone(30, 100, 25, 6, 0, 0, b);
    QCOMPARE(kept.h, 28.0);
    QCOMPARE(kept.rpx, b.rpx);
    QCOMPARE(kept.h0, b.h0);
}

void TestZones::unequalRodsLimitedByLowerRod_data() {
    QTest::addColumn<char>("zone");
    QTest::addColumn<double>("L");
    QTest::addColumn<PairCase>("pairCase");
    QTest::addColumn<PairCase>("hc1Case"); // the rod of 30 m
    QTest::addColumn<PairCase>("hc2Case"); // the rod of 20 m
    using P = PairCase;
    QTest::newRow("A L 25") << 'A' << 25.0 << P::Medium << P::Close << P::Medium;
    QTest::newRow("A L 45") << 'A' << 45.0 << P::Wide << P::Medium << P::Wide;
    QTest::newRow("A L 4hmin") << 'A' << 80.0 << P::Wide << P::Wide << P::Wide;
    // Within 4·h1 but beyond 4·h2: two single rods.
    QTest::newRow("A beyond 4hmin") << 'A' << Above(80.0) << P::Single << P::Single << P::Single;
    QTest::newRow("B L 6hmin") << 'B' << 120.0 << P::Medium << P::Medium << P::Medium;
    QTest::newRow("B L 150") << 'B' << 150.0 << P::Single << P::Single << P::Single;
}

void TestZones::unequalRodsLimitedByLowerRod() {
    QFETCH(char, zone);
    QFETCH(double, L);
    QFETCH(PairCase, pairCase);
    QFETCH(PairCase, hc1Case);
    QFETCH(PairCase, hc2Case);
    const int a = zone == 'A', b = zone == 'B';
    const UnequalRodResult r = UnequalRodZone(30, 20, L, 5, a, b, {});
    const UnequalRodResult swapped = UnequalRodZone(20, 30, L, 5, a, b, {});
    QCOMPARE(r.pairCase, pairCase);
    QCOMPARE(swapped.pairCase, pairCase);
    QCOMPARE(r.hc1Case, hc1Case);
    QCOMPARE(r.hc2Case, hc2Case);
    QCOMPARE(swapped.hc1Case, hc2Case);
    QCOMPARE(QList({swapped.hc2, swapped.hc1, swapped.rx2}), QList({r.hc1, r.hc2, r.rx1}));
    QCOMPARE(QList({swapped.hc, swapped.rcx}), QList({r.hc, r.rcx}));
    QVERIFY(r.rx1 > 0 && r.rx2 > 0); // the end regions always
    if (pairCase == PairCase::Single) {
        QCOMPARE(QList({r.hc1, r.hc2, r.hc, r.rc, r.rcx}), QList<double>(5, 0.0));
    } else {
        QCOMPARE(r.hc2, DoubleRodZone(20, L, 5, a, b, {}).hc);
        QVERIFY(r.rcx > 0);
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
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 0.0;
}

void TestZones::catenarySpan() {
    QFETCH(double, a);
    QFETCH(double, h);
    QCOMPARE(CatenarySpanAllowed(a), h > 0);
    QCOMPARE(CatenaryHeight(22, a).value_or(0), h);
    const CatenaryResult before{1, 2, 3, 4, ZoneKind::B};
    const DoubleCatenaryResult twinBefore{1, 2, 3, 4};
    const CatenaryResult single = CatenaryZone(22, a, 6, 1, 0, before);
    const DoubleCatenaryResult twin = DoubleCatenaryZone(22, a, 25, 6, 1, 0, twinBefore);
    if (h == 0) {
        QVERIFY(single == before);
        QVERIFY(twin == twinBefore);
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
    // Cables of 20 m: zone A h0 17, hc 16.25 at L 25.
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
    const double got = Run(5, {22, 100, L, hx}, zone).values.last();
    QVERIFY2(std::fabs(got - rpx) < 1e-12, qPrintable(QString::number(got, 'g', 17)));
}

void TestZones::hxAtMidHeight() {
    // At hx = hc nothing is left midway, and the whole strip between two
    // cables is still protected.
    const double hc = DoubleRodZone(30, 50, 0, 1, 0, {}).hc;
    const DoubleRodResult rods = DoubleRodZone(30, 50, hc, 1, 0, {});
    QCOMPARE(rods.rcx, 0.0);
    QCOMPARE(WarningOf(rods, hc), ZoneWarning::HxNotBelowMidHeight);
    QCOMPARE(WarningOf(rods, hc - 1e-9), ZoneWarning::None);
    const double cableHc = DoubleCatenaryZone(22, 100, 30, 0, 0, 1, {}).hc;
    const DoubleCatenaryResult cables = DoubleCatenaryZone(22, 100, 30, cableHc, 0, 1, {});
    QCOMPARE(cables.rcx, 0.0);
    QCOMPARE(cables.rpx, 15.0);
    QVERIFY(DoubleCatenaryZone(22, 100, 30, Above(cableHc), 0, 1, {}).rpx < 15.0);
}

void TestZones::warning_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<Values>("inputs");
    QTest::addColumn<ZoneWarning>("warning"); // zone A
    using W = ZoneWarning;
    QTest::newRow("rod below h0") << 1 << Values{30, 25.4} << W::None;
    QTest::newRow("rod at h0") << 1 << Values{30, 25.5} << W::HxNotBelowTop;
    QTest::newRow("catenary at h0") << 4 << Values{22, 100, 17} << W::HxNotBelowTop;
    QTest::newRow("rods below hc") << 2 << Values{30, 40, 23.7} << W::None;
    QTest::newRow("rods above hc") << 2 << Values{30, 40, 23.72} << W::HxNotBelowMidHeight;
    QTest::newRow("rods single, above h0") << 2 << Values{30, 130, 26} << W::HxNotBelowTop;
    // Unequal rods (h01 25,5, h02 17): the higher top, single rods, the lower
    // top, hc, the first that applies.
    QTest::newRow("unequal at h01") << 3 << Values{30, 20, 35, 25.5} << W::HxNotBelowTop;
    QTest::newRow("unequal at h02") << 3 << Values{30, 20, 35, 17} << W::HxNotBelowSecondRodTop;
    QTest::newRow("unequal at h01, first lower")
        << 3 << Values{20, 30, 35, 17} << W::HxNotBelowFirstRodTop;
    QTest::newRow("unequal above h02 and hc")
        << 3 << Values{30, 20, 35, 20} << W::HxNotBelowSecondRodTop;
    QTest::newRow("unequal single, above h02") << 3 << Values{30, 20, 81, 18} << W::Single;
    QTest::newRow("unequal above hc") << 3 << Values{30, 20, 70, 14} << W::HxNotBelowMidHeight;
    QTest::newRow("unequal single") << 3 << Values{30, 20, 81, 8} << W::Single;
    QTest::newRow("cables above hc") << 5 << Values{22, 100, 25, 16.5} << W::HxNotBelowMidHeight;
}

void TestZones::warning() {
    QFETCH(int, code);
    QFETCH(Values, inputs);
    QFETCH(ZoneWarning, warning);
    QCOMPARE(Run(code, inputs, 'A').warning, warning);
}

// Every bound of L, at L = k·h as typed: 6·10,1 is a hair below 60,6 as
// doubles, yet L = 6h. Just beyond (L + 0,1) the next case.
void TestZones::boundsAsTyped_data() {
    QTest::addColumn<Sweep>("sweep");
    QTest::addColumn<int>("distance"); // which input is L
    QTest::addColumn<PairCase>("at");
    QTest::addColumn<PairCase>("beyond");
    using P = PairCase;
    const Poly h{0, kTenth, 0}, higher{0, kTenth, 5 * kM}, hx{};
    const struct {
        char zone;
        qint64 k;
        P at, beyond;
    } bounds[] = {{'A', 1, P::Close, P::Medium},
                  {'A', 2, P::Medium, P::Wide},
                  {'A', 4, P::Wide, P::Single},
                  {'B', 1, P::Close, P::Medium},
                  {'B', 6, P::Medium, P::Single}};
    for (const auto& b : bounds) {
        const Poly L{0, b.k * kTenth, 0};
        // Cables of height h: supports 2 m higher for a span of 100 m, 3 m
        // for 130 m.
        const Sweep sweeps[] = {
            {"two rods", 2, b.zone, {h, L, hx}},
            {"unequal rods, the second lower", 3, b.zone, {higher, h, L, hx}},
            {"unequal rods, the first lower", 3, b.zone, {h, higher, L, hx}},
            {"two cables, span 100", 5, b.zone, {{0, kTenth, 2 * kM}, {0, 0, 100 * kM}, L, hx}},
            {"two cables, span 130", 5, b.zone, {{0, kTenth, 3 * kM}, {0, 0, 130 * kM}, L, hx}},
        };
        for (const Sweep& sweep : sweeps)
            QTest::addRow("%s, zone %c, L = %lldh", sweep.name, b.zone, b.k)
                << sweep << (sweep.code == 2 ? 1 : 2) << b.at << b.beyond;
    }
}

void TestZones::boundsAsTyped() {
    QFETCH(Sweep, sweep);
    QFETCH(int, distance);
    QFETCH(PairCase, at);
    QFETCH(PairCase, beyond);
    ExpectNone([&](qint64 t) {
        return PairCaseOf(ZoneAt(sweep, t)) != at ||
               PairCaseOf(ZoneAt(sweep, t, kTenth, distance)) != beyond;
    });
}

// hx typed as the value h0 or hc has as a decimal: the message, and the
// conclusion saying the same; 1 mm lower, not that message.
void TestZones::hxAsTyped_data() {
    QTest::addColumn<Sweep>("sweep");
    QTest::addColumn<ZoneWarning>("warning");
    QTest::addColumn<QString>("conclusion"); // a part of it
    using W = ZoneWarning;
    const Poly h{0, kTenth, 0}, twice{0, 2 * kTenth, 0}, higher{0, kTenth, 5 * kM};
    const Poly hop{0, kTenth, 2 * kM}, span{0, 0, 100 * kM};
    const QString top = "не ниже вершины зоны защиты", midway = "защиты нет";
    // h0 = 0,85h (A), 0,92h (B); hc at L = 2h: rods 0,68h − 3·10⁻⁴h² (A),
    // 0,78h (B); cables 0,71h − 5·10⁻⁴h² (A), 0,8h (B).
    const struct {
        Sweep sweep;
        W warning;
        QString conclusion;
    } rows[] = {
        {{"single rod at h0", 1, 'A', {h, {0, 85000, 0}}}, W::HxNotBelowTop, top},
        {{"single rod at h0", 1, 'B', {h, {0, 92000, 0}}}, W::HxNotBelowTop, top},
        {{"single catenary at h0", 4, 'A', {hop, span, {0, 85000, 0}}}, W::HxNotBelowTop, top},
        {{"single catenary at h0", 4, 'B', {hop, span, {0, 92000, 0}}}, W::HxNotBelowTop, top},
        {{"two rods at h0", 2, 'B', {h, twice, {0, 92000, 0}}}, W::HxNotBelowTop, top},
        {{"two rods at hc", 2, 'A', {h, twice, {-3, 68000, 0}}}, W::HxNotBelowMidHeight, midway},
        {{"two rods at hc", 2, 'B', {h, twice, {0, 78000, 0}}}, W::HxNotBelowMidHeight, midway},
        {{"two cables at h0", 5, 'A', {hop, span, twice, {0, 85000, 0}}}, W::HxNotBelowTop, top},
        {{"two cables at hc", 5, 'A', {hop, span, twice, {-5, 71000, 0}}},
         W::HxNotBelowMidHeight,
         midway},
        {{"two cables at hc", 5, 'B', {hop, span, twice, {0, 80000, 0}}},
         W::HxNotBelowMidHeight,
         midway},
        {{"unequal rods at the higher top", 3, 'B', {higher, h, twice, {0, 92000, 4600000}}},
         W::HxNotBelowTop,
         top},
        {{"unequal rods at the lower top", 3, 'B', {higher, h, twice, {0, 92000, 0}}},
         W::HxNotBelowSecondRodTop,
         "второй молниеотвод не защищает"},
        {{"unequal rods at the lower top", 3, 'A', {h, higher, twice, {0, 85000, 0}}},
         W::HxNotBelowFirstRodTop,
         "первый молниеотвод не защищает"},
    };
    for (const auto& r : rows)
        QTest::addRow("%s, zone %c", r.sweep.name, r.sweep.zone)
            << r.sweep << r.warning << r.conclusion;
}

void TestZones::hxAsTyped() {
    QFETCH(Sweep, sweep);
    QFETCH(ZoneWarning, warning);
    QFETCH(QString, conclusion);
    const int hxAt = static_cast<int>(sweep.inputs.size()) - 1;
    const auto hx = [&](qint64 t, qint64 lower) {
        return Typed(sweep.inputs.last().at(t) - lower);
    };
    ExpectNone([&](qint64 t) {
        const RodZone at = ZoneAt(sweep, t), below = ZoneAt(sweep, t, -1000, hxAt);
        const QString text = QString::fromStdString(ConclusionText(sweep.code, at, hx(t, 0), ","));
        return WarningOf(at, hx(t, 0)) != warning || !text.contains(conclusion) ||
               WarningOf(below, hx(t, 1000)) == warning;
    });
}

// Two cables on supports of 64,1 m (h = 62,1 m) at L = h, 2h, 4h as typed,
// zone А; hx = 10,03 m = 0,85 · 11,8 m = h0 over supports of 13,8 m. (Two
// rods of 10,1 m at 60,6 m and the single cable: tst_rodtypes.)
void TestZones::quotedCases() {
    const auto typed = [](const char* text) { return TextToFloat(text, ","); };
    const std::pair<const char*, PairCase> cables[] = {
        {"62,1", PairCase::Close}, {"124,2", PairCase::Medium}, {"248,4", PairCase::Wide}};
    for (const auto& [L, pairCase] : cables)
        QCOMPARE(DoubleCatenaryZone(typed("64,1"), 100, typed(L), 0, 1, 0, {}).pairCase, pairCase);
    const double hx = typed("10,03");
    const DoubleCatenaryResult twin = DoubleCatenaryZone(typed("13,8"), 100, 20, hx, 1, 0, {});
    QCOMPARE(WarningOf(twin, hx), ZoneWarning::HxNotBelowTop);
    QCOMPARE(twin.rpx, 0.0); // nothing between the cables at their zones' top
}

// Rods of 30 and 20 m at 35 m, zone Б, hx = 19 m between the tops of their
// zones (27,6 and 18,4 m): the higher rod still protects its circle and the
// region between them its waist.
void TestZones::betweenUnequalTops() {
    const ZoneInputs in{30, 20, 35, 19};
    const RodZone zone = ZoneOf(kUnequalRods, in, 0, 1, {});
    const auto& r = std::get<UnequalRodResult>(zone);
    CompareValues({r.rx1, r.hc, r.rcx}, {14.021739, 21.6, 4.513889}, 5e-7);
    QCOMPARE(WarningOf(zone, 19), ZoneWarning::HxNotBelowSecondRodTop);
    QCOMPARE(QString::fromStdString(ConclusionText(kUnequalRods, zone, 19, ",")),
             "На высоте hx = 19,0 м второй молниеотвод не защищает: hx не ниже вершины его зоны "
             "h02 = 18,4 м. Защищены объекты в пределах rx1 = 14,0 м от первого молниеотвода и "
             "rcx = 4,5 м посередине между молниеотводами.");
    const RodZone swapped = ZoneOf(kUnequalRods, {20, 30, 35, 19}, 0, 1, {});
    QCOMPARE(WarningOf(swapped, 19), ZoneWarning::HxNotBelowFirstRodTop);
    QVERIFY(ConclusionText(kUnequalRods, swapped, 19, ",")
                .starts_with("На высоте hx = 19,0 м первый молниеотвод не защищает"));
    // Counted as single, then only the higher rod's circle.
    QCOMPARE(QString::fromStdString(
                 ConclusionText(kUnequalRods, ZoneOf(3, {30, 20, 150, 19}, 0, 1, {}), 19, ",")),
             "Молниеотводы рассматриваются как одиночные. На высоте hx = 19,0 м второй "
             "молниеотвод не защищает: hx не ниже вершины его зоны h02 = 18,4 м. Защищены "
             "объекты в пределах rx1 = 14,0 м от первого молниеотвода.");
    // The plan: the first rod's circle, the waist midway, nothing at the
    // second rod; the building check agrees.
    const ZonePlan plan = PlanOf(in, zone);
    const auto covered = [&](Point p) {
        return std::any_of(plan.pieces.begin(), plan.pieces.end(),
                           [p](const PlanPiece& piece) { return Distance(piece, p) == 0; });
    };
    QVERIFY(covered({-17.5 - 14.0, 0}) && !covered({-17.5 - 14.1, 0}));
    QVERIFY(covered({0, 4.5}) && !covered({0, 4.6}));
    QVERIFY(!covered({17.5, 0}));
    QVERIFY(CheckBuilding(plan, 8.6, 1).inside);
    QVERIFY(!CheckBuilding(plan, 9.2, 1).inside);
}

// The report's sentences about a zone, for each way it can turn out.
void TestZones::sentences_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("zoneA");
    QTest::addColumn<QList<double>>("inputs");
    QTest::addColumn<QString>("caseText");
    QTest::addColumn<QString>("conclusion");
    QTest::newRow("two rods inside")
        << 2 << false << QList<double>{30, 40, 10}
        << "h < L ≤ 6h: hc = h0 − 0,14(L − h), rc = r0, rcx = r0(hc − hx)/hc"
        << "Объекты высотой hx = 10,0 м находятся в зоне защиты: rx = "
           "28,7 м, rcx = 27,8 м.";
    QTest::newRow("hx above h0") << 1 << false << QList<double>{30, 28} << ""
                                 << "Высота hx = 28,0 м не ниже вершины зоны защиты h0 = 27,6 м: "
                                    "объекты высотой hx зоной защиты не защищены.";
    QTest::newRow("nothing midway")
        << 5 << true << QList<double>{22, 60, 25, 16.5}
        << "h < L ≤ 2h: hc = h0 − (0,14 + 5·10⁻⁴h)(L − h), rc = r0, rcx = r0(hc − hx)/hc"
        << "На высоте hx = 16,5 м защищены объекты в пределах rx = 0,8 м; посередине между "
           "тросами (rcx = -0,4 м) защиты нет.";
    QTest::newRow("single rods")
        << 3 << true << QList<double>{30, 20, 100, 8}
        << "L > 4hmin: молниеотводы рассматриваются как одиночные"
        << "Молниеотводы рассматриваются как одиночные: на высоте hx = 8,0 "
           "м защищены объекты в пределах rx1 = 21,4 м, rx2 = 11,2 м от "
           "каждого молниеотвода.";
}

void TestZones::sentences() {
    QFETCH(int, code);
    QFETCH(bool, zoneA);
    QFETCH(QList<double>, inputs);
    QFETCH(QString, caseText);
    QFETCH(QString, conclusion);
    ZoneInputs in{};
    for (qsizetype i = 0; i < inputs.size(); ++i)
        in[static_cast<size_t>(i)] = inputs[i];
    const RodZone zone = ZoneOf(code, in, zoneA, !zoneA, {});
    QCOMPARE(QString::fromStdString(CaseText(code, zone, ",")), caseText);
    QCOMPARE(QString::fromStdString(ConclusionText(code, zone, HxOf(code, in), ",")), conclusion);
    // The verdict: inside, sticking out, nothing protected, hx below the roof.
    QCOMPARE(QString::fromStdString(VerdictText({true, 0, false}, 10, 10, ",")),
             "Здание в зоне защиты на высоте hx.");
    QCOMPARE(QString::fromStdString(VerdictText({false, 0.44, false}, 10, 12, ",")),
             "Здание выходит из зоны защиты на высоте hx на 0,4 м. hx меньше высоты здания: "
             "проверена не вся высота.");
    QCOMPARE(QString::fromStdString(VerdictText({false, 0.01, false}, 10, 10, ",")),
             "Здание выходит из зоны защиты на высоте hx менее чем на 0,1 м.");
}

// Each rod type's rows give the named inputs its formulas read, hx is the one
// the building's height replaces, and a height above 150 m in the first row
// is refused as the row's kind.
void TestZones::inputsByMeaning_data() {
    QTest::addColumn<int>("code");
    // h, h2, hоп, a, L, hx from the rows 11, 22, 33, 44.
    QTest::addColumn<Values>("named");
    QTest::addColumn<InputRefusal>("firstTooHigh");
    QTest::newRow("single rod") << 1 << Values{11, 0, 0, 0, 0, 22}
                                << InputRefusal::RodHeightAboveLimit;
    QTest::newRow("two rods") << 2 << Values{11, 0, 0, 0, 22, 33}
                              << InputRefusal::RodHeightAboveLimit;
    QTest::newRow("unequal rods") << 3 << Values{11, 22, 0, 0, 33, 44}
                                  << InputRefusal::RodHeightAboveLimit;
    QTest::newRow("single catenary")
        << 4 << Values{0, 0, 11, 22, 0, 33} << InputRefusal::SupportHeightAboveLimit;
    QTest::newRow("double catenary")
        << 5 << Values{0, 0, 11, 22, 33, 44} << InputRefusal::SupportHeightAboveLimit;
    QTest::newRow("system of rods") << 6 << Values{0, 0, 0, 0, 0, 11} << InputRefusal::None;
    QTest::newRow("no rod type") << 0 << Values{0, 0, 0, 0, 0, 0} << InputRefusal::None;
}

void TestZones::inputsByMeaning() {
    QFETCH(int, code);
    QFETCH(Values, named);
    QFETCH(InputRefusal, firstTooHigh);
    const ZoneInputs rows{11, 22, 33, 44};
    const RodInputs in = InputsOf(code, rows);
    QCOMPARE((Values{in.h, in.h2, in.hSupport, in.a, in.L, in.hx}), named);
    QCOMPARE(InputCount(code),
             int(std::count_if(named.begin(), named.end(), [](double v) { return v != 0; })));
    // hx replaced, nothing else.
    const RodInputs at = InputsOf(code, WithInput(code, rows, &RodInputs::hx, 5));
    QCOMPARE(at.hx, code ? 5.0 : 0.0);
    QCOMPARE(at.h + at.h2 + at.hSupport + at.a + at.L, in.h + in.h2 + in.hSupport + in.a + in.L);
    QCOMPARE(RefusalOf(code, {151, 10, 10, 10}), firstTooHigh);
}

QTEST_APPLESS_MAIN(TestZones)
#include "tst_zones.moc"
