// Reading faces and vertices out of a graph, and exterior marking.
#pragma once

#include "vu/vu_types.h"

namespace Korvex {

// Signed XY area of the node's face, positive counter-clockwise; 0 for a null
// node and for faces of one or two nodes.
double vu_area(const VuNode* node);
// vu_area, also setting m on every node of the face.
double vu_areaWithMask(VuNode* node, VuMask m);

// One representative node (the first met in graph order) per face whose
// representative lacks (Interior) or carries (Exterior) VU_EXTERIOR_EDGE.
// Each first clears the array.
void vu_collectInteriorFaceLoops(vuArray* array, VuSet* set);
void vu_collectExteriorFaceLoops(vuArray* array, VuSet* set);
// One node per vertex that has a node without VU_EXTERIOR_EDGE.
void vu_collectVertexLoops(vuArray* array, VuSet* set);

// Every face with m on any node gets m on all its nodes.
void vu_spreadMaskAroundFaces(VuSet* set, VuMask m);

// Marks faces exterior or interior by alternation across boundary edges,
// starting from the exterior seeds: with markByArea, every face of three or
// more nodes with area <= 0; otherwise the existing VU_EXTERIOR_EDGE marks.
void vu_markAlternatingExteriorBoundaries(VuSet* set, bool markByArea);

}  // namespace Korvex
