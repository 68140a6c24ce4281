#include "rodheight.h"

#include "calc/catenary.h"
#include "numtext.h"

#include <cmath>
#include <limits>

namespace vostrel {

namespace {
constexpr long double kInfinity = std::numeric_limits<long double>::infinity();

// The smaller root of a·h² − b·h + c = 0 (a, b, c ≥ 0): the zone A radius
// (α − a·h)(h − hx/0,85) grows with h up to far beyond 150 m, so the smaller
// root is the lowest rod that reaches the radius. Written as 2c/(b + √d) to
// keep its digits; +inf when no h reaches it.
long double SmallerRoot(long double a, long double b, long double c) {
    const long double d = b * b - 4 * a * c;
    if (!(d >= 0))
        return kInfinity;
    return 2 * c / (b + std::sqrt(d));
}

// The positive root of a·h² + b·h − c = 0 (a > 0, c ≥ 0); the zone height
// midway between two rods grows with h, so it is the only height that gives c.
long double PositiveRoot(long double a, long double b, long double c) {
    const long double root = std::sqrt(b * b + 4 * a * c);
    return b >= 0 ? 2 * c / (b + root) : (root - b) / (2 * a);
}

// Zone A: rx = (α − β·h)(h − hx/0,85) solved for h.
long double ZoneARadiusHeight(long double alpha, long double beta, long double hx, long double rx) {
    const long double k = hx / 0.85L;
    return SmallerRoot(beta, alpha + beta * k, alpha * k + rx);
}

// Zone A: hc = 0,85h − (γ + δ·h)(L − h) solved for h.
long double ZoneAMidwayHeight(long double gamma, long double delta, long double L, long double hc) {
    return PositiveRoot(delta, 0.85L + gamma - delta * L, gamma * L + hc);
}

long double ZoneA(std::int32_t code, long double p, long double q) {
    switch (code) {
    case 1: // rx = (1,1 − 0,002h)(h − hx/0,85)
        return ZoneARadiusHeight(1.1L, 0.002L, p, q);
    case 2: // hc = h0 − (0,17 + 3·10⁻⁴h)(L − h)
        return ZoneAMidwayHeight(0.17L, 3e-4L, p, q);
    case 4: // rx = (1,35 − 0,0025h)(h − hx/0,85)
        return ZoneARadiusHeight(1.35L, 0.0025L, p, q);
    default: // 5: hc = h0 − (0,14 + 5·10⁻⁴h)(L − h)
        return ZoneAMidwayHeight(0.14L, 5e-4L, p, q);
    }
}

// Zone B: the instruction's height formulas. Constants at the widths the
// design rules fix: 1.5 in single precision, the rest in extended. Two cables
// divide by 0,92 + 0,12 = 1,04, which their zone's hc = h0 − 0,12(L − h)
// gives; 1,06 (the double rods' 0,92 + 0,14) would leave them too low.
long double ZoneB(std::int32_t code, long double p, long double q) {
    constexpr long double kRodFactor = 1.63L;
    constexpr float kRodDivisor = 1.5f;
    constexpr long double kDoubleRodFactor = 0.14L, kDoubleDivisor = 1.06L;
    constexpr long double kCableFactor = 1.85L, kCableDivisor = 1.7L;
    constexpr long double kDoubleCableFactor = 0.12L, kDoubleCableDivisor = 1.04L;
    switch (code) {
    case 1: // h = (rx + 1,63hx) / 1,5
        return (kRodFactor * p + q) / kRodDivisor;
    case 2: // h = (hc + 0,14L) / 1,06
        return (kDoubleRodFactor * p + q) / kDoubleDivisor;
    case 4: // h = (rx + 1,85hx) / 1,7
        return (kCableFactor * p + q) / kCableDivisor;
    default: // 5: h = (hc + 0,12L) / 1,04
        return (kDoubleCableFactor * p + q) / kDoubleCableDivisor;
    }
}

std::string ZoneWords(ZoneKind zone) {
    return zone == ZoneKind::A ? "для зоны А" : "для зоны Б";
}
} // namespace

std::optional<double> RequiredRodHeight(std::int32_t code, ZoneKind zone, double p, double q) {
    if (!HasRodHeightFormula(code))
        return std::nullopt;
    return static_cast<double>(zone == ZoneKind::A ? ZoneA(code, p, q) : ZoneB(code, p, q));
}

std::optional<SupportHeight> CatenarySupportHeight(double h, double a) {
    // The sag as the zone's calculation takes it from the span.
    const std::optional<double> cableBelowZero = CatenaryHeight(0, a);
    if (!cableBelowZero)
        return std::nullopt;
    const double sag = -*cableBelowZero;
    return SupportHeight{h + sag, sag};
}

std::optional<RodHeightCaptions> RodHeightInputCaptions(std::int32_t code) {
    const std::string hx = "Высота защищаемой зоны hx, м", rx = "Радиус защищаемой зоны rx, м";
    const std::string L = "Расстояние между молниеотводами L, м",
                      hc = "Высота зоны посередине между молниеотводами hc, м";
    const std::string span = "Длина пролёта троса a, м";
    switch (code) {
    case 1:
    case 3:
        return RodHeightCaptions{hx, rx, {}};
    case 2:
        return RodHeightCaptions{L, hc, {}};
    case 4:
        return RodHeightCaptions{hx, rx, span};
    case 5:
        return RodHeightCaptions{L, hc, span};
    default:
        return std::nullopt;
    }
}

std::string RodHeightText(std::int32_t code, ZoneKind zone, double h,
                          std::optional<SupportHeight> support, std::string_view decimalSeparator) {
    const auto metres = [&](double value) { return FixedText(value, 1, decimalSeparator) + " м"; };
    const std::string equals = ZoneWords(zone) + " равна ";
    if (support) {
        const std::string what =
            code == 4 ? "одиночного тросового молниеотвода" : "двойного тросового молниеотвода";
        const std::string cable = code == 4 ? "трос на высоте " : "тросы на высоте ";
        const std::string span =
            support->sag < 2.5 ? " при пролёте меньше 120 м" : " при пролёте от 120 м";
        return "Высота опор " + what + " " + equals + metres(support->hop) + "\n" + cable +
               metres(h) + ", провес " + FixedText(support->sag, 0, decimalSeparator) + " м" + span;
    }
    switch (code) {
    case 1:
        return "Высота одиночного стержневого молниеотвода " + equals + metres(h);
    case 3:
        return "Высота молниеотвода (как одиночного стержневого) " + equals + metres(h);
    default:
        return "Высота молниеотвода " + equals + metres(h);
    }
}

} // namespace vostrel
