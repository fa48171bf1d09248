// Normal, area, centroid and perimeter of a planar polygon in space, held as a
// flat array of loops separated by disconnect points.
#pragma once

#include "planar/planar_types.h"

namespace Korvex {

// The area of the polygon, never negative, with its unit normal (zero for
// fewer than three points or zero area) and its first point. A null array
// writes nothing; every output may be null. Loops of opposite orientation
// subtract from each other.
double tgxPolygon_normalAndArea(DPoint3d* normal, DPoint3d* origin, const DPoint3d* points,
                                int count);

// The area-weighted centroid, unit normal, area, perimeter (3D lengths, every
// loop closed) and planarity spread (the extent of the points' distances from
// the plane through the centroid). Every requested output is written in every
// case: a zero centroid, area, perimeter and spread when the polygon has no
// area, and then the result is false.
bool tgxPolygon_centroidAreaPerimeter(const DPoint3d* points, int count, DPoint3d* centroid,
                                      DPoint3d* normal, double* area, double* perimeter,
                                      double* planaritySpread);

}  // namespace Korvex
