#include "zonegeometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <utility>

namespace vostrel {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Distances this small are rounding, not a building sticking out.
constexpr double kTouch = 1e-9;

Point operator+(Point a, Point b) {
    return {a.x + b.x, a.y + b.y};
}
Point operator-(Point a, Point b) {
    return {a.x - b.x, a.y - b.y};
}
Point operator*(double k, Point a) {
    return {k * a.x, k * a.y};
}
double Dot(Point a, Point b) {
    return a.x * b.x + a.y * b.y;
}
double Cross(Point a, Point b) {
    return a.x * b.y - a.y * b.x;
}
double Length(Point a) {
    return std::hypot(a.x, a.y);
}

double SegmentDistance(Point p, Point a, Point b) {
    const Point ab = b - a;
    const double len2 = Dot(ab, ab);
    const double t = len2 > 0 ? std::clamp(Dot(p - a, ab) / len2, 0.0, 1.0) : 0.0;
    return Length(p - (a + t * ab));
}

// Signed distance to the convex hull of the core: negative inside a polygon.
double CoreSignedDistance(const std::vector<Point>& core, Point p) {
    switch (core.size()) {
    case 0:
        return kInfinity;
    case 1:
        return Length(p - core[0]);
    case 2:
        return SegmentDistance(p, core[0], core[1]);
    default:
        break;
    }
    bool inside = true;
    double nearest = kInfinity;
    for (std::size_t i = 0; i < core.size(); ++i) {
        const Point a = core[i], b = core[(i + 1) % core.size()];
        nearest = std::min(nearest, SegmentDistance(p, a, b));
        if (Cross(b - a, p - a) < 0)
            inside = false;
    }
    return inside ? -nearest : nearest;
}

PlanPiece Circle(Point centre, double radius) {
    return {PlanPiece::Shape::Circle, {centre}, radius};
}

PlanPiece Capsule(Point from, Point to, double radius) {
    return {PlanPiece::Shape::Capsule, {from, to}, radius};
}

// Adds the convex polygon through the points in cyclic order, turned
// counter-clockwise, with repeated points dropped; nothing if it has no area.
void AddPolygon(std::vector<PlanPiece>& pieces, std::vector<Point> points) {
    std::vector<Point> core;
    for (const Point& p : points)
        if (core.empty() || Length(p - core.back()) > kTouch)
            core.push_back(p);
    while (core.size() > 1 && Length(core.front() - core.back()) <= kTouch)
        core.pop_back();
    const double twice = 2 * Area(core);
    if (core.size() < 3 || !(std::fabs(twice) > kTouch))
        return;
    if (twice < 0)
        std::reverse(core.begin(), core.end());
    pieces.push_back({PlanPiece::Shape::Polygon, std::move(core), 0});
}

// Whether a taper reaches out on both sides of its base or on one only.
enum class Sides { One, Both };

// The region over the base from p0 to p1 reaching out along the unit normal n
// by a depth going linearly from d0 to dm midway and on to d1; with Sides::Both
// it reaches as far beyond the base on the other side. Where a depth is
// negative the region ends at its zero.
void AddTaper(std::vector<PlanPiece>& pieces, Point p0, Point p1, Point n, double d0, double dm,
              double d1, Sides sides) {
    const auto out = [&](Point base, double d) { return base + d * n; };
    const auto back = [&](Point base, double d) {
        return sides == Sides::Both ? base - d * n : base;
    };
    const Point pm = 0.5 * (p0 + p1);
    if (d0 > 0 && d1 > 0 && dm >= (d0 + d1) / 2) { // convex as a whole
        AddPolygon(pieces, {back(p0, d0), back(pm, dm), back(p1, d1), out(p1, d1), out(pm, dm),
                            out(p0, d0)});
        return;
    }
    const auto half = [&](Point a, Point b, double da, double db) {
        if (!(da > 0 || db > 0))
            return;
        if (da < 0 || db < 0) {
            const Point zero = a + (da / (da - db)) * (b - a);
            (da < 0 ? a : b) = zero;
            (da < 0 ? da : db) = 0;
        }
        AddPolygon(pieces, {back(a, da), back(b, db), out(b, db), out(a, da)});
    };
    half(p0, pm, d0, dm);
    half(pm, p1, dm, d1);
}

void AddRodPair(ZonePlan& plan, double L, double rx1, double rx2, double rcx, PairCase pairCase) {
    const Point first{-L / 2, 0}, second{L / 2, 0};
    plan.conductors = {Circle(first, 0), Circle(second, 0)};
    if (rx1 > 0)
        plan.pieces.push_back(Circle(first, rx1));
    if (rx2 > 0)
        plan.pieces.push_back(Circle(second, rx2));
    if (pairCase != PairCase::Single && rcx > 0 && L > 0)
        AddTaper(plan.pieces, first, second, {0, 1}, rx1, rcx, rx2, Sides::Both);
}

// The set {t in [0, 1]: a + t(b − a) in the piece}: one interval, since the
// signed distance along a line is convex.
std::optional<std::pair<double, double>> CoveredInterval(const PlanPiece& piece, Point a, Point b) {
    const auto g = [&](double t) { return SignedDistance(piece, a + t * (b - a)); };
    const double ratio = (std::sqrt(5.0) - 1) / 2;
    double lo = 0, hi = 1;
    for (int i = 0; i < 80 && hi - lo > 1e-13; ++i) {
        const double m1 = hi - ratio * (hi - lo), m2 = lo + ratio * (hi - lo);
        if (g(m1) < g(m2))
            hi = m2;
        else
            lo = m1;
    }
    double tmin = (lo + hi) / 2;
    for (double t : {0.0, 1.0})
        if (g(t) < g(tmin))
            tmin = t;
    if (g(tmin) > 0)
        return std::nullopt;
    // Bisection between an outside point and tmin for each end.
    const auto edge = [&](double outside) {
        if (g(outside) <= 0)
            return outside;
        double in = tmin;
        for (int i = 0; i < 60; ++i) {
            const double mid = (in + outside) / 2;
            (g(mid) <= 0 ? in : outside) = mid;
        }
        return in;
    };
    return std::pair{edge(0.0), edge(1.0)};
}

using Corners = std::array<double, 4>;

// min over λ in [0, 1] of the greatest over the corners of λ·a + (1 − λ)·b:
// the greatest of four lines in λ is least at an end or where two cross.
double LeastBlend(const Corners& a, const Corners& b) {
    const auto worst = [&](double t) {
        double w = -kInfinity;
        for (std::size_t k = 0; k < a.size(); ++k)
            w = std::max(w, b[k] + t * (a[k] - b[k]));
        return w;
    };
    double least = std::min(worst(0), worst(1));
    for (std::size_t k = 0; k < a.size(); ++k)
        for (std::size_t l = k + 1; l < a.size(); ++l) {
            const double slopes = (a[k] - b[k]) - (a[l] - b[l]);
            if (slopes == 0)
                continue;
            const double t = (b[l] - b[k]) / slopes;
            if (t > 0 && t < 1)
                least = std::min(least, worst(t));
        }
    return least;
}

// The largest over the rectangle |x| ≤ halfX, |y| ≤ halfY of the distance to
// the union of the pieces, by branch and bound (see CheckBuilding). Over a
// cell the distance is at most max(0, λ·s_i + (1 − λ)·s_j) for the signed
// distances s_i, s_j of any two pieces (or one, λ = 1) and any λ in [0, 1];
// that blend is convex, so greatest at a corner. A cell across an edge two
// pieces share, or along the ridge midway between two pieces, is thus
// settled at once instead of only when it has shrunk to the accuracy.
double LargestDistance(const std::vector<PlanPiece>& pieces, double halfX, double halfY) {
    struct Cell {
        double cx, cy, hx, hy;
    };
    double best = 0;
    std::vector<Corners> signedAt(pieces.size());
    std::vector<Cell> cells{{0, 0, halfX, halfY}};
    while (!cells.empty()) {
        const Cell c = cells.back();
        cells.pop_back();
        const std::array<Point, 4> corners{
            Point{c.cx - c.hx, c.cy - c.hy}, Point{c.cx + c.hx, c.cy - c.hy},
            Point{c.cx + c.hx, c.cy + c.hy}, Point{c.cx - c.hx, c.cy + c.hy}};
        Corners least{kInfinity, kInfinity, kInfinity, kInfinity};
        double bound = kInfinity;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            for (std::size_t k = 0; k < corners.size(); ++k) {
                signedAt[i][k] = SignedDistance(pieces[i], corners[k]);
                least[k] = std::min(least[k], signedAt[i][k]);
            }
            bound = std::min(bound, *std::max_element(signedAt[i].begin(), signedAt[i].end()));
        }
        best = std::max(best, *std::max_element(least.begin(), least.end()));
        for (std::size_t i = 0; i < pieces.size() && bound > best + kOvershootAccuracy; ++i)
            for (std::size_t j = i + 1; j < pieces.size(); ++j)
                bound = std::min(bound, LeastBlend(signedAt[i], signedAt[j]));
        if (bound <= best + kOvershootAccuracy)
            continue;
        if (c.hx >= 2 * c.hy) {
            cells.push_back({c.cx - c.hx / 2, c.cy, c.hx / 2, c.hy});
            cells.push_back({c.cx + c.hx / 2, c.cy, c.hx / 2, c.hy});
        } else if (c.hy >= 2 * c.hx) {
            cells.push_back({c.cx, c.cy - c.hy / 2, c.hx, c.hy / 2});
            cells.push_back({c.cx, c.cy + c.hy / 2, c.hx, c.hy / 2});
        } else {
            for (double sx : {-1.0, 1.0})
                for (double sy : {-1.0, 1.0})
                    cells.push_back(
                        {c.cx + sx * c.hx / 2, c.cy + sy * c.hy / 2, c.hx / 2, c.hy / 2});
        }
    }
    return best;
}

// Heights and radii of one rod (cable) at x: h and h0 up from the ground,
// r0 and rx towards `outward` (−1 or +1).
struct Top {
    double h, h0, r0, rx;
};

void AddTopDimensions(ZoneSection& s, double x, double outward, int rod, const Top& t, double hx) {
    s.dimensions.push_back({Measure::H, rod, t.h, {x, 0}, {x, t.h}});
    s.dimensions.push_back({Measure::H0, rod, t.h0, {x, 0}, {x, t.h0}});
    if (t.r0 > 0)
        s.dimensions.push_back({Measure::R0, rod, t.r0, {x, 0}, {x + outward * t.r0, 0}});
    if (t.rx > 0)
        s.dimensions.push_back({Measure::Rx, rod, t.rx, {x, hx}, {x + outward * t.rx, hx}});
}

std::vector<Point> Triangle(double x, const Top& t) {
    return {{x - t.r0, 0}, {x, t.h0}, {x + t.r0, 0}};
}

void AddHx(ZoneSection& s, double x, double outward, double rx, double hx) {
    s.hx = hx;
    const double at = x + outward * std::max(rx, 0.0);
    s.dimensions.push_back({Measure::Hx, 0, hx, {at, 0}, {at, hx}});
}

// What stands at the top of a zone: a vertical rod or a cable seen end-on.
enum class Conductor { Rod, Cable };
// Whether the two conductors of a pair stand equally high (and are measured
// once) or not.
enum class Heights { Equal, Different };

ZoneSection SingleSection(const Top& t, double hx, Conductor conductor) {
    ZoneSection s;
    s.boundary = {Triangle(0, t)};
    if (conductor == Conductor::Rod)
        s.rods = {{{0, 0}, {0, t.h}}};
    else
        s.cables = {{0, t.h}};
    AddTopDimensions(s, 0, 1, 0, t, hx);
    AddHx(s, 0, 1, t.rx, hx);
    return s;
}

// Two rods (cables) at x = ∓L/2; equal ones are measured at the first only.
ZoneSection PairSection(const Top& first, const Top& second, Heights heights, double L, double hc,
                        PairCase pairCase, double hx, Conductor conductor) {
    const bool equal = heights == Heights::Equal;
    ZoneSection s;
    const double x1 = -L / 2, x2 = L / 2;
    if (pairCase == PairCase::Single)
        s.boundary = {Triangle(x1, first), Triangle(x2, second)};
    else
        s.boundary = {
            {{x1 - first.r0, 0}, {x1, first.h0}, {0, hc}, {x2, second.h0}, {x2 + second.r0, 0}}};
    if (conductor == Conductor::Rod)
        s.rods = {{{x1, 0}, {x1, first.h}}, {{x2, 0}, {x2, second.h}}};
    else
        s.cables = {{x1, first.h}, {x2, second.h}};
    AddTopDimensions(s, x1, -1, equal ? 0 : 1, first, hx);
    if (!equal)
        AddTopDimensions(s, x2, 1, 2, second, hx);
    AddHx(s, x1, -1, first.rx, hx);
    s.dimensions.push_back({Measure::L, 0, L, {x1, 0}, {x2, 0}});
    if (pairCase != PairCase::Single)
        s.dimensions.push_back({Measure::Hc, 0, hc, {0, 0}, {0, hc}});
    return s;
}

} // namespace

double SignedDistance(const PlanPiece& piece, Point p) {
    return CoreSignedDistance(piece.core, p) - piece.radius;
}

double Distance(const PlanPiece& piece, Point p) {
    return std::max(0.0, SignedDistance(piece, p));
}

ZonePlan PlanOf(const SingleRodResult& r) {
    ZonePlan plan;
    plan.conductors = {Circle({0, 0}, 0)};
    if (r.rx > 0)
        plan.pieces.push_back(Circle({0, 0}, r.rx));
    return plan;
}

ZonePlan PlanOf(const CatenaryResult& r, double a) {
    ZonePlan plan;
    const Point from{-a / 2, 0}, to{a / 2, 0};
    plan.conductors = {Capsule(from, to, 0)};
    if (r.rx > 0)
        plan.pieces.push_back(Capsule(from, to, r.rx));
    return plan;
}

ZonePlan PlanOf(const DoubleRodResult& r, double L) {
    ZonePlan plan;
    AddRodPair(plan, L, r.rx, r.rx, r.rcx, r.pairCase);
    return plan;
}

ZonePlan PlanOf(const UnequalRodResult& r, double L) {
    ZonePlan plan;
    AddRodPair(plan, L, r.rx1, r.rx2, r.rcx, r.pairCase);
    return plan;
}

ZonePlan PlanOf(const DoubleCatenaryResult& r, double a, double L) {
    ZonePlan plan;
    const Point l0{-a / 2, -L / 2}, l1{a / 2, -L / 2}, u0{-a / 2, L / 2}, u1{a / 2, L / 2};
    plan.conductors = {Capsule(l0, l1, 0), Capsule(u0, u1, 0)};
    if (r.rx > 0) {
        plan.pieces.push_back(Capsule(l0, l1, r.rx));
        plan.pieces.push_back(Capsule(u0, u1, r.rx));
    }
    if (r.pairCase == PairCase::Single || !(L > 0))
        return plan;
    if (r.rpx >= L / 2) {
        AddPolygon(plan.pieces, {l0, l1, u1, u0});
    } else if (r.rpx > r.rx) {
        const Point band{0, r.rpx};
        AddPolygon(plan.pieces, {l0, l1, l1 + band, l0 + band});
        AddPolygon(plan.pieces, {u0 - band, u1 - band, u1, u0});
    }
    if (r.rcx > 0) {
        AddTaper(plan.pieces, l1, u1, {1, 0}, r.rx, r.rcx, r.rx, Sides::One);
        AddTaper(plan.pieces, u0, l0, {-1, 0}, r.rx, r.rcx, r.rx, Sides::One);
    }
    return plan;
}

double Area(const std::vector<Point>& polygon) {
    double twice = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i)
        twice += Cross(polygon[i], polygon[(i + 1) % polygon.size()]);
    return twice / 2;
}

std::vector<Point> Outline(const PlanPiece& piece, double stepDegrees) {
    const std::vector<Point>& core = piece.core;
    if (core.empty())
        return {};
    if (!(piece.radius > 0))
        return core;
    const double step = std::clamp(std::isfinite(stepDegrees) ? stepDegrees : 2.0, 0.1, 90.0) *
                        std::numbers::pi / 180;
    const double r = piece.radius;
    std::vector<Point> out;
    const auto arc = [&](Point c, double from, double sweep) {
        const int k = std::max(1, static_cast<int>(std::ceil(sweep / step - 1e-9)));
        for (int j = 0; j <= k; ++j) {
            const double t = from + sweep * j / k;
            out.push_back(c + r * Point{std::cos(t), std::sin(t)});
        }
    };
    if (core.size() == 1 || (core.size() == 2 && Length(core[1] - core[0]) == 0)) {
        arc(core[0], 0, 2 * std::numbers::pi);
        out.pop_back(); // the first point again
        return out;
    }
    // Round each corner of the counter-clockwise core from the outward normal
    // of the edge coming in to that of the edge going out.
    const std::size_t n = core.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Point in = core[i] - core[(i + n - 1) % n], next = core[(i + 1) % n] - core[i];
        const double from = std::atan2(-in.x, in.y);
        double sweep = std::atan2(-next.x, next.y) - from;
        if (sweep < 0)
            sweep += 2 * std::numbers::pi;
        if (sweep < 1e-12)
            out.push_back(core[i] + r * Point{std::cos(from), std::sin(from)});
        else
            arc(core[i], from, sweep);
    }
    return out;
}

std::vector<Segment> UnionBoundary(const ZonePlan& plan, double stepDegrees) {
    // Each edge is tested a hair outside its own piece, so that an edge two
    // pieces share counts as covered by the other.
    constexpr double kOffset = 1e-6;
    std::vector<Segment> boundary;
    for (std::size_t i = 0; i < plan.pieces.size(); ++i) {
        const std::vector<Point> outline = Outline(plan.pieces[i], stepDegrees);
        if (outline.size() < 3)
            continue;
        for (std::size_t k = 0; k < outline.size(); ++k) {
            const Point p = outline[k], q = outline[(k + 1) % outline.size()];
            const Point d = q - p;
            const double len = Length(d);
            if (!(len > 0))
                continue;
            const Point off = (kOffset / len) * Point{d.y, -d.x};
            std::vector<std::pair<double, double>> covered;
            for (std::size_t j = 0; j < plan.pieces.size(); ++j)
                if (j != i)
                    if (auto c = CoveredInterval(plan.pieces[j], p + off, q + off))
                        covered.push_back(*c);
            std::sort(covered.begin(), covered.end());
            double t = 0;
            const auto emit = [&](double until) {
                if (until - t > 1e-9)
                    boundary.push_back({p + t * d, p + until * d});
            };
            for (const auto& [from, to] : covered) {
                if (from > t)
                    emit(from);
                t = std::max(t, to);
            }
            emit(1);
        }
    }
    return boundary;
}

BuildingCheck CheckBuilding(const ZonePlan& plan, double width, double length) {
    const auto size = [](double s) { return std::isfinite(s) && s > 0 ? s : 0.0; };
    BuildingCheck check;
    check.nothingProtected = plan.pieces.empty();
    const std::vector<PlanPiece>& pieces = check.nothingProtected ? plan.conductors : plan.pieces;
    if (pieces.empty())
        return check;
    check.overshoot = LargestDistance(pieces, size(length) / 2, size(width) / 2);
    if (check.overshoot <= kTouch)
        check.overshoot = 0;
    check.inside = !check.nothingProtected && check.overshoot == 0;
    return check;
}

ZoneSection SectionOf(const SingleRodResult& r, double h, double hx) {
    return SingleSection({h, r.h0, r.r0, r.rx}, hx, Conductor::Rod);
}

ZoneSection SectionOf(const CatenaryResult& r, double hx) {
    return SingleSection({r.h, r.h0, r.r0, r.rx}, hx, Conductor::Cable);
}

ZoneSection SectionOf(const DoubleRodResult& r, double h, double L, double hx) {
    const Top t{h, r.h0, r.r0, r.rx};
    return PairSection(t, t, Heights::Equal, L, r.hc, r.pairCase, hx, Conductor::Rod);
}

ZoneSection SectionOf(const UnequalRodResult& r, double h1, double h2, double L, double hx) {
    return PairSection({h1, r.h01, r.r01, r.rx1}, {h2, r.h02, r.r02, r.rx2}, Heights::Different, L,
                       r.hc, r.pairCase, hx, Conductor::Rod);
}

ZoneSection SectionOf(const DoubleCatenaryResult& r, double L, double hx) {
    const Top t{r.h, r.h0, r.r0, r.rx};
    return PairSection(t, t, Heights::Equal, L, r.hc, r.pairCase, hx, Conductor::Cable);
}

} // namespace vostrel
