#include "vu/vu_stack.h"

#include <vector>

#include "vu/vu_array.h"
#include "vu/vu_set.h"
#include "vu/vu_topology.h"

namespace Korvex {

namespace {

// The nodes of a saved circular list in iteration order (newest first).
std::vector<VuNode*> nodesOfSavedGraph(VuNode* liveNode) {
    std::vector<VuNode*> nodes;
    VuNode* node = liveNode;
    do {
        node = node->nextInSet;
        nodes.push_back(node);
    } while (node != liveNode);
    return nodes;
}

// Fresh nodes for a copy, allocated oldest first so that the copy iterates in
// the same order as the original. Empty after sending the out-of-memory message.
std::vector<VuNode*> allocateCopies(VuSet* set, const std::vector<VuNode*>& originals) {
    std::vector<VuNode*> copies(originals.size());
    for (std::size_t i = originals.size(); i-- > 0;) {
        copies[i] = vu_allocateNode(set);
        if (!copies[i]) {
            vu_sendMessage(set, VU_MSG_OUT_OF_MEMORY, nullptr, nullptr);
            return {};
        }
    }
    return copies;
}

void copyNodeContents(VuNode* copy, const VuNode* original) {
    copy->mask = original->mask;
    copy->id = original->id;
    copy->auxIndex = original->auxIndex;
    copy->userDataP = original->userDataP;
    copy->xyz = original->xyz;
}

// Links the copies like the originals, mapping successors by list position.
// The originals' auxIndex holds the position meanwhile and is restored.
void copyTopology(const std::vector<VuNode*>& originals, const std::vector<VuNode*>& copies) {
    for (std::size_t i = 0; i < originals.size(); ++i)
        originals[i]->auxIndex = static_cast<int>(i);
    for (std::size_t i = 0; i < originals.size(); ++i) {
        copies[i]->fSucc = copies[static_cast<std::size_t>(originals[i]->fSucc->auxIndex)];
        copies[i]->vSucc = copies[static_cast<std::size_t>(originals[i]->vSucc->auxIndex)];
    }
    for (std::size_t i = 0; i < originals.size(); ++i)
        originals[i]->auxIndex = copies[i]->auxIndex;
}

void spliceIntoGraph(VuSet* set, VuNode* savedLiveNode) {
    if (!set->liveList) {
        set->liveList = savedLiveNode;
        return;
    }
    // Exchanging the successors of the two live-list nodes joins the circles.
    VuNode* next = set->liveList->nextInSet;
    set->liveList->nextInSet = savedLiveNode->nextInSet;
    savedLiveNode->nextInSet = next;
}

}  // namespace

int vu_stackPush(VuSet* set) {
    if (set->liveList) {
        const int depth = vu_arraySize(set->stack);
        vu_arrayAdd(set->stack, set->liveList);
        // Keep the graph when there was no room to save it.
        if (vu_arraySize(set->stack) > depth) set->liveList = nullptr;
    }
    return vu_arraySize(set->stack);
}

int vu_stackPushCopy(VuSet* set) {
    const int depthBefore = vu_arraySize(set->stack);
    const int depth = vu_stackPush(set);
    if (depth == depthBefore) return depth;
    const std::vector<VuNode*> originals = nodesOfSavedGraph(vu_arrayGet(set->stack, depth - 1));
    const std::vector<VuNode*> copies = allocateCopies(set, originals);
    if (copies.empty()) return depth;
    for (std::size_t i = 0; i < originals.size(); ++i) copyNodeContents(copies[i], originals[i]);
    copyTopology(originals, copies);
    return depth;
}

int vu_stackPop(VuSet* set) {
    VuNode* saved = vu_arrayRemoveLast(set->stack);
    if (saved) spliceIntoGraph(set, saved);
    return vu_arraySize(set->stack);
}

int vu_stackPopWithOperation(VuSet* set, VuGraphOperation operation, void* /*userData*/) {
    const int depth = vu_stackPop(set);
    if (operation) operation(set);
    return depth;
}

void vu_stackPopAll(VuSet* set) {
    while (vu_stackSize(set) > 0) vu_stackPop(set);
}

void vu_stackExchange(VuSet* set) {
    const int depth = vu_arraySize(set->stack);
    if (depth == 0) return;
    // The stack never holds an empty graph: swapping one in is a plain pop.
    if (!set->liveList) {
        vu_stackPop(set);
        return;
    }
    VuNode* saved = set->stack->data[depth - 1];
    set->stack->data[depth - 1] = set->liveList;
    set->liveList = saved;
}

int vu_stackSize(const VuSet* set) { return vu_arraySize(set->stack); }

}  // namespace Korvex
