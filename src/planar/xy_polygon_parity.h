// Point-in-polygon classification in the XY plane.
#pragma once

#include "planar/planar_types.h"

namespace Korvex {

// Classifies the XY position of point against all loops of the array
// (disconnect points separate loops): 1 inside (an odd number of loops contain
// it), 0 on a boundary within tolerance, -1 outside (also for a negative
// count), -2 when no probe line through the point avoids every vertex.
int tgxGeom_XYPolygonParity(const DPoint3d* point, const DPoint3d* points, int count,
                            double tolerance);

}  // namespace Korvex
