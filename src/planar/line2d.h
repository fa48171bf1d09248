// Intersection of and projection onto infinite lines in DPoint2d, each line
// given by two of its points. Inputs must point at values; a null output is
// skipped.
#pragma once

#include "planar/planar_types.h"

namespace Korvex {

// Intersects line A (a0 -> a1) with line B (b0 -> b1). On success writes the
// point of line A at its fraction and both fractions; false, writing nothing,
// for parallel, degenerate or ill-conditioned lines. Outputs may be null.
bool tgxVector2d_intersectLines(DPoint2d* point, double* fractionA, double* fractionB,
                                const DPoint2d* a0, const DPoint2d* a1, const DPoint2d* b0,
                                const DPoint2d* b1);

// Projects point onto the line start -> end. The fraction is U.W / U.U unless
// that would exceed 1e14 (or the line has no length): then it is 0 and the
// result false. The output point is start + fraction * U in both cases.
// Outputs may be null.
bool tgxVector2d_projectPointToLine(DPoint2d* projection, double* fraction,
                                    const DPoint2d* point, const DPoint2d* start,
                                    const DPoint2d* end);

}  // namespace Korvex
