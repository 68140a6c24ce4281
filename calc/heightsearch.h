// The least rod height that protects the building at its own height, for a
// placed rod type or a rod system, in steps of 0,1 m up to 150 m.
//
// Coverage need not grow steadily with the height (a pair joins when its
// distance falls within its limit), so the heights are tried from the lowest
// up and the first that protects is the answer. Each height is first tried
// at a few roof points kept from earlier tries (corners, middles of the
// sides, the centre, and the worst point of every failed full check): one
// lying more than 1 mm outside the zone refutes it at once; a height no such
// point refutes gets the full check (CheckRoof). So the height found passes
// the full check, and the one 0,1 m lower either failed it or has a roof
// point more than 1 mm outside its zone, which the full check could not
// accept either.
#pragma once

#include "calc/placement.h"
#include "calc/rodsystem.h"

#include <functional>
#include <optional>
#include <variant>

namespace vostrel {

inline constexpr double kHeightStep = 0.1;                                      // m
inline constexpr int kHeightSteps = static_cast<int>(kMaxRodHeight * 10 + 0.5); // to 150 m

struct HeightSearch {
    std::optional<double> height; // the least protecting height, m; none up to 150 m
    // With no height found: how far the roof still sticks out of the zone at
    // 150 m, the highest height tried, m.
    double shortfall = 0;
};

// The search over any family of plans (site coordinates) given by height.
HeightSearch LeastProtectingHeight(const std::function<ZonePlan(double)>& planAt,
                                   const Building& building);

// The height the search varies for rod type `code`: the rod height of a
// single rod and of two equal rods, the support height hоп of a catenary
// (the cable hangs 2 m, from a 120 m span 3 m, lower), and for two unequal
// rods the height of the lower one as typed (the other keeps its height; the
// searched one may pass it). The inputs with `height` put in that place.
ZoneInputs WithHeight(std::int32_t code, ZoneInputs inputs, double height);
// The row of the inputs (from 0) that WithHeight replaces.
int SearchedInput(std::int32_t code, const ZoneInputs& inputs);

// The least height for a placed rod type in the zone of `flags`; hx of the
// inputs is ignored (the building's height is protected). A catenary span of
// 150 m or more has no cable height: no height is found, and the shortfall is
// measured to the cable itself.
HeightSearch LeastHeight(std::int32_t code, const ZoneInputs& inputs, ZoneFlags flags,
                         const Placement& placement, const Building& building);

// The least height common to all rods of a system at their positions (their
// own heights are ignored, and not checked).
std::variant<HeightSearch, RodInputError>
LeastSystemHeight(const std::vector<Rod>& rods, ZoneFlags flags, const Building& building);

} // namespace vostrel
