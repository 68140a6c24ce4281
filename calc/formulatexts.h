// The report's formulas with a design's numbers put in ("h0 = 0,85 · 25 =
// 21,3 м"), and the marks that set symbols in italics with subscripts.
// Numbers use the given decimal separator; typed inputs are written as
// short as they read, results in the one-decimal format.
#pragma once

#include "calc/rodtypes.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vostrel {

// Marks a text may carry for the report: they are no characters of it, but
// set what follows in italics or as a subscript, up to the end mark that
// closes the latest open mark.
inline constexpr char kItalicMark = '\x02';
inline constexpr char kSubscriptMark = '\x0E';
inline constexpr char kEndMark = '\x03';

// The text with each symbol of the formulas marked: the letter in italics
// (h, r, L, a, S, N, n, with a prime as in r′x), its index as an italic
// subscript ("x", "0", "c", "cx", "c1", "01", "x2", "min", "оп", ...). A
// letter inside a word, or followed by a letter or digit that is no index,
// stays as it is.
std::string MarkSymbols(std::string_view text);

// The text without its marks.
std::string Unmarked(std::string_view text);

// The numbers of a calculated zone put into the formulas that gave it, one
// line for each formula, lines joined by "\n"; a part that does not apply is
// empty. Rods of different heights have two lines under each end-region
// formula, one for each rod.
struct FormulaNumbers {
    std::string cable;      // catenaries: "h = hоп − 2 = 20 − 2 = 18,0 м"
    std::string h0, r0, rx; // the end regions' (or the single zone's) formulas
    std::string inner;      // the inner region: the lines of the case that applied
};

// For rod type `code`, its inputs (in the order of InputCount) and the zone
// computed from them; all but the cable height empty when the zone has no
// type (neither flag).
FormulaNumbers FormulaNumbersOf(std::int32_t code, const ZoneInputs& inputs, const RodZone& zone,
                                std::string_view separator);

// The expected number of strikes with the building's width S, length L,
// height h and the strike density n put in, and N in its five-decimal text:
// "N = [(12 + 6 · 10)(36 + 6 · 10) − 7,7 · 10²] · 4 · 10⁻⁶ = 0,02457".
std::string StrikeNumbers(double S, double L, double h, double n, std::string_view separator);

} // namespace vostrel
