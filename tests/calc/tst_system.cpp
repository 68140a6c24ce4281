// The plan on the site: rod types placed beside the building, systems of
// several rods, the uncovered part of the roof and the least height.
#include "calc/heightsearch.h"
#include "calc/placement.h"
#include "calc/rodsystem.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include <set>

using namespace vostrel;

Q_DECLARE_METATYPE(std::vector<Rod>)
Q_DECLARE_METATYPE(Placement)
Q_DECLARE_METATYPE(Building)
Q_DECLARE_METATYPE(ZoneInputs)
Q_DECLARE_METATYPE(ZoneFlags)
Q_DECLARE_METATYPE(RodInputError::Field)

namespace {

using Pairs = QList<QPair<int, int>>;
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
constexpr ZoneFlags kZoneA{1, 0}, kZoneB{0, 1};
// A small building: 12 m wide, 18 m long, 8 m high.
constexpr Building kSmall{12, 18, 8};

std::vector<Rod> Square(double side, double h) {
    return {{0, 0, h}, {side, 0, h}, {side, side, h}, {0, side, h}};
}

bool Near(Point a, Point b, double tolerance) {
    return std::hypot(a.x - b.x, a.y - b.y) <= tolerance;
}

QString Text(Point p) {
    return QString("(%1, %2)").arg(p.x, 0, 'f', 4).arg(p.y, 0, 'f', 4);
}

// The search's height and its neighbour below, each with its own verdict.
bool Protects(int code, const ZoneInputs& inputs, const std::vector<Rod>& rods, ZoneFlags flags,
              const Placement& placement, const Building& building, double height) {
    if (code != kRodSystem)
        return RoofVerdictOf(code, WithHeight(code, inputs, height), flags, placement, building)
            .check.inside;
    std::vector<Rod> raised = rods;
    for (Rod& rod : raised)
        rod.h = height;
    return std::get<RodSystemVerdict>(SystemVerdictOf(raised, flags, building)).check.inside;
}

} // namespace

class TestSystem : public QObject {
    Q_OBJECT

private slots:
    void severalRods_data();
    void severalRods();
    void placedRodTypes_data();
    void placedRodTypes();
    void rotatedPlacement_data();
    void rotatedPlacement();
    void uncoveredParts();
    void neighbours_data();
    void neighbours();
    void badInput_data();
    void badInput();
    void heightSearch_data();
    void heightSearch();
};

// Four 30 m rods at the corners of a square, zone Б, hx = 10: at 40 m every
// side is a pair with rcx = 27,824427 and the whole square is protected (its
// diagonal, on the same circle, is no pair); at 200 m > 6h the rods count as
// single and the centre lies 100√2 − rx from the nearest circle.
void TestSystem::severalRods_data() {
    QTest::addColumn<double>("side");
    QTest::addColumn<int>("joined");
    QTest::addColumn<double>("leastRcx");
    QTest::addColumn<double>("centreOvershoot");
    QTest::newRow("40 m") << 40.0 << 4 << 27.824427 << 0.0;
    // At 60 m the centre is 42,4 m from the rods and 30 m from the sides,
    // beyond every circle and waist (rcx = 45(23,4 − 10)/23,4): only the
    // face of the four pairs protects it.
    QTest::newRow("60 m") << 60.0 << 4 << 45 * 13.4 / 23.4 << 0.0;
    QTest::newRow("200 m") << 200.0 << 0 << kNone << 100 * std::sqrt(2.0) - 28.695652;
}

void TestSystem::severalRods() {
    QFETCH(double, side);
    QFETCH(int, joined);
    QFETCH(double, leastRcx);
    QFETCH(double, centreOvershoot);
    const auto outcome = SystemZoneOf(Square(side, 30), 10, kZoneB);
    QVERIFY(std::holds_alternative<RodSystemZone>(outcome));
    const RodSystemZone& zone = std::get<RodSystemZone>(outcome);
    QCOMPARE(zone.rods.size(), std::size_t{4});
    const std::vector<Rod> defaults{{-2, -2, 20}, {20, -2, 20}, {20, 14, 20}, {-2, 14, 20}};
    QCOMPARE(DefaultRods(kSmall), defaults); // a new system's four rods
    QCOMPARE(zone.pairs.size(), std::size_t{4});
    for (const SingleRodResult& rod : zone.rods)
        QVERIFY(std::fabs(rod.rx - 28.695652) < 1e-6);
    int counted = 0;
    for (const RodPair& pair : zone.pairs) {
        QCOMPARE(pair.L, side);
        counted += pair.joined();
        QCOMPARE(pair.pairCase() == PairCase::Single, joined == 0);
    }
    QCOMPARE(counted, joined);
    QCOMPARE(zone.leastRcx.has_value(), !std::isnan(leastRcx));
    if (zone.leastRcx)
        QVERIFY(std::fabs(*zone.leastRcx - leastRcx) < 1e-6);
    QVERIFY(zone.criticalPair.has_value()); // the shortest when all are single
    const ZoneSection section = PairSectionOf(Square(side, 30), zone.pairs[*zone.criticalPair], 10);
    QCOMPARE(section.rods.size(), std::size_t{2});
    QCOMPARE(section.boundary.size(),
             joined ? std::size_t{1} : std::size_t{2}); // one outline when joined

    const RoofCheck centre = CheckRectangle(zone.plan, {{side / 2, side / 2}, 0, 0, 0});
    QCOMPARE(centre.inside, centreOvershoot == 0);
    QVERIFY2(std::fabs(centre.overshoot - centreOvershoot) < 1e-3,
             qPrintable(QString::number(centre.overshoot, 'f', 6)));
    // The whole square as a roof, at the height the zone was computed for.
    QCOMPARE(CheckRoof(zone.plan, {side, side, 10}).inside, centreOvershoot == 0);
}

// Rod types placed on the site, the verdict at the building's height.
void TestSystem::placedRodTypes_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<ZoneInputs>("inputs"); // hx deliberately not the building's height
    QTest::addColumn<ZoneFlags>("flags");
    QTest::addColumn<Building>("building");
    QTest::addColumn<Placement>("placement");
    QTest::addColumn<double>("overshoot"); // 0: inside
    QTest::addColumn<bool>("nothing");     // nothing protected at h
    QTest::addColumn<QList<Point>>("worst");

    // A rod of 25 m, zone А: rx = 1,05(25 − 8/0,85) = 16,367647 at 8 m.
    const ZoneInputs rod{25, 0, 0, 0};
    const double rx = 1.05 * (25 - 8 / 0.85);
    QTest::newRow("rod in the middle") << 1 << rod << kZoneA << kSmall << DefaultPlacement(kSmall)
                                       << 0.0 << false << QList<Point>{};
    // 3 m off the long wall: the far corners are √306 m away.
    QTest::newRow("rod 3 m off the long wall")
        << 1 << rod << kZoneA << kSmall << Placement{9, -3, 0} << std::sqrt(306.0) - rx << false
        << QList<Point>{{0, 12}, {18, 12}};
    // The same rod over a wider building: the centred verdict fails too.
    QTest::newRow("rod in the middle of a wide building")
        << 1 << rod << kZoneA << Building{30, 40, 8} << Placement{20, 15, 0} << 25 - rx << false
        << QList<Point>{{0, 0}, {40, 0}, {40, 30}, {0, 30}};
    // An 8 m rod at an 8 m roof: nothing protected, measured to the rod.
    QTest::newRow("rod no higher than the roof")
        << 1 << ZoneInputs{8, 2, 0, 0} << kZoneB << kSmall << DefaultPlacement(kSmall)
        << std::hypot(9.0, 6.0) << true << QList<Point>{{0, 0}, {18, 0}, {18, 12}, {0, 12}};
    // Two rods of 30 m, 40 m apart, zone Б, a 6 × 60 × 10 m building: along
    // its length protected; moved 20 m along, the near end sticks out.
    const ZoneInputs rods{30, 40, 0, 0};
    const Building thin{6, 60, 10};
    QTest::newRow("two rods along")
        << 2 << rods << kZoneB << thin << Placement{30, 3, 0} << 0.0 << false << QList<Point>{};
    QTest::newRow("two rods moved along")
        << 2 << rods << kZoneB << thin << Placement{50, 3, 0} << std::hypot(30.0, 3.0) - 28.695652
        << false << QList<Point>{{0, 0}, {0, 6}};
}

void TestSystem::placedRodTypes() {
    QFETCH(int, code);
    QFETCH(ZoneInputs, inputs);
    QFETCH(ZoneFlags, flags);
    QFETCH(Building, building);
    QFETCH(Placement, placement);
    QFETCH(double, overshoot);
    QFETCH(bool, nothing);
    QFETCH(QList<Point>, worst);
    const RoofVerdict verdict = RoofVerdictOf(code, inputs, flags, placement, building);
    QCOMPARE(verdict.check.inside, overshoot == 0 && !nothing);
    QCOMPARE(verdict.check.nothingProtected, nothing);
    QVERIFY2(std::fabs(verdict.check.overshoot - overshoot) <= 1e-3,
             qPrintable(QString::number(verdict.check.overshoot, 'f', 6)));
    if (!worst.isEmpty())
        QVERIFY2(std::any_of(worst.begin(), worst.end(),
                             [&](Point p) { return Near(p, verdict.check.worst, 0.01); }),
                 qPrintable(Text(verdict.check.worst)));
    QCOMPARE(verdict.uncovered.empty(), verdict.check.inside);

    // Centred along x, the verdict is CheckBuilding's for the type's own
    // plan, computed at the building's height.
    const Placement centred = DefaultPlacement(building);
    if (placement.x == centred.x && placement.y == centred.y && placement.angleDegrees == 0) {
        const ZoneInputs atRoof = WithHx(code, inputs, building.height);
        const ZonePlan own = PlanOf(atRoof, ZoneOf(code, atRoof, flags.zoneA, flags.zoneB, {}));
        const BuildingCheck old = CheckBuilding(own, building.width, building.length);
        QCOMPARE(verdict.check.inside, old.inside);
        QVERIFY(std::fabs(verdict.check.overshoot - old.overshoot) <= kOvershootAccuracy);
    }
}

// A single catenary (supports of 20 m, span 60 m, zone Б, rx = 15,826087 at
// 8 m) turned over a 12 × 36 m building: along it inside; across it the
// building reaches 18 m from the cable. Each turn agrees with the rectangle
// turned the other way against the unplaced plan, and a half turn changes
// nothing.
void TestSystem::rotatedPlacement_data() {
    QTest::addColumn<double>("angle");
    QTest::addColumn<double>("overshoot");
    const double rx = 1.7 * (18 - 8 / 0.92);
    QTest::newRow("along") << 0.0 << 0.0;
    QTest::newRow("across") << 90.0 << 18 - rx;
    QTest::newRow("across, turned back") << -90.0 << 18 - rx;
    QTest::newRow("half turn") << 180.0 << 0.0;
    QTest::newRow("30 degrees") << 30.0 << kNone;
    QTest::newRow("135 degrees") << 135.0 << kNone;
}

void TestSystem::rotatedPlacement() {
    QFETCH(double, angle);
    QFETCH(double, overshoot);
    const Building building{12, 36, 8};
    const ZoneInputs inputs{20, 60, 8, 0};
    const ZonePlan own = PlanOf(inputs, ZoneOf(kSingleCatenary, inputs, 0, 1, {}));
    const RoofVerdict verdict =
        RoofVerdictOf(kSingleCatenary, inputs, kZoneB, {18, 6, angle}, building);
    const RoofCheck turnedRoof = CheckRectangle(own, {{0, 0}, 12, 36, -angle});
    QVERIFY(std::fabs(verdict.check.overshoot - turnedRoof.overshoot) <= 2 * kOvershootAccuracy);
    QCOMPARE(verdict.check.inside, turnedRoof.inside);
    if (!std::isnan(overshoot)) {
        QVERIFY2(std::fabs(verdict.check.overshoot - overshoot) <= 1e-3,
                 qPrintable(QString::number(verdict.check.overshoot, 'f', 6)));
        QCOMPARE(verdict.check.inside, overshoot == 0);
    }
    if (!verdict.check.inside) { // the worst point lies on the roof and that far out
        const Point w = verdict.check.worst;
        QVERIFY2(w.x >= -1e-9 && w.x <= 36 + 1e-9 && w.y >= -1e-9 && w.y <= 12 + 1e-9,
                 qPrintable(Text(w)));
        QVERIFY(std::fabs(SignedDistance(verdict.plan.pieces[0], w) - verdict.check.overshoot) <
                0.005);
    }
}

// The rod 3 m off the long wall: every roof point clearly outside the circle
// lies in a part, none clearly inside it does, and the parts stay on the roof.
void TestSystem::uncoveredParts() {
    const RoofVerdict verdict =
        RoofVerdictOf(kSingleRod, {25, 8, 0, 0}, kZoneA, {9, -3, 0}, kSmall);
    const double rx = 1.05 * (25 - 8 / 0.85);
    QVERIFY(!verdict.uncovered.empty());
    const auto within = [](const std::vector<Point>& polygon, Point p) {
        for (std::size_t i = 0; i < polygon.size(); ++i) {
            const Point a = polygon[i], b = polygon[(i + 1) % polygon.size()];
            if ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x) < -1e-9)
                return false;
        }
        return true;
    };
    for (const auto& polygon : verdict.uncovered)
        for (const Point& p : polygon)
            QVERIFY2(p.x >= -1e-9 && p.x <= 18 + 1e-9 && p.y >= -1e-9 && p.y <= 12 + 1e-9,
                     qPrintable(Text(p)));
    for (double x = 0.05; x < 18; x += 0.1)
        for (double y = 0.05; y < 12; y += 0.1) {
            const double outside = std::hypot(x - 9, y + 3) - rx;
            if (std::fabs(outside) < 0.02)
                continue;
            const bool inPart = std::any_of(verdict.uncovered.begin(), verdict.uncovered.end(),
                                            [&](const auto& polygon) {
                                                return within(polygon, {x, y});
                                            });
            QVERIFY2(inPart == (outside > 0), qPrintable(Text({x, y})));
        }
}

// Neighbouring pairs: points on one circle are joined round it only; rods
// on one line each to the next along it, whatever their order and the
// rounding of their coordinates.
void TestSystem::neighbours_data() {
    QTest::addColumn<std::vector<Rod>>("rods");
    QTest::addColumn<Pairs>("pairs");
    QTest::addColumn<int>("cells");
    QTest::newRow("square") << Square(40, 20) << Pairs{{0, 1}, {1, 2}, {2, 3}, {0, 3}} << 1;
    QTest::newRow("triangle round a rod")
        << std::vector<Rod>{{0, 0, 20}, {30, 0, 20}, {15, 26, 20}, {15, 9, 20}}
        << Pairs{{0, 1}, {0, 2}, {1, 2}, {0, 3}, {1, 3}, {2, 3}} << 3;
    QTest::newRow("rectangle, no cocircular diagonal")
        << std::vector<Rod>{{0, 0, 20}, {50, 0, 20}, {50, 10, 20}, {0, 10, 20}, {25, 12, 20}}
        << Pairs{{0, 1}, {1, 2}, {2, 4}, {3, 4}, {0, 3}, {0, 4}, {1, 4}} << 3;
    QTest::newRow("on a line, out of order")
        << std::vector<Rod>{{0, 0, 20}, {40, 0, 20}, {20, 0, 20}, {60, 0, 20}}
        << Pairs{{0, 2}, {1, 2}, {1, 3}} << 0;
    QTest::newRow("on a slanting line with decimals")
        << std::vector<Rod>{{1.1, 2.2, 20}, {3.3, 6.6, 20}, {2.2, 4.4, 20}, {0.1, 0.2, 20}}
        << Pairs{{0, 2}, {1, 2}, {0, 3}} << 0;
}

void TestSystem::neighbours() {
    QFETCH(std::vector<Rod>, rods);
    QFETCH(Pairs, pairs);
    QFETCH(int, cells);
    const DelaunayGraph graph = Delaunay(PositionsOf(rods));
    std::set<std::pair<int, int>> got, want;
    for (const auto& e : graph.edges)
        got.insert({e.first, e.second});
    for (const auto& p : pairs)
        want.insert({std::min(p.first, p.second), std::max(p.first, p.second)});
    QCOMPARE(got, want);
    QCOMPARE(graph.cells.size(), static_cast<std::size_t>(cells));
    // The system takes exactly these pairs; on a line no face adds a piece,
    // so the plan is the rods' circles and the pairs' waists.
    const RodSystemZone zone = std::get<RodSystemZone>(SystemZoneOf(rods, 5, kZoneB));
    QCOMPARE(zone.pairs.size(), want.size());
    if (cells == 0) {
        std::size_t waists = 0;
        for (const RodPair& pair : zone.pairs)
            waists += pair.joined(); // L ≤ h: rcx = rx, one hexagon
        QCOMPARE(zone.plan.pieces.size(), rods.size() + waists);
    }
}

void TestSystem::badInput_data() {
    QTest::addColumn<std::vector<Rod>>("rods");
    QTest::addColumn<RodInputError::Field>("field");
    QTest::addColumn<int>("rod");
    QTest::addColumn<int>("other");
    QTest::addColumn<QString>("message");
    using F = RodInputError::Field;
    const double nan = kNone, inf = std::numeric_limits<double>::infinity();
    const auto withSecond = [](Rod second) {
        return std::vector<Rod>{{0, 0, 20}, second, {30, 30, 20}};
    };
    QTest::newRow("no rods") << std::vector<Rod>{} << F::Count << 0 << 0
                             << "Не задано ни одного молниеотвода";
    std::vector<Rod> many;
    for (int i = 0; i < 101; ++i)
        many.push_back({i * 1.0, 0, 20});
    QTest::newRow("101 rods")
        << many << F::Count << 101 << 0
        << "Молниеотвод № 101 лишний: молниеотводов должно быть не больше 100";
    const QString x = "Координата x молниеотвода № 2 должна быть в пределах ±10 000 м";
    const QString y = "Координата y молниеотвода № 2 должна быть в пределах ±10 000 м";
    const QString h = "Высота молниеотвода № 2 должна быть больше 0 м";
    const QString high = "Высота молниеотвода № 2 должна быть не больше 150 м";
    QTest::newRow("x too far") << withSecond({10000.01, 0, 20}) << F::X << 2 << 0 << x;
    QTest::newRow("x not a number") << withSecond({nan, 0, 20}) << F::X << 2 << 0 << x;
    QTest::newRow("y too far") << withSecond({5, -20000, 20}) << F::Y << 2 << 0 << y;
    QTest::newRow("y infinite") << withSecond({5, inf, 20}) << F::Y << 2 << 0 << y;
    QTest::newRow("h zero") << withSecond({5, 0, 0}) << F::H << 2 << 0 << h;
    QTest::newRow("h negative") << withSecond({5, 0, -3}) << F::H << 2 << 0 << h;
    QTest::newRow("h too high") << withSecond({5, 0, 150.01}) << F::H << 2 << 0 << high;
    QTest::newRow("h not a number") << withSecond({5, 0, nan}) << F::H << 2 << 0 << h;
    QTest::newRow("one point") << withSecond({30.05, 29.95, 20}) << F::Position << 2 << 3
                               << "Молниеотводы № 2 и № 3 стоят в одной точке";
    // The limits themselves are allowed.
    QTest::newRow("at the limits") << std::vector<Rod>{{-10000, 10000, 150}, {-10000, 9999.9, 0.01}}
                                   << F::Count << -1 << -1 << QString();
}

void TestSystem::badInput() {
    QFETCH(std::vector<Rod>, rods);
    QFETCH(RodInputError::Field, field);
    QFETCH(int, rod);
    QFETCH(int, other);
    QFETCH(QString, message);
    const auto checked = CheckRods(rods);
    const RodInputError* error = checked ? nullptr : &checked.reason();
    const auto outcome = SystemZoneOf(rods, 5, kZoneB);
    if (message.isEmpty()) {
        QVERIFY(!error);
        QVERIFY(std::holds_alternative<RodSystemZone>(outcome));
        return;
    }
    QVERIFY(error);
    QCOMPARE(error->field, field);
    QCOMPARE(error->rod, rod);
    QCOMPARE(error->other, other);
    QCOMPARE(QString::fromStdString(error->message), message);
    QVERIFY(std::holds_alternative<RodInputError>(outcome)); // nothing computed
    QCOMPARE(QString::fromStdString(std::get<RodInputError>(outcome).message), message);
}

// The least height protects, the one 0,1 m lower does not, each by its own
// verdict. Two rods 102 m apart over a 4 × 100 × 3 m building, zone Б, are
// protected only once they join (L ≤ 6h, at 17 m): below that the middle of
// the roof lies 51 m from each rod.
void TestSystem::heightSearch_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<ZoneInputs>("inputs");
    QTest::addColumn<std::vector<Rod>>("rods");
    QTest::addColumn<ZoneFlags>("flags");
    QTest::addColumn<Building>("building");
    QTest::addColumn<Placement>("placement");
    QTest::addColumn<double>("height"); // NaN: not known beforehand; 0: none
    const std::vector<Rod> none;
    const Placement centred = DefaultPlacement(kSmall);
    // rx = (1,1 − 0,002h)(h − 8/0,85) ≥ √306 first at h = 26,2.
    QTest::newRow("rod 3 m off the long wall")
        << 1 << ZoneInputs{25, 8} << none << kZoneA << kSmall << Placement{9, -3, 0} << 26.2;
    QTest::newRow("rod in the middle")
        << 1 << ZoneInputs{25, 8} << none << kZoneB << kSmall << centred << kNone;
    QTest::newRow("two rods joining") << 2 << ZoneInputs{30, 102, 3} << none << kZoneB
                                      << Building{4, 100, 3} << Placement{50, 2, 0} << 17.0;
    QTest::newRow("system of two rods joining")
        << kRodSystem << ZoneInputs{} << std::vector<Rod>{{-1, 2, 30}, {101, 2, 30}} << kZoneB
        << Building{4, 100, 3} << Placement{} << 17.0;
    QTest::newRow("unequal rods, the lower searched")
        << 3 << ZoneInputs{30, 12, 30, 0} << none << kZoneA << kSmall << Placement{9, -4, 0}
        << kNone;
    QTest::newRow("catenary turned")
        << 4 << ZoneInputs{20, 40, 0} << none << kZoneA << kSmall << Placement{9, 6, 60} << kNone;
    QTest::newRow("double catenary beside") << 5 << ZoneInputs{20, 30, 16, 0} << none << kZoneB
                                            << kSmall << Placement{9, 6, 0} << kNone;
    QTest::newRow("four rods 2 m outside the corners")
        << kRodSystem << ZoneInputs{} << DefaultRods(kSmall) << kZoneA << kSmall << Placement{}
        << kNone;
    QTest::newRow("too large for any rod")
        << 1 << ZoneInputs{25, 8} << none << kZoneB << Building{400, 400, 10}
        << Placement{200, 200, 0} << 0.0;
    // A span of 150 m has no cable height: nothing is ever protected.
    QTest::newRow("catenary span without a cable height")
        << 4 << ZoneInputs{20, 150, 0} << none << kZoneB << kSmall << DefaultPlacement(kSmall)
        << 0.0;
}

void TestSystem::heightSearch() {
    QFETCH(int, code);
    QFETCH(ZoneInputs, inputs);
    QFETCH(std::vector<Rod>, rods);
    QFETCH(ZoneFlags, flags);
    QFETCH(Building, building);
    QFETCH(Placement, placement);
    QFETCH(double, height);
    const HeightSearch found =
        code == kRodSystem ? std::get<HeightSearch>(LeastSystemHeight(rods, flags, building))
                           : LeastHeight(code, inputs, flags, placement, building);
    if (height == 0) {
        QVERIFY(!found.height);
        QVERIFY(!Protects(code, inputs, rods, flags, placement, building, 150));
        const RoofVerdict top =
            RoofVerdictOf(code, WithHeight(code, inputs, 150), flags, placement, building);
        QVERIFY(std::fabs(found.shortfall - top.check.overshoot) <= kOvershootAccuracy);
        QVERIFY(found.shortfall > 0);
        return;
    }
    QVERIFY(found.height);
    const double h = *found.height;
    QVERIFY2(std::fabs(h * 10 - std::round(h * 10)) < 1e-9, qPrintable(QString::number(h)));
    if (!std::isnan(height))
        QCOMPARE(h, height);
    QVERIFY2(Protects(code, inputs, rods, flags, placement, building, h),
             qPrintable(QString::number(h)));
    QVERIFY2(!Protects(code, inputs, rods, flags, placement, building, h - kHeightStep),
             qPrintable(QString::number(h - kHeightStep)));
}

QTEST_APPLESS_MAIN(TestSystem)
#include "tst_system.moc"
