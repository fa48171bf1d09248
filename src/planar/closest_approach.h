// Closest points between the boundaries of two polygons in space.
#pragma once

#include "planar/planar_types.h"

namespace Korvex {

// Finds a close pair of points, pointA on polygon A and pointB on polygon B
// (each closed implicitly; an explicit closure point is ignored):
// - where the line common to the two polygons' planes runs inside both, the
//   point where it first does so (for both outputs);
// - otherwise the best of the first points of both, a vertex above or below
//   the other polygon's face and its foot on that face, and edge pairs matched
//   through the closest points of their lines (clamped to the edges).
// Polygons in one plane meet only through their boundaries: a polygon wholly
// inside the other gives the boundary-to-boundary distance, not 0.
// Disconnect points split an array into rings; every ring is closed on its
// own and takes part with its own vertices and edges.
// false, writing nothing, when either count is below 1 or an array is null;
// otherwise true. Both outputs may be null. Quadratic in the counts; no heap.
bool tgxPolygon_closestApproachBetweenPolygons(DPoint3d* pointA, DPoint3d* pointB,
                                               const DPoint3d* pointsA, int countA,
                                               const DPoint3d* pointsB, int countB);

}  // namespace Korvex
