#include "zone.h"

namespace vostrel {

namespace {
constexpr ZoneFlags kZoneA{1, 0};
constexpr ZoneFlags kZoneB{0, 1};
} // namespace

std::optional<ZoneFlags> ZoneType(std::int32_t code, double N) {
    switch (code) {
    case 1: // explosive zones B-I, B-II: always zone A
        return kZoneA;
    case 2: // explosive zones B-Ia, B-Ib, B-IIa: zone A when N > 1
        return N > 1 ? kZoneA : kZoneB;
    case 4:
    case 5:
    case 6:
    case 7:
        return N > 2 ? kZoneA : kZoneB;
    case 3:
    case 8:
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
        return kZoneB;
    default:
        return std::nullopt;
    }
}

ZoneConfirmation ConfirmZone(ZoneFlags held, std::int32_t code, double N) {
    ZoneConfirmation result;
    result.flags = ZoneType(code, N).value_or(held);
    if (result.flags.zoneA == 1)
        result.zoneLetter = kZoneLetterA;
    if (result.flags.zoneB == 1)
        result.zoneLetter = kZoneLetterB;
    result.zoneAText = std::to_string(result.flags.zoneA);
    result.zoneBText = std::to_string(result.flags.zoneB);
    return result;
}

} // namespace vostrel
