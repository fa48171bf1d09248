#include "vu/vu_graph.h"

#include "vu/vu_array.h"

namespace Korvex {

namespace {

// Newest to oldest. The visits may not change the live list, so its end is
// read once.
template <typename Visit>
void forEachNodeInGraph(const VuSet* set, Visit visit) {
    VuNode* const oldest = set->liveList;
    if (!oldest) return;
    VuNode* node = oldest->nextInSet;
    for (;;) {
        visit(node);
        if (node == oldest) return;
        node = node->nextInSet;
    }
}

}  // namespace

int vu_countNodesInGraph(const VuSet* set) {
    int count = 0;
    forEachNodeInGraph(set, [&](VuNode*) { ++count; });
    return count;
}

void vu_clearMaskInSet(VuSet* set, VuMask m) {
    forEachNodeInGraph(set, [=](VuNode* node) { node->mask &= ~m; });
}

void vu_setMaskInSet(VuSet* set, VuMask m) {
    forEachNodeInGraph(set, [=](VuNode* node) { node->mask |= m; });
}

void vu_collectAllNodes(vuArray* array, VuSet* set) {
    vu_arrayClear(array);
    forEachNodeInGraph(set, [=](VuNode* node) { vu_arrayAdd(array, node); });
}

void vu_collectMaskedNodes(vuArray* array, VuSet* set, VuMask m) {
    vu_arrayClear(array);
    forEachNodeInGraph(set, [=](VuNode* node) {
        if (node->mask & m) vu_arrayAdd(array, node);
    });
}

void vu_collectUnmaskedNodes(vuArray* array, VuSet* set, VuMask m) {
    vu_arrayClear(array);
    forEachNodeInGraph(set, [=](VuNode* node) {
        if (!(node->mask & m)) vu_arrayAdd(array, node);
    });
}

}  // namespace Korvex
