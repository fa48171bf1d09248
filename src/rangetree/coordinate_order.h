// A total order on coordinates for sorting: the usual order on numbers, with
// every NaN after every number. Plain < is not a strict weak order once NaN
// turns up, and a sort handed such an order may run off the end of its array.
#pragma once

#include <cmath>

namespace Korvex::Geom {

// Negative, zero or positive as a sorts before, with or after b.
inline int CompareCoordinates(double a, double b) {
    if (a < b) return -1;
    if (b < a) return 1;
    if (a == b) return 0;
    const bool aIsNan = std::isnan(a);
    const bool bIsNan = std::isnan(b);
    if (aIsNan == bIsNan) return 0;
    return aIsNan ? 1 : -1;
}

// Orders pairs by their first coordinate, then by their second.
inline bool CoordinatePairLess(double a0, double a1, double b0, double b1) {
    const int first = CompareCoordinates(a0, b0);
    return first != 0 ? first < 0 : CompareCoordinates(a1, b1) < 0;
}

}  // namespace Korvex::Geom
