// The graph core: pools, settings, nodes, topology primitives, arrays and the
// graph stack, and random sequences of edits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "vu/graph_test_helpers.h"

namespace Korvex {
namespace {

using namespace vutest;
using Nodes = std::vector<VuNode*>;
using VuCore = VuGraphTest;

TEST_F(VuCore, ExhaustedPoolsYieldNothing) {
    std::vector<VuMask> masks;
    for (int i = 0; i < VU_MASK_POOL_SIZE; ++i) ASSERT_NE(masks.emplace_back(vu_grabMask(set)), 0u);
    EXPECT_EQ(vu_grabMask(set), 0u) << "an exhausted pool yields no bit";
    for (VuMask m : masks) vu_returnMask(set, m);
    vu_returnMask(set, 0x4);  // a seventeenth bit is dropped
    std::vector<vuArray*> arrays;
    for (int i = 0; i < VU_ARRAY_POOL_SIZE; ++i)
        ASSERT_TRUE(arrays.emplace_back(vu_grabArray(set)));
    EXPECT_EQ(vu_grabArray(set), nullptr);
    for (vuArray* a : arrays) vu_returnArray(set, a);
}

TEST_F(VuCore, TolerancesAreClamped) {
    auto tolerances = [&] {
        std::pair<double, double> tol{-1.0, -1.0};
        vu_getTol(set, &tol.first, &tol.second);
        return tol;
    };
    EXPECT_EQ(tolerances(), std::pair(0.0, 1.0e-14));
    vu_setTol(set, -1, 0);
    EXPECT_EQ(tolerances(), std::pair(0.0, 1.0e-14));
    vu_setTol(set, 0.5, 1.0e-10);
    EXPECT_EQ(tolerances(), std::pair(0.5, 1.0e-10));
}

TEST_F(VuCore, FreshNodesAreAloneAndIterateNewestFirst) {
    int payload = 7;
    vu_setDefaultUserDataP(set, &payload);
    const Nodes made = {vu_allocateNode(set), vu_allocateNode(set), vu_allocateNode(set)};
    VuNode* first = made[0];
    EXPECT_EQ(nodesOf(set), (Nodes{made[2], made[1], first}));
    EXPECT_TRUE(vu_getIndex(first) == 0 && vu_getIndex(made[2]) == 2 && first->mask == 0u &&
                vu_fsucc(first) == first && vu_vsucc(first) == first &&
                vu_edgeMate(first) == first && vu_getUserDataP(first) == &payload);
    // Nodes allocated during a walk are not visited by it.
    int visited = 0;
    for (VuNode* n = vu_firstNodeInGraph(set); n; n = vu_nextNodeInGraph(set, n), ++visited)
        vu_allocateNode(set);
    EXPECT_EQ(visited, 3);
    EXPECT_EQ(vu_countNodesInGraph(set), 6);
}

TEST(VuCoreBlocks, ExtraBytesFollowEachNode) {
    constexpr int kExtra = 13;  // rounds the stride up; enough nodes for three blocks
    auto owner = makeVuSet(kExtra);
    VuSet* set = owner.get();
    auto extra = [](VuNode* node) { return static_cast<unsigned char*>(vu_getExtraData(node)); };
    Nodes nodes;
    for (int i = 0; i < 3 * VU_NODES_PER_BLOCK; ++i) {
        nodes.push_back(vu_allocateNode(set));
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(nodes.back()) % 8, 0u);
        std::memset(extra(nodes.back()), i & 0xFF, kExtra);
    }
    for (int i = 0; i < 3 * VU_NODES_PER_BLOCK; ++i)
        ASSERT_TRUE(extra(nodes[i])[0] == (i & 0xFF) && extra(nodes[i])[kExtra - 1] == (i & 0xFF));
    EXPECT_EQ(vu_arraySize(set->nodeBlocks), 3);
}

using Messages = std::vector<std::tuple<vumessagetype, VuNode*, VuNode*>>;
int record(vumessagetype type, VuSet*, VuNode* a, VuNode* b, void*, void* out) {
    static_cast<Messages*>(out)->push_back({type, a, b});
    return 0;
}

TEST_F(VuCore, SplitKeepsBothFacesClosed) {
    VuNode* node = addRing(set, square(0, 0, 1));
    VuNode* mate = vu_edgeMate(node);
    vu_setMask(node, VU_EXTERIOR_EDGE | 0x100 | 0x10000);
    Messages messages;
    vu_setCMessageFunction(set, record, &messages);
    VuNode *new1 = nullptr, *new2 = nullptr;
    vu_splitEdge(set, node, &new1, &new2);
    EXPECT_TRUE(vu_countNodesAroundFace(node) == 5 && vu_countNodesAroundFace(mate) == 5);
    EXPECT_TRUE(vu_fsucc(node) == new1 && vu_fsucc(mate) == new2 && vu_vsucc(new1) == new2 &&
                vu_vsucc(new2) == new1);
    // 0x54EF passes 0x2 and 0x1 but not 0x100 or pooled bits.
    EXPECT_EQ(new1->mask, VU_EXTERIOR_EDGE | VU_BOUNDARY_EDGE);
    EXPECT_EQ(new2->mask, VU_BOUNDARY_EDGE);
    EXPECT_EQ(messages, (Messages{{VU_MSG_PRE_EDGE_SPLIT, node, mate},
                                  {VU_MSG_POST_EDGE_SPLIT, new1, new2}}));
}

TEST_F(VuCore, FreeMarkedEdgesKeepsSurvivorOrder) {
    VuNode* corner = addRing(set, square(0, 0, 1));
    VuNode *diagA = nullptr, *diagB = nullptr;
    vu_insertEdgeBetween(set, corner, vu_fsucc(vu_fsucc(corner)), &diagA, &diagB);
    // Also delete a ring edge whose node is the oldest, the live-list node.
    VuNode* oldest = nodesOf(set).back();
    const VuMask doomed = vu_grabMask(set);
    vu_clearMaskInSet(set, doomed);
    vu_setMask(diagA, doomed);  // only one side marked: its mate goes too
    vu_setMask(oldest, doomed);
    Nodes survivors = nodesOf(set);
    std::erase_if(survivors, [&](VuNode* n) {
        return n == diagA || n == diagB || n == oldest || n == vu_edgeMate(oldest);
    });
    vu_freeMarkedEdges(set, doomed);
    vu_returnMask(set, doomed);
    EXPECT_EQ(nodesOf(set), survivors);
    EXPECT_EQ(vu_countNodesAroundFace(survivors.front()), 6);  // a chain of three edges
    // Marking everything empties the graph; freeing again is harmless.
    vu_setMaskInSet(set, 0x8);
    vu_freeMarkedEdges(set, 0x8);
    EXPECT_EQ(vu_firstNodeInGraph(set), nullptr);
    vu_freeMarkedEdges(set, 0x8);
}

TEST_F(VuCore, ArraysReadPastRemovals) {
    Nodes nodes;
    for (int i = 0; i < 5; ++i) nodes.push_back(vu_allocateNode(set));
    vuArray* array = vu_arrayNew();
    vu_arrayAdd(array, nullptr);  // ignored
    EXPECT_EQ(vu_arraySize(array), 0);
    EXPECT_EQ(vu_arrayGet(array, -1), nullptr);
    for (int i : {3, 0, 4, 1, 2}) vu_arrayAdd(array, nodes[i]);
    // Read through, removing the nodes of odd serial number as they come: the
    // entry moved into a removed slot must still be read.
    vu_arrayOpen(array);
    int read = 0;
    for (VuNode* node = nullptr; vu_arrayRead(array, &node); ++read)
        if (vu_getIndex(node) % 2 == 1) vu_arrayRemoveCurrent(array);
    EXPECT_EQ(read, 5);
    EXPECT_EQ(std::set<VuNode*>(array->data, array->data + vu_arraySize(array)),
              (std::set<VuNode*>{nodes[0], nodes[2], nodes[4]}));
    vu_arrayFree(array);
}

TEST_F(VuCore, StackPushAndPopSpliceGraphs) {
    EXPECT_EQ(vu_stackPush(set), 0) << "an empty graph saves nothing";
    addRing(set, square(0, 0, 1));
    Nodes expected = nodesOf(set);
    EXPECT_EQ(vu_stackPush(set), 1);
    EXPECT_EQ(vu_firstNodeInGraph(set), nullptr);
    EXPECT_EQ(vu_stackPush(set), 1);
    addRing(set, xy({{5, 5}, {6, 5}, {5, 6}}));
    for (VuNode* node : nodesOf(set)) expected.push_back(node);
    static int operations = 0;
    EXPECT_EQ(vu_stackPopWithOperation(set, [](VuSet*) { return ++operations; }, nullptr), 0);
    EXPECT_EQ(operations, 1);
    EXPECT_EQ(nodesOf(set), expected) << "the saved nodes come first";
    EXPECT_TRUE(vu_stackPop(set) == 0 && vu_stackPopWithOperation(set, nullptr, nullptr) == 0);
    EXPECT_TRUE(vu_stackSize(set) == 0 && vu_countNodesInGraph(set) == 14);
}

TEST_F(VuCore, StackPushCopyRebuildsTheSameGraph) {
    VuNode* corner = addRing(set, square(0, 0, 1));
    vu_setMask(corner, 0x20);
    vu_setAuxIndex(corner, 42);
    const Nodes originals = nodesOf(set);
    EXPECT_EQ(vu_stackPushCopy(set), 1);
    const Nodes copies = nodesOf(set);
    ASSERT_EQ(copies.size(), originals.size());
    auto at = [](const Nodes& in, auto n) { return std::ranges::find(in, n) - in.begin(); };
    for (std::size_t i = 0; i < copies.size(); ++i) {
        const VuNode *c = copies[i], *o = originals[i];
        EXPECT_TRUE(c != o && c->id == o->id && c->mask == o->mask &&
                    c->auxIndex == o->auxIndex && c->xyz.x == o->xyz.x &&
                    at(copies, c->fSucc) == at(originals, o->fSucc) &&
                    at(copies, c->vSucc) == at(originals, o->vSucc))
            << "node " << i;
    }
    vu_stackExchange(set);
    EXPECT_EQ(nodesOf(set), originals);
    vu_stackPopAll(set);
    EXPECT_TRUE(vu_stackSize(set) == 0 && vu_countNodesInGraph(set) == 16);
}

// Random sequences of the topology primitives, checked after every step:
// whatever the order of edits, the successor relations stay permutations and
// the pools stay whole.
TEST(VuRandomTopology, EditsKeepTheGraphWellFormed) {
    for (unsigned seed : {1u, 2u, 3u}) {
        auto owner = makeVuSet(seed == 2 ? 24 : 0);
        VuSet* set = owner.get();
        std::mt19937 random(seed);
        auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
        auto someNode = [&] {
            const Nodes nodes = nodesOf(set);
            return nodes.empty() ? nullptr : nodes[pick(int(nodes.size()))];
        };
        auto addRandomRing = [&] {
            Ring points(2 + pick(5));
            for (DPoint3d& p : points) p = {double(pick(100)), double(pick(100)), 0.0};
            loadLoop(set, points);
        };
        for (int step = 0; step < 600 * kTrialScale; ++step) {
            VuNode *a = nullptr, *b = nullptr;
            switch (pick(7)) {
                case 0: addRandomRing(); break;
                case 1:
                    if (!(a = someNode())) break;
                    vu_splitEdge(set, a, &a, &b);
                    vu_setXYAroundVertex(a, double(pick(100)), double(pick(100)));
                    break;
                case 2:
                    if ((a = someNode()) && (b = someNode()))
                        vu_insertEdgeBetween(set, a, b, nullptr, nullptr);
                    break;
                case 3: if ((a = someNode())) vu_detachEdge(set, a); break;
                case 4: {
                    const VuMask doomed = vu_grabMask(set);
                    vu_clearMaskInSet(set, doomed);
                    for (int i = pick(4); i > 0; --i)
                        if ((a = someNode())) vu_setMask(a, doomed);
                    vu_freeMarkedEdges(set, doomed);
                    vu_returnMask(set, doomed);
                    break;
                }
                case 5:
                    pick(2) ? vu_stackPushCopy(set) : vu_stackPush(set);
                    addRandomRing();
                    if (pick(2)) vu_stackExchange(set);
                    vu_stackPop(set);
                    break;
                default: vu_insertEdgeBetween(set, someNode(), nullptr, nullptr, nullptr);
            }
            ASSERT_TRUE(isWellFormedGraph(set)) << "seed " << seed << " step " << step;
            // Keep the graph small enough for the checker to stay quick.
            if (vu_countNodesInGraph(set) > 400) vu_reinitializeVuSet(set);
        }
        EXPECT_EQ(vu_stackSize(set), 0);
    }
}

}  // namespace
}  // namespace Korvex
