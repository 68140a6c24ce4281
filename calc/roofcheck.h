// The check of a rectangle of any position and direction (a roof on the
// site plan) against a zone's plan: whether it lies inside, by how much it
// sticks out, where, and which parts of it are outside.
#pragma once

#include "calc/zonegeometry.h"

#include <vector>

namespace vostrel {

// The building on the site plan: the roof [0, length] × [0, width] at `height`.
struct Building {
    double width = 0;  // S, along y, m
    double length = 0; // L, along x, m
    double height = 0; // h, m
};

// A rectangle `length` along its own x axis and `width` across, centred at
// `centre` with its x axis turned by angleDegrees from the plan's x axis.
struct PlanRectangle {
    Point centre;
    double width = 0, length = 0;
    double angleDegrees = 0;
};

PlanRectangle RoofOf(const Building& building);

struct RoofCheck {
    bool inside = false;           // every point of the rectangle lies in the plan
    double overshoot = 0;          // largest distance of a rectangle point from the plan, m
    bool nothingProtected = false; // the plan is empty: overshoot is measured to the conductors
    // A point of the rectangle (plan coordinates) that lies `overshoot` away
    // from the plan, to within a few millimetres; meaningless when inside.
    Point worst;
};

// CheckBuilding for a rectangle anywhere: the largest distance of a point
// of the rectangle from the plan, found within kOvershootAccuracy below the
// truth, as CheckBuilding finds it for the plan moved so that the rectangle
// is centred at the origin along x. For plans of many pieces the rectangle is
// first quartered into cells, each dropping the pieces that cannot be nearest
// to any of its points, and a cell near few pieces goes to CheckBuilding;
// cells already covered by one piece, or unable to stick out farther than
// the largest distance found, are dropped. An empty plan is never inside; its
// overshoot is measured to the conductors (rods, cables).
RoofCheck CheckRectangle(const ZonePlan& plan, const PlanRectangle& rectangle);
RoofCheck CheckRoof(const ZonePlan& plan, const Building& building);

// The part of the rectangle outside the plan, for hatching: disjoint convex
// polygons (counter-clockwise, in plan coordinates) whose union it is, cut
// along a grid of at most 16 × 16 cells of the rectangle. Fill them, do not
// stroke them: neighbours share sides. Round pieces are taken as their
// Outline with a vertex every stepDegrees, so the part is larger than the
// true one by at most a piece's radius·(1 − cos(stepDegrees/2)) (5 mm for
// 30 m at 2°). Slivers under 0,01 mm² are left out.
using Uncovered = std::vector<std::vector<Point>>;
Uncovered UncoveredParts(const ZonePlan& plan, const PlanRectangle& rectangle,
                         double stepDegrees = 2);

} // namespace vostrel
