// Triangulation of the interior faces of a regularized graph.
#pragma once

#include "vu/vu_types.h"

namespace Korvex {

// Splits every interior face (one whose nodes lack VU_EXTERIOR_EDGE) into
// triangles by diagonals between its nodes. A face that is not monotone in
// the sweep order is reported with message -200 and fanned from a new vertex
// at its area centroid instead, or left alone when that centroid cannot see
// its whole boundary. With quarterTurn the sweep order is taken on the graph
// turned a quarter turn counterclockwise (x, y) -> (-y, x), which is undone
// afterwards; the set's auxVector has its x and y swapped meanwhile.
// Needs 3 free arrays in the set's pool, else nothing is done.
void vu_triangulateMonotoneInteriorFaces(VuSet* set, bool quarterTurn);

}  // namespace Korvex
