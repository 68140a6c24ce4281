// Zone plans and sections, and the check of a building against a plan.
#include "calc/zonegeometry.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include <numbers>

using namespace vostrel;

Q_DECLARE_METATYPE(ZonePlan)

namespace {

DoubleRodResult Rods(double rx, double rcx, PairCase pairCase = PairCase::Medium) {
    DoubleRodResult r;
    r.rx = rx, r.rcx = rcx, r.pairCase = pairCase;
    return r;
}

UnequalRodResult Unequal(double rx1, double rx2, double rcx) {
    UnequalRodResult r;
    r.rx1 = rx1, r.rx2 = rx2, r.rcx = rcx, r.pairCase = PairCase::Medium;
    return r;
}

} // namespace

class TestGeometry : public QObject {
    Q_OBJECT
private slots:
    void building_data();
    void building();
    void nothingProtected();
    void agreesWithDenseGrid_data();
    void agreesWithDenseGrid();
    void outline_data();
    void outline();
    void unionBoundary();
    void sections();
};

void TestGeometry::building_data() {
    QTest::addColumn<ZonePlan>("plan");
    QTest::addColumn<double>("width");  // across, y
    QTest::addColumn<double>("length"); // along, x
    QTest::addColumn<double>("overshoot");
    QTest::addColumn<double>("tolerance");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const ZonePlan rod = PlanOf(SingleRodResult{0, 0, 10});
    QTest::newRow("rod square 14") << rod << 14.0 << 14.0 << 0.0 << 0.0;
    QTest::newRow("rod square 14.2") << rod << 14.2 << 14.2 << std::hypot(7.1, 7.1) - 10 << 1e-12;
    QTest::newRow("rod line 20 touching") << rod << 0.0 << 20.0 << 0.0 << 0.0;
    QTest::newRow("rod line 24") << rod << -3.0 << 24.0 << 2.0 << 1e-12;
    QTest::newRow("rod size not a number") << rod << nan << nan << 0.0 << 0.0;

    const ZonePlan band = PlanOf(CatenaryResult{0, 0, 0, 5}, 40);
    QTest::newRow("band along the span") << band << 10.0 << 40.0 << 0.0 << 0.0;
    QTest::newRow("band past the supports")
        << band << 10.0 << 50.0 << std::hypot(5, 5) - 5 << 1e-12;
    QTest::newRow("band too wide") << band << 12.0 << 40.0 << 1.0 << 1e-12;

    // Rods at ∓20 with rx 10; the waist narrows to rcx 6 midway.
    const ZonePlan waist = PlanOf(Rods(10, 6), 40);
    QTest::newRow("waist inside") << waist << 10.0 << 30.0 << 0.0 << 0.0;
    // Farthest out midway on the long sides, not at a corner.
    QTest::newRow("waist too wide")
        << waist << 14.0 << 10.0 << 20 / std::sqrt(416.0) << kOvershootAccuracy;
    QTest::newRow("no waist: rcx 0")
        << PlanOf(Rods(10, 0), 40) << 10.0 << 30.0 << std::sqrt(425.0) - 10 << kOvershootAccuracy;
    QTest::newRow("no waist: single rods") << PlanOf(Rods(10, 6, PairCase::Single), 40) << 10.0
                                           << 30.0 << std::sqrt(425.0) - 10 << kOvershootAccuracy;
    const DoubleRodResult apart = DoubleRodZone(30, 130, 10, 1, 0, {});
    QTest::newRow("rods beyond 4h")
        << PlanOf(apart, 130) << 10.0 << 10.0 << std::hypot(65, 5) - apart.rx << kOvershootAccuracy;
    // Unequal rods: rcx above the mean (one hexagon), a side ending at rx2 ≤ 0.
    QTest::newRow("bulging waist") << PlanOf(Unequal(4, 2, 5), 20) << 7.0 << 10.0 << 0.0 << 0.0;
    QTest::newRow("bulging waist too wide") << PlanOf(Unequal(4, 2, 5), 20) << 8.0 << 10.0
                                            << 5 / std::sqrt(109.0) << kOvershootAccuracy;
    QTest::newRow("waist to a tip") << PlanOf(Unequal(4, -2, 3), 20) << 0.0 << 12.0 << 0.0 << 0.0;
    QTest::newRow("waist past the tip")
        << PlanOf(Unequal(4, -2, 3), 20) << 0.0 << 14.0 << 1.0 << kOvershootAccuracy;

    // Cables of 20 m, 100 m apart, zone B: hx 3 ≤ hc 8.8 protects the whole
    // strip and the ends beyond the span; hx 10 leaves a gap of 2·6.25 m.
    const DoubleCatenaryResult low = DoubleCatenaryZone(22, 100, 100, 3, 0, 1, {});
    const DoubleCatenaryResult high = DoubleCatenaryZone(22, 100, 100, 10, 0, 1, {});
    QTest::newRow("strip hx below hc") << PlanOf(low, 100, 100) << 60.0 << 100.0 << 0.0 << 0.0;
    QTest::newRow("strip and ends") << PlanOf(low, 100, 100) << 60.0 << 110.0 << 0.0 << 0.0;
    QTest::newRow("strip hx above hc")
        << PlanOf(high, 100, 100) << 20.0 << 100.0 << 6.25 << kOvershootAccuracy;
}

void TestGeometry::building() {
    QFETCH(ZonePlan, plan);
    QFETCH(double, width);
    QFETCH(double, length);
    QFETCH(double, overshoot);
    QFETCH(double, tolerance);
    const BuildingCheck check = CheckBuilding(plan, width, length);
    QCOMPARE(check.inside, overshoot == 0);
    QVERIFY(!check.nothingProtected);
    // Never more than the truth, at most the accuracy below it.
    QVERIFY2(check.overshoot <= overshoot + 1e-12 && check.overshoot >= overshoot - tolerance,
             qPrintable(QString::number(check.overshoot, 'g', 17)));
    // A negative width counts as none.
    QCOMPARE(CheckBuilding(plan, -1, length).overshoot, CheckBuilding(plan, 0, length).overshoot);
}

void TestGeometry::nothingProtected() {
    // hx above h0: no piece; the overshoot is measured to the rods and cables.
    const ZonePlan rod = PlanOf(SingleRodResult{0, 0, -1});
    QVERIFY(rod.pieces.empty());
    BuildingCheck check = CheckBuilding(rod, 6, 8);
    QVERIFY(!check.inside);
    QVERIFY(check.nothingProtected);
    QCOMPARE(check.overshoot, 5.0);
    check = CheckBuilding(PlanOf(DoubleCatenaryResult{20, 17, 26, -0.5}, 40, 10), 0, 0);
    QVERIFY(!check.inside && check.nothingProtected);
    QCOMPARE(check.overshoot, 5.0);
    check = CheckBuilding(PlanOf(Rods(-1, 0), 40), 10, 40);
    QVERIFY(std::fabs(check.overshoot - std::sqrt(425.0)) <= kOvershootAccuracy);
}

void TestGeometry::agreesWithDenseGrid_data() {
    QTest::addColumn<ZonePlan>("plan");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("length");
    const ZonePlan unequal = PlanOf(UnequalRodZone(30, 20, 35, 8, 1, 0, {}), 35);
    const ZonePlan cables = PlanOf(DoubleCatenaryZone(22, 130, 60, 4, 1, 0, {}), 130, 60);
    const ZonePlan high = PlanOf(DoubleCatenaryZone(22, 100, 25, 16.5, 1, 0, {}), 100, 25);
    QTest::newRow("unequal rods") << unequal << 34.0 << 70.0;
    QTest::newRow("unequal rods, a line") << unequal << 0.0 << 90.0;
    QTest::newRow("cables, ends") << cables << 80.0 << 180.0;
    QTest::newRow("cables, bands") << high << 30.0 << 120.0;
}

void TestGeometry::agreesWithDenseGrid() {
    // The overshoot lies between the largest distance on a grid over the
    // building and that plus half the grid's diagonal step.
    QFETCH(ZonePlan, plan);
    QFETCH(double, width);
    QFETCH(double, length);
    const int n = 200;
    double grid = 0;
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j <= n; ++j) {
            const Point p{length * (i - n / 2.0) / n, width * (j - n / 2.0) / n};
            double least = std::numeric_limits<double>::infinity();
            for (const PlanPiece& piece : plan.pieces)
                least = std::min(least, Distance(piece, p));
            grid = std::max(grid, least);
        }
    const double overshoot = CheckBuilding(plan, width, length).overshoot;
    QVERIFY2(overshoot >= grid - 1e-12 && overshoot <= grid + std::hypot(length, width) / n / 2,
             qPrintable(QString("%1 against %2").arg(overshoot, 0, 'g', 12).arg(grid, 0, 'g', 12)));
    QVERIFY(grid > 0);
}

void TestGeometry::outline_data() {
    QTest::addColumn<int>("shape"); // 0 circle, 1 capsule, 2 polygon
    QTest::addColumn<double>("area");
    QTest::addColumn<double>("step");
    QTest::newRow("circle") << 0 << std::numbers::pi * 100 << 2.0;
    QTest::newRow("circle coarse") << 0 << std::numbers::pi * 100 << 30.0;
    QTest::newRow("capsule") << 1 << 2 * 10 * 40 + std::numbers::pi * 100 << 2.0;
    QTest::newRow("polygon") << 2 << 9.0 << 2.0;
}

void TestGeometry::outline() {
    QFETCH(int, shape);
    QFETCH(double, area);
    QFETCH(double, step);
    PlanPiece piece;
    if (shape == 0)
        piece = PlanOf(SingleRodResult{0, 0, 10}).pieces.at(0);
    else if (shape == 1)
        piece = PlanOf(CatenaryResult{0, 0, 0, 10}, 40).pieces.at(0);
    else
        piece = PlanOf(Rods(-1, 3), 4).pieces.at(0); // one of two triangles ending at x = ∓1.5
    const std::vector<Point> outline = Outline(piece, step);
    for (const Point& p : outline)
        QVERIFY(std::fabs(SignedDistance(piece, p)) < 1e-9);
    // Counter-clockwise, and short of the true area by no more than the
    // arcs' sagitta along the perimeter.
    const double r = piece.radius, sagitta = r * (1 - std::cos(step * std::numbers::pi / 360));
    const double got = shape == 2 ? 2 * Area(outline) : Area(outline);
    QVERIFY2(got <= area + 1e-9 && got >= area - sagitta * 2 * std::numbers::pi * r - 1e-9,
             qPrintable(QString::number(got, 'g', 17)));
}

void TestGeometry::unionBoundary() {
    // Circles of radius 10 at ∓5 overlap in 120° of each: 240° of each remain.
    const ZonePlan two = PlanOf(Rods(10, 0), 10);
    double length = 0;
    for (const Segment& s : UnionBoundary(two, 1)) {
        length += std::hypot(s.to.x - s.from.x, s.to.y - s.from.y);
        const Point mid{(s.from.x + s.to.x) / 2, (s.from.y + s.to.y) / 2};
        for (const PlanPiece& piece : two.pieces)
            QVERIFY(SignedDistance(piece, mid) > -1e-3);
    }
    const double arcs = 2 * (240.0 / 360) * 2 * std::numbers::pi * 10;
    QVERIFY2(length <= arcs && length > arcs * 0.999, qPrintable(QString::number(length)));

    // Rods at ∓20, rx 10, rcx 6: the trapezoids' common side is inside. Each
    // slanted side runs 4/√1.04 m within its circle, whose arc stands out
    // above it; so of each circle the left (right) half and two such arcs
    // remain.
    const ZonePlan waist = PlanOf(Rods(10, 6), 40);
    length = 0;
    for (const Segment& s : UnionBoundary(waist, 1)) {
        QVERIFY(!(std::fabs(s.from.x) < 1e-9 && std::fabs(s.to.x) < 1e-9)); // no side at x = 0
        length += std::hypot(s.to.x - s.from.x, s.to.y - s.from.y);
    }
    const double within = 4 / std::sqrt(1.04), arc = 2 * std::asin(within / 20);
    const double expected = 2 * (std::numbers::pi + 2 * arc) * 10 + 4 * (std::sqrt(416.0) - within);
    QVERIFY2(std::fabs(length - expected) < 1e-3 * expected, qPrintable(QString::number(length)));
}

void TestGeometry::sections() {
    // Single rod: the triangle of apex h0, half-base r0; rx measured at hx.
    const SingleRodResult rod = SingleRodZone(30, 10, 1, 0, {});
    ZoneSection s = SectionOf(rod, 30, 10);
    QCOMPARE(s.boundary,
             (std::vector<std::vector<Point>>{{{-rod.r0, 0}, {0, rod.h0}, {rod.r0, 0}}}));
    const auto find = [&](Measure m, int rodIndex) -> const Dimension* {
        for (const Dimension& d : s.dimensions)
            if (d.what == m && d.rod == rodIndex)
                return &d;
        return nullptr;
    };
    QCOMPARE(find(Measure::Rx, 0)->to, (Point{rod.rx, 10}));

    // Unequal rods: h01 at −L/2 down to hc midway and up to h02 at +L/2.
    const UnequalRodResult u = UnequalRodZone(30, 20, 35, 8, 1, 0, {});
    s = SectionOf(u, 30, 20, 35, 8);
    QCOMPARE(s.boundary.size(), std::size_t(1));
    const std::vector<Point>& line = s.boundary[0];
    QCOMPARE(line.size(), std::size_t(5));
    QCOMPARE(line[0].x, -17.5 - u.r01);
    QCOMPARE(line[1].y, u.h01);
    QCOMPARE(line[2].y, u.hc);
    QCOMPARE(line[3].y, u.h02);
    QCOMPARE(line[4].x, 17.5 + u.r02);
    QVERIFY(find(Measure::R0, 1) && find(Measure::R0, 2) && find(Measure::Hc, 0));
    QCOMPARE(find(Measure::Rx, 2)->to.x, 17.5 + u.rx2);

    // Cables counting as single: two triangles, no hc.
    const DoubleCatenaryResult apart = DoubleCatenaryZone(22, 100, 90, 5, 1, 0, {});
    s = SectionOf(apart, 90, 5);
    QCOMPARE(s.boundary.size(), std::size_t(2));
    QCOMPARE(s.cables.size(), std::size_t(2));
    QCOMPARE(s.cables[1].y, 20.0);
    QVERIFY(!find(Measure::Hc, 0));
    QCOMPARE(find(Measure::L, 0)->value, 90.0);
}

QTEST_APPLESS_MAIN(TestGeometry)
#include "tst_geometry.moc"
