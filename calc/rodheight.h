// Rod height required for protection zone B.
#pragma once

#include "calc/outcome.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace vostrel {

// Codes 1, 2, 4 and 5 have a formula.
inline bool HasRodHeightFormula(std::int32_t code) {
    return code == 1 || code == 2 || code == 4 || code == 5;
}

// H for rod type code 1, 2, 4 or 5 from the first input p and the second q.
// Fails, with the message for the user, for the other codes and when H is
// too large to be a number.
Outcome<double> RequiredRodHeight(std::int32_t code, double p, double q);

// The sentence shown in front of H for the code (ends in a blank); empty for
// codes without a formula.
std::string RodHeightSentence(std::int32_t code);

// Captions of the two inputs p and q for the code, where it has a formula:
// the protected height and radius for single rods and cables, the distance
// between two rods or cables and the zone height midway for double ones.
std::optional<std::pair<std::string, std::string>> RodHeightInputCaptions(std::int32_t code);

// The whole result line: the sentence, H with one decimal, " м".
std::string RodHeightText(std::int32_t code, double H, std::string_view decimalSeparator);

} // namespace vostrel
