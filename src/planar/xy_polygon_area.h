// Signed area of a flat array of loops in the XY plane.
#pragma once

#include "planar/planar_types.h"

namespace Korvex {

// The signed XY area of all loops of the array (disconnect points separate
// loops), counterclockwise positive; each loop is fanned from its own first
// point and loops add with their signs, so an oppositely turning hole
// subtracts. 0 when count <= 2. z is ignored.
double tgxGeom_getXYPolygonArea(const DPoint3d* points, int count);

}  // namespace Korvex
