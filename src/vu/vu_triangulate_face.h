// Triangulation of single faces, for vu_triangulateMonotoneInteriorFaces.
#pragma once

#include "vu/vu_types.h"

namespace Korvex {

// The first node of the face at its lowest point in the sweep order.
VuNode* vu_lowestNodeAroundFace(VuNode* face);

// The node where the climbs from the lowest node along face successors and
// along face predecessors both stop rising, or null when they stop at
// different nodes: then the face is not monotone.
VuNode* vu_monotoneFaceTop(VuNode* lowest);

// Splits a monotone face into triangles with diagonals inside it, walking its
// two chains from lowest to highest. chains and stack are scratch arrays.
void vu_triangulateMonotoneFace(VuSet* set, VuNode* lowest, VuNode* highest, vuArray* chains,
                                vuArray* stack);

// Fans a face of 6 or more nodes from a new vertex at its area centroid (z 0).
// False, with the face unchanged, when the area is 0 or not finite, or when
// the fan from the lowest node folds over and the centroid does not see every
// boundary edge strictly counterclockwise.
bool vu_triangulateStarFace(VuSet* set, VuNode* lowest);

}  // namespace Korvex
