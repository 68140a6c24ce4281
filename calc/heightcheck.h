// The building checked at its own height: a zone narrows as it rises, so a
// building is protected when its roof rectangle lies in the zone at its
// height h, whatever height hx the rod page computed the zone for.
#pragma once

#include "calc/rodtypes.h"

#include <string>
#include <string_view>

namespace vostrel {

// The zone of the same rods and zone type at another protected height `hx`
// (the inputs' last one replaced); a zone of no type is returned as it is.
RodZone ZoneAtHeight(std::int32_t code, const ZoneInputs& inputs, const RodZone& zone, double hx);

// The top of the zone: h0, the higher of h01 and h02 for two unequal rods.
double ZoneTop(const RodZone& zone);

struct HeightCheck {
    double height = 0;   // the building's h
    double top = 0;      // the zone's top
    BuildingCheck check; // the roof rectangle, centred, against the plan at h
    bool tallerThanZone() const { return height >= top; }
};

// The centred building of `width` x `length` x `height` against the zone at
// `height`.
HeightCheck CheckAtHeight(std::int32_t code, const ZoneInputs& inputs, const RodZone& zone,
                          double width, double length, double height);

// The verdict: "Здание в зоне защиты на своей высоте h = 7,0 м." and the like.
std::string HeightVerdictText(const HeightCheck& check, std::string_view separator);

// When the rod page's hx differs from h: what the plan shows and what the
// check at h found; empty when they are equal.
std::string HeightNoteText(const HeightCheck& check, double hx, std::string_view separator);

} // namespace vostrel
