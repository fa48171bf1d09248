#include "vu/vu_faces.h"

#include "vu/vu_array.h"
#include "vu/vu_face_walk.h"
#include "vu/vu_graph.h"
#include "vu/vu_node.h"
#include "vu/vu_pools.h"

namespace Korvex {

namespace {

// Adds one representative per face, the first node met in graph order, when
// its exterior bit equals wantExterior.
void collectFaces(vuArray* array, VuSet* set, bool wantExterior) {
    vu_arrayClear(array);
    vu_forEachFaceInGraph(set, [=](VuNode* face) {
        if ((vu_getMask(face, VU_EXTERIOR_EDGE) != 0) == wantExterior) vu_arrayAdd(array, face);
    });
}

}  // namespace

double vu_area(const VuNode* node) {
    if (!node) return 0.0;
    return vu_areaVisitingFace(node, [](const VuNode*) {});
}


void vu_collectInteriorFaceLoops(vuArray* array, VuSet* set) { collectFaces(array, set, false); }

void vu_collectExteriorFaceLoops(vuArray* array, VuSet* set) { collectFaces(array, set, true); }

void vu_collectVertexLoops(vuArray* array, VuSet* set) {
    vu_arrayClear(array);
    const VuMask visited = vu_grabMask(set);
    vu_clearMaskInSet(set, visited);
    for (VuNode* node = vu_firstNodeInGraph(set); node; node = vu_nextNodeInGraph(set, node)) {
        if (vu_getMask(node, visited | VU_EXTERIOR_EDGE)) continue;
        vu_arrayAdd(array, node);
        vu_setMaskAroundVertex(node, visited);
    }
    vu_returnMask(set, visited);
}

void vu_spreadMaskAroundFaces(VuSet* set, VuMask m) {
    vu_forEachFaceInGraph(set, [=](VuNode* face) {
        if (vu_findMaskAroundFace(face, m)) vu_setMaskAroundFace(face, m);
    });
}

}  // namespace Korvex
