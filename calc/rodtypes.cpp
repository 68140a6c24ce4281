#include "rodtypes.h"

#include <cmath>
#include <type_traits>

namespace vostrel {

namespace {
template <class... F> struct Overloaded : F... { using F::operator()...; };
template <class... F> Overloaded(F...) -> Overloaded<F...>;

std::optional<double> Inner(PairCase c, double value) {
    return c == PairCase::Single ? std::nullopt : std::optional<double>(value);
}
} // namespace

int InputCount(std::int32_t code) {
    switch (code) {
    case kSingleRod:
        return 2;
    case kDoubleRod:
    case kSingleCatenary:
        return 3;
    case kUnequalRods:
    case kDoubleCatenary:
        return 4;
    default:
        return 0;
    }
}

void RodZones::keep(const RodZone& zone) {
    std::visit(Overloaded{[this](const SingleRodResult& z) { singleRod = z; },
                          [this](const DoubleRodResult& z) { doubleRod = z; },
                          [this](const UnequalRodResult& z) { unequalRods = z; },
                          [this](const CatenaryResult& z) { singleCatenary = z; },
                          [this](const DoubleCatenaryResult& z) { doubleCatenary = z; }},
               zone);
}

RodZone ZoneOf(std::int32_t code, const ZoneInputs& in, std::int32_t zoneA, std::int32_t zoneB,
               const RodZones& previous) {
    switch (code) {
    case kSingleRod:
        return SingleRodZone(in[0], in[1], zoneA, zoneB, previous.singleRod);
    case kDoubleRod:
        return DoubleRodZone(in[0], in[1], in[2], zoneA, zoneB, previous.doubleRod);
    case kUnequalRods:
        return UnequalRodZone(in[0], in[1], in[2], in[3], zoneA, zoneB, previous.unequalRods);
    case kSingleCatenary:
        return CatenaryZone(in[0], in[1], in[2], zoneA, zoneB, previous.singleCatenary);
    default:
        return DoubleCatenaryZone(in[0], in[1], in[2], in[3], zoneA, zoneB,
                                  previous.doubleCatenary);
    }
}

double HxOf(std::int32_t code, const ZoneInputs& inputs) {
    return inputs[static_cast<size_t>(std::max(InputCount(code), 1) - 1)];
}

ZoneWarning WarningOf(const RodZone& zone, double hx) {
    return std::visit([hx](const auto& z) { return WarningOf(z, hx); }, zone);
}

ZoneKind ZoneKindOf(const RodZone& zone) {
    return std::visit([](const auto& z) { return z.zone; }, zone);
}

std::optional<PairCase> PairCaseOf(const RodZone& zone) {
    return std::visit(Overloaded{[](const SingleRodResult&) { return std::optional<PairCase>(); },
                                 [](const CatenaryResult&) { return std::optional<PairCase>(); },
                                 [](const auto& z) { return std::optional<PairCase>(z.pairCase); }},
                      zone);
}

std::optional<double> QuantityOf(const RodZone& zone, Quantity q) {
    using Q = Quantity;
    using R = std::optional<double>;
    return std::visit(Overloaded{[q](const SingleRodResult& z) -> R {
                                     switch (q) {
                                     case Q::H0:
                                         return z.h0;
                                     case Q::R0:
                                         return z.r0;
                                     case Q::Rx:
                                         return z.rx;
                                     default:
                                         return {};
                                     }
                                 },
                                 [q](const CatenaryResult& z) -> R {
                                     switch (q) {
                                     case Q::H:
                                         return z.h;
                                     case Q::H0:
                                         return z.h0;
                                     case Q::R0:
                                         return z.r0;
                                     case Q::Rx:
                                         return z.rx;
                                     default:
                                         return {};
                                     }
                                 },
                                 [q](const DoubleRodResult& z) -> R {
                                     switch (q) {
                                     case Q::H0:
                                         return z.h0;
                                     case Q::R0:
                                         return z.r0;
                                     case Q::Rx:
                                         return z.rx;
                                     case Q::Hc:
                                         return Inner(z.pairCase, z.hc);
                                     case Q::Rc:
                                         return Inner(z.pairCase, z.rc);
                                     case Q::Rcx:
                                         return Inner(z.pairCase, z.rcx);
                                     default:
                                         return {};
                                     }
                                 },
                                 [q](const UnequalRodResult& z) -> R {
                                     switch (q) {
                                     case Q::H01:
                                         return z.h01;
                                     case Q::R01:
                                         return z.r01;
                                     case Q::Rx1:
                                         return z.rx1;
                                     case Q::H02:
                                         return z.h02;
                                     case Q::R02:
                                         return z.r02;
                                     case Q::Rx2:
                                         return z.rx2;
                                     case Q::Hc1:
                                         return Inner(z.pairCase, z.hc1);
                                     case Q::Hc2:
                                         return Inner(z.pairCase, z.hc2);
                                     case Q::Hc:
                                         return Inner(z.pairCase, z.hc);
                                     case Q::Rc:
                                         return Inner(z.pairCase, z.rc);
                                     case Q::Rcx:
                                         return Inner(z.pairCase, z.rcx);
                                     default:
                                         return {};
                                     }
                                 },
                                 [q](const DoubleCatenaryResult& z) -> R {
                                     switch (q) {
                                     case Q::H:
                                         return z.h;
                                     case Q::H0:
                                         return z.h0;
                                     case Q::R0:
                                         return z.r0;
                                     case Q::Rx:
                                         return z.rx;
                                     case Q::Hc:
                                         return Inner(z.pairCase, z.hc);
                                     case Q::Rc:
                                         return Inner(z.pairCase, z.rc);
                                     case Q::Rcx:
                                         return Inner(z.pairCase, z.rcx);
                                     case Q::Rpx:
                                         return Inner(z.pairCase, z.rpx);
                                     default:
                                         return {};
                                     }
                                 }},
                      zone);
}

bool IsFinite(const RodZone& zone) {
    for (int q = static_cast<int>(Quantity::H); q <= static_cast<int>(Quantity::Rpx); ++q)
        if (const auto v = QuantityOf(zone, static_cast<Quantity>(q)); v && !std::isfinite(*v))
            return false;
    return true;
}

ZonePlan PlanOf(const ZoneInputs& in, const RodZone& zone) {
    return std::visit(
        Overloaded{[](const SingleRodResult& z) { return PlanOf(z); },
                   [&](const DoubleRodResult& z) { return PlanOf(z, in[1]); },
                   [&](const UnequalRodResult& z) { return PlanOf(z, in[2]); },
                   [&](const CatenaryResult& z) { return PlanOf(z, in[1]); },
                   [&](const DoubleCatenaryResult& z) { return PlanOf(z, in[1], in[2]); }},
        zone);
}

ZoneSection SectionOf(std::int32_t code, const ZoneInputs& in, const RodZone& zone) {
    const double hx = HxOf(code, in);
    return std::visit(
        Overloaded{[&](const SingleRodResult& z) { return SectionOf(z, in[0], hx); },
                   [&](const DoubleRodResult& z) { return SectionOf(z, in[0], in[1], hx); },
                   [&](const UnequalRodResult& z) { return SectionOf(z, in[0], in[1], in[2], hx); },
                   [&](const CatenaryResult& z) { return SectionOf(z, hx); },
                   [&](const DoubleCatenaryResult& z) { return SectionOf(z, in[2], hx); }},
        zone);
}

} // namespace vostrel
