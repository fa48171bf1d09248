#include "planar/line2d.h"

#include "planar/numerics.h"
#include "planar/vector_ops.h"

namespace Korvex {
namespace {

// Fractions at or beyond this bound count as a failed projection: the point is
// then too far along a line that is too short to be trusted.
constexpr double kMaxProjectionFraction = 1.0e14;

}  // namespace

bool tgxVector2d_intersectLines(DPoint2d* point, double* fractionA, double* fractionB,
                                const DPoint2d* a0, const DPoint2d* a1, const DPoint2d* b0,
                                const DPoint2d* b1) {
    const DPoint2d ua = detail::sub(*a1, *a0);
    const DPoint2d ub = detail::sub(*b1, *b0);
    const DPoint2d w = detail::sub(*b0, *a0);
    double fa = 0.0, fb = 0.0;
    if (!detail::solveColumnScaled2x2(fa, fb, ua.x, -ub.x, ua.y, -ub.y, w.x, w.y)) return false;
    if (point != nullptr) *point = {a0->x + fa * ua.x, a0->y + fa * ua.y};
    if (fractionA != nullptr) *fractionA = fa;
    if (fractionB != nullptr) *fractionB = fb;
    return true;
}

bool tgxVector2d_projectPointToLine(DPoint2d* projection, double* fraction,
                                    const DPoint2d* point, const DPoint2d* start,
                                    const DPoint2d* end) {
    const DPoint2d u = detail::sub(*end, *start);
    const DPoint2d w = detail::sub(*point, *start);
    const double num = detail::dot(u, w);
    const double den = detail::dot(u, u);
    // Signed comparison: any point behind the start of a real line projects.
    const bool projected = num < kMaxProjectionFraction * den;
    const double f = projected ? num / den : 0.0;
    if (fraction != nullptr) *fraction = f;
    if (projection != nullptr) *projection = {start->x + f * u.x, start->y + f * u.y};
    return projected;
}

}  // namespace Korvex
