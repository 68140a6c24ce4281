// Protection-zone type (zone A or zone B) of a building type, and the
// comparison of a zone's values with the bounds of its formulas.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace vostrel {

// How far apart two values may lie and still count as equal: a few units in
// the last place of the larger. Typed decimals are held as the nearest
// doubles, so 6·10,1 and 60,6 or 0,85·11,8 and 10,03 differ in the last
// places although they are equal as typed; values that differ as typed
// (with up to 14 significant digits) lie much farther apart than this.
inline constexpr double kTypedAllowance = 8 * std::numeric_limits<double>::epsilon();

// a ≤ b for values that stand for typed decimals or for results computed
// from them: a value equal to b as typed counts as equal. Every bound of the
// instruction's formulas (L against h, 2h, 4h, 6h; a span against 120 and
// 150 m; hx against h0 and hc) is compared through it. A value that is not a
// number compares false, and an infinite one only as plain ≤ would.
inline bool AtMost(double a, double b) {
    if (a <= b)
        return true;
    return std::isfinite(a) && std::isfinite(b) &&
           a - b <= kTypedAllowance * std::max(std::fabs(a), std::fabs(b));
}

// a ≥ b in the same sense.
inline bool AtLeast(double a, double b) {
    return AtMost(b, a);
}

// a < b and not equal as typed; false for a value that is not a number.
inline bool Below(double a, double b) {
    return a < b && !AtMost(b, a);
}

// Zone A flag and zone B flag, each 0 or 1.
struct ZoneFlags {
    std::int32_t zoneA = 0;
    std::int32_t zoneB = 0;

    friend bool operator==(const ZoneFlags&, const ZoneFlags&) = default;
};

// Which zone's formulas produced a set of zone results: None until a
// calculation has run with a flag of 1.
enum class ZoneKind { None, A, B };

// The zone rule of building-type code `code` (1..14) for the expected annual
// number of strikes N as read back from its text; no result for a code
// without a rule.
std::optional<ZoneFlags> ZoneType(std::int32_t code, double N);

// The zone letter text: seven blanks and the Cyrillic capital "А" or "Б".
inline const std::string kZoneLetterA = "       \u0410";
inline const std::string kZoneLetterB = "       \u0411";

// What confirming a building type writes: the new flags, the zone letter
// text (none when neither flag is 1, the field is then left alone) and the
// two flag texts "0"/"1".
struct ZoneConfirmation {
    ZoneFlags flags;
    std::optional<std::string> zoneLetter;
    std::string zoneAText;
    std::string zoneBText;
};

// Applies the zone rule to the flags held so far: a code without a rule keeps
// them (and the zone letter they gave).
ZoneConfirmation ConfirmZone(ZoneFlags held, std::int32_t code, double N);

} // namespace vostrel
