// Protection zones of single and double rods and of a double catenary after
// RD 34.21.122-87, Appendix 3 (the single catenary is in catenary.h).
//
// Every operation follows the same rules as CatenaryZone: zone A formulas
// apply when zoneA is 1, then zone B formulas when zoneB is 1 (zone B wins if
// both are); with neither flag 1 the previous result is returned as given.
// Constants and expressions are evaluated in extended precision and rounded
// to double when stored; a stored value (h0, r0, hc, ...) is the one later
// formulas read, so every quantity is computed from the figures shown.
#pragma once

#include "calc/catenary.h"
#include "calc/zone.h"

#include <cstdint>

namespace vostrel {

// Which formulas of the inner region (between two rods or cables at the
// distance L) applied; h is the height of the rod (cable) the case is taken
// against.
enum class PairCase {
    Close,  // L ≤ h: the inner region is as high and wide as the end regions
    Medium, // h < L ≤ 2h (zone A) or h < L ≤ 6h (zone B): hc lowered, rc = r0
    Wide,   // 2h < L ≤ 4h, zone A only: hc lowered, rc narrowed as well
    Single, // beyond the limit: two single rods (cables), no inner region
};

// Code 1: a single rod of height h.
struct SingleRodResult {
    double h0 = 0; // top of the zone, m
    double r0 = 0; // zone radius at ground level, m
    double rx = 0; // zone radius at the height hx, m (≤ 0: nothing protected)
    ZoneKind zone = ZoneKind::None;

    friend bool operator==(const SingleRodResult&, const SingleRodResult&) = default;
};

// Code 2: two rods of height h at the distance L.
struct DoubleRodResult {
    double h0 = 0, r0 = 0, rx = 0;        // end regions: the single-rod zone of each rod
    double hc = 0;                        // lowest height of the zone midway between the rods, m
    double rc = 0;                        // half-width midway at ground level, m
    double rcx = 0;                       // half-width midway at the height hx, m
    PairCase pairCase = PairCase::Single; // Single: hc, rc, rcx are 0
    ZoneKind zone = ZoneKind::None;

    friend bool operator==(const DoubleRodResult&, const DoubleRodResult&) = default;
};

// Code 3: rods of heights h1 (the first) and h2 (the second) at the distance L.
struct UnequalRodResult {
    double h01 = 0, r01 = 0, rx1 = 0; // single-rod zone of the first rod
    double h02 = 0, r02 = 0, rx2 = 0; // single-rod zone of the second rod
    double hc1 = 0;                   // hc of two rods of height h1 at L
    double hc2 = 0;                   // hc of two rods of height h2 at L
    double hc = 0;                    // (hc1 + hc2)/2; may exceed h02 (kept as computed)
    double rc = 0;                    // (r01 + r02)/2
    double rcx = 0;                   // rc(hc − hx)/hc
    // The case of L against the lower rod: Single when L exceeds 4·hmin
    // (zone A) or 6·hmin (zone B); hc1, hc2, hc, rc, rcx are then 0.
    PairCase pairCase = PairCase::Single;
    PairCase hc1Case = PairCase::Single; // the case of L against h1 that gave hc1
    PairCase hc2Case = PairCase::Single; // the case of L against h2 that gave hc2
    ZoneKind zone = ZoneKind::None;

    friend bool operator==(const UnequalRodResult&, const UnequalRodResult&) = default;
};

// Code 5: two cables of equal height at the distance L, each on supports of
// height hop with the span a.
struct DoubleCatenaryResult {
    double h = 0;                   // cable height at the greatest sag, m
    double h0 = 0, r0 = 0, rx = 0;  // each cable's single-catenary zone
    double hc = 0, rc = 0, rcx = 0; // midway between the cables, as for two rods
    // r′x: how far from each cable towards the other the zone reaches at hx,
    // m. L/2 for hx ≤ hc (the whole strip between the cables protected),
    // (L/2)(h0 − hx)/(h0 − hc) for hc < hx < h0, 0 for hx ≥ h0 (nothing
    // between the cables protected; never the formula's negative value) and 0
    // when the cables count as single; hx compared with hc and h0 as typed.
    double rpx = 0;
    PairCase pairCase = PairCase::Single; // Single: hc, rc, rcx, rpx are 0
    ZoneKind zone = ZoneKind::None;

    friend bool operator==(const DoubleCatenaryResult&, const DoubleCatenaryResult&) = default;
};

// Code 1: rod height h, protected height hx.
SingleRodResult SingleRodZone(double h, double hx, std::int32_t zoneA, std::int32_t zoneB,
                              const SingleRodResult& previous);

// Code 2: rod height h, distance L between the rods, protected height hx.
DoubleRodResult DoubleRodZone(double h, double L, double hx, std::int32_t zoneA, std::int32_t zoneB,
                              const DoubleRodResult& previous);

// Code 3: rod heights h1 and h2 (either may be the higher), distance L,
// protected height hx.
UnequalRodResult UnequalRodZone(double h1, double h2, double L, double hx, std::int32_t zoneA,
                                std::int32_t zoneB, const UnequalRodResult& previous);

// Code 5: support height hop, span a, distance L between the cables,
// protected height hx. As CatenaryZone: h follows from hop and a whatever the
// flags, and a span of 150 m or more returns previous unchanged.
DoubleCatenaryResult DoubleCatenaryZone(double hop, double a, double L, double hx,
                                        std::int32_t zoneA, std::int32_t zoneB,
                                        const DoubleCatenaryResult& previous);

// The one message a calculation calls for, the first that applies in this
// order (hx compared as typed, AtLeast):
enum class ZoneWarning {
    None,
    HxNotBelowTop,          // hx ≥ h0 (code 3: hx ≥ the higher of h01, h02)
    Single,                 // the rods (cables) count as single ones
    HxNotBelowFirstRodTop,  // code 3: h01 < h02 and h01 ≤ hx: the first rod protects nothing
    HxNotBelowSecondRodTop, // code 3: h02 ≤ h01 and h02 ≤ hx: the second rod protects nothing
    HxNotBelowMidHeight,    // an inner region exists and hx ≥ hc
};

ZoneWarning WarningOf(const SingleRodResult& r, double hx);
ZoneWarning WarningOf(const CatenaryResult& r, double hx);
ZoneWarning WarningOf(const DoubleRodResult& r, double hx);
ZoneWarning WarningOf(const UnequalRodResult& r, double hx);
ZoneWarning WarningOf(const DoubleCatenaryResult& r, double hx);

} // namespace vostrel
