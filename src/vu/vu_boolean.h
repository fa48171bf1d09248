// Intersection, union and symmetric difference of two regions held in one
// graph. Each operand's edges carry VU_BOUNDARY_EDGE, and VU_EXTERIOR_EDGE on
// the side outside that operand (vu_markAlternatingExteriorBoundaries). Build
// operand A, vu_stackPush, build operand B, then
// vu_stackPopWithOperation(set, vu_andLoops, nullptr). Afterwards the faces
// without VU_EXTERIOR_EDGE are the result, each a counter-clockwise loop of
// its boundary (a hole is a separate clockwise loop); read them with
// vu_collectInteriorFaceLoops. A - B is (A xor B) and A.
#pragma once

#include "vu/vu_types.h"

namespace Korvex {

// The results carry no information; an empty graph is left unchanged.
int vu_andLoops(VuSet* set);
int vu_orLoops(VuSet* set);
int vu_xorLoops(VuSet* set);

}  // namespace Korvex
