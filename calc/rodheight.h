// Rod height required for a protection zone, A or B.
#pragma once

#include "calc/zone.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace vostrel {

// Codes 1, 2, 4 and 5 have a formula; two rods of different heights (3) are
// chosen rod by rod with the single rod's.
inline bool HasRodHeightFormula(std::int32_t code) {
    return code == 1 || code == 2 || code == 4 || code == 5;
}

// The height h for rod type code 1, 2, 4 or 5 and zone A or B (anything but A
// counts as B) from the first input p and the second q; for a catenary h is
// the cable's height at its greatest sag. The single rod and catenary take hx
// and rx, the double ones L and hc. Zone A's formulas are solved for h exactly
// (they are quadratic in h); where no height reaches q the result is +inf. No
// result for the other codes.
std::optional<double> RequiredRodHeight(std::int32_t code, ZoneKind zone, double p, double q);

// The support height hоп of a catenary whose cable hangs at h for span a: the
// cable sags 2 m below its supports for spans under 120 m, 3 m from 120 m; no
// result for a span of 150 m or more.
struct SupportHeight {
    double hop;
    double sag;
};
std::optional<SupportHeight> CatenarySupportHeight(double h, double a);

// The required height is given only up to the instruction's 150 m.
inline constexpr double kMaxRequiredHeight = 150;

// Captions of the inputs for the code: the protected height and radius for
// single rods and cables (and for each of two rods of different heights),
// the distance between two rods or cables and the zone height midway for
// double ones; a third, the span, for catenaries (empty for the others).
struct RodHeightCaptions {
    std::string first, second, span;
};
std::optional<RodHeightCaptions> RodHeightInputCaptions(std::int32_t code);

// The whole result line for the code and zone: what is given (for a
// catenary the supports' height hop, the cable's h and its sag), "для зоны А"
// or "для зоны Б", the value with one decimal and " м".
std::string RodHeightText(std::int32_t code, ZoneKind zone, double h,
                          std::optional<SupportHeight> support, std::string_view decimalSeparator);

} // namespace vostrel
