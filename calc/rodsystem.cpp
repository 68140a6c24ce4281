#include "rodsystem.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace vostrel {

namespace {

std::string Numbered(int rod) {
    return "\u2116 " + std::to_string(rod);
}

std::optional<RodInputError> CheckRod(const Rod& rod, int number) {
    using Field = RodInputError::Field;
    const std::string of = " молниеотвода " + Numbered(number);
    const auto placed = [](double v) { return std::isfinite(v) && std::fabs(v) <= kFarthestRod; };
    if (!placed(rod.x))
        return RodInputError{Field::X, number, 0,
                             "Координата x" + of + " должна быть в пределах ±10 000 м"};
    if (!placed(rod.y))
        return RodInputError{Field::Y, number, 0,
                             "Координата y" + of + " должна быть в пределах ±10 000 м"};
    if (!(rod.h > 0))
        return RodInputError{Field::H, number, 0, "Высота" + of + " должна быть больше 0 м"};
    if (!(rod.h <= kMaxRodHeight))
        return RodInputError{Field::H, number, 0, "Высота" + of + " должна быть не больше 150 м"};
    return std::nullopt;
}

Point Along(Point from, Point unit, Point local) {
    return {from.x + unit.x * local.x - unit.y * local.y,
            from.y + unit.y * local.x + unit.x * local.y};
}

// The pair's zone at hx and, when it is joined, its waist laid along it.
RodPair PairOf(const std::vector<Rod>& rods, DelaunayGraph::Edge edge, double hx, ZoneFlags f,
               ZonePlan& plan) {
    const Rod& a = rods[static_cast<std::size_t>(edge.first)];
    const Rod& b = rods[static_cast<std::size_t>(edge.second)];
    RodPair pair{edge.first, edge.second, std::hypot(b.x - a.x, b.y - a.y), DoubleRodResult{}};
    ZonePlan own;
    if (a.h == b.h) {
        const DoubleRodResult r = DoubleRodZone(a.h, pair.L, hx, f.zoneA, f.zoneB, {});
        pair.zone = r;
        own = PlanOf(r, pair.L);
    } else {
        const UnequalRodResult r = UnequalRodZone(a.h, b.h, pair.L, hx, f.zoneA, f.zoneB, {});
        pair.zone = r;
        own = PlanOf(r, pair.L);
    }
    if (!pair.joined())
        return pair;
    const Point middle{(a.x + b.x) / 2, (a.y + b.y) / 2};
    const Point unit{(b.x - a.x) / pair.L, (b.y - a.y) / pair.L};
    for (PlanPiece& piece : own.pieces) {
        if (piece.shape != PlanPiece::Shape::Polygon)
            continue; // the rods' circles are the system's own
        for (Point& p : piece.core)
            p = Along(middle, unit, p);
        plan.pieces.push_back(std::move(piece));
    }
    return pair;
}

// The convex hull, counter-clockwise, without points on its sides.
std::vector<Point> Hull(std::vector<Point> points) {
    std::sort(points.begin(), points.end(),
              [](Point a, Point b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    const auto turn = [](Point o, Point a, Point b) {
        return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
    };
    std::vector<Point> hull(2 * points.size());
    std::size_t k = 0;
    for (std::size_t pass = 0; pass < 2; ++pass) {
        const std::size_t start = k;
        for (const Point& p : points) {
            while (k >= start + 2 && turn(hull[k - 2], hull[k - 1], p) <= 0)
                --k;
            hull[k++] = p;
        }
        --k; // the last point starts the other chain
        std::reverse(points.begin(), points.end());
    }
    hull.resize(k);
    return hull;
}

// The cells inside bounded faces that touch `first`, one after another: a
// single polygon when their union is convex (its area that of its hull), as
// when every pair is joined, else each cell as its own piece.
void AddRegion(const std::vector<Point>& at, const DelaunayGraph& graph,
               const std::vector<char>& outside, std::size_t first, std::vector<char>& taken,
               ZonePlan& plan) {
    std::vector<std::vector<Point>> polygons;
    std::vector<std::size_t> queue{first};
    taken[first] = 1;
    while (!queue.empty()) {
        const DelaunayGraph::Cell& cell = graph.cells[queue.back()];
        queue.pop_back();
        polygons.emplace_back();
        for (int v : cell.vertices)
            polygons.back().push_back(at[static_cast<std::size_t>(v)]);
        for (std::size_t k = 0; k < cell.edges.size(); ++k) {
            const int next = cell.across[k];
            if (next >= 0 && !taken[static_cast<std::size_t>(next)] &&
                !outside[static_cast<std::size_t>(next)]) {
                taken[static_cast<std::size_t>(next)] = 1;
                queue.push_back(static_cast<std::size_t>(next));
            }
        }
    }
    std::vector<Point> corners;
    double area = 0;
    for (const auto& polygon : polygons) {
        area += Area(polygon);
        corners.insert(corners.end(), polygon.begin(), polygon.end());
    }
    std::vector<Point> hull = Hull(std::move(corners));
    if (polygons.size() > 1 && Area(hull) - area <= 1e-9 * Area(hull))
        polygons = {std::move(hull)};
    for (auto& polygon : polygons)
        plan.pieces.push_back({PlanPiece::Shape::Polygon, std::move(polygon), 0});
}

// The cells inside bounded faces of the joined pairs' graph: those that no
// chain of cells across pairs that are not joined links to the outside.
void AddFaces(const std::vector<Point>& at, const DelaunayGraph& graph,
              const std::vector<RodPair>& pairs, ZonePlan& plan) {
    const auto& cells = graph.cells;
    std::vector<char> outside(cells.size(), 0);
    std::vector<std::size_t> queue;
    const auto reach = [&](std::size_t c) {
        if (!outside[c])
            outside[c] = 1, queue.push_back(c);
    };
    for (std::size_t c = 0; c < cells.size(); ++c)
        for (std::size_t k = 0; k < cells[c].edges.size(); ++k)
            if (cells[c].across[k] < 0 &&
                !pairs[static_cast<std::size_t>(cells[c].edges[k])].joined())
                reach(c);
    while (!queue.empty()) {
        const std::size_t c = queue.back();
        queue.pop_back();
        for (std::size_t k = 0; k < cells[c].edges.size(); ++k)
            if (cells[c].across[k] >= 0 &&
                !pairs[static_cast<std::size_t>(cells[c].edges[k])].joined())
                reach(static_cast<std::size_t>(cells[c].across[k]));
    }
    std::vector<char> taken(cells.size(), 0);
    for (std::size_t c = 0; c < cells.size(); ++c)
        if (!outside[c] && !taken[c])
            AddRegion(at, graph, outside, c, taken, plan);
}

void FindCriticalPair(RodSystemZone& zone) {
    for (std::size_t i = 0; i < zone.pairs.size(); ++i) {
        const RodPair& p = zone.pairs[i];
        if (p.pairCase() != PairCase::Single && (!zone.leastRcx || p.rcx() < *zone.leastRcx)) {
            zone.leastRcx = p.rcx();
            zone.criticalPair = i;
        }
    }
    if (zone.leastRcx)
        return;
    for (std::size_t i = 0; i < zone.pairs.size(); ++i)
        if (!zone.criticalPair || zone.pairs[i].L < zone.pairs[*zone.criticalPair].L)
            zone.criticalPair = i;
}

} // namespace

std::vector<Rod> DefaultRods(const Building& b) {
    constexpr double kOut = 2, kHeight = 20;
    return {{-kOut, -kOut, kHeight},
            {b.length + kOut, -kOut, kHeight},
            {b.length + kOut, b.width + kOut, kHeight},
            {-kOut, b.width + kOut, kHeight}};
}

PairCase RodPair::pairCase() const {
    return std::visit([](const auto& z) { return z.pairCase; }, zone);
}
double RodPair::hc() const {
    return std::visit([](const auto& z) { return z.hc; }, zone);
}
double RodPair::rc() const {
    return std::visit([](const auto& z) { return z.rc; }, zone);
}
double RodPair::rcx() const {
    return std::visit([](const auto& z) { return z.rcx; }, zone);
}
bool RodPair::joined() const {
    return pairCase() != PairCase::Single && rcx() > 0;
}

Outcome<void, RodInputError> CheckRods(const std::vector<Rod>& rods) {
    using Field = RodInputError::Field;
    if (rods.empty())
        return Failure(RodInputError{Field::Count, 0, 0, "Не задано ни одного молниеотвода"});
    if (rods.size() > kMostRods)
        return Failure(RodInputError{Field::Count, static_cast<int>(kMostRods) + 1, 0,
                                     "Молниеотвод " + Numbered(static_cast<int>(kMostRods) + 1) +
                                         " лишний: молниеотводов должно быть не больше 100"});
    for (std::size_t i = 0; i < rods.size(); ++i)
        if (auto error = CheckRod(rods[i], static_cast<int>(i) + 1))
            return Failure(std::move(*error));
    for (std::size_t i = 0; i < rods.size(); ++i)
        for (std::size_t j = i + 1; j < rods.size(); ++j)
            if (std::hypot(rods[j].x - rods[i].x, rods[j].y - rods[i].y) < kLeastRodDistance) {
                const int a = static_cast<int>(i) + 1, b = static_cast<int>(j) + 1;
                return Failure(RodInputError{Field::Position, a, b,
                                             "Молниеотводы " + Numbered(a) + " и " + Numbered(b) +
                                                 " стоят в одной точке"});
            }
    return {};
}

std::vector<Point> PositionsOf(const std::vector<Rod>& rods) {
    std::vector<Point> at;
    at.reserve(rods.size());
    for (const Rod& r : rods)
        at.push_back({r.x, r.y});
    return at;
}

RodSystemZone SystemZone(const std::vector<Rod>& rods, const DelaunayGraph& graph, double hx,
                         ZoneFlags flags) {
    RodSystemZone zone;
    const std::vector<Point> at = PositionsOf(rods);
    for (std::size_t i = 0; i < rods.size(); ++i) {
        zone.rods.push_back(SingleRodZone(rods[i].h, hx, flags.zoneA, flags.zoneB, {}));
        zone.plan.conductors.push_back({PlanPiece::Shape::Circle, {at[i]}, 0});
        if (zone.rods.back().rx > 0)
            zone.plan.pieces.push_back({PlanPiece::Shape::Circle, {at[i]}, zone.rods.back().rx});
    }
    if (!zone.rods.empty())
        zone.zone = zone.rods.front().zone;
    for (const DelaunayGraph::Edge& edge : graph.edges)
        zone.pairs.push_back(PairOf(rods, edge, hx, flags, zone.plan));
    AddFaces(at, graph, zone.pairs, zone.plan);
    FindCriticalPair(zone);
    return zone;
}

RodSystemOutcome SystemZoneOf(const std::vector<Rod>& rods, double hx, ZoneFlags flags) {
    if (const auto checked = CheckRods(rods); !checked)
        return checked.reason();
    return SystemZone(rods, Delaunay(PositionsOf(rods)), hx, flags);
}

ZoneSection PairSectionOf(const std::vector<Rod>& rods, const RodPair& pair, double hx) {
    const double h1 = rods[static_cast<std::size_t>(pair.first)].h;
    const double h2 = rods[static_cast<std::size_t>(pair.second)].h;
    if (const auto* equal = std::get_if<DoubleRodResult>(&pair.zone))
        return SectionOf(*equal, h1, pair.L, hx);
    return SectionOf(std::get<UnequalRodResult>(pair.zone), h1, h2, pair.L, hx);
}

std::variant<RodSystemVerdict, RodInputError>
SystemVerdictOf(const std::vector<Rod>& rods, ZoneFlags flags, const Building& building) {
    if (const auto checked = CheckRods(rods); !checked)
        return checked.reason();
    RodSystemVerdict verdict;
    verdict.zone = SystemZone(rods, Delaunay(PositionsOf(rods)), building.height, flags);
    verdict.check = CheckRoof(verdict.zone.plan, building);
    if (!verdict.check.inside)
        verdict.uncovered = UncoveredParts(verdict.zone.plan, RoofOf(building));
    return verdict;
}

} // namespace vostrel
