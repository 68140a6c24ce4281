#include "zonetexts.h"

#include "numtext.h"

#include <algorithm>
#include <initializer_list>

namespace vostrel {

namespace {
std::string Fixed(double value, std::string_view separator) {
    return FixedText(value, 1, separator);
}

// The pieces one after another.
std::string Cat(std::initializer_list<std::string_view> pieces) {
    std::string out;
    for (std::string_view piece : pieces)
        out += piece;
    return out;
}
} // namespace

std::string CaseText(std::int32_t code, const RodZone& zone, std::string_view sep) {
    const auto pair = PairCaseOf(zone);
    const ZoneKind kind = ZoneKindOf(zone);
    if (!pair || kind == ZoneKind::None)
        return {};
    const bool a = kind == ZoneKind::A;
    const bool cables = code == kDoubleCatenary;
    const std::string_view single = cables ? "тросы рассматриваются как одиночные"
                                           : "молниеотводы рассматриваются как одиночные";
    if (code == kUnequalRods) {
        const std::string_view limit = a ? "4hmin" : "6hmin";
        if (*pair == PairCase::Single)
            return Cat({"L > ", limit, ": ", single});
        return Cat(
            {"L ≤ ", limit, ": hc = (hc1 + hc2)/2, rc = (r01 + r02)/2, rcx = rc(hc − hx)/hc"});
    }
    const std::string drop = cables
                                 ? (a ? Cat({"(0", sep, "14 + 5·10⁻⁴h)"}) : Cat({"0", sep, "12"}))
                                 : (a ? Cat({"(0", sep, "17 + 3·10⁻⁴h)"}) : Cat({"0", sep, "14"}));
    const std::string hc = Cat({"hc = h0 − ", drop, "(L − h)"});
    switch (*pair) {
    case PairCase::Close:
        return "L ≤ h: hc = h0, rc = r0, rcx = rx";
    case PairCase::Medium:
        return Cat({a ? "h < L ≤ 2h: " : "h < L ≤ 6h: ", hc, ", rc = r0, rcx = r0(hc − hx)/hc"});
    case PairCase::Wide:
        return Cat(
            {"2h < L ≤ 4h: ", hc, ", rc = r0[1 − 0", sep, "2(L − 2h)/h], rcx = rc(hc − hx)/hc"});
    case PairCase::Single:
        return Cat({a ? "L > 4h: " : "L > 6h: ", single});
    }
    return {};
}

namespace {
// Two unequal rods with hx between their tops: the lower rod protects nothing
// at hx, the higher one its circle, and the region between them while it
// exists and reaches up to hx.
std::string BetweenTopsText(const RodZone& zone, double hx, const std::string& at,
                            std::string_view sep) {
    const auto q = [&](Quantity quantity) { return *QuantityOf(zone, quantity); };
    const bool firstLower = q(Quantity::H01) < q(Quantity::H02);
    const std::string lower = Cat(
        {firstLower ? "первый" : "второй", " молниеотвод не защищает: hx не ниже вершины его зоны ",
         firstLower ? "h01 = " : "h02 = ",
         Fixed(q(firstLower ? Quantity::H01 : Quantity::H02), sep), " м."});
    const double rx = q(firstLower ? Quantity::Rx2 : Quantity::Rx1);
    std::string text = Cat({"На высоте ", at, " ", lower});
    if (PairCaseOf(zone) == PairCase::Single)
        text = Cat({"Молниеотводы рассматриваются как одиночные. ", text});
    text += Cat({" Защищены объекты в пределах ", firstLower ? "rx2 = " : "rx1 = ", Fixed(rx, sep),
                 " м от ", firstLower ? "второго" : "первого", " молниеотвода"});
    const auto rcx = QuantityOf(zone, Quantity::Rcx);
    if (!rcx)
        return text + ".";
    if (*rcx > 0 && Below(hx, q(Quantity::Hc)))
        return Cat({text, " и rcx = ", Fixed(*rcx, sep), " м посередине между молниеотводами."});
    return Cat(
        {text, "; посередине между молниеотводами (rcx = ", Fixed(*rcx, sep), " м) защиты нет."});
}
} // namespace

std::string ConclusionText(std::int32_t code, const RodZone& zone, double hx,
                           std::string_view sep) {
    const auto q = [&](Quantity quantity) { return QuantityOf(zone, quantity); };
    const std::string at = Cat({"hx = ", Fixed(hx, sep), " м"});
    const std::string_view none = ": объекты высотой hx зоной защиты не защищены.";
    const bool unequal = code == kUnequalRods;
    const bool cables = code == kDoubleCatenary;
    if (ZoneKindOf(zone) == ZoneKind::None)
        return "Тип зоны защиты не определён: зона защиты не вычислена.";
    // The top of the zone (the higher of two rods'), and the radius at hx.
    const double h0 = unequal ? std::max(*q(Quantity::H01), *q(Quantity::H02)) : *q(Quantity::H0);
    const std::string_view top =
        !unequal ? "h0" : (*q(Quantity::H01) < *q(Quantity::H02) ? "h02" : "h01");
    if (AtLeast(hx, h0))
        return Cat({"Высота ", at, " не ниже вершины зоны защиты ", top, " = ", Fixed(h0, sep),
                    " м", none});
    if (unequal && AtLeast(hx, std::min(*q(Quantity::H01), *q(Quantity::H02))))
        return BetweenTopsText(zone, hx, at, sep);
    const double rx = unequal ? std::min(*q(Quantity::Rx1), *q(Quantity::Rx2)) : *q(Quantity::Rx);
    if (rx <= 0)
        return Cat({"Радиус зоны защиты на высоте ", at, " не положителен (rx = ", Fixed(rx, sep),
                    " м)", none});
    const std::string radius = unequal ? Cat({"rx1 = ", Fixed(*q(Quantity::Rx1), sep),
                                              " м, rx2 = ", Fixed(*q(Quantity::Rx2), sep), " м"})
                                       : Cat({"rx = ", Fixed(rx, sep), " м"});
    const auto rcx = q(Quantity::Rcx);
    if (PairCaseOf(zone) == PairCase::Single)
        return Cat({cables ? "Тросы" : "Молниеотводы", " рассматриваются как одиночные: на высоте ",
                    at, " защищены объекты в пределах ", radius, " от каждого",
                    cables ? " троса." : " молниеотвода."});
    // Nothing midway from hc up, as the message of the calculation says.
    if (rcx && (*rcx <= 0 || AtLeast(hx, *q(Quantity::Hc))))
        return Cat({"На высоте ", at, " защищены объекты в пределах ", radius,
                    "; посередине между ", cables ? "тросами" : "молниеотводами",
                    " (rcx = ", Fixed(*rcx, sep), " м) защиты нет."});
    return Cat({"Объекты высотой ", at, " находятся в зоне защиты: ", radius,
                rcx ? Cat({", rcx = ", Fixed(*rcx, sep), " м"}) : std::string(), "."});
}

std::string VerdictText(const BuildingCheck& check, double hx, double buildingHeight,
                        std::string_view sep) {
    std::string text;
    if (check.inside)
        text = "Здание в зоне защиты на высоте hx.";
    else if (check.nothingProtected)
        text =
            "Здание выходит из зоны защиты на высоте hx: на этой высоте зона защиты отсутствует.";
    else if (check.overshoot < 0.05) // would read 0,0
        text = Cat({"Здание выходит из зоны защиты на высоте hx менее чем на 0", sep, "1 м."});
    else
        text = Cat(
            {"Здание выходит из зоны защиты на высоте hx на ", Fixed(check.overshoot, sep), " м."});
    if (hx < buildingHeight)
        text += " hx меньше высоты здания: проверена не вся высота.";
    return text;
}

} // namespace vostrel
