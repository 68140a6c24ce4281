// Protection zone of a single catenary (one cable between two supports).
#pragma once

#include <cstdint>

namespace vostrel {

struct CatenaryResult {
    double h = 0;  // catenary height at the greatest sag, m
    double h0 = 0; // top of the protection zone, m
    double r0 = 0; // zone radius at ground level, m
    double rx = 0; // zone radius at the height hx, m
};

// The zone for support height hop and protected height hx. Zone A formulas
// apply when zoneA is 1, then zone B formulas when zoneB is 1 (so zone B
// wins if both are); with neither, the previous h0, r0, rx are kept.
CatenaryResult CatenaryZone(double hop, double hx, std::int32_t zoneA, std::int32_t zoneB,
                            const CatenaryResult& previous);

} // namespace vostrel
