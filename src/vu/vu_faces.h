// Reading faces and vertices out of a graph, and exterior marking.
#pragma once

#include "vu/vu_types.h"

namespace Korvex {

// Walks the face once, calling visit on every node (Node is VuNode or const
// VuNode), and returns its area as vu_area gives it. Steps that mark a face
// and need its area do both in the one walk.
template <typename Node, typename Visit>
inline double vu_areaVisitingFace(Node* face, Visit visit) {
    double sum = 0.0;
    Node* x = face;
    do {
        visit(x);
        Node* y = x->fSucc;
        sum += (y->xyz.x - x->xyz.x) * (y->xyz.y + x->xyz.y);
        x = y;
    } while (x != face);
    // Faces of one or two nodes enclose nothing, whatever their coordinates.
    return face->fSucc->fSucc == face ? 0.0 : -0.5 * sum;
}

// Signed XY area of the node's face, positive counter-clockwise; 0 for a null
// node and for faces of one or two nodes.
double vu_area(const VuNode* node);
// vu_area, also setting m on every node of the face, in one walk.
inline double vu_areaWithMask(VuNode* node, VuMask m) {
    if (!node) return 0.0;
    return vu_areaVisitingFace(node, [=](VuNode* x) { x->mask |= m; });
}

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
