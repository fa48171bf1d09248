// Boolean operations on regions: count how many operand interiors contain each
// face, classify the faces, keep only the edges between result and non-result.
#include "vu/vu_boolean.h"

#include "vu/vu_array.h"
#include "vu/vu_faces.h"
#include "vu/vu_graph.h"
#include "vu/vu_merge.h"
#include "vu/vu_node.h"
#include "vu/vu_pools.h"
#include "vu/vu_topology.h"

namespace Korvex {

namespace {

bool isExterior(const VuNode* node) { return vu_getMask(node, VU_EXTERIOR_EDGE) != 0; }

// Visits every face once, at its first node in graph order, marking all its
// nodes unflooded (and zeroing their counts for the flood), and returns the
// face of most negative area (the first met wins a tie); null when no face
// has negative area. Faces of one or two nodes have area 0.
VuNode* markFacesAndFindOuter(VuSet* set, VuMask unflooded, bool resetCounts) {
    for (VuNode* node = vu_firstNodeInGraph(set); node; node = vu_nextNodeInGraph(set, node))
        vu_clrMask(node, unflooded);
    VuNode* outer = nullptr;
    double smallest = 0.0;
    for (VuNode* node = vu_firstNodeInGraph(set); node; node = vu_nextNodeInGraph(set, node)) {
        if (vu_getMask(node, unflooded)) continue;
        const double area = vu_areaVisitingFace(node, [=](VuNode* x) {
            x->mask |= unflooded;
            if (resetCounts) x->auxIndex = 0;
        });
        if (area < smallest) {
            smallest = area;
            outer = node;
        }
    }
    return outer;
}

void setCountAroundFace(VuNode* face, int count, VuMask unflooded) {
    VuNode* node = face;
    do {
        vu_clrMask(node, unflooded);
        vu_setAuxIndex(node, count);
        node = vu_fsucc(node);
    } while (node != face);
}

void pushUnfloodedCrossings(vuArray* stack, VuNode* face, VuMask unflooded) {
    VuNode* node = face;
    do {
        if (vu_getMask(vu_edgeMate(node), unflooded)) vu_arrayAdd(stack, node);
        node = vu_fsucc(node);
    } while (node != face);
}

// Gives every face the number of operand interiors that contain it, flooding
// from the outer face (count 0): crossing an edge from its exterior side to
// its interior side adds one, the other way subtracts one. Every node starts
// unflooded with count 0, so faces the flood cannot reach count 0.
void countRegions(VuNode* outer, VuMask unflooded, vuArray* stack) {
    setCountAroundFace(outer, 0, unflooded);
    pushUnfloodedCrossings(stack, outer, unflooded);
    while (VuNode* node = vu_arrayRemoveLast(stack)) {
        VuNode* mate = vu_edgeMate(node);
        if (!vu_getMask(mate, unflooded)) continue;
        const int count = vu_getAuxIndex(node) + (isExterior(node) ? 1 : 0) - (isExterior(mate) ? 1 : 0);
        setCountAroundFace(mate, count, unflooded);
        pushUnfloodedCrossings(stack, mate, unflooded);
    }
}

// Marks the faces whose count passes isMarkedExterior as exterior (the other
// faces when invert is set) and deletes every edge whose two sides agree,
// both exterior or both interior. A side's verdict depends only on its own
// count, so each node takes its mark, and its edge's fate from its mate's
// count, in one pass; inverting every mark changes no agreement, so the
// surviving edges come out already inverted.
//
// The deletion needs one mark but runs only when two are free: a caller
// holding all but one mark of the pool gets the graph classified and
// uncleaned.
template <typename RegionPredicate>
void classifyAndCleanUp(VuSet* set, RegionPredicate isMarkedExterior, bool invert) {
    const VuMask spare = vu_grabMask(set);
    const VuMask doomed = vu_grabMask(set);
    for (VuNode* node = vu_firstNodeInGraph(set); node; node = vu_nextNodeInGraph(set, node)) {
        const bool exterior = isMarkedExterior(vu_getAuxIndex(node));
        const bool mateExterior = isMarkedExterior(vu_getAuxIndex(vu_edgeMate(node)));
        vu_writeMask(node, VU_EXTERIOR_EDGE, exterior != invert);
        vu_writeMask(node, doomed, exterior == mateExterior);
    }
    vu_freeMarkedEdges(set, doomed);
    vu_returnMask(set, doomed);
    vu_returnMask(set, spare);
}

void freeAllNodes(VuSet* set) {
    const VuMask all = vu_grabMask(set);
    vu_setMaskInSet(set, all);
    vu_freeMarkedEdges(set, all);
    vu_returnMask(set, all);
}

// Counts the regions, classifies the faces and removes the edges that do not
// separate result from non-result. A graph without an outer face is emptied.
// The predicate is a template argument so that the per-node test inlines.
template <typename RegionPredicate>
int runBoolean(VuSet* set, RegionPredicate isMarkedExterior, bool invert) {
    if (!set || !vu_firstNodeInGraph(set)) return 0;
    vu_mergeAndConnectForBoolop(set);
    const VuMask unflooded = vu_grabMask(set);
    vuArray* stack = vu_grabArray(set);
    // Without a mark the flood could not tell where it has been; the counts
    // are then left as they are.
    const bool canFlood = unflooded && stack;
    VuNode* outer = markFacesAndFindOuter(set, unflooded, canFlood);
    if (outer && canFlood) countRegions(outer, unflooded, stack);
    vu_returnArray(set, stack);
    vu_returnMask(set, unflooded);
    if (!outer) {
        freeAllNodes(set);
        return 0;
    }
    classifyAndCleanUp(set, isMarkedExterior, invert);
    return 0;
}

}  // namespace

int vu_andLoops(VuSet* set) {
    return runBoolean(set, [](int count) { return count >= 2; }, true);
}

int vu_orLoops(VuSet* set) {
    return runBoolean(set, [](int count) { return count <= 0; }, false);
}

int vu_xorLoops(VuSet* set) {
    return runBoolean(set, [](int count) { return count % 2 != 0; }, true);
}

}  // namespace Korvex
