#include "heightcheck.h"

#include "numtext.h"

#include <algorithm>

namespace vostrel {

RodZone ZoneAtHeight(std::int32_t code, const ZoneInputs& inputs, const RodZone& zone, double hx) {
    const ZoneKind kind = ZoneKindOf(zone);
    if (kind == ZoneKind::None || !IsRodType(code))
        return zone;
    const ZoneInputs at = WithInput(code, inputs, &RodInputs::hx, hx);
    RodZones previous;
    previous.keep(zone);
    return ZoneOf(code, at, kind == ZoneKind::A ? 1 : 0, kind == ZoneKind::B ? 1 : 0, previous);
}

double ZoneTop(const RodZone& zone) {
    if (const auto h0 = QuantityOf(zone, Quantity::H0))
        return *h0;
    return std::max(QuantityOf(zone, Quantity::H01).value_or(0),
                    QuantityOf(zone, Quantity::H02).value_or(0));
}

HeightCheck CheckAtHeight(std::int32_t code, const ZoneInputs& inputs, const RodZone& zone,
                          double width, double length, double height) {
    const ZoneInputs at = WithInput(code, inputs, &RodInputs::hx, height);
    const RodZone atHeight = ZoneAtHeight(code, inputs, zone, height);
    return {height, ZoneTop(atHeight), CheckBuilding(PlanOf(at, atHeight), width, length)};
}

namespace {
std::string Fixed(double value, std::string_view separator) {
    return FixedText(value, 1, separator);
}

// "в зоне", "выходит из зоны на 0,4 м", "выше зоны": what the check found.
std::string Finding(const HeightCheck& c, std::string_view sep) {
    if (c.tallerThanZone())
        return "выше вершины зоны h0 = " + Fixed(c.top, sep) + " м";
    if (c.check.inside)
        return "в зоне защиты";
    if (c.check.nothingProtected)
        return "вне зоны: на этой высоте зона защиты отсутствует";
    if (c.check.overshoot < 0.05) // would read 0,0
        return "выходит из зоны защиты менее чем на 0" + std::string(sep) + "1 м";
    return "выходит из зоны защиты на " + Fixed(c.check.overshoot, sep) + " м";
}
} // namespace

std::string HeightVerdictText(const HeightCheck& c, std::string_view sep) {
    const std::string h = "h = " + Fixed(c.height, sep) + " м";
    if (c.tallerThanZone())
        return "Здание выше зоны защиты: его высота " + h +
               " не ниже вершины зоны h0 = " + Fixed(c.top, sep) + " м.";
    if (c.check.inside)
        return "Здание в зоне защиты на своей высоте " + h + ".";
    return "Здание на своей высоте " + h + " " + Finding(c, sep) + ".";
}

std::string HeightNoteText(const HeightCheck& c, double hx, std::string_view sep) {
    if (hx == c.height)
        return {};
    return "План показывает зону на высоте hx = " + Fixed(hx, sep) +
           " м; проверка по зоне на высоте здания h = " + Fixed(c.height, sep) + " м: здание " +
           Finding(c, sep) + ".";
}

} // namespace vostrel
