// Expected annual number of lightning strikes into a building.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vostrel {

// A legend entry of the thunderstorm map: mean annual thunderstorm duration
// and the lightning strike density it stands for (strikes per km² a year).
struct ThunderstormClass {
    int hours;
    double density;
};

// The eight legend entries, in the order of the map's click areas.
inline constexpr std::array<ThunderstormClass, 8> kThunderstormClasses{{
    {5, 1.0},
    {10, 1.0},
    {20, 2.0},
    {40, 4.0},
    {60, 5.5},
    {80, 7.0},
    {100, 8.5},
    {140, 8.5},
}};

// N = ((S + 6h)(L + 6h) - 7.7h²) · n · 10⁻⁶ for width S, length L and
// greatest height h in metres and strike density n, evaluated in extended
// precision and rounded to double.
double StrikeCount(double S, double L, double h, double n);

// N as shown to the user: fixed-point text with five decimals.
std::string StrikeCountText(double N, std::string_view decimalSeparator);

} // namespace vostrel
