// Visiting each face of a graph once, at the first of its nodes met in graph
// order. Uses one pooled mask for the visit marks and returns it.
#pragma once

#include "vu/vu_graph.h"
#include "vu/vu_node.h"
#include "vu/vu_pools.h"

namespace Korvex {

template <typename Visit>
void vu_forEachFaceInGraph(VuSet* set, Visit visit) {
    const VuMask visited = vu_grabMask(set);
    vu_clearMaskInSet(set, visited);
    for (VuNode* node = vu_firstNodeInGraph(set); node; node = vu_nextNodeInGraph(set, node)) {
        if (vu_getMask(node, visited)) continue;
        visit(node);
        vu_setMaskAroundFace(node, visited);
    }
    vu_returnMask(set, visited);
}

}  // namespace Korvex
