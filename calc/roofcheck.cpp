#include "roofcheck.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <utility>

namespace vostrel {

namespace {

double Size(double s) {
    return std::isfinite(s) && s > 0 ? s : 0.0;
}

// Moving plan coordinates into a frame (its origin at `centre`, its x axis
// turned by angleDegrees) and back.
struct Frame {
    Point centre;
    double c = 1, s = 0;

    explicit Frame(const PlanRectangle& r)
        : centre(r.centre), c(std::cos(r.angleDegrees * std::numbers::pi / 180)),
          s(std::sin(r.angleDegrees * std::numbers::pi / 180)) {
        if (r.angleDegrees == 0)
            c = 1, s = 0;
    }
    Point in(Point p) const {
        const double dx = p.x - centre.x, dy = p.y - centre.y;
        return {c * dx + s * dy, -s * dx + c * dy};
    }
    Point out(Point p) const {
        return {centre.x + c * p.x - s * p.y, centre.y + s * p.x + c * p.y};
    }
};

// SignedDistance without a square root per side: the bounds of the cells
// below take most of a check's time.
double FastSignedDistance(const PlanPiece& piece, Point p) {
    const std::vector<Point>& core = piece.core;
    if (core.size() == 1)
        return std::sqrt((p.x - core[0].x) * (p.x - core[0].x) +
                         (p.y - core[0].y) * (p.y - core[0].y)) -
               piece.radius;
    const auto segment2 = [&](Point a, Point b) {
        const double abx = b.x - a.x, aby = b.y - a.y, apx = p.x - a.x, apy = p.y - a.y;
        const double len2 = abx * abx + aby * aby;
        const double t = len2 > 0 ? std::clamp((apx * abx + apy * aby) / len2, 0.0, 1.0) : 0.0;
        const double dx = apx - t * abx, dy = apy - t * aby;
        return dx * dx + dy * dy;
    };
    if (core.size() == 2)
        return std::sqrt(segment2(core[0], core[1])) - piece.radius;
    bool inside = true;
    double nearest2 = INFINITY;
    for (std::size_t i = 0; i < core.size(); ++i) {
        const Point a = core[i], b = core[(i + 1) % core.size()];
        nearest2 = std::min(nearest2, segment2(a, b));
        if ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x) < 0)
            inside = false;
    }
    return (inside ? -std::sqrt(nearest2) : std::sqrt(nearest2)) - piece.radius;
}

// A piece in the rectangle's frame with its bounding box (the core's, the
// radius added where used).
struct Framed {
    PlanPiece piece;
    double x0, y0, x1, y1;

    explicit Framed(PlanPiece p) : piece(std::move(p)) {
        x0 = x1 = piece.core[0].x, y0 = y1 = piece.core[0].y;
        for (const Point& q : piece.core)
            x0 = std::min(x0, q.x), x1 = std::max(x1, q.x), y0 = std::min(y0, q.y),
            y1 = std::max(y1, q.y);
    }
    // A lower bound of the distance from the cell to the piece.
    double gap(Point c, double hx, double hy) const {
        const double gx = std::max({0.0, x0 - (c.x + hx), (c.x - hx) - x1});
        const double gy = std::max({0.0, y0 - (c.y + hy), (c.y - hy) - y1});
        return std::sqrt(gx * gx + gy * gy) - piece.radius;
    }
};

// Cells with at most this many pieces near them go to CheckBuilding whole.
constexpr std::size_t kFewPieces = 6;
// Cells this small go to CheckBuilding whatever the count.
constexpr double kSmallCell = 0.01;

// The largest distance from the pieces over the rectangle |x − c.x| ≤ hx,
// |y − c.y| ≤ hy, by quartering it until each cell is covered by one piece,
// cannot beat the largest distance found so far, or is near few pieces.
// Over a cell every point lies within u of the piece whose distance at the
// cell's farthest corner is least (a convex distance is greatest at a
// corner), so u bounds the cell from above, and a piece farther than u from
// the whole cell is never the nearest there. The corners' own distances
// bound the answer from below.
class Cells {
public:
    explicit Cells(std::vector<Framed> pieces) : pieces_(std::move(pieces)) {}

    // The largest distance over the rectangle |x − c.x| ≤ hx, |y − c.y| ≤ hy.
    double largest(Point c, double hx, double hy) {
        best_ = 0;
        worst_ = c;
        bestCell_.reset();
        std::vector<int> all(pieces_.size());
        for (std::size_t i = 0; i < all.size(); ++i)
            all[i] = static_cast<int>(i);
        visit(c, hx, hy, all);
        return best_;
    }

    // A point where the largest distance is reached: a cell's corner, or
    // within the settled cell that gave it, halved across its longer side
    // again and again, keeping the half that sticks out farther, until it
    // is a fraction of a millimetre.
    Point worst() const {
        if (!bestCell_)
            return worst_;
        auto [c, hx, hy, near] = *bestCell_;
        while (std::max(hx, hy) > kOvershootAccuracy) {
            const bool alongX = hx >= hy;
            (alongX ? hx : hy) /= 2;
            const Point a = alongX ? Point{c.x - hx, c.y} : Point{c.x, c.y - hy};
            const Point b = alongX ? Point{c.x + hx, c.y} : Point{c.x, c.y + hy};
            c = overshoot(a, hx, hy, near) >= overshoot(b, hx, hy, near) ? a : b;
        }
        return c;
    }

private:
    struct Cell {
        Point c;
        double hx, hy;
        std::vector<int> near;
    };

    void visit(Point c, double hx, double hy, const std::vector<int>& near) {
        const std::array<Point, 4> corners{Point{c.x - hx, c.y - hy}, Point{c.x + hx, c.y - hy},
                                           Point{c.x + hx, c.y + hy}, Point{c.x - hx, c.y + hy}};
        std::array<double, 4> least{INFINITY, INFINITY, INFINITY, INFINITY};
        // Each piece's distance from the cell is at least its least corner
        // distance less the cell's diagonal.
        const double diagonal = 2 * std::hypot(hx, hy);
        std::vector<double> gap(near.size());
        double u = INFINITY;
        for (std::size_t n = 0; n < near.size(); ++n) {
            const Framed& f = pieces_[static_cast<std::size_t>(near[n])];
            double farthest = -INFINITY, nearest = INFINITY;
            for (std::size_t k = 0; k < corners.size(); ++k) {
                const double d = FastSignedDistance(f.piece, corners[k]);
                least[k] = std::min(least[k], d);
                farthest = std::max(farthest, d);
                nearest = std::min(nearest, d);
            }
            u = std::min(u, farthest);
            gap[n] = std::max(nearest - diagonal, f.gap(c, hx, hy));
        }
        for (std::size_t k = 0; k < corners.size(); ++k)
            if (least[k] > best_) {
                best_ = least[k];
                worst_ = corners[k];
                bestCell_.reset();
            }
        if (u <= best_ + kOvershootAccuracy)
            return;
        std::vector<int> nearer;
        for (std::size_t n = 0; n < near.size(); ++n)
            if (gap[n] <= u + 1e-9)
                nearer.push_back(near[n]);
        if (nearer.size() <= kFewPieces || std::max(hx, hy) < kSmallCell)
            return settle(c, hx, hy, nearer);
        if (hx >= 2 * hy) {
            visit({c.x - hx / 2, c.y}, hx / 2, hy, nearer);
            visit({c.x + hx / 2, c.y}, hx / 2, hy, nearer);
        } else if (hy >= 2 * hx) {
            visit({c.x, c.y - hy / 2}, hx, hy / 2, nearer);
            visit({c.x, c.y + hy / 2}, hx, hy / 2, nearer);
        } else {
            for (double sx : {-0.5, 0.5})
                for (double sy : {-0.5, 0.5})
                    visit({c.x + sx * hx, c.y + sy * hy}, hx / 2, hy / 2, nearer);
        }
    }

    void settle(Point c, double hx, double hy, const std::vector<int>& near) {
        if (const double found = overshoot(c, hx, hy, near); found > best_) {
            best_ = found;
            bestCell_ = Cell{c, hx, hy, near};
        }
    }

    // CheckBuilding's overshoot of the cell against the pieces near it.
    double overshoot(Point c, double hx, double hy, const std::vector<int>& near) const {
        ZonePlan cell;
        for (int i : near) {
            PlanPiece p = pieces_[static_cast<std::size_t>(i)].piece;
            for (Point& q : p.core)
                q = {q.x - c.x, q.y - c.y};
            cell.pieces.push_back(std::move(p));
        }
        return CheckBuilding(cell, 2 * hy, 2 * hx).overshoot;
    }

    std::vector<Framed> pieces_;
    double best_ = 0;
    Point worst_;                  // the corner that gave best_, unless
    std::optional<Cell> bestCell_; // a settled cell gave it
};

// The part of a convex polygon on the left of a→b (side > 0) or on its
// right (side < 0).
std::vector<Point> Clip(const std::vector<Point>& polygon, Point a, Point b, double side) {
    const auto at = [&](Point p) {
        return side * ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x));
    };
    std::vector<Point> out;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const Point p = polygon[i], q = polygon[(i + 1) % polygon.size()];
        const double fp = at(p), fq = at(q);
        if (fp >= 0)
            out.push_back(p);
        if ((fp >= 0) != (fq >= 0)) {
            const double t = fp / (fp - fq);
            out.push_back({p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)});
        }
    }
    return out;
}

struct Box {
    double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;

    explicit Box(const std::vector<Point>& polygon) {
        for (const Point& p : polygon)
            x0 = std::min(x0, p.x), x1 = std::max(x1, p.x), y0 = std::min(y0, p.y),
            y1 = std::max(y1, p.y);
    }
    bool meets(const Box& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

// UncoveredParts cuts the rectangle into at most kGrid × kGrid cells.
constexpr int kGrid = 16;

// Fragments too small to see or to hatch are dropped, m².
constexpr double kLeastArea = 1e-8;

// Each fragment minus the convex polygon: what lies outside its first side,
// then what lies inside that one but outside the second, and so on.
std::vector<std::vector<Point>> Subtract(std::vector<std::vector<Point>> fragments,
                                         const std::vector<Point>& cut) {
    const Box cutBox(cut);
    std::vector<std::vector<Point>> left;
    for (auto& fragment : fragments) {
        if (!Box(fragment).meets(cutBox)) {
            left.push_back(std::move(fragment));
            continue;
        }
        std::vector<Point> rest = std::move(fragment);
        for (std::size_t k = 0; k < cut.size() && !rest.empty(); ++k) {
            const Point a = cut[k], b = cut[(k + 1) % cut.size()];
            bool in = false, out = false;
            for (const Point& p : rest) {
                const double side = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
                (side >= 0 ? in : out) = true;
            }
            if (!out)
                continue; // wholly on the inner side of this side
            if (!in) {    // wholly outside the polygon
                left.push_back(std::move(rest));
                rest.clear();
                break;
            }
            if (auto outside = Clip(rest, a, b, -1); Area(outside) > kLeastArea)
                left.push_back(std::move(outside));
            rest = Clip(rest, a, b, 1);
            if (!(Area(rest) > kLeastArea))
                rest.clear();
        }
    }
    return left;
}

} // namespace

PlanRectangle RoofOf(const Building& b) {
    return {{Size(b.length) / 2, Size(b.width) / 2}, b.width, b.length, 0};
}

RoofCheck CheckRectangle(const ZonePlan& plan, const PlanRectangle& rectangle) {
    RoofCheck check;
    check.nothingProtected = plan.pieces.empty();
    const std::vector<PlanPiece>& pieces = check.nothingProtected ? plan.conductors : plan.pieces;
    const Frame frame(rectangle);
    std::vector<Framed> framed;
    for (PlanPiece piece : pieces) {
        if (piece.core.empty())
            continue;
        for (Point& p : piece.core)
            p = frame.in(p);
        framed.emplace_back(std::move(piece));
    }
    if (framed.empty())
        return check;
    Cells cells(std::move(framed));
    const double hx = Size(rectangle.length) / 2, hy = Size(rectangle.width) / 2;
    check.overshoot = cells.largest({0, 0}, hx, hy);
    if (check.overshoot <= 1e-9)
        check.overshoot = 0;
    check.inside = !check.nothingProtected && check.overshoot == 0;
    if (!check.inside)
        check.worst = frame.out(cells.worst());
    return check;
}

RoofCheck CheckRoof(const ZonePlan& plan, const Building& building) {
    return CheckRectangle(plan, RoofOf(building));
}

Uncovered UncoveredParts(const ZonePlan& plan, const PlanRectangle& rectangle, double stepDegrees) {
    const Frame frame(rectangle);
    const double hx = Size(rectangle.length) / 2, hy = Size(rectangle.width) / 2;
    if (!(hx > 0 && hy > 0))
        return {};
    // Each piece in the rectangle's frame, with its outline.
    std::vector<Framed> pieces;
    std::vector<std::vector<Point>> outlines;
    for (PlanPiece piece : plan.pieces) {
        std::vector<Point> outline = Outline(piece, stepDegrees);
        if (outline.size() < 3 || !(Area(outline) > kLeastArea))
            continue;
        for (Point& p : outline)
            p = frame.in(p);
        for (Point& p : piece.core)
            p = frame.in(p);
        pieces.emplace_back(std::move(piece));
        outlines.push_back(std::move(outline));
    }
    // The rectangle in a grid of cells, each cut by the pieces that meet it
    // only: a piece cuts a small cell with a few of its sides, where the
    // whole rectangle would be cut into a fragment for every side.
    const int nx = std::clamp(static_cast<int>(std::ceil(hx / std::max(hx, hy) * kGrid)), 1, kGrid);
    const int ny = std::clamp(static_cast<int>(std::ceil(hy / std::max(hx, hy) * kGrid)), 1, kGrid);
    const double cx = hx / nx, cy = hy / ny, diagonal = std::hypot(cx, cy);
    Uncovered parts;
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j) {
            const Point c{-hx + (2 * i + 1) * cx, -hy + (2 * j + 1) * cy};
            std::vector<std::vector<Point>> left{{{c.x - cx, c.y - cy},
                                                  {c.x + cx, c.y - cy},
                                                  {c.x + cx, c.y + cy},
                                                  {c.x - cx, c.y + cy}}};
            for (std::size_t k = 0; k < pieces.size() && !left.empty(); ++k) {
                if (pieces[k].gap(c, cx, cy) > 0 ||
                    FastSignedDistance(pieces[k].piece, c) >= diagonal)
                    continue; // the piece does not meet the cell
                if (std::max({FastSignedDistance(pieces[k].piece, {c.x - cx, c.y - cy}),
                              FastSignedDistance(pieces[k].piece, {c.x + cx, c.y - cy}),
                              FastSignedDistance(pieces[k].piece, {c.x + cx, c.y + cy}),
                              FastSignedDistance(pieces[k].piece, {c.x - cx, c.y + cy})}) <= 0) {
                    left.clear(); // the cell lies in the piece
                    break;
                }
                left = Subtract(std::move(left), outlines[k]);
            }
            for (auto& part : left) {
                for (Point& p : part)
                    p = frame.out(p);
                parts.push_back(std::move(part));
            }
        }
    return parts;
}

} // namespace vostrel
