// Drawing geometry of a protection zone and the check of a building against
// its plan: window-free, in metres.
//
// Plan coordinates: x along the rods' axis (along the cables), y across, the
// origin in the middle of the rod system. Two rods stand at x = ∓L/2, y = 0;
// a single catenary runs from x = −a/2 to +a/2 at y = 0; two cables run at
// y = ∓L/2, each from x = −a/2 to +a/2; a single rod stands at the origin.
//
// Section coordinates: x across the cable (along the rods' axis for two
// rods), y height above the ground.
#pragma once

#include "calc/catenary.h"
#include "calc/rodzones.h"

#include <vector>

namespace vostrel {

struct Point {
    double x = 0, y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

struct Segment {
    Point from, to;

    friend bool operator==(const Segment&, const Segment&) = default;
};

// A convex piece of a plan: every point within `radius` of the convex hull of
// `core`. A circle is one core point with its radius, a capsule (band of
// half-width radius with semicircular ends) the two ends of its segment, a
// polygon its vertices counter-clockwise with radius 0.
struct PlanPiece {
    enum class Shape { Circle, Capsule, Polygon };
    Shape shape = Shape::Circle;
    std::vector<Point> core;
    double radius = 0;
};

// The zone's plan at the height hx: the union of `pieces` (none when nothing
// is protected at hx), and the rods (circles of radius 0) and cables
// (capsules of radius 0) themselves.
struct ZonePlan {
    std::vector<PlanPiece> pieces;
    std::vector<PlanPiece> conductors;
};

// Plans from the zone results; a, L are the span and the distance between
// the rods (cables) the results were computed for. Pieces:
// - a rod: the circle of radius rx (of rx1, rx2 for unequal rods) where rx > 0;
// - two rods, unless they count as single or rcx ≤ 0: the waist between them,
//   whose half-width goes linearly from each rod's rx to rcx midway (one
//   convex hexagon when rcx is at least the mean of the two rx, else a
//   trapezoid each side of the middle; a side whose rx is ≤ 0 ends where
//   its half-width reaches 0);
// - a cable: the capsule of half-width rx along the span where rx > 0;
// - two cables, unless they count as single: the strip between them along
//   the span, whole when r′x = L/2 (hx ≤ hc), else a band of width r′x inward
//   from each cable where r′x > rx; and while rcx > 0, beyond each end of the
//   span, the region between the supports that reaches out from the span's
//   end by rx at each cable and by rcx midway, linearly between (as the waist
//   of two rods standing where the cables end, L apart).
ZonePlan PlanOf(const SingleRodResult& r);
ZonePlan PlanOf(const CatenaryResult& r, double a);
ZonePlan PlanOf(const DoubleRodResult& r, double L);
ZonePlan PlanOf(const UnequalRodResult& r, double L);
ZonePlan PlanOf(const DoubleCatenaryResult& r, double a, double L);

// Distance from p to the piece: 0 inside, negative inside for the signed one.
double Distance(const PlanPiece& piece, Point p);
double SignedDistance(const PlanPiece& piece, Point p);

// The piece's boundary as a closed polygon, counter-clockwise, the first
// point not repeated; arcs are polygons with a vertex at least every
// stepDegrees, every vertex on the true boundary.
std::vector<Point> Outline(const PlanPiece& piece, double stepDegrees = 2);

// The signed area of a closed polygon, the first point not repeated:
// positive when it runs counter-clockwise.
double Area(const std::vector<Point>& polygon);

// The boundary of the union of the plan's pieces, as the parts of each
// piece's Outline that no other piece covers (edges shared by two pieces are
// left out). The window fills each piece's Outline and strokes these.
std::vector<Segment> UnionBoundary(const ZonePlan& plan, double stepDegrees = 2);

// The largest distance CheckBuilding may fall short of the true overshoot.
inline constexpr double kOvershootAccuracy = 2.5e-4;

struct BuildingCheck {
    bool inside = false;           // every point of the building lies in the plan
    double overshoot = 0;          // largest distance of a building point from the plan, m
    bool nothingProtected = false; // the plan is empty: overshoot is measured to the rods (cables)
};

// The building's plan rectangle, `width` across (y) and `length` along (x),
// centred at the origin, against the zone's plan.
//
// The overshoot is max over the rectangle of min over the pieces of the
// distance to each piece. It is found by branch and bound on cells of the
// rectangle: the signed distance to a convex piece is convex, and so is a
// blend λ·s_i + (1 − λ)·s_j of two of them, so over a cell each is greatest
// at a corner; the least such corner maximum (over single pieces, pairs and
// λ) bounds the overshoot within the cell from above, the corners' own
// values bound it from below. Cells whose bound cannot beat the largest
// value found by more than kOvershootAccuracy are dropped, the others
// quartered (halved when long and thin). A single convex piece, a rectangle
// within one piece, an edge two pieces share and the ridge midway between two
// pieces are settled without shrinking cells to the accuracy. `inside` means
// no point was found outside, none sticking out by more than
// kOvershootAccuracy.
//
// An empty plan is never inside; its overshoot is the largest distance of a
// building point from the nearest rod or cable. A size of 0, a negative one
// or one that is not a finite number counts as 0, so that the check is of a
// line or of the centre point.
BuildingCheck CheckBuilding(const ZonePlan& plan, double width, double length);

// What a dimension line measures; `rod` is 1 or 2 for the first or second of
// two unequal rods, 0 otherwise (for two equal rods or cables the line is at
// the first one).
enum class Measure { H, H0, Hx, R0, Rx, L, Hc };

struct Dimension {
    Measure what = Measure::H;
    int rod = 0;
    double value = 0;
    Point from, to; // the line measured, in section coordinates
};

// The vertical section: the zone's boundary as polylines from ground to
// ground, the rods as vertical segments, the cables seen end on at their
// height, the level hx and dimension lines. Heights (h, h0, hx, hc) are
// measured up from the ground at the rod (hx at the outer end of rx), radii
// (r0 at the ground, rx at hx) outward from the rod, L between the rods.
// A radius of 0 or below gets no line.
struct ZoneSection {
    std::vector<std::vector<Point>> boundary;
    std::vector<Segment> rods;
    std::vector<Point> cables;
    double hx = 0;
    std::vector<Dimension> dimensions;
};

// A single rod or catenary: the triangle of apex h0 and half-base r0. Two
// rods or cables: the outer slope of each from h0 down to r0 outward, and
// between them straight lines from h0 (h01, h02) at each down to hc midway;
// counting as single, each its own triangle.
ZoneSection SectionOf(const SingleRodResult& r, double h, double hx);
ZoneSection SectionOf(const CatenaryResult& r, double hx);
ZoneSection SectionOf(const DoubleRodResult& r, double h, double L, double hx);
ZoneSection SectionOf(const UnequalRodResult& r, double h1, double h2, double L, double hx);
ZoneSection SectionOf(const DoubleCatenaryResult& r, double L, double hx);

} // namespace vostrel
