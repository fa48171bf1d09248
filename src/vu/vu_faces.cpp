#include "vu/vu_faces.h"

#include "vu/vu_array.h"
#include "vu/vu_graph.h"
#include "vu/vu_node.h"
#include "vu/vu_pools.h"

namespace Korvex {

namespace {

// Trapezoid sum over the face, setting m (when non-zero) on each node. Faces
// of one or two nodes enclose nothing, whatever their coordinates.
double faceArea(VuNode* start, VuMask m) {
    if (!start) return 0.0;
    if (start->fSucc->fSucc == start) {
        if (m) vu_setMaskAroundFace(start, m);
        return 0.0;
    }
    double sum = 0.0;
    VuNode* node = start;
    do {
        VuNode* next = node->fSucc;
        if (m) node->mask |= m;
        sum += (next->xyz.x - node->xyz.x) * (next->xyz.y + node->xyz.y);
        node = next;
    } while (node != start);
    return -0.5 * sum;
}

// Adds one representative per face, the first node met in graph order, when
// its exterior bit equals wantExterior.
void collectFaces(vuArray* array, VuSet* set, bool wantExterior) {
    vu_arrayClear(array);
    const VuMask visited = vu_grabMask(set);
    vu_clearMaskInSet(set, visited);
    for (VuNode* node = vu_firstNodeInGraph(set); node; node = vu_nextNodeInGraph(set, node)) {
        if (vu_getMask(node, visited)) continue;
        if ((vu_getMask(node, VU_EXTERIOR_EDGE) != 0) == wantExterior) vu_arrayAdd(array, node);
        vu_setMaskAroundFace(node, visited);
    }
    vu_returnMask(set, visited);
}

}  // namespace

double vu_area(const VuNode* node) {
    return faceArea(const_cast<VuNode*>(node), 0);
}

double vu_areaWithMask(VuNode* node, VuMask m) { return faceArea(node, m); }

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
    const VuMask visited = vu_grabMask(set);
    vu_clearMaskInSet(set, visited);
    for (VuNode* node = vu_firstNodeInGraph(set); node; node = vu_nextNodeInGraph(set, node)) {
        if (vu_getMask(node, visited)) continue;
        if (vu_findMaskAroundFace(node, m)) vu_setMaskAroundFace(node, m);
        vu_setMaskAroundFace(node, visited);
    }
    vu_returnMask(set, visited);
}

}  // namespace Korvex
