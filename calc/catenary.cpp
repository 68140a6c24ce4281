#include "catenary.h"

namespace vostrel {

std::optional<double> CatenaryHeight(double hop, double a) {
    // The sag of a cable of 35-50 mm², held at the width the design rules fix.
    constexpr float kSag = 2.0f;         // span below 120 m
    constexpr float kLongSpanSag = 3.0f; // span of 120 m up to 150 m
    if (!CatenarySpanAllowed(a))
        return std::nullopt;
    const float sag = Below(a, kLongCatenarySpan) ? kSag : kLongSpanSag;
    return static_cast<double>(static_cast<long double>(hop) - sag);
}

CatenaryResult CatenaryZone(double hop, double a, double hx, std::int32_t zoneA, std::int32_t zoneB,
                            const CatenaryResult& previous) {
    // Each constant is held at the width the design rules fix; expressions are
    // evaluated in extended precision and rounded to double when stored. h is
    // stored before the zone formulas use it.
    constexpr long double kA = 0.85L, kABase = 1.35L, kASlope = 0.0025L;
    constexpr long double kB = 0.92L, kBRadius = 1.7L;

    const std::optional<double> height = CatenaryHeight(hop, a);
    if (!height)
        return previous;
    CatenaryResult r = previous;
    r.h = *height;
    const long double h = r.h;
    if (zoneA == 1) {
        r.h0 = static_cast<double>(kA * h);
        r.r0 = static_cast<double>((kABase - kASlope * h) * h);
        r.rx = static_cast<double>((kABase - kASlope * h) * (h - hx / kA));
        r.zone = ZoneKind::A;
    }
    if (zoneB == 1) {
        r.h0 = static_cast<double>(kB * h);
        r.r0 = static_cast<double>(kBRadius * h);
        r.rx = static_cast<double>(kBRadius * (h - hx / kB));
        r.zone = ZoneKind::B;
    }
    return r;
}

} // namespace vostrel
