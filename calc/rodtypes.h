// The protection zone of any of the five rod types: the inputs each takes,
// the result of its calculation, and the quantities a window or a report
// reads from a result by name.
#pragma once

#include "calc/catenary.h"
#include "calc/rodzones.h"
#include "calc/zonegeometry.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <variant>

namespace vostrel {

// Rod type codes: the index of the rod type list plus 1.
enum RodType : std::int32_t {
    kSingleRod = 1,
    kDoubleRod = 2,
    kUnequalRods = 3,
    kSingleCatenary = 4,
    kDoubleCatenary = 5,
};

constexpr bool IsRodType(std::int32_t code) {
    return code >= kSingleRod && code <= kDoubleCatenary;
}
constexpr bool IsCatenary(std::int32_t code) {
    return code == kSingleCatenary || code == kDoubleCatenary;
}

// The inputs of a rod type as numbers, in the order of the rod page's rows.
using ZoneInputs = std::array<double, 4>;

// The inputs of any rod type by what they mean; one the type does not take is 0.
struct RodInputs {
    double h = 0;        // rod height h, or the first rod's h1
    double h2 = 0;       // the second rod's height
    double hSupport = 0; // a catenary's support height hоп
    double a = 0;        // a catenary's span
    double L = 0;        // the distance between the rods or cables
    double hx = 0;       // the protected height
};

// One input row of a rod type: its short name and the value it gives.
struct RodInputSlot {
    const char* name = nullptr; // null past the last input
    double RodInputs::*value = nullptr;
};

// What one rod type is as data: its code, its name in the rod type list and
// its inputs in the order of the rod page's rows (the last is always the
// protected height hx). The rod page's layout (app/rodlayouts.h) and the
// report's table (report/report.h) of the type are reached by the same code.
struct RodTypeInfo {
    std::int32_t code;
    const char* name;
    std::array<RodInputSlot, 4> inputs;

    int inputCount() const;
};

// Every rod type, in the order of their codes.
std::span<const RodTypeInfo> RodTypeInfos();
// The rod type of `code`; null when there is none.
const RodTypeInfo* FindRodType(std::int32_t code);

// How many inputs a type takes; 0 for a code that is no rod type.
int InputCount(std::int32_t code);
// The inputs of rod type `code` by their meaning.
RodInputs InputsOf(std::int32_t code, const ZoneInputs& inputs);
// The inputs with the one of `field` set to `value`; unchanged when the type
// takes no such input.
ZoneInputs WithInput(std::int32_t code, ZoneInputs inputs, double RodInputs::*field, double value);

// The instruction's formulas hold for rods (catenary supports) up to 150 m.
inline constexpr double kMaxRodHeight = 150;

// Why the inputs of a rod type are refused before anything is computed.
enum class InputRefusal {
    None,
    RodHeightNotPositive,     // h, h1 or h2 of 0 m or less
    RodHeightAboveLimit,      // h, h1 or h2 above 150 m
    SupportHeightNotPositive, // hоп of 0 m or less
    SupportHeightAboveLimit,  // hоп above 150 m
    SpanTooLong,              // a catenary's span of 150 m or more
};

// The first refusal the inputs of rod type `code` call for, in the order of
// the rows; heights and spans are compared with their limits as typed.
InputRefusal RefusalOf(std::int32_t code, const ZoneInputs& inputs);
using RodZone = std::variant<SingleRodResult, DoubleRodResult, UnequalRodResult, CatenaryResult,
                             DoubleCatenaryResult>;

// The last result of each type: the previous values a calculation keeps
// when neither zone flag is 1.
struct RodZones {
    SingleRodResult singleRod;
    DoubleRodResult doubleRod;
    UnequalRodResult unequalRods;
    CatenaryResult singleCatenary;
    DoubleCatenaryResult doubleCatenary;

    void keep(const RodZone& zone);
};

// The zone of rod type `code` (1 to 5) for its inputs; `previous` gives the
// results kept when neither flag is 1. A catenary's span must be allowed
// (CatenarySpanAllowed) for a new result.
RodZone ZoneOf(std::int32_t code, const ZoneInputs& inputs, std::int32_t zoneA, std::int32_t zoneB,
               const RodZones& previous);

// The protected height of the inputs.
double HxOf(std::int32_t code, const ZoneInputs& inputs);

ZoneWarning WarningOf(const RodZone& zone, double hx);
ZoneKind ZoneKindOf(const RodZone& zone);

// What can be read from a result. A quantity the type does not have, or
// the inner region's when the rods count as single, reads as none.
enum class Quantity {
    None,
    H, // cable height of a catenary
    H0,
    R0,
    Rx,
    H01,
    R01,
    Rx1,
    H02,
    R02,
    Rx2,
    Hc1,
    Hc2,
    Hc,
    Rc,
    Rcx,
    Rpx, // r′x of the double catenary
};
std::optional<double> QuantityOf(const RodZone& zone, Quantity quantity);

// True when every quantity of the result is a finite number, so that each
// written one reads back.
bool IsFinite(const RodZone& zone);

// Which case of the instruction gave the inner region; none for the single
// rod and the single catenary.
std::optional<PairCase> PairCaseOf(const RodZone& zone);

// The plan at hx and the vertical section of a result, for the inputs (in
// the order of its rod type) it was computed from.
ZonePlan PlanOf(const ZoneInputs& inputs, const RodZone& zone);
ZoneSection SectionOf(std::int32_t code, const ZoneInputs& inputs, const RodZone& zone);

} // namespace vostrel
