// Edge flips between pairs of triangles that improve triangle shape.
#pragma once

#include "vu/vu_types.h"

namespace Korvex {

// Flips the shared edge of two triangular faces to the other diagonal of
// their quadrilateral whenever that raises the worse of the two triangles'
// quadratic aspect ratios (twice the signed area over the sum of the squared
// edge lengths). Masks are not consulted: any edge between two triangles may
// flip, boundary edges included. Work is bounded by max(20, n / 60) * n edge
// visits for n nodes, so the loop ends even when flips would cycle. Shapes
// are measured in plain x and y; the set's auxVector is not consulted. Needs
// one free array in the set's pool, else nothing is done.
void vu_flipTrianglesToImproveQuadraticAspectRatio(VuSet* set);

}  // namespace Korvex
