#include "rodtypes.h"

#include <cmath>
#include <type_traits>

namespace vostrel {

namespace {
template <class... F> struct Overloaded : F... { using F::operator()...; };
template <class... F> Overloaded(F...) -> Overloaded<F...>;

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

namespace {
// What each input row of a rod type holds, in the order of InputCount.
enum class Row { RodHeight, SupportHeight, Span, Other };
constexpr Row kRows[][4] = {
    {Row::RodHeight, Row::Other, Row::Other, Row::Other},
    {Row::RodHeight, Row::Other, Row::Other, Row::Other},
    {Row::RodHeight, Row::RodHeight, Row::Other, Row::Other},
    {Row::SupportHeight, Row::Span, Row::Other, Row::Other},
    {Row::SupportHeight, Row::Span, Row::Other, Row::Other},
};

InputRefusal RowRefusal(Row row, double value) {
    const bool rod = row == Row::RodHeight;
    switch (row) {
    case Row::RodHeight:
    case Row::SupportHeight:
        if (!(value > 0))
            return rod ? InputRefusal::RodHeightNotPositive
                       : InputRefusal::SupportHeightNotPositive;
        if (!AtMost(value, kMaxRodHeight))
            return rod ? InputRefusal::RodHeightAboveLimit : InputRefusal::SupportHeightAboveLimit;
        return InputRefusal::None;
    case Row::Span:
        return CatenarySpanAllowed(value) ? InputRefusal::None : InputRefusal::SpanTooLong;
    case Row::Other:
        break;
    }
    return InputRefusal::None;
}
} // namespace

InputRefusal RefusalOf(std::int32_t code, const ZoneInputs& inputs) {
    if (!IsRodType(code))
        return InputRefusal::None;
    for (size_t i = 0; i < inputs.size(); ++i)
        if (const InputRefusal r = RowRefusal(kRows[static_cast<size_t>(code - 1)][i], inputs[i]);
            r != InputRefusal::None)
            return r;
    return InputRefusal::None;
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

namespace {
// Where each quantity is kept in a type's result; `inner` ones exist only
// while the rods (cables) do not count as single.
template <class R> struct Field {
    Quantity quantity;
    double R::*member;
    bool inner = false;
};
using Q = Quantity;
constexpr Field<SingleRodResult> kSingleRodFields[] = {
    {Q::H0, &SingleRodResult::h0}, {Q::R0, &SingleRodResult::r0}, {Q::Rx, &SingleRodResult::rx}};
constexpr Field<CatenaryResult> kCatenaryFields[] = {{Q::H, &CatenaryResult::h},
                                                     {Q::H0, &CatenaryResult::h0},
                                                     {Q::R0, &CatenaryResult::r0},
                                                     {Q::Rx, &CatenaryResult::rx}};
constexpr Field<DoubleRodResult> kDoubleRodFields[] = {
    {Q::H0, &DoubleRodResult::h0},       {Q::R0, &DoubleRodResult::r0},
    {Q::Rx, &DoubleRodResult::rx},       {Q::Hc, &DoubleRodResult::hc, true},
    {Q::Rc, &DoubleRodResult::rc, true}, {Q::Rcx, &DoubleRodResult::rcx, true}};
constexpr Field<UnequalRodResult> kUnequalRodFields[] = {
    {Q::H01, &UnequalRodResult::h01},       {Q::R01, &UnequalRodResult::r01},
    {Q::Rx1, &UnequalRodResult::rx1},       {Q::H02, &UnequalRodResult::h02},
    {Q::R02, &UnequalRodResult::r02},       {Q::Rx2, &UnequalRodResult::rx2},
    {Q::Hc1, &UnequalRodResult::hc1, true}, {Q::Hc2, &UnequalRodResult::hc2, true},
    {Q::Hc, &UnequalRodResult::hc, true},   {Q::Rc, &UnequalRodResult::rc, true},
    {Q::Rcx, &UnequalRodResult::rcx, true}};
constexpr Field<DoubleCatenaryResult> kDoubleCatenaryFields[] = {
    {Q::H, &DoubleCatenaryResult::h},           {Q::H0, &DoubleCatenaryResult::h0},
    {Q::R0, &DoubleCatenaryResult::r0},         {Q::Rx, &DoubleCatenaryResult::rx},
    {Q::Hc, &DoubleCatenaryResult::hc, true},   {Q::Rc, &DoubleCatenaryResult::rc, true},
    {Q::Rcx, &DoubleCatenaryResult::rcx, true}, {Q::Rpx, &DoubleCatenaryResult::rpx, true}};

template <class R, std::size_t N>
std::optional<double> Read(const R& z, const Field<R> (&fields)[N], Quantity q, bool single) {
    for (const Field<R>& f : fields)
        if (f.quantity == q)
            return f.inner && single ? std::nullopt : std::optional<double>(z.*f.member);
    return std::nullopt;
}
} // namespace

std::optional<double> QuantityOf(const RodZone& zone, Quantity q) {
    const bool single = PairCaseOf(zone) == PairCase::Single;
    return std::visit(
        Overloaded{[&](const SingleRodResult& z) { return Read(z, kSingleRodFields, q, single); },
                   [&](const CatenaryResult& z) { return Read(z, kCatenaryFields, q, single); },
                   [&](const DoubleRodResult& z) { return Read(z, kDoubleRodFields, q, single); },
                   [&](const UnequalRodResult& z) { return Read(z, kUnequalRodFields, q, single); },
                   [&](const DoubleCatenaryResult& z) {
                       return Read(z, kDoubleCatenaryFields, q, single);
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
