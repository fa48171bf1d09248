// Guarded division and the column-scaled 2x2 solver used by the projection,
// intersection and closest-approach routines. Internal to the layer.
#pragma once

namespace Korvex::detail {

// Relative tolerance of the planar decisions.
inline constexpr double kRelativeTolerance = 1.0e-12;

// num / den when |den| > 1e-12 * |num| (strictly), else fallback. 0/0 and any
// NaN operand fail.
bool guardedDivide(double& result, double num, double den, double fallback);

// Solves a*x0 + b*x1 = e, c*x0 + d*x1 = f after scaling each column to unit
// max-norm; fails (x0 = x1 = 0) when a column is zero or the scaled matrix is
// singular to within 1e-12 relative to its largest singular value.
bool solveColumnScaled2x2(double& x0, double& x1, double a, double b, double c, double d,
                          double e, double f);

}  // namespace Korvex::detail
