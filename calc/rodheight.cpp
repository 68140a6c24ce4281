#include "rodheight.h"

#include "numtext.h"

#include <cmath>

namespace vostrel {

namespace {
std::optional<double> RodHeightFormula(std::int32_t code, double p, double q) {
    // Constants at the widths the design rules fix: 1.5 in single precision,
    // the rest in extended; 1.06 is shared by both double-rod types.
    constexpr long double kRodFactor = 1.63L;
    constexpr float kRodDivisor = 1.5f;
    constexpr long double kDoubleRodFactor = 0.14L, kDoubleDivisor = 1.06L;
    constexpr long double kCableFactor = 1.85L, kCableDivisor = 1.7L;
    constexpr long double kDoubleCableFactor = 0.12L;

    const long double P = p, Q = q;
    switch (code) {
    case 1: // single rod: h = (rx + 1.63hx) / 1.5
        return static_cast<double>((kRodFactor * P + Q) / kRodDivisor);
    case 2: // double rod of equal height
        return static_cast<double>((kDoubleRodFactor * P + Q) / kDoubleDivisor);
    case 4: // single catenary: h = (rx + 1.85hx) / 1.7
        return static_cast<double>((kCableFactor * P + Q) / kCableDivisor);
    case 5: // double catenary of equal height
        return static_cast<double>((kDoubleCableFactor * P + Q) / kDoubleDivisor);
    default:
        return std::nullopt;
    }
}
} // namespace

Outcome<double> RequiredRodHeight(std::int32_t code, double p, double q) {
    const std::optional<double> H = RodHeightFormula(code, p, q);
    if (!H)
        return Failure("Для этого типа молниеотвода высота не вычисляется");
    if (!std::isfinite(*H)) // every number written must read back
        return Failure("Введённые значения слишком велики: высота молниеотвода не вычисляется");
    return *H;
}

std::string RodHeightSentence(std::int32_t code) {
    switch (code) {
    case 1:
        return "Высота одиночного стержневого молниеотвода для зоны Б равна ";
    case 2:
    case 5:
        return "Высота молниеотвода для зоны Б равна ";
    case 4:
        return "Высота одиночного тросового молниеотвода для зоны Б равна ";
    default:
        return {};
    }
}

std::optional<std::pair<std::string, std::string>> RodHeightInputCaptions(std::int32_t code) {
    switch (code) {
    case 1:
    case 4:
        return std::pair<std::string, std::string>("Высота защищаемой зоны hx, м",
                                                   "Радиус защищаемой зоны rx, м");
    case 2:
    case 5:
        return std::pair<std::string, std::string>(
            "Расстояние между молниеотводами L, м",
            "Высота зоны посередине между молниеотводами hc, м");
    default:
        return std::nullopt;
    }
}

std::string RodHeightText(std::int32_t code, double H, std::string_view decimalSeparator) {
    return RodHeightSentence(code) + FixedText(H, 1, decimalSeparator) + " м";
}

} // namespace vostrel
