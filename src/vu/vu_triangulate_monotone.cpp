#include "vu/vu_array.h"
#include "vu/vu_node.h"
#include "vu/vu_regularize_order.h"
#include "vu/vu_topology.h"
#include "vu/vu_triangulate_face.h"

namespace Korvex {

namespace {

// The right chain climbs from the lowest node along face successors, the
// left chain along face predecessors (the face lies to the left of its edges).
enum class Chain { Right, Left };

Chain opposite(Chain chain) { return chain == Chain::Right ? Chain::Left : Chain::Right; }

// Yields the nodes strictly between the lowest and the highest node in sweep
// order, merged from the two chains collected in one array: right chain
// first, left chain from rightCount on.
class ChainMerger {
public:
    ChainMerger(vuArray* chains, int rightCount)
        : m_chains(chains), m_right(0), m_rightEnd(rightCount), m_left(rightCount) {}

    bool next(VuNode** node, Chain* chain) {
        const bool rightLeft = m_right < m_rightEnd;
        const bool leftLeft = m_left < vu_arraySize(m_chains);
        if (!rightLeft && !leftLeft) return false;
        VuNode* right = rightLeft ? vu_arrayGet(m_chains, m_right) : nullptr;
        VuNode* left = leftLeft ? vu_arrayGet(m_chains, m_left) : nullptr;
        if (right && (!left || !vu_isBelowInSweep(left, right))) {
            *node = right;
            *chain = Chain::Right;
            ++m_right;
        } else {
            *node = left;
            *chain = Chain::Left;
            ++m_left;
        }
        return true;
    }

private:
    vuArray* m_chains;
    int m_right;
    int m_rightEnd;
    int m_left;
};

// Walks a monotone face bottom-up with a stack of vertices still waiting for
// diagonals. Every diagonal cuts the face in two, and the nodes that stay on
// the untriangulated part change: a diagonal from a right-chain vertex keeps
// that vertex's node and moves the other end to its new node, one from a
// left-chain vertex the other way round. Diagonals to several stacked
// vertices are made from the bottom of the stack up so that this rule holds
// for each of them.
class MonotoneTriangulator {
public:
    MonotoneTriangulator(VuSet* set, vuArray* stack) : m_set(set), m_stack(stack) {}

    void start(VuNode* lowest, VuNode* second, Chain chain) {
        vu_arrayClear(m_stack);
        vu_arrayAdd(m_stack, lowest);
        vu_arrayAdd(m_stack, second);
        m_topChain = chain;
    }

    void add(VuNode* node, Chain chain) {
        if (chain == m_topChain) addOnSameChain(node, chain);
        else addOnOppositeChain(node, chain);
    }

    // The highest node closes the face: it is joined to every stacked vertex
    // but the top, its chain neighbour, and the bottom, its other neighbour,
    // as a vertex of the chain opposite the stack.
    void finish(VuNode* highest) {
        VuNode* node = highest;
        const int last = vu_arraySize(m_stack) - 1;
        for (int i = 1; i < last; ++i) join(&node, vu_arrayGet(m_stack, i), opposite(m_topChain));
    }

private:
    void addOnOppositeChain(VuNode* node, Chain chain) {
        VuNode* joined = nullptr;
        for (int i = 1; i < vu_arraySize(m_stack); ++i)
            joined = join(&node, vu_arrayGet(m_stack, i), chain);
        vu_arrayClear(m_stack);
        vu_arrayAdd(m_stack, joined);
        vu_arrayAdd(m_stack, node);
        m_topChain = chain;
    }

    void addOnSameChain(VuNode* node, Chain chain) {
        VuNode* last = vu_arrayRemoveLast(m_stack);
        while (vu_arraySize(m_stack) > 0) {
            VuNode* below = vu_arrayGet(m_stack, vu_arraySize(m_stack) - 1);
            if (!isInsideFace(node, last, below, chain)) break;
            vu_arrayRemoveLast(m_stack);
            last = join(&node, below, chain);
        }
        vu_arrayAdd(m_stack, last);
        vu_arrayAdd(m_stack, node);
    }

    // The diagonal from node back to below, past last on the same chain,
    // stays inside the face when the chain turns left at last in face order.
    static bool isInsideFace(const VuNode* node, const VuNode* last, const VuNode* below,
                             Chain chain) {
        if (chain == Chain::Right) return vu_turnXY(below, last, node) > 0.0;
        return vu_turnXY(node, last, below) > 0.0;
    }

    // Adds the diagonal from *node (on the given chain) to stacked; updates
    // *node and returns stacked's node on the untriangulated part.
    VuNode* join(VuNode** node, VuNode* stacked, Chain chain) {
        VuNode* newAtNode = nullptr;
        VuNode* newAtStacked = nullptr;
        vu_insertEdgeBetween(m_set, *node, stacked, &newAtNode, &newAtStacked);
        if (!newAtNode) return stacked;
        if (chain == Chain::Right) return newAtStacked;
        *node = newAtNode;
        return stacked;
    }

    VuSet* m_set;
    vuArray* m_stack;
    Chain m_topChain = Chain::Right;
};

}  // namespace

VuNode* vu_lowestNodeAroundFace(VuNode* face) {
    VuNode* lowest = face;
    for (VuNode* node = vu_fsucc(face); node != face; node = vu_fsucc(node)) {
        if (vu_isBelowInSweep(node, lowest)) lowest = node;
    }
    return lowest;
}

VuNode* vu_monotoneFaceTop(VuNode* lowest) {
    VuNode* right = lowest;
    while (vu_isBelowInSweep(right, vu_fsucc(right))) right = vu_fsucc(right);
    VuNode* left = lowest;
    while (vu_isBelowInSweep(left, vu_fpred(left))) left = vu_fpred(left);
    return right == left ? right : nullptr;
}

void vu_triangulateMonotoneFace(VuSet* set, VuNode* lowest, VuNode* highest, vuArray* chains,
                                vuArray* stack) {
    vu_arrayClear(chains);
    for (VuNode* node = vu_fsucc(lowest); node != highest; node = vu_fsucc(node))
        vu_arrayAdd(chains, node);
    const int rightCount = vu_arraySize(chains);
    for (VuNode* node = vu_fpred(lowest); node != highest; node = vu_fpred(node))
        vu_arrayAdd(chains, node);
    if (vu_arraySize(chains) < 2) return;  // a triangle or less

    ChainMerger merger(chains, rightCount);
    MonotoneTriangulator triangulator(set, stack);
    VuNode* node = nullptr;
    Chain chain = Chain::Right;
    merger.next(&node, &chain);
    triangulator.start(lowest, node, chain);
    while (merger.next(&node, &chain)) triangulator.add(node, chain);
    triangulator.finish(highest);
}

}  // namespace Korvex
