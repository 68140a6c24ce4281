#include "rodtypes.h"

#include "rodsystem.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace vostrel {

namespace {
template <class... F> struct Overloaded : F... { using F::operator()...; };
template <class... F> Overloaded(F...) -> Overloaded<F...>;

// The rod types: code, the list's name, the input rows in page order.
using I = RodInputs;
constexpr RodInputSlot kHx{"hx", &I::hx};
constexpr RodTypeInfo kRodTypes[] = {
    {kSingleRod, "Одиночный стержневой молниеотвод", {{{"h", &I::h}, kHx}}},
    {kDoubleRod,
     "Двойной стержневой молниеотвод одинаковой высоты",
     {{{"h", &I::h}, {"L", &I::L}, kHx}}},
    {kUnequalRods,
     "Двойной стержневой молниеотвод разной высоты",
     {{{"h1", &I::h}, {"h2", &I::h2}, {"L", &I::L}, kHx}}},
    {kSingleCatenary,
     "Одиночный тросовый молниетвод",
     {{{"hоп", &I::hSupport}, {"a", &I::a}, kHx}}},
    {kDoubleCatenary,
     "Двойной тросовый молниеотвод одинаковой высоты",
     {{{"hоп", &I::hSupport}, {"a", &I::a}, {"L", &I::L}, kHx}}},
    // The rods themselves are typed in the plan window's table.
    {kRodSystem, "Многократный стержневой молниеотвод", {{kHx}}},
};

// Why the value of an input is refused: rod and support heights above 0 up
// to 150 m, a catenary's span below 150 m; other inputs are not limited here.
InputRefusal SlotRefusal(double RodInputs::*field, double value) {
    const bool rod = field == &I::h || field == &I::h2;
    if (rod || field == &I::hSupport) {
        if (!(value > 0))
            return rod ? InputRefusal::RodHeightNotPositive
                       : InputRefusal::SupportHeightNotPositive;
        if (!AtMost(value, kMaxRodHeight))
            return rod ? InputRefusal::RodHeightAboveLimit : InputRefusal::SupportHeightAboveLimit;
    }
    if (field == &I::a && !CatenarySpanAllowed(value))
        return InputRefusal::SpanTooLong;
    return InputRefusal::None;
}
} // namespace

int RodTypeInfo::inputCount() const {
    return static_cast<int>(std::count_if(inputs.begin(), inputs.end(),
                                          [](const RodInputSlot& slot) { return slot.name; }));
}

std::span<const RodTypeInfo> RodTypeInfos() {
    return kRodTypes;
}

const RodTypeInfo* FindRodType(std::int32_t code) {
    for (const RodTypeInfo& type : kRodTypes)
        if (type.code == code)
            return &type;
    return nullptr;
}

int InputCount(std::int32_t code) {
    const RodTypeInfo* type = FindRodType(code);
    return type ? type->inputCount() : 0;
}

RodInputs InputsOf(std::int32_t code, const ZoneInputs& inputs) {
    RodInputs named;
    if (const RodTypeInfo* type = FindRodType(code))
        for (size_t i = 0; i < inputs.size() && type->inputs[i].value; ++i)
            named.*type->inputs[i].value = inputs[i];
    return named;
}

ZoneInputs WithInput(std::int32_t code, ZoneInputs inputs, double RodInputs::*field, double value) {
    if (const RodTypeInfo* type = FindRodType(code))
        for (size_t i = 0; i < inputs.size(); ++i)
            if (type->inputs[i].value == field)
                inputs[i] = value;
    return inputs;
}

InputRefusal RefusalOf(std::int32_t code, const ZoneInputs& inputs) {
    const RodTypeInfo* type = FindRodType(code);
    for (size_t i = 0; type && i < inputs.size() && type->inputs[i].value; ++i)
        if (const InputRefusal r = SlotRefusal(type->inputs[i].value, inputs[i]);
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

RodZone ZoneOf(std::int32_t code, const ZoneInputs& inputs, std::int32_t zoneA, std::int32_t zoneB,
               const RodZones& previous) {
    // Any other code (the system of rods has its own routine) computes as the
    // double catenary, as it always has.
    const RodInputs in = InputsOf(IsRodType(code) ? code : kDoubleCatenary, inputs);
    switch (code) {
    case kSingleRod:
        return SingleRodZone(in.h, in.hx, zoneA, zoneB, previous.singleRod);
    case kDoubleRod:
        return DoubleRodZone(in.h, in.L, in.hx, zoneA, zoneB, previous.doubleRod);
    case kUnequalRods:
        return UnequalRodZone(in.h, in.h2, in.L, in.hx, zoneA, zoneB, previous.unequalRods);
    case kSingleCatenary:
        return CatenaryZone(in.hSupport, in.a, in.hx, zoneA, zoneB, previous.singleCatenary);
    default:
        return DoubleCatenaryZone(in.hSupport, in.a, in.L, in.hx, zoneA, zoneB,
                                  previous.doubleCatenary);
    }
}

double HxOf(std::int32_t code, const ZoneInputs& inputs) {
    return InputsOf(code, inputs).hx;
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
// Which part of a zone a quantity describes: the zone of each rod (cable),
// or the inner region between them, which exists only while they do not
// count as single.
enum class Region { Each, Inner };
constexpr Region Inner = Region::Inner;

// Where each quantity is kept in a type's result.
template <class R> struct Field {
    Quantity quantity;
    double R::*member;
    Region region = Region::Each;
};
using Q = Quantity;
constexpr Field<SingleRodResult> kSingleRodFields[] = {
    {Q::H0, &SingleRodResult::h0}, {Q::R0, &SingleRodResult::r0}, {Q::Rx, &SingleRodResult::rx}};
constexpr Field<CatenaryResult> kCatenaryFields[] = {{Q::H, &CatenaryResult::h},
                                                     {Q::H0, &CatenaryResult::h0},
                                                     {Q::R0, &CatenaryResult::r0},
                                                     {Q::Rx, &CatenaryResult::rx}};
constexpr Field<DoubleRodResult> kDoubleRodFields[] = {
    {Q::H0, &DoubleRodResult::h0},        {Q::R0, &DoubleRodResult::r0},
    {Q::Rx, &DoubleRodResult::rx},        {Q::Hc, &DoubleRodResult::hc, Inner},
    {Q::Rc, &DoubleRodResult::rc, Inner}, {Q::Rcx, &DoubleRodResult::rcx, Inner}};
constexpr Field<UnequalRodResult> kUnequalRodFields[] = {
    {Q::H01, &UnequalRodResult::h01},        {Q::R01, &UnequalRodResult::r01},
    {Q::Rx1, &UnequalRodResult::rx1},        {Q::H02, &UnequalRodResult::h02},
    {Q::R02, &UnequalRodResult::r02},        {Q::Rx2, &UnequalRodResult::rx2},
    {Q::Hc1, &UnequalRodResult::hc1, Inner}, {Q::Hc2, &UnequalRodResult::hc2, Inner},
    {Q::Hc, &UnequalRodResult::hc, Inner},   {Q::Rc, &UnequalRodResult::rc, Inner},
    {Q::Rcx, &UnequalRodResult::rcx, Inner}};
constexpr Field<DoubleCatenaryResult> kDoubleCatenaryFields[] = {
    {Q::H, &DoubleCatenaryResult::h},
    {Q::H0, &DoubleCatenaryResult::h0},
    {Q::R0, &DoubleCatenaryResult::r0},
    {Q::Rx, &DoubleCatenaryResult::rx},
    {Q::Hc, &DoubleCatenaryResult::hc, Inner},
    {Q::Rc, &DoubleCatenaryResult::rc, Inner},
    {Q::Rcx, &DoubleCatenaryResult::rcx, Inner},
    {Q::Rpx, &DoubleCatenaryResult::rpx, Inner}};

template <class R, std::size_t N>
std::optional<double> Read(const R& z, const Field<R> (&fields)[N], Quantity q, bool single) {
    for (const Field<R>& f : fields)
        if (f.quantity == q)
            return f.region == Region::Inner && single ? std::nullopt
                                                       : std::optional<double>(z.*f.member);
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

namespace {
// The rod type a result is of.
std::int32_t CodeOf(const RodZone& zone) {
    return std::visit(Overloaded{[](const SingleRodResult&) { return kSingleRod; },
                                 [](const DoubleRodResult&) { return kDoubleRod; },
                                 [](const UnequalRodResult&) { return kUnequalRods; },
                                 [](const CatenaryResult&) { return kSingleCatenary; },
                                 [](const DoubleCatenaryResult&) { return kDoubleCatenary; }},
                      zone);
}
} // namespace

ZonePlan PlanOf(const ZoneInputs& inputs, const RodZone& zone) {
    const RodInputs in = InputsOf(CodeOf(zone), inputs);
    return std::visit(
        Overloaded{[](const SingleRodResult& z) { return PlanOf(z); },
                   [&](const DoubleRodResult& z) { return PlanOf(z, in.L); },
                   [&](const UnequalRodResult& z) { return PlanOf(z, in.L); },
                   [&](const CatenaryResult& z) { return PlanOf(z, in.a); },
                   [&](const DoubleCatenaryResult& z) { return PlanOf(z, in.a, in.L); }},
        zone);
}

ZoneSection SectionOf(std::int32_t code, const ZoneInputs& inputs, const RodZone& zone) {
    const RodInputs in = InputsOf(CodeOf(zone), inputs);
    // The protected height as the rod type `code` reads it.
    const double hx = HxOf(code, inputs);
    return std::visit(
        Overloaded{[&](const SingleRodResult& z) { return SectionOf(z, in.h, hx); },
                   [&](const DoubleRodResult& z) { return SectionOf(z, in.h, in.L, hx); },
                   [&](const UnequalRodResult& z) { return SectionOf(z, in.h, in.h2, in.L, hx); },
                   [&](const CatenaryResult& z) { return SectionOf(z, hx); },
                   [&](const DoubleCatenaryResult& z) { return SectionOf(z, in.L, hx); }},
        zone);
}

} // namespace vostrel
