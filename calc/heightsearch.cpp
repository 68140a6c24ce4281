#include "heightsearch.h"

#include <algorithm>

namespace vostrel {

namespace {

// A roof point farther than this outside the zone refutes a height without
// the full check, which accepts nothing sticking out by more than
// kOvershootAccuracy.
constexpr double kRefuting = 1e-3;

bool Refutes(const ZonePlan& plan, Point p) {
    for (const PlanPiece& piece : plan.pieces)
        if (SignedDistance(piece, p) <= kRefuting)
            return false;
    return true;
}

std::vector<Point> FirstWitnesses(const Building& b) {
    const PlanRectangle roof = RoofOf(b);
    const double x = roof.centre.x, y = roof.centre.y;
    return {{0, 0},     {2 * x, 0}, {2 * x, 2 * y}, {0, 2 * y}, {x, 0},
            {2 * x, y}, {x, 2 * y}, {0, y},         {x, y}};
}

} // namespace

HeightSearch LeastProtectingHeight(const std::function<ZonePlan(double)>& planAt,
                                   const Building& building) {
    std::vector<Point> witnesses = FirstWitnesses(building);
    for (int step = 1; step <= kHeightSteps; ++step) {
        const double height = step / 10.0;
        const ZonePlan plan = planAt(height);
        const auto refuting = std::find_if(witnesses.begin(), witnesses.end(),
                                           [&](Point p) { return Refutes(plan, p); });
        if (refuting != witnesses.end()) {
            std::rotate(witnesses.begin(), refuting, refuting + 1); // tried first next time
            continue;
        }
        const RoofCheck check = CheckRoof(plan, building);
        if (check.inside)
            return {height, 0};
        witnesses.insert(witnesses.begin(), check.worst);
    }
    return {std::nullopt, CheckRoof(planAt(kHeightSteps / 10.0), building).overshoot};
}

int SearchedInput(std::int32_t code, const ZoneInputs& inputs) {
    const bool secondLower = code == kUnequalRods && inputs[1] < inputs[0];
    return secondLower ? 1 : 0;
}

ZoneInputs WithHeight(std::int32_t code, ZoneInputs inputs, double height) {
    inputs[static_cast<std::size_t>(SearchedInput(code, inputs))] = height;
    return inputs;
}

HeightSearch LeastHeight(std::int32_t code, const ZoneInputs& inputs, ZoneFlags flags,
                         const Placement& placement, const Building& building) {
    const ZoneInputs atRoof = WithHx(code, inputs, building.height);
    return LeastProtectingHeight(
        [&](double height) {
            const ZoneInputs in = WithHeight(code, atRoof, height);
            return Placed(PlanOf(in, ZoneOf(code, in, flags.zoneA, flags.zoneB, RodZones{})),
                          placement);
        },
        building);
}

std::variant<HeightSearch, RodInputError>
LeastSystemHeight(const std::vector<Rod>& rods, ZoneFlags flags, const Building& building) {
    std::vector<Rod> raised = rods;
    for (Rod& rod : raised)
        rod.h = kHeightSteps / 10.0;
    if (const auto checked = CheckRods(raised); !checked)
        return checked.reason();
    const DelaunayGraph graph = Delaunay(PositionsOf(raised));
    return LeastProtectingHeight(
        [&](double height) {
            for (Rod& rod : raised)
                rod.h = height;
            return SystemZone(raised, graph, building.height, flags).plan;
        },
        building);
}

} // namespace vostrel
