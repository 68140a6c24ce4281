// Rod systems placed on the site plan, and the verdict for the building at
// its own height.
//
// Site coordinates: the origin at a corner of the building, x along its
// length L, y along its width S, in metres; the roof is the rectangle
// [0, L] × [0, S] at the building's height h. A rod type's own plan
// (zonegeometry.h: centred between its rods, x along their axis) is placed by
// moving its origin to (x, y) and turning its x axis by `angleDegrees`
// counter-clockwise from the site's x axis.
#pragma once

#include "calc/rodtypes.h"
#include "calc/roofcheck.h"
#include "calc/zone.h"

#include <cstdint>

namespace vostrel {

struct Placement {
    double x = 0, y = 0;     // the point midway between the rods (cables), m
    double angleDegrees = 0; // the rods' axis (the cables) against the x axis

    friend bool operator==(const Placement&, const Placement&) = default;
};

// Today's placement: the middle of the building, the axis along its length.
Placement DefaultPlacement(const Building& building);

// A point of a rod type's own plan in site coordinates.
Point ToSite(const Placement& placement, Point local);

// The plan moved to the placement: every piece and conductor turned and
// moved as a whole (the pieces stay convex and counter-clockwise).
ZonePlan Placed(const ZonePlan& plan, const Placement& placement);

// The inputs of rod type `code` with the protected height hx replaced.
ZoneInputs WithHx(std::int32_t code, ZoneInputs inputs, double hx);

// The verdict of a rod type placed beside (or over) the building: its zone
// recomputed with the same inputs but hx = the building's height (whatever
// hx the rod page holds), the plan of that zone placed, and the roof checked
// against it. When the building's height reaches the top of the zone (or
// neither zone flag is 1, or a catenary's span has no cable height) nothing
// is protected at h: the plan has no pieces, the verdict is "not inside"
// with check.nothingProtected set and the overshoot measured to the rods
// (cables) themselves.
struct RoofVerdict {
    RodZone zone;  // the zone at hx = h
    ZonePlan plan; // its plan at h, in site coordinates
    RoofCheck check;
    Uncovered uncovered; // the roof outside the plan; empty when inside
};

RoofVerdict RoofVerdictOf(std::int32_t code, const ZoneInputs& inputs, ZoneFlags flags,
                          const Placement& placement, const Building& building);

} // namespace vostrel
