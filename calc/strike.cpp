#include "strike.h"

#include "numtext.h"

namespace vostrel {

double StrikeCount(double S, double L, double h, double n) {
    const long double a = 6.0L * h + S;
    const long double b = 6.0L * h + L;
    const long double p = a * b; // area of the collection zone, m²
    const long double q = static_cast<long double>(h) * h * 7.7L;
    return static_cast<double>((p - q) * (1e-6L * n)); // m² to km²
}

std::string StrikeCountText(double N, std::string_view decimalSeparator) {
    return FixedText(N, 5, decimalSeparator);
}

} // namespace vostrel
