// Protection zone of a single catenary (one cable between two supports).
#pragma once

#include "calc/zone.h"

#include <cstdint>
#include <optional>

namespace vostrel {

// The instruction gives the cable height only for spans below 150 m; the
// window checks the span (RefusalOf, CatenarySpanAllowed) before calculating.
inline constexpr double kMaxCatenarySpan = 150;
// From this span on the cable sags 3 m instead of 2 m.
inline constexpr double kLongCatenarySpan = 120;

// A span typed as 150 m is refused, one that is not a number too.
inline bool CatenarySpanAllowed(double a) {
    return Below(a, kMaxCatenarySpan);
}

// Cable height at the greatest sag for support height hop and span a:
// hop − 2 for a < 120 m, hop − 3 for 120 ≤ a < 150 m; none for a ≥ 150 m
// (or a span that is not a number).
std::optional<double> CatenaryHeight(double hop, double a);

struct CatenaryResult {
    double h = 0;                   // catenary height at the greatest sag, m
    double h0 = 0;                  // top of the protection zone, m
    double r0 = 0;                  // zone radius at ground level, m
    double rx = 0;                  // zone radius at the height hx, m
    ZoneKind zone = ZoneKind::None; // the formulas h0, r0, rx came from

    friend bool operator==(const CatenaryResult&, const CatenaryResult&) = default;
};

// The zone for support height hop, span a and protected height hx. h follows
// from hop and a (CatenaryHeight); zone A formulas apply when zoneA is 1, then
// zone B formulas when zoneB is 1 (so zone B wins if both are); with neither,
// the previous h0, r0, rx are kept. A span the instruction gives no height for
// (a ≥ 150 m) returns previous unchanged.
CatenaryResult CatenaryZone(double hop, double a, double hx, std::int32_t zoneA, std::int32_t zoneB,
                            const CatenaryResult& previous);

} // namespace vostrel
