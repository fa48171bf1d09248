#include "vu/vu_triangulate.h"

#include <utility>

#include "vu/vu_array.h"
#include "vu/vu_faces.h"
#include "vu/vu_graph.h"
#include "vu/vu_pools.h"
#include "vu/vu_set.h"
#include "vu/vu_triangulate_face.h"

namespace Korvex {

namespace {

// (x, y) -> (-y, x), or back with (x, y) -> (y, -x). Both are exact.
void turnQuarterTurn(VuSet* set, bool back) {
    for (VuNode* node = vu_firstNodeInGraph(set); node; node = vu_nextNodeInGraph(set, node)) {
        const double x = node->xyz.x;
        const double y = node->xyz.y;
        node->xyz.x = back ? y : -y;
        node->xyz.y = back ? -x : x;
    }
    std::swap(set->auxVector.x, set->auxVector.y);
}

void triangulateFace(VuSet* set, VuNode* face, vuArray* chains, vuArray* stack) {
    VuNode* lowest = vu_lowestNodeAroundFace(face);
    if (VuNode* highest = vu_monotoneFaceTop(lowest)) {
        vu_triangulateMonotoneFace(set, lowest, highest, chains, stack);
        return;
    }
    vu_sendMessage(set, VU_MSG_OUT_OF_MEMORY, nullptr, nullptr);
    vu_triangulateStarFace(set, lowest);
}

}  // namespace

void vu_triangulateMonotoneInteriorFaces(VuSet* set, bool quarterTurn) {
    if (!set) return;
    vuArray* faces = vu_grabArray(set);
    vuArray* chains = vu_grabArray(set);
    vuArray* stack = vu_grabArray(set);
    if (faces && chains && stack) {
        if (quarterTurn) turnQuarterTurn(set, false);
        vu_collectInteriorFaceLoops(faces, set);
        for (int i = 0; i < vu_arraySize(faces); ++i)
            triangulateFace(set, vu_arrayGet(faces, i), chains, stack);
        if (quarterTurn) turnQuarterTurn(set, true);
    }
    vu_returnArray(set, stack);
    vu_returnArray(set, chains);
    vu_returnArray(set, faces);
}

}  // namespace Korvex
