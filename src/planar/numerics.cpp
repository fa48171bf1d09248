#include "planar/numerics.h"

#include <algorithm>
#include <cmath>

namespace Korvex::detail {
namespace {

// The scaled entries are at most 1 in magnitude, so the plain form cannot
// overflow and is cheaper than std::hypot.
double rootSumSquares(double u, double v) {
    return std::sqrt(u * u + v * v);
}

}  // namespace

bool guardedDivide(double& result, double num, double den, double fallback) {
    if (std::fabs(den) > kRelativeTolerance * std::fabs(num)) {
        result = num / den;
        return true;
    }
    result = fallback;
    return false;
}

bool solveColumnScaled2x2(double& x0, double& x1, double a, double b, double c, double d,
                          double e, double f) {
    x0 = x1 = 0.0;
    const double s0 = std::max(std::fabs(a), std::fabs(c));
    const double s1 = std::max(std::fabs(b), std::fabs(d));
    if (s0 == 0.0 || s1 == 0.0) return false;
    const double alpha = a / s0, gamma = c / s0;
    const double beta = b / s1, delta = d / s1;
    // p + q and |p - q| are the singular values of the scaled matrix, so the
    // test below is a condition-number test that also rejects NaN.
    const double p = 0.5 * rootSumSquares(alpha + delta, beta - gamma);
    const double q = 0.5 * rootSumSquares(alpha - delta, beta + gamma);
    if (!(std::fabs(p - q) > kRelativeTolerance * (p + q))) return false;
    const double det = (p + q) * (p - q);
    x0 = (delta * e - beta * f) / det / s0;
    x1 = (alpha * f - gamma * e) / det / s1;
    return true;
}

}  // namespace Korvex::detail
