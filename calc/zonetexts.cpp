#include "zonetexts.h"

#include "numtext.h"

#include <algorithm>

namespace vostrel {

namespace {
std::string Fixed(double value, std::string_view separator) {
    return FixedText(value, 1, separator);
}
} // namespace

std::string CaseText(std::int32_t code, const RodZone& zone, std::string_view sep) {
    const auto pair = PairCaseOf(zone);
    const ZoneKind kind = ZoneKindOf(zone);
    if (!pair || kind == ZoneKind::None)
        return {};
    const bool a = kind == ZoneKind::A;
    const bool cables = code == kDoubleCatenary;
    const std::string single = cables ? "тросы рассматриваются как одиночные"
                                      : "молниеотводы рассматриваются как одиночные";
    if (code == kUnequalRods) {
        const std::string limit = a ? "4hmin" : "6hmin";
        if (*pair == PairCase::Single)
            return "L > " + limit + ": " + single;
        return "L ≤ " + limit + ": hc = (hc1 + hc2)/2, rc = (r01 + r02)/2, rcx = rc(hc − hx)/hc";
    }
    const std::string drop = cables ? (a ? "(0" + std::string(sep) + "14 + 5·10⁻⁴h)"
                                         : "0" + std::string(sep) + "12")
                                    : (a ? "(0" + std::string(sep) + "17 + 3·10⁻⁴h)"
                                         : "0" + std::string(sep) + "14");
    const std::string hc = "hc = h0 − " + drop + "(L − h)";
    switch (*pair) {
    case PairCase::Close:
        return "L ≤ h: hc = h0, rc = r0, rcx = rx";
    case PairCase::Medium:
        return std::string(a ? "h < L ≤ 2h: " : "h < L ≤ 6h: ") + hc +
               ", rc = r0, rcx = r0(hc − hx)/hc";
    case PairCase::Wide:
        return "2h < L ≤ 4h: " + hc + ", rc = r0[1 − 0" + std::string(sep) +
               "2(L − 2h)/h], rcx = rc(hc − hx)/hc";
    case PairCase::Single:
        return std::string(a ? "L > 4h: " : "L > 6h: ") + single;
    }
    return {};
}

std::string ConclusionText(std::int32_t code, const RodZone& zone, double hx,
                           std::string_view sep) {
    const auto q = [&](Quantity quantity) { return QuantityOf(zone, quantity); };
    const std::string at = "hx = " + Fixed(hx, sep) + " м";
    const std::string none = ": объекты высотой hx зоной защиты не защищены.";
    const bool unequal = code == kUnequalRods;
    // The top of the zone, and the radius at hx (the smaller of two rods').
    const double h0 = unequal ? std::min(*q(Quantity::H01), *q(Quantity::H02)) : *q(Quantity::H0);
    const double rx = unequal ? std::min(*q(Quantity::Rx1), *q(Quantity::Rx2)) : *q(Quantity::Rx);
    if (ZoneKindOf(zone) == ZoneKind::None)
        return "Тип зоны защиты не определён: зона защиты не вычислена.";
    if (hx >= h0)
        return "Высота " + at + " не ниже вершины зоны защиты h0 = " + Fixed(h0, sep) + " м" +
               none;
    if (rx <= 0)
        return "Радиус зоны защиты на высоте " + at + " не положителен (rx = " + Fixed(rx, sep) +
               " м)" + none;
    const std::string radius =
        unequal ? "rx1 = " + Fixed(*q(Quantity::Rx1), sep) + " м, rx2 = " +
                      Fixed(*q(Quantity::Rx2), sep) + " м"
                : "rx = " + Fixed(rx, sep) + " м";
    const auto rcx = q(Quantity::Rcx);
    if (PairCaseOf(zone) == PairCase::Single)
        return std::string(code == kDoubleCatenary ? "Тросы" : "Молниеотводы") +
               " рассматриваются как одиночные: на высоте " + at +
               " защищены объекты в пределах " + radius + " от каждого" +
               (code == kDoubleCatenary ? " троса." : " молниеотвода.");
    if (rcx && *rcx <= 0)
        return "На высоте " + at + " защищены объекты в пределах " + radius + "; посередине между " +
               (code == kDoubleCatenary ? "тросами" : "молниеотводами") + " (rcx = " +
               Fixed(*rcx, sep) + " м) защиты нет.";
    return "Объекты высотой " + at + " находятся в зоне защиты: " + radius +
           (rcx ? ", rcx = " + Fixed(*rcx, sep) + " м" : std::string()) + ".";
}

} // namespace vostrel
