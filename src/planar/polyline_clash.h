// Whether two polylines cross or touch in the XY plane.
#pragma once

#include "planar/planar_types.h"

namespace Korvex {

// True when some edge of the first polyline crosses or touches (end points
// included, with a relative tolerance of 1e-12) some edge of the second in XY.
// A closed flag adds the edge between the first and last points when they
// differ. Parallel and collinear edges never clash, even when they overlap.
// Each array needs at least one point; an empty or null array never clashes.
bool tgxDPoint3dArray_polylineClashXY(const DPoint3d* pointsA, int countA, bool closedA,
                                      const DPoint3d* pointsB, int countB, bool closedB);

}  // namespace Korvex
