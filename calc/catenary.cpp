#include "catenary.h"

namespace vostrel {

CatenaryResult CatenaryZone(double hop, double hx, std::int32_t zoneA, std::int32_t zoneB,
                            const CatenaryResult& previous) {
    // Each constant is held at the width the design rules fix; expressions are
    // evaluated in extended precision and rounded to double when stored.
    constexpr float kSag = 2.0f; // cable of 35-50 mm², span below 120 m
    constexpr long double kA = 0.85L, kABase = 1.35L, kASlope = 0.0025L;
    constexpr long double kB = 0.92L, kBRadius = 1.7L;

    CatenaryResult r = previous;
    r.h = static_cast<double>(static_cast<long double>(hop) - kSag);
    const long double h = r.h;
    if (zoneA == 1) {
        r.h0 = static_cast<double>(kA * h);
        r.r0 = static_cast<double>((kABase - kASlope * h) * h);
        r.rx = static_cast<double>((kABase - kASlope * h) * (h - hx / kA));
    }
    if (zoneB == 1) {
        r.h0 = static_cast<double>(kB * h);
        r.r0 = static_cast<double>(kBRadius * h);
        r.rx = static_cast<double>(kBRadius * (h - hx / kB));
    }
    return r;
}

} // namespace vostrel
