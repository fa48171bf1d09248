#include "vu/vu_topology.h"

#include "vu/vu_graph.h"
#include "vu/vu_node.h"
#include "vu/vu_node_pool.h"
#include "vu/vu_set.h"

namespace Korvex {

namespace {

void store(VuNode** out, VuNode* node) {
    if (out) *out = node;
}

// Two fresh nodes, or false with nothing kept when memory runs out.
inline bool allocatePair(VuSet* set, VuNode** a, VuNode** b) {
    *a = vuNodePool_take(set);
    *b = *a ? vuNodePool_take(set) : nullptr;
    if (*b) return true;
    if (*a) vuNodePool_releaseNewest(set);
    *a = nullptr;
    return false;
}

// Two fresh nodes linked by link, announced with the message.
template <typename Link>
void createLinkedPair(VuSet* set, VuNode** nodeA, VuNode** nodeB, vumessagetype message,
                      Link link) {
    VuNode* a = nullptr;
    VuNode* b = nullptr;
    if (allocatePair(set, &a, &b)) {
        link(a, b);
        vu_sendMessage(set, message, a, b);
    }
    store(nodeA, a);
    store(nodeB, b);
}

// Gives the new end of an edge the properties of the vertex it joins.
void inheritFromVertex(const VuSet* set, VuNode* newEnd, const VuNode* vertexNode) {
    newEnd->mask |= vertexNode->mask & set->joinInheritMask;
    newEnd->xyz = vertexNode->xyz;
    if (set->userDataPIsVertexProperty) newEnd->userDataP = vertexNode->userDataP;
    if (set->userData2IsVertexProperty) newEnd->userData2 = vertexNode->userData2;
}

// Gives a new piece of a split edge the properties of the side it continues.
void inheritFromEdgeSide(const VuSet* set, VuNode* piece, const VuNode* side) {
    piece->mask = side->mask & set->splitInheritMask;
    if (set->userDataPIsEdgeProperty) piece->userDataP = side->userDataP;
    if (set->userData2IsEdgeProperty) piece->userData2 = side->userData2;
}

bool isMarked(const VuNode* node, VuMask m) { return (node->mask & m) != 0; }

// Unhooks the edge of x (which carries m) from both its vertices.
void detachMarkedEdge(VuSet* set, VuNode* x, VuMask m) {
    VuNode* y = vu_edgeMate(x);
    y->mask |= m;
    if (y->fSucc != x) vu_twistVertexLoops(set, x, y->fSucc);
    // When y is already alone at its vertex, beyond is y and the twist is a
    // harmless no-op (it still sends its messages).
    VuNode* beyond = y->fSucc->vSucc->fSucc;
    if (beyond != x) vu_twistVertexLoops(set, y, beyond);
}

// Drops the marked nodes from the live list onto the free list, keeping the
// survivors' order; the newest-to-oldest order is rebuilt around the last
// survivor, which becomes the live-list node.
void releaseMarkedNodes(VuSet* set, VuMask m) {
    VuNode* firstSurvivor = nullptr;
    VuNode* lastSurvivor = nullptr;
    VuNode* node = vu_firstNodeInGraph(set);
    while (node) {
        VuNode* next = vu_nextNodeInGraph(set, node);
        if (isMarked(node, m)) {
            vuNodePool_recycle(set, node);
        } else {
            if (lastSurvivor) lastSurvivor->nextInSet = node;
            else firstSurvivor = node;
            lastSurvivor = node;
        }
        node = next;
    }
    set->liveList = lastSurvivor;
    if (lastSurvivor) lastSurvivor->nextInSet = firstSurvivor;
}

}  // namespace

void vu_createFreeEdge(VuSet* set, VuNode** nodeA, VuNode** nodeB) {
    createLinkedPair(set, nodeA, nodeB, VU_MSG_NEW_FREE_EDGE, [](VuNode* a, VuNode* b) {
        a->fSucc = b;
        b->fSucc = a;
    });
}

void vu_createSlingEdge(VuSet* set, VuNode** nodeA, VuNode** nodeB) {
    createLinkedPair(set, nodeA, nodeB, VU_MSG_NEW_SLING, [](VuNode* a, VuNode* b) {
        a->vSucc = b;
        b->vSucc = a;
    });
}

void vu_twistVertexLoops(VuSet* set, VuNode* nodeA, VuNode* nodeB) {
    vu_sendMessage(set, VU_MSG_PRE_VERTEX_TWIST, nodeA, nodeB);
    VuNode* predA = vu_fpred(nodeA);
    VuNode* predB = vu_fpred(nodeB);
    VuNode* vSuccA = nodeA->vSucc;
    nodeA->vSucc = nodeB->vSucc;
    nodeB->vSucc = vSuccA;
    predA->fSucc = nodeB;
    predB->fSucc = nodeA;
    vu_sendMessage(set, VU_MSG_POST_VERTEX_TWIST, nodeA, nodeB);
}

void vu_insertEdgeBetween(VuSet* set, VuNode* nodeA, VuNode* nodeB, VuNode** newA,
                          VuNode** newB) {
    VuNode* endA = nullptr;
    VuNode* endB = nullptr;
    vu_createFreeEdge(set, &endA, &endB);
    store(newA, endA);
    store(newB, endB);
    if (!endA) return;
    if (nodeA) {
        vu_twistVertexLoops(set, endA, nodeA);
        inheritFromVertex(set, endA, nodeA);
    }
    if (nodeB) {
        vu_twistVertexLoops(set, endB, nodeB);
        inheritFromVertex(set, endB, nodeB);
    }
    if (set->joinFunction) {
        if (nodeA) set->joinFunction(set, nodeA);
        if (nodeB) set->joinFunction(set, nodeB);
    }
}

void vu_splitEdgeWithMasks(VuSet* set, VuNode* node, VuNode** new1, VuNode** new2,
                           VuMask maskA, VuMask maskB) {
    VuNode* a = nullptr;
    VuNode* b = nullptr;
    if (!node) {
        vu_createSlingEdge(set, &a, &b);
        if (a) {
            a->mask |= maskA;
            b->mask |= maskB;
        }
    } else if (allocatePair(set, &a, &b)) {
        // Allocated before the split is announced, so that a failure changes
        // nothing (and leaves both outputs null).
        VuNode* mate = vu_edgeMate(node);
        vu_sendMessage(set, VU_MSG_PRE_EDGE_SPLIT, node, mate);
        a->fSucc = node->fSucc;
        node->fSucc = a;
        b->fSucc = mate->fSucc;
        mate->fSucc = b;
        a->vSucc = b;
        b->vSucc = a;
        inheritFromEdgeSide(set, a, node);
        inheritFromEdgeSide(set, b, mate);
        vu_sendMessage(set, VU_MSG_POST_EDGE_SPLIT, a, b);
    }
    store(new1, a);
    store(new2, b);
}

void vu_splitEdge(VuSet* set, VuNode* node, VuNode** new1, VuNode** new2) {
    vu_splitEdgeWithMasks(set, node, new1, new2, set->slingMaskA, set->slingMaskB);
}

void vu_detachEdge(VuSet* set, VuNode* node) {
    VuNode* f = node->fSucc;
    VuNode* mate = f->vSucc;
    vu_twistVertexLoops(set, node, mate->fSucc);
    vu_twistVertexLoops(set, mate, f);
}

void vu_freeMarkedEdges(VuSet* set, VuMask m) {
    bool anyMarked = false;
    for (VuNode* x = vu_firstNodeInGraph(set); x; x = vu_nextNodeInGraph(set, x)) {
        if (!isMarked(x, m)) continue;
        anyMarked = true;
        detachMarkedEdge(set, x, m);
    }
    if (anyMarked) releaseMarkedNodes(set, m);
}

}  // namespace Korvex
