// Sentences the report writes about a calculated zone: which case of the
// instruction gave the region between two rods (cables), and whether objects
// of height hx are protected. Numbers in the one-decimal format with the
// given separator.
#pragma once

#include "calc/rodtypes.h"

#include <string>
#include <string_view>

namespace vostrel {

// "h < L ≤ 2h: hc = h0 − (0,17 + 3·10⁻⁴h)(L − h), rc = r0" and the like; empty
// for the single rod and the single catenary, and before any calculation.
std::string CaseText(std::int32_t code, const RodZone& zone, std::string_view separator);

// Whether objects of height hx are in the zone: plainly "not protected" when
// hx reaches the top of the zone (of the higher of two unequal rods) or rx is
// not positive, the end regions only when the inner region does not reach
// hx; between the tops of two unequal rods, what the higher rod and the
// region between them still protect. hx is compared with the tops as typed
// (AtLeast). Ends with a full stop.
std::string ConclusionText(std::int32_t code, const RodZone& zone, double hx,
                           std::string_view separator);

// The verdict on the building: "Здание в зоне защиты на высоте hx." or
// "Здание выходит из зоны защиты на высоте hx на 0,4 м.", with a second
// sentence when hx is below the building's height.
std::string VerdictText(const BuildingCheck& check, double hx, double buildingHeight,
                        std::string_view separator);

} // namespace vostrel
