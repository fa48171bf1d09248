#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "vu/graph_test_helpers.h"

namespace Korvex {
namespace {

using vutest::addRing;
using vutest::isWellFormedGraph;
using vutest::makeVuSet;
using vutest::nodesOf;
using Nodes = std::vector<VuNode*>;

struct Message {
    vumessagetype type;
    VuNode* a;
    VuNode* b;
    bool operator==(const Message&) const = default;
};

// Records every message into the vector behind userData.
int recordMessage(vumessagetype type, VuSet*, VuNode* a, VuNode* b, void* reserved, void* userData) {
    EXPECT_EQ(reserved, nullptr);
    static_cast<std::vector<Message>*>(userData)->push_back({type, a, b});
    return 0;
}

const vutest::Ring kUnitSquare = vutest::square(0, 0, 1);

TEST(VuPools, MasksComeOutHighestFirstAndReturnLikeAStack) {
    auto set = makeVuSet();
    std::vector<VuMask> held;
    for (int i = 0; i < VU_MASK_POOL_SIZE; ++i) {
        held.push_back(vu_grabMask(set.get()));
        EXPECT_EQ(held.back(), 0x80000000u >> i);
    }
    EXPECT_EQ(held.back(), VU_LOWEST_POOLED_MASK);
    EXPECT_EQ(vu_grabMask(set.get()), 0u) << "an exhausted pool yields no bit";
    vu_returnMask(set.get(), 0x20000000u);
    vu_returnMask(set.get(), 0x10000000u);
    vu_returnMask(set.get(), 0);  // ignored
    EXPECT_EQ(vu_grabMask(set.get()), 0x10000000u);
    EXPECT_EQ(vu_grabMask(set.get()), 0x20000000u);
    for (VuMask m : held) vu_returnMask(set.get(), m);
    vu_returnMask(set.get(), 0x4);  // a seventeenth bit is dropped
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuPools, SixArraysThenNullAndLargestOnRequest) {
    auto set = makeVuSet();
    std::vector<vuArray*> arrays;
    for (int i = 0; i < VU_ARRAY_POOL_SIZE; ++i) {
        arrays.push_back(vu_grabArray(set.get()));
        ASSERT_NE(arrays.back(), nullptr);
    }
    EXPECT_EQ(vu_grabArray(set.get()), nullptr);
    EXPECT_EQ(vu_grabLargestArray(set.get()), nullptr);
    // Grow one array well beyond the others and leave entries in it.
    VuNode* node = vu_allocateNode(set.get());
    for (int i = 0; i < 3000; ++i) vu_arrayAdd(arrays[2], node);
    for (vuArray* a : arrays) vu_returnArray(set.get(), a);
    vu_returnArray(set.get(), nullptr);
    vuArray* foreign = vu_arrayNew();
    vu_returnArray(set.get(), foreign);  // a seventh is not taken back
    vu_arrayFree(foreign);
    vuArray* largest = vu_grabLargestArray(set.get());
    EXPECT_EQ(largest, arrays[2]);
    EXPECT_EQ(vu_arraySize(largest), 0) << "a grabbed array comes back empty";
    vu_returnArray(set.get(), largest);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuSettings, TolerancesAreClampedButNaNPassesThrough) {
    auto set = makeVuSet();
    auto tolerances = [&] {
        double abstol = -1.0, reltol = -1.0;
        vu_getTol(set.get(), &abstol, nullptr);
        vu_getTol(set.get(), nullptr, &reltol);
        return std::pair{abstol, reltol};
    };
    EXPECT_EQ(tolerances(), std::pair(0.0, 1.0e-14));
    vu_setTol(set.get(), -1, 0);
    EXPECT_EQ(tolerances(), std::pair(0.0, 1.0e-14));
    vu_setTol(set.get(), 0.5, 1.0e-10);
    EXPECT_EQ(tolerances(), std::pair(0.5, 1.0e-10));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    vu_setTol(set.get(), nan, nan);
    EXPECT_TRUE(std::isnan(tolerances().first));
    EXPECT_TRUE(std::isnan(tolerances().second));
}

TEST(VuNodes, FreshNodesAreAloneWithTheDefaultsAndIterateNewestFirst) {
    auto set = makeVuSet();
    EXPECT_EQ(vu_nextNodeInGraph(set.get(), nullptr), nullptr);
    int payload = 7;
    vu_setDefaultUserDataP(set.get(), &payload);
    vu_setDefaultUserData2(set.get(), &set);
    VuNode* first = vu_allocateNode(set.get());
    VuNode* second = vu_allocateNode(set.get());
    VuNode* third = vu_allocateNode(set.get());
    EXPECT_EQ(nodesOf(set.get()), (Nodes{third, second, first}));
    EXPECT_EQ(vu_getIndex(first), 0);
    EXPECT_EQ(vu_getIndex(third), 2);
    EXPECT_TRUE(vu_fsucc(first) == first && vu_vsucc(first) == first && vu_edgeMate(first) == first);
    EXPECT_EQ(first->mask, 0u);
    EXPECT_EQ(vu_getUserDataP(first), &payload);
    EXPECT_EQ(vu_getUserData2(first), static_cast<void*>(&set));

    // Nodes allocated during a walk are not visited by it.
    int visited = 0;
    for (VuNode* n = vu_firstNodeInGraph(set.get()); n; n = vu_nextNodeInGraph(set.get(), n)) {
        ++visited;
        vu_allocateNode(set.get());
    }
    EXPECT_EQ(visited, 3);
    EXPECT_EQ(vu_countNodesInGraph(set.get()), 6);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuNodes, ExtraBytesFollowEachNodeAndReinitializeKeepsMemoryAndSettings) {
    constexpr int kExtra = 13;  // rounds the stride up; enough nodes for three blocks
    auto set = makeVuSet(kExtra);
    Nodes nodes;
    for (int i = 0; i < 3 * VU_NODES_PER_BLOCK; ++i) {
        nodes.push_back(vu_allocateNode(set.get()));
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(nodes.back()) % 8, 0u);
        std::memset(vu_getExtraData(nodes.back()), i & 0xFF, kExtra);
    }
    auto extraByte = [](VuNode* node, int i) {
        return static_cast<const unsigned char*>(vu_getExtraData(node))[i];
    };
    for (int i = 0; i < static_cast<int>(nodes.size()); ++i) {
        ASSERT_EQ(extraByte(nodes[i], 0), i & 0xFF);
        ASSERT_EQ(extraByte(nodes[i], kExtra - 1), i & 0xFF);
    }
    EXPECT_EQ(vu_arraySize(set->nodeBlocks), 3);

    vu_setTol(set.get(), 1.0, 1.0e-6);
    const DPoint3d aux = {1, 2, 3};
    vu_setAuxVector(set.get(), &aux);
    vu_reinitializeVuSet(set.get());
    EXPECT_EQ(vu_firstNodeInGraph(set.get()), nullptr);
    DPoint3d cleared = {9, 9, 9};
    vu_getAuxVector(&cleared, set.get());
    EXPECT_TRUE(cleared.x == 0.0 && cleared.y == 0.0) << "the aux vector is cleared";
    double abstol = 0.0;
    vu_getTol(set.get(), &abstol, nullptr);
    EXPECT_EQ(abstol, 1.0) << "settings are kept";
    VuNode* reused = vu_allocateNode(set.get());
    EXPECT_EQ(vu_getIndex(reused), 0) << "serial numbers restart";
    EXPECT_EQ(vu_arraySize(set->nodeBlocks), 3) << "reinitialising keeps the memory";
    const auto at = std::find(nodes.begin(), nodes.end(), reused) - nodes.begin();
    ASSERT_LT(at, static_cast<long>(nodes.size()));
    EXPECT_EQ(extraByte(reused, 0), at & 0xFF) << "only the node record is zeroed on reuse";
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuTopology, FreeEdgeSlingAndTwistsSendTheirMessages) {
    auto set = makeVuSet();
    std::vector<Message> messages;
    vu_setCMessageFunction(set.get(), recordMessage, &messages);
    VuNode *a = nullptr, *b = nullptr, *c = nullptr, *d = nullptr;
    vu_createFreeEdge(set.get(), &a, &b);
    EXPECT_TRUE(vu_fsucc(a) == b && vu_fsucc(b) == a && vu_vsucc(a) == a && vu_edgeMate(a) == b);
    vu_createSlingEdge(set.get(), &c, &d);
    EXPECT_TRUE(vu_fsucc(c) == c && vu_vsucc(c) == d && vu_edgeMate(c) == d);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
    // Twisting nodes of two vertex loops merges them; twisting again splits.
    vu_twistVertexLoops(set.get(), a, c);
    EXPECT_EQ(vu_countNodesAroundVertex(a), 3);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
    vu_twistVertexLoops(set.get(), a, c);
    EXPECT_EQ(vu_countNodesAroundVertex(a), 1);
    EXPECT_EQ(vu_countNodesAroundVertex(c), 2);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
    const std::vector<Message> expected = {
        {VU_MSG_NEW_FREE_EDGE, a, b},    {VU_MSG_NEW_SLING, c, d},
        {VU_MSG_PRE_VERTEX_TWIST, a, c}, {VU_MSG_POST_VERTEX_TWIST, a, c},
        {VU_MSG_PRE_VERTEX_TWIST, a, c}, {VU_MSG_POST_VERTEX_TWIST, a, c},
    };
    EXPECT_EQ(messages, expected);
}

TEST(VuTopology, SplitKeepsBothFacesClosed) {
    auto set = makeVuSet();
    VuNode* node = addRing(set.get(), kUnitSquare);
    VuNode* mate = vu_edgeMate(node);
    vu_setMask(node, VU_EXTERIOR_EDGE | 0x100 | 0x10000);
    int tag = 0;
    vu_setUserDataP(node, &tag);
    vu_setUserDataPIsEdgeProperty(set.get(), true);
    std::vector<Message> messages;
    vu_setCMessageFunction(set.get(), recordMessage, &messages);

    VuNode *new1 = nullptr, *new2 = nullptr;
    vu_splitEdge(set.get(), node, &new1, &new2);
    EXPECT_EQ(vu_countNodesAroundFace(node), 5);
    EXPECT_EQ(vu_countNodesAroundFace(mate), 5);
    EXPECT_EQ(vu_countNodesAroundVertex(new1), 2);
    EXPECT_TRUE(vu_fsucc(node) == new1 && vu_fsucc(mate) == new2 && vu_vsucc(new1) == new2);
    // 0x54EF passes 0x2 and 0x1 but not 0x100 or pooled bits.
    EXPECT_EQ(new1->mask, VU_EXTERIOR_EDGE | VU_BOUNDARY_EDGE);
    EXPECT_EQ(new2->mask, VU_BOUNDARY_EDGE);
    EXPECT_EQ(vu_getUserDataP(new1), &tag);
    EXPECT_EQ(vu_getUserDataP(new2), nullptr);
    EXPECT_EQ(vu_getX(new1), 0.0) << "the caller places the new vertex";
    const std::vector<Message> expected = {{VU_MSG_PRE_EDGE_SPLIT, node, mate},
                                           {VU_MSG_POST_EDGE_SPLIT, new1, new2}};
    EXPECT_EQ(messages, expected);
    vu_setXYAroundVertex(new1, 0.5, 0.0);
    EXPECT_TRUE(isWellFormedGraph(set.get()));

    vu_splitEdgeWithMasks(set.get(), nullptr, &new1, &new2, 0x4, 0x8);
    EXPECT_TRUE(new1->mask == 0x4u && new2->mask == 0x8u && vu_vsucc(new1) == new2);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuTopology, InsertEdgeJoinsVerticesAndInheritsFromThem) {
    auto set = makeVuSet();
    VuNode* corner = addRing(set.get(), kUnitSquare);  // at (0,1)
    VuNode* opposite = vu_fsucc(vu_fsucc(corner));     // at (1,0)
    vu_setMask(corner, 0x40 | VU_EXTERIOR_EDGE);
    vu_setJoinInheritMask(set.get(), 0x40);
    int tag = 0;
    vu_setUserDataP(corner, &tag);
    vu_setUserDataPIsVertexProperty(set.get(), true);
    static Nodes joined;
    joined.clear();
    vu_setJoinFunction(set.get(), [](VuSet*, VuNode* node) { joined.push_back(node); });

    VuNode *newA = nullptr, *newB = nullptr;
    vu_insertEdgeBetween(set.get(), corner, opposite, &newA, &newB);
    EXPECT_EQ(vu_edgeMate(newA), newB);
    EXPECT_EQ(vu_countNodesAroundVertex(corner), 3);
    EXPECT_EQ(vu_countNodesAroundVertex(opposite), 3);
    EXPECT_TRUE(vu_getY(newA) == 1.0 && vu_getX(newB) == 1.0);
    EXPECT_EQ(newA->mask, 0x40u);
    EXPECT_EQ(vu_getUserDataP(newA), &tag);
    EXPECT_EQ(joined, (Nodes{corner, opposite}));
    // The diagonal cuts the inner face of four into two triangles.
    EXPECT_EQ(vu_countNodesAroundFace(newA), 3);
    EXPECT_EQ(vu_countNodesAroundFace(newB), 3);
    EXPECT_TRUE(isWellFormedGraph(set.get()));

    vu_detachEdge(set.get(), newA);
    EXPECT_EQ(vu_countNodesAroundVertex(corner), 2);
    EXPECT_EQ(vu_countNodesAroundFace(newA), 2);
    EXPECT_EQ(vu_countNodesAroundFace(corner), 4);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuTopology, FreeMarkedEdgesKeepsSurvivorOrderAndRecyclesNodes) {
    auto set = makeVuSet();
    VuNode* corner = addRing(set.get(), kUnitSquare);
    VuNode *diagA = nullptr, *diagB = nullptr;
    vu_insertEdgeBetween(set.get(), corner, vu_fsucc(vu_fsucc(corner)), &diagA, &diagB);
    // Also delete a ring edge whose node is the oldest, the live-list node.
    VuNode* oldest = nodesOf(set.get()).back();
    const VuMask doomed = vu_grabMask(set.get());
    vu_clearMaskInSet(set.get(), doomed);
    vu_setMask(diagA, doomed);  // only one side marked: its mate goes too
    vu_setMask(oldest, doomed);
    Nodes survivors = nodesOf(set.get());
    std::erase_if(survivors, [&](VuNode* n) {
        return n == diagA || n == diagB || n == oldest || n == vu_edgeMate(oldest);
    });
    vu_freeMarkedEdges(set.get(), doomed);
    vu_returnMask(set.get(), doomed);
    EXPECT_EQ(nodesOf(set.get()), survivors);
    EXPECT_EQ(vu_countNodesAroundFace(survivors.front()), 6) << "both sides of a chain of three edges";
    EXPECT_TRUE(isWellFormedGraph(set.get()));

    const int blocks = vu_arraySize(set->nodeBlocks);
    for (int i = 0; i < 4; ++i) vu_allocateNode(set.get());
    EXPECT_EQ(vu_arraySize(set->nodeBlocks), blocks);

    // Marking everything empties the graph; freeing again is harmless.
    vu_setMaskInSet(set.get(), 0x8);
    vu_freeMarkedEdges(set.get(), 0x8);
    EXPECT_EQ(vu_firstNodeInGraph(set.get()), nullptr);
    vu_freeMarkedEdges(set.get(), 0x8);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuArray, GrowsReadsRemovesAndSorts) {
    auto set = makeVuSet();
    Nodes nodes;
    for (int i = 0; i < 5; ++i) nodes.push_back(vu_allocateNode(set.get()));
    vuArray* array = vu_arrayNew();
    vu_arrayAdd(array, nullptr);
    EXPECT_EQ(vu_arraySize(array), 0);
    for (int i = 0; i < VU_ARRAY_GROWTH; ++i) vu_arrayAdd(array, nodes[0]);
    EXPECT_EQ(array->capacity, VU_ARRAY_GROWTH);
    vu_arrayAdd(array, nodes[1]);
    EXPECT_EQ(array->capacity, 2 * VU_ARRAY_GROWTH);
    EXPECT_EQ(vu_arrayGet(array, VU_ARRAY_GROWTH), nodes[1]);
    EXPECT_EQ(vu_arrayGet(array, VU_ARRAY_GROWTH + 1), nullptr);
    EXPECT_EQ(vu_arrayGet(array, -1), nullptr);
    EXPECT_EQ(vu_arrayRemoveLast(array), nodes[1]);

    vu_arrayClear(array);
    EXPECT_EQ(vu_arrayRemoveLast(array), nullptr);
    for (int i : {3, 0, 4, 1, 2}) vu_arrayAdd(array, nodes[i]);
    // Read through, removing the nodes of odd serial number as they come.
    vu_arrayOpen(array);
    int read = 0;
    VuNode* node = nullptr;
    while (vu_arrayRead(array, &node)) {
        ++read;
        if (vu_getIndex(node) % 2 == 1) vu_arrayRemoveCurrent(array);
    }
    EXPECT_EQ(node, nullptr);
    EXPECT_EQ(read, 5) << "the entry moved into a removed slot is still read";
    vu_arraySort(array, [](const VuNode* a, const VuNode* b) { return a->id < b->id; });
    EXPECT_EQ(vu_arraySize(array), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(vu_arrayGet(array, i), nodes[2 * i]);
    vu_arrayFree(array);
    vu_arrayClear(nullptr);
    vu_arrayAdd(nullptr, nodes[0]);
    vu_arrayFree(nullptr);
}

TEST(VuStack, PushAndPopSpliceGraphs) {
    auto set = makeVuSet();
    EXPECT_EQ(vu_stackPush(set.get()), 0) << "an empty graph saves nothing";
    addRing(set.get(), kUnitSquare);
    Nodes expected = nodesOf(set.get());
    EXPECT_EQ(vu_stackPush(set.get()), 1);
    EXPECT_EQ(vu_firstNodeInGraph(set.get()), nullptr);
    EXPECT_EQ(vu_stackPush(set.get()), 1);
    addRing(set.get(), vutest::xy({{5, 5}, {6, 5}, {5, 6}}));
    const Nodes current = nodesOf(set.get());
    expected.insert(expected.end(), current.begin(), current.end());
    static int operations = 0;
    EXPECT_EQ(vu_stackPopWithOperation(set.get(), [](VuSet*) { return ++operations; }, nullptr), 0);
    EXPECT_EQ(operations, 1);
    EXPECT_EQ(nodesOf(set.get()), expected) << "the saved nodes come first";
    EXPECT_EQ(vu_stackPop(set.get()), 0);
    EXPECT_EQ(vu_stackPopWithOperation(set.get(), nullptr, nullptr), 0);
    EXPECT_TRUE(isWellFormedGraph(set.get()));

    // Exchanging with an empty stack does nothing; with an empty graph, pops.
    vu_stackExchange(set.get());
    EXPECT_EQ(vu_countNodesInGraph(set.get()), 14);
    vu_stackPush(set.get());
    vu_stackExchange(set.get());
    EXPECT_EQ(vu_stackSize(set.get()), 0);
    EXPECT_EQ(vu_countNodesInGraph(set.get()), 14);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuStack, PushCopyRebuildsTheSameGraph) {
    auto set = makeVuSet();
    VuNode* corner = addRing(set.get(), kUnitSquare);
    vu_setMask(corner, 0x20);
    vu_setAuxIndex(corner, 42);
    const Nodes originals = nodesOf(set.get());
    EXPECT_EQ(vu_stackPushCopy(set.get()), 1);
    const Nodes copies = nodesOf(set.get());
    ASSERT_EQ(copies.size(), originals.size());
    auto position = [](const Nodes& nodes, const VuNode* node) {
        return std::find(nodes.begin(), nodes.end(), node) - nodes.begin();
    };
    for (std::size_t i = 0; i < copies.size(); ++i) {
        const VuNode *copy = copies[i], *original = originals[i];
        EXPECT_NE(copy, original);
        EXPECT_TRUE(copy->id == original->id && copy->mask == original->mask &&
                    copy->auxIndex == original->auxIndex && copy->xyz.x == original->xyz.x);
        EXPECT_EQ(position(copies, copy->fSucc), position(originals, original->fSucc));
        EXPECT_EQ(position(copies, copy->vSucc), position(originals, original->vSucc));
    }
    EXPECT_EQ(vu_getAuxIndex(corner), 42) << "the original is left as it was";
    EXPECT_TRUE(isWellFormedGraph(set.get()));
    vu_stackExchange(set.get());
    EXPECT_EQ(nodesOf(set.get()), originals);
    vu_stackPopAll(set.get());
    EXPECT_EQ(vu_stackSize(set.get()), 0);
    EXPECT_EQ(vu_countNodesInGraph(set.get()), 16);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

}  // namespace
}  // namespace Korvex
