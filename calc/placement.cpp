#include "placement.h"

#include <cmath>
#include <numbers>

namespace vostrel {

Placement DefaultPlacement(const Building& building) {
    const PlanRectangle roof = RoofOf(building);
    return {roof.centre.x, roof.centre.y, 0};
}

Point ToSite(const Placement& placement, Point local) {
    if (placement.angleDegrees == 0)
        return {placement.x + local.x, placement.y + local.y};
    const double t = placement.angleDegrees * std::numbers::pi / 180;
    const double c = std::cos(t), s = std::sin(t);
    return {placement.x + c * local.x - s * local.y, placement.y + s * local.x + c * local.y};
}

ZonePlan Placed(const ZonePlan& plan, const Placement& placement) {
    ZonePlan placed = plan;
    for (auto* pieces : {&placed.pieces, &placed.conductors})
        for (PlanPiece& piece : *pieces)
            for (Point& p : piece.core)
                p = ToSite(placement, p);
    return placed;
}

ZoneInputs WithHx(std::int32_t code, ZoneInputs inputs, double hx) {
    return WithInput(code, inputs, &RodInputs::hx, hx);
}

RoofVerdict RoofVerdictOf(std::int32_t code, const ZoneInputs& inputs, ZoneFlags flags,
                          const Placement& placement, const Building& building) {
    const ZoneInputs atRoof = WithHx(code, inputs, building.height);
    RoofVerdict verdict{ZoneOf(code, atRoof, flags.zoneA, flags.zoneB, RodZones{}), {}, {}, {}};
    verdict.plan = Placed(PlanOf(atRoof, verdict.zone), placement);
    verdict.check = CheckRoof(verdict.plan, building);
    if (!verdict.check.inside)
        verdict.uncovered = UncoveredParts(verdict.plan, RoofOf(building));
    return verdict;
}

} // namespace vostrel
