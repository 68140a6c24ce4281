#include "rodzones.h"

#include <algorithm>

namespace vostrel {

namespace {

// Single-rod zone: h0 = top·h; r0 = (base − slope·h)h; rx = (base − slope·h)(h − hx/top).
struct ConeRule {
    long double top, base, slope;
};
constexpr ConeRule kRodA{0.85L, 1.1L, 0.002L};
constexpr ConeRule kRodB{0.92L, 1.5L, 0.0L};

struct Cone {
    double h0, r0, rx;
};

Cone RodCone(double h, double hx, const ConeRule& k) {
    const long double hh = h, factor = k.base - k.slope * hh;
    return {static_cast<double>(k.top * hh), static_cast<double>(factor * hh),
            static_cast<double>(factor * (hh - hx / k.top))};
}

// Inner region of two rods (cables) of height h at the distance L: midway the
// zone comes down to hc = h0 − (drop + dropSlope·h)(L − h); rc stays r0 up to
// L = mediumLimit·h and narrows by 0.2(L − 2h)/h beyond, up to L = limit·h.
struct PairRule {
    long double drop, dropSlope, mediumLimit, limit;
};
constexpr PairRule kRodPairA{0.17L, 3e-4L, 2, 4};
constexpr PairRule kRodPairB{0.14L, 0.0L, 6, 6};
constexpr PairRule kCablePairA{0.14L, 5e-4L, 2, 4};
constexpr PairRule kCablePairB{0.12L, 0.0L, 6, 6};
constexpr long double kNarrowing = 0.2L;

// The bounds as printed, a distance equal to one as typed within it: L = h
// is still Close, L = 2h still Medium. A distance that is not a number
// compares false throughout and gives Single.
PairCase CaseOf(double L, double h, const PairRule& p) {
    const auto times = [h](long double k) { return static_cast<double>(k * h); };
    if (AtMost(L, h))
        return PairCase::Close;
    if (AtMost(L, times(p.mediumLimit)))
        return PairCase::Medium;
    if (AtMost(L, times(p.limit)))
        return PairCase::Wide;
    return PairCase::Single;
}

double LoweredHeight(double h, double h0, double L, const PairRule& p) {
    const long double hh = h;
    return static_cast<double>(h0 - (p.drop + p.dropSlope * hh) * (L - hh));
}

// The half-width at hx of a zone whose half-width is `radius` at ground and
// 0 at `top`. Within the instruction's heights top is positive whenever this
// is asked; a top of 0 or below (rods far above 150 m) gives 0, not a
// division by it.
double AtHeight(double radius, double top, double hx) {
    if (!(top > 0))
        return 0;
    return static_cast<double>(static_cast<long double>(radius) * (top - hx) / top);
}

struct Inner {
    PairCase pairCase;
    double hc, rc, rcx;
};

Inner InnerRegion(double h, const Cone& c, double L, double hx, const PairRule& p) {
    const PairCase pc = CaseOf(L, h, p);
    switch (pc) {
    case PairCase::Close:
        return {pc, c.h0, c.r0, c.rx};
    case PairCase::Medium: {
        const double hc = LoweredHeight(h, c.h0, L, p);
        return {pc, hc, c.r0, AtHeight(c.r0, hc, hx)};
    }
    case PairCase::Wide: {
        const double hc = LoweredHeight(h, c.h0, L, p);
        const long double hh = h;
        const double rc = static_cast<double>(c.r0 * (1 - kNarrowing * (L - 2 * hh) / hh));
        return {pc, hc, rc, AtHeight(rc, hc, hx)};
    }
    case PairCase::Single:
        break;
    }
    return {PairCase::Single, 0, 0, 0};
}

// Applies `compute` for zone A when zoneA is 1, then for zone B when zoneB is
// 1; with neither, previous stands.
template <class Result, class Compute>
Result ByZone(std::int32_t zoneA, std::int32_t zoneB, const Result& previous, Compute compute) {
    Result r = previous;
    if (zoneA == 1)
        r = compute(ZoneKind::A);
    if (zoneB == 1)
        r = compute(ZoneKind::B);
    return r;
}

// The order of the messages: the top, the rods counted as single, the lower
// top of two unequal rods (`lowerTop`, none for equal ones), hc.
template <class Result>
ZoneWarning PairWarning(const Result& r, double top, double hx, ZoneWarning lowerTop,
                        double lower) {
    if (AtLeast(hx, top))
        return ZoneWarning::HxNotBelowTop;
    if (r.pairCase == PairCase::Single)
        return ZoneWarning::Single;
    if (lowerTop != ZoneWarning::None && AtLeast(hx, lower))
        return lowerTop;
    if (AtLeast(hx, r.hc))
        return ZoneWarning::HxNotBelowMidHeight;
    return ZoneWarning::None;
}

} // namespace

SingleRodResult SingleRodZone(double h, double hx, std::int32_t zoneA, std::int32_t zoneB,
                              const SingleRodResult& previous) {
    return ByZone(zoneA, zoneB, previous, [&](ZoneKind zone) {
        const Cone c = RodCone(h, hx, zone == ZoneKind::A ? kRodA : kRodB);
        return SingleRodResult{c.h0, c.r0, c.rx, zone};
    });
}

DoubleRodResult DoubleRodZone(double h, double L, double hx, std::int32_t zoneA, std::int32_t zoneB,
                              const DoubleRodResult& previous) {
    return ByZone(zoneA, zoneB, previous, [&](ZoneKind zone) {
        const bool a = zone == ZoneKind::A;
        const Cone c = RodCone(h, hx, a ? kRodA : kRodB);
        const Inner in = InnerRegion(h, c, L, hx, a ? kRodPairA : kRodPairB);
        return DoubleRodResult{c.h0, c.r0, c.rx, in.hc, in.rc, in.rcx, in.pairCase, zone};
    });
}

UnequalRodResult UnequalRodZone(double h1, double h2, double L, double hx, std::int32_t zoneA,
                                std::int32_t zoneB, const UnequalRodResult& previous) {
    return ByZone(zoneA, zoneB, previous, [&](ZoneKind zone) {
        const bool a = zone == ZoneKind::A;
        const PairRule& rule = a ? kRodPairA : kRodPairB;
        const Cone c1 = RodCone(h1, hx, a ? kRodA : kRodB);
        const Cone c2 = RodCone(h2, hx, a ? kRodA : kRodB);
        UnequalRodResult r;
        r.h01 = c1.h0, r.r01 = c1.r0, r.rx1 = c1.rx;
        r.h02 = c2.h0, r.r02 = c2.r0, r.rx2 = c2.rx;
        r.zone = zone;
        // The pair holds while L is within the limit of the lower rod; then L
        // is within the limit of the higher one too, so neither hc is Single.
        r.pairCase = CaseOf(L, std::min(h1, h2), rule);
        if (r.pairCase == PairCase::Single)
            return r;
        const auto lowered = [&](double h, double h0, PairCase& pc) {
            pc = CaseOf(L, h, rule);
            return pc == PairCase::Close ? h0 : LoweredHeight(h, h0, L, rule);
        };
        r.hc1 = lowered(h1, r.h01, r.hc1Case);
        r.hc2 = lowered(h2, r.h02, r.hc2Case);
        r.hc = static_cast<double>((static_cast<long double>(r.hc1) + r.hc2) / 2);
        r.rc = static_cast<double>((static_cast<long double>(r.r01) + r.r02) / 2);
        r.rcx = AtHeight(r.rc, r.hc, hx);
        return r;
    });
}

DoubleCatenaryResult DoubleCatenaryZone(double hop, double a, double L, double hx,
                                        std::int32_t zoneA, std::int32_t zoneB,
                                        const DoubleCatenaryResult& previous) {
    const std::optional<double> h = CatenaryHeight(hop, a);
    if (!h)
        return previous;
    DoubleCatenaryResult start = previous;
    start.h = *h;
    return ByZone(zoneA, zoneB, start, [&](ZoneKind zone) {
        const bool inA = zone == ZoneKind::A;
        const CatenaryResult cable = CatenaryZone(hop, a, hx, inA, !inA, {});
        const Cone c{cable.h0, cable.r0, cable.rx};
        const Inner in = InnerRegion(*h, c, L, hx, inA ? kCablePairA : kCablePairB);
        double rpx = 0;
        if (in.pairCase != PairCase::Single && Below(hx, c.h0)) {
            // hc < h0 whenever hx > hc here: hc = h0 only for L ≤ h.
            rpx = AtMost(hx, in.hc) ? L / 2
                                    : static_cast<double>(static_cast<long double>(L) / 2 *
                                                          (c.h0 - hx) / (c.h0 - in.hc));
        }
        return DoubleCatenaryResult{*h,    c.h0,   c.r0, c.rx,        in.hc,
                                    in.rc, in.rcx, rpx,  in.pairCase, zone};
    });
}

ZoneWarning WarningOf(const SingleRodResult& r, double hx) {
    return AtLeast(hx, r.h0) ? ZoneWarning::HxNotBelowTop : ZoneWarning::None;
}

ZoneWarning WarningOf(const CatenaryResult& r, double hx) {
    return AtLeast(hx, r.h0) ? ZoneWarning::HxNotBelowTop : ZoneWarning::None;
}

ZoneWarning WarningOf(const DoubleRodResult& r, double hx) {
    return PairWarning(r, r.h0, hx, ZoneWarning::None, r.h0);
}

ZoneWarning WarningOf(const UnequalRodResult& r, double hx) {
    const bool firstLower = r.h01 < r.h02;
    return PairWarning(r, std::max(r.h01, r.h02), hx,
                       firstLower ? ZoneWarning::HxNotBelowFirstRodTop
                                  : ZoneWarning::HxNotBelowSecondRodTop,
                       std::min(r.h01, r.h02));
}

ZoneWarning WarningOf(const DoubleCatenaryResult& r, double hx) {
    return PairWarning(r, r.h0, hx, ZoneWarning::None, r.h0);
}

} // namespace vostrel
