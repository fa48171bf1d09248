// Walking all nodes of a graph and whole-graph mask operations.
//
// Iteration visits the newest node first and ends with the oldest; nodes
// created during an iteration are not visited by it.
#pragma once

#include "vu/vu_types.h"

namespace Korvex {

// Inline: every whole-graph pass of the library runs on these two.
inline VuNode* vu_firstNodeInGraph(const VuSet* set) {
    return set->liveList ? set->liveList->nextInSet : nullptr;
}
// Null after the last (oldest) node, and for a null node.
inline VuNode* vu_nextNodeInGraph(const VuSet* set, const VuNode* node) {
    // The live-list node is the oldest node and so the last one visited.
    if (!node || node == set->liveList) return nullptr;
    return node->nextInSet;
}
int vu_countNodesInGraph(const VuSet* set);

void vu_clearMaskInSet(VuSet* set, VuMask m);
void vu_setMaskInSet(VuSet* set, VuMask m);

// Each first clears the array, then adds nodes in iteration order.
void vu_collectAllNodes(vuArray* array, VuSet* set);
void vu_collectMaskedNodes(vuArray* array, VuSet* set, VuMask m);
void vu_collectUnmaskedNodes(vuArray* array, VuSet* set, VuMask m);

}  // namespace Korvex
