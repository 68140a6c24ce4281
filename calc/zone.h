// Protection-zone type (zone A or zone B) of a building type.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vostrel {

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
