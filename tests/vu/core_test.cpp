#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "vu/graph_checker.h"
#include "vu/vu.h"

namespace Korvex {
namespace {

using vutest::isWellFormedGraph;
using vutest::makeVuSet;

struct Message {
    vumessagetype type;
    VuNode* a;
    VuNode* b;
    bool operator==(const Message&) const = default;
};

int recordMessage(vumessagetype type, VuSet*, VuNode* a, VuNode* b, void* reserved,
                  void* userData) {
    EXPECT_EQ(reserved, nullptr);
    static_cast<std::vector<Message>*>(userData)->push_back({type, a, b});
    return 0;
}

std::vector<VuNode*> graphOrder(const VuSet* set) {
    std::vector<VuNode*> nodes;
    for (VuNode* n = vu_firstNodeInGraph(set); n; n = vu_nextNodeInGraph(set, n)) nodes.push_back(n);
    return nodes;
}

// A closed ring through the points, built by splitting from a sling; returns
// the node at the last point on the face that follows the given order.
VuNode* makeRing(VuSet* set, const std::vector<DPoint3d>& points) {
    VuNode* node = nullptr;
    for (const DPoint3d& p : points) {
        VuNode* first = nullptr;
        VuNode* second = nullptr;
        vu_splitEdge(set, node, &first, &second);
        vu_setDPoint3d(first, &p);
        vu_setDPoint3d(second, &p);
        node = first;
    }
    return node;
}

const std::vector<DPoint3d> kUnitSquare = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};

TEST(VuPools, MasksComeOutHighestFirstAndReturnLikeAStack) {
    auto set = makeVuSet();
    EXPECT_EQ(vu_grabMask(set.get()), 0x80000000u);
    EXPECT_EQ(vu_grabMask(set.get()), 0x40000000u);
    EXPECT_EQ(vu_grabMask(set.get()), 0x20000000u);
    EXPECT_EQ(vu_grabMask(set.get()), 0x10000000u);
    vu_returnMask(set.get(), 0x20000000u);
    vu_returnMask(set.get(), 0x10000000u);
    vu_returnMask(set.get(), 0);  // ignored
    EXPECT_EQ(vu_grabMask(set.get()), 0x10000000u);
    EXPECT_EQ(vu_grabMask(set.get()), 0x20000000u);

    std::vector<VuMask> held = {0x80000000u, 0x40000000u, 0x20000000u, 0x10000000u};
    for (int i = 4; i < VU_MASK_POOL_SIZE; ++i) held.push_back(vu_grabMask(set.get()));
    EXPECT_EQ(held.back(), VU_LOWEST_POOLED_MASK);
    EXPECT_EQ(vu_grabMask(set.get()), 0u) << "an exhausted pool yields no bit";
    for (VuMask m : held) vu_returnMask(set.get(), m);
    vu_returnMask(set.get(), 0x4);  // a seventeenth bit is dropped
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuPools, SixArraysThenNullAndLargestOnRequest) {
    auto set = makeVuSet();
    std::vector<vuArray*> arrays;
    for (int i = 0; i < VU_ARRAY_POOL_SIZE; ++i) arrays.push_back(vu_grabArray(set.get()));
    for (vuArray* a : arrays) ASSERT_NE(a, nullptr);
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
    double abstol = -1.0, reltol = -1.0;
    vu_getTol(set.get(), &abstol, &reltol);
    EXPECT_EQ(abstol, 0.0);
    EXPECT_EQ(reltol, 1.0e-14);
    vu_setTol(set.get(), -1, 0);
    vu_getTol(set.get(), &abstol, &reltol);
    EXPECT_EQ(abstol, 0.0);
    EXPECT_EQ(reltol, 1.0e-14);
    vu_setTol(set.get(), 0.5, 1.0e-10);
    vu_getTol(set.get(), &abstol, nullptr);
    vu_getTol(set.get(), nullptr, &reltol);
    EXPECT_EQ(abstol, 0.5);
    EXPECT_EQ(reltol, 1.0e-10);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    vu_setTol(set.get(), nan, nan);
    vu_getTol(set.get(), &abstol, &reltol);
    EXPECT_TRUE(std::isnan(abstol));
    EXPECT_TRUE(std::isnan(reltol));
}

TEST(VuIteration, NewestFirstAndNewNodesAreNotVisited) {
    auto set = makeVuSet();
    EXPECT_EQ(vu_nextNodeInGraph(set.get(), nullptr), nullptr);
    VuNode* first = vu_allocateNode(set.get());
    VuNode* second = vu_allocateNode(set.get());
    VuNode* third = vu_allocateNode(set.get());
    EXPECT_EQ(graphOrder(set.get()), (std::vector<VuNode*>{third, second, first}));
    EXPECT_EQ(vu_getIndex(first), 0);
    EXPECT_EQ(vu_getIndex(third), 2);

    int visited = 0;
    for (VuNode* n = vu_firstNodeInGraph(set.get()); n; n = vu_nextNodeInGraph(set.get(), n)) {
        ++visited;
        vu_allocateNode(set.get());
    }
    EXPECT_EQ(visited, 3);
    EXPECT_EQ(vu_countNodesInGraph(set.get()), 6);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuNodes, FreshNodeIsAloneWithTheSetDefaults) {
    auto set = makeVuSet();
    int payload = 7;
    vu_setDefaultUserDataP(set.get(), &payload);
    vu_setDefaultUserData2(set.get(), &set);
    VuNode* node = vu_allocateNode(set.get());
    EXPECT_EQ(vu_fsucc(node), node);
    EXPECT_EQ(vu_vsucc(node), node);
    EXPECT_EQ(vu_edgeMate(node), node);
    EXPECT_EQ(node->mask, 0u);
    EXPECT_EQ(vu_getUserDataP(node), &payload);
    EXPECT_EQ(vu_getUserData2(node), static_cast<void*>(&set));
    EXPECT_EQ(vu_setMask(node, 0x5), 0x5u);
    EXPECT_EQ(vu_getMask(node, 0x6), 0x4u);
    EXPECT_EQ(vu_clrMask(node, 0x1), 0x4u);
    EXPECT_EQ(vu_writeMask(node, 0x8, true), 0xCu);
    EXPECT_EQ(vu_writeMask(node, 0x4, false), 0x8u);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuNodes, ExtraBytesFollowEachNodeAndSurviveReuse) {
    // 13 extra bytes round the stride up; enough nodes for three blocks.
    constexpr int kExtra = 13;
    auto set = makeVuSet(kExtra);
    std::vector<VuNode*> nodes;
    for (int i = 0; i < 3 * VU_NODES_PER_BLOCK; ++i) {
        VuNode* node = vu_allocateNode(set.get());
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(node) % 8, 0u);
        std::memset(vu_getExtraData(node), i & 0xFF, kExtra);
        nodes.push_back(node);
    }
    for (int i = 0; i < static_cast<int>(nodes.size()); ++i) {
        const auto* bytes = static_cast<const unsigned char*>(vu_getExtraData(nodes[i]));
        EXPECT_EQ(bytes[0], i & 0xFF);
        EXPECT_EQ(bytes[kExtra - 1], i & 0xFF);
    }
    EXPECT_EQ(vu_arraySize(set->nodeBlocks), 3);

    vu_reinitializeVuSet(set.get());
    EXPECT_EQ(vu_firstNodeInGraph(set.get()), nullptr);
    VuNode* reused = vu_allocateNode(set.get());
    EXPECT_EQ(vu_getIndex(reused), 0) << "serial numbers restart";
    EXPECT_EQ(vu_arraySize(set->nodeBlocks), 3) << "reinitialising keeps the memory";
    const auto* bytes = static_cast<const unsigned char*>(vu_getExtraData(reused));
    const auto reusedIndex = std::find(nodes.begin(), nodes.end(), reused) - nodes.begin();
    ASSERT_LT(reusedIndex, static_cast<long>(nodes.size()));
    EXPECT_EQ(bytes[0], reusedIndex & 0xFF) << "only the node record is zeroed on reuse";
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuNodes, ReinitializeKeepsSettingsAndClearsAuxVector) {
    auto set = makeVuSet();
    vu_setTol(set.get(), 1.0, 1.0e-6);
    const DPoint3d aux = {1, 2, 3};
    vu_setAuxVector(set.get(), &aux);
    makeRing(set.get(), kUnitSquare);
    vu_reinitializeVuSet(set.get());
    DPoint3d cleared = {9, 9, 9};
    vu_getAuxVector(&cleared, set.get());
    EXPECT_EQ(cleared.x, 0.0);
    EXPECT_EQ(cleared.y, 0.0);
    double abstol = 0.0;
    vu_getTol(set.get(), &abstol, nullptr);
    EXPECT_EQ(abstol, 1.0);
    EXPECT_EQ(vu_countNodesInGraph(set.get()), 0);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuTopology, FreeEdgeSlingAndTwistsSendTheirMessages) {
    auto set = makeVuSet();
    std::vector<Message> messages;
    vu_setCMessageFunction(set.get(), recordMessage, &messages);

    VuNode *a = nullptr, *b = nullptr, *c = nullptr, *d = nullptr;
    vu_createFreeEdge(set.get(), &a, &b);
    EXPECT_EQ(vu_fsucc(a), b);
    EXPECT_EQ(vu_fsucc(b), a);
    EXPECT_EQ(vu_vsucc(a), a);
    EXPECT_EQ(vu_edgeMate(a), b);
    vu_createSlingEdge(set.get(), &c, &d);
    EXPECT_EQ(vu_fsucc(c), c);
    EXPECT_EQ(vu_vsucc(c), d);
    EXPECT_EQ(vu_edgeMate(c), d);
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
        {VU_MSG_NEW_FREE_EDGE, a, b},     {VU_MSG_NEW_SLING, c, d},
        {VU_MSG_PRE_VERTEX_TWIST, a, c},  {VU_MSG_POST_VERTEX_TWIST, a, c},
        {VU_MSG_PRE_VERTEX_TWIST, a, c},  {VU_MSG_POST_VERTEX_TWIST, a, c},
    };
    EXPECT_EQ(messages, expected);
}

TEST(VuTopology, SplitKeepsBothFacesClosed) {
    auto set = makeVuSet();
    VuNode* node = makeRing(set.get(), kUnitSquare);
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
    EXPECT_EQ(vu_fsucc(node), new1);
    EXPECT_EQ(vu_fsucc(mate), new2);
    EXPECT_EQ(vu_vsucc(new1), new2);
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
    EXPECT_EQ(new1->mask, 0x4u);
    EXPECT_EQ(new2->mask, 0x8u);
    EXPECT_EQ(vu_vsucc(new1), new2);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuTopology, InsertEdgeJoinsVerticesAndInheritsFromThem) {
    auto set = makeVuSet();
    VuNode* corner = makeRing(set.get(), kUnitSquare);  // at (0,1)
    VuNode* opposite = vu_fsucc(vu_fsucc(corner));      // at (1,0)
    vu_setMask(corner, 0x40 | VU_EXTERIOR_EDGE);
    vu_setJoinInheritMask(set.get(), 0x40);
    int tag = 0;
    vu_setUserDataP(corner, &tag);
    vu_setUserDataPIsVertexProperty(set.get(), true);
    static std::vector<VuNode*> joined;
    joined.clear();
    vu_setJoinFunction(set.get(), [](VuSet*, VuNode* node) { joined.push_back(node); });

    VuNode *newA = nullptr, *newB = nullptr;
    vu_insertEdgeBetween(set.get(), corner, opposite, &newA, &newB);
    EXPECT_EQ(vu_edgeMate(newA), newB);
    EXPECT_EQ(vu_countNodesAroundVertex(corner), 3);
    EXPECT_EQ(vu_countNodesAroundVertex(opposite), 3);
    EXPECT_EQ(vu_getY(newA), 1.0);
    EXPECT_EQ(vu_getX(newB), 1.0);
    EXPECT_EQ(newA->mask, 0x40u);
    EXPECT_EQ(vu_getUserDataP(newA), &tag);
    EXPECT_EQ(joined, (std::vector<VuNode*>{corner, opposite}));
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
    VuNode* corner = makeRing(set.get(), kUnitSquare);
    VuNode *diagA = nullptr, *diagB = nullptr;
    vu_insertEdgeBetween(set.get(), corner, vu_fsucc(vu_fsucc(corner)), &diagA, &diagB);
    // Also delete a ring edge whose node is the oldest, the live-list node.
    VuNode* oldest = graphOrder(set.get()).back();
    const VuMask doomed = vu_grabMask(set.get());
    vu_clearMaskInSet(set.get(), doomed);
    vu_setMask(diagA, doomed);   // only one side marked: its mate goes too
    vu_setMask(oldest, doomed);
    std::vector<VuNode*> survivors;
    const VuNode* oldestMate = vu_edgeMate(oldest);
    for (VuNode* n : graphOrder(set.get()))
        if (n != diagA && n != diagB && n != oldest && n != oldestMate) survivors.push_back(n);

    vu_freeMarkedEdges(set.get(), doomed);
    vu_returnMask(set.get(), doomed);
    EXPECT_EQ(graphOrder(set.get()), survivors);
    EXPECT_EQ(vu_countNodesAroundFace(survivors.front()), 6) << "both sides of a chain of three edges";
    EXPECT_TRUE(isWellFormedGraph(set.get()));

    const int blocks = vu_arraySize(set->nodeBlocks);
    for (int i = 0; i < 4; ++i) vu_allocateNode(set.get());
    EXPECT_EQ(vu_arraySize(set->nodeBlocks), blocks);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuTopology, FreeMarkedEdgesCanEmptyTheGraph) {
    auto set = makeVuSet();
    makeRing(set.get(), kUnitSquare);
    vu_setMaskInSet(set.get(), 0x8);
    vu_freeMarkedEdges(set.get(), 0x8);
    EXPECT_EQ(vu_firstNodeInGraph(set.get()), nullptr);
    vu_freeMarkedEdges(set.get(), 0x8);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuArray, GrowsReadsRemovesAndSorts) {
    auto set = makeVuSet();
    std::vector<VuNode*> nodes;
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
    std::vector<VuNode*> read;
    VuNode* node = nullptr;
    while (vu_arrayRead(array, &node)) {
        read.push_back(node);
        if (vu_getIndex(node) % 2 == 1) vu_arrayRemoveCurrent(array);
    }
    EXPECT_EQ(node, nullptr);
    EXPECT_EQ(read.size(), 5u) << "the entry moved into a removed slot is still read";
    EXPECT_EQ(vu_arraySize(array), 3);
    vu_arraySort(array, [](const VuNode* a, const VuNode* b) { return a->id < b->id; });
    EXPECT_EQ(vu_arrayGet(array, 0), nodes[0]);
    EXPECT_EQ(vu_arrayGet(array, 1), nodes[2]);
    EXPECT_EQ(vu_arrayGet(array, 2), nodes[4]);
    vu_arrayFree(array);
    vu_arrayClear(nullptr);
    vu_arrayAdd(nullptr, nodes[0]);
    vu_arrayFree(nullptr);
}

TEST(VuStack, PushAndPopSpliceGraphs) {
    auto set = makeVuSet();
    EXPECT_EQ(vu_stackPush(set.get()), 0) << "an empty graph saves nothing";
    makeRing(set.get(), kUnitSquare);
    const std::vector<VuNode*> saved = graphOrder(set.get());
    EXPECT_EQ(vu_stackPush(set.get()), 1);
    EXPECT_EQ(vu_firstNodeInGraph(set.get()), nullptr);
    EXPECT_EQ(vu_stackPush(set.get()), 1);

    const std::vector<DPoint3d> triangle = {{5, 5, 0}, {6, 5, 0}, {5, 6, 0}};
    makeRing(set.get(), triangle);
    const std::vector<VuNode*> current = graphOrder(set.get());
    static int operations = 0;
    EXPECT_EQ(vu_stackPopWithOperation(set.get(), [](VuSet*) { return ++operations; }, nullptr), 0);
    EXPECT_EQ(operations, 1);
    std::vector<VuNode*> expected = saved;
    expected.insert(expected.end(), current.begin(), current.end());
    EXPECT_EQ(graphOrder(set.get()), expected);
    EXPECT_EQ(vu_stackPop(set.get()), 0);
    EXPECT_EQ(vu_stackPopWithOperation(set.get(), nullptr, nullptr), 0);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuStack, PushCopyRebuildsTheSameGraph) {
    auto set = makeVuSet();
    VuNode* corner = makeRing(set.get(), kUnitSquare);
    vu_setMask(corner, 0x20);
    vu_setAuxIndex(corner, 42);
    const std::vector<VuNode*> originals = graphOrder(set.get());
    EXPECT_EQ(vu_stackPushCopy(set.get()), 1);
    const std::vector<VuNode*> copies = graphOrder(set.get());
    ASSERT_EQ(copies.size(), originals.size());
    auto position = [](const std::vector<VuNode*>& nodes, const VuNode* node) {
        return std::find(nodes.begin(), nodes.end(), node) - nodes.begin();
    };
    for (std::size_t i = 0; i < copies.size(); ++i) {
        EXPECT_NE(copies[i], originals[i]);
        EXPECT_EQ(copies[i]->id, originals[i]->id);
        EXPECT_EQ(copies[i]->mask, originals[i]->mask);
        EXPECT_EQ(copies[i]->auxIndex, originals[i]->auxIndex);
        EXPECT_EQ(copies[i]->xyz.x, originals[i]->xyz.x);
        EXPECT_EQ(position(copies, copies[i]->fSucc), position(originals, originals[i]->fSucc));
        EXPECT_EQ(position(copies, copies[i]->vSucc), position(originals, originals[i]->vSucc));
    }
    EXPECT_EQ(vu_getAuxIndex(corner), 42) << "the original is left as it was";
    EXPECT_TRUE(isWellFormedGraph(set.get()));

    vu_stackExchange(set.get());
    EXPECT_EQ(graphOrder(set.get()), originals);
    vu_stackPopAll(set.get());
    EXPECT_EQ(vu_stackSize(set.get()), 0);
    EXPECT_EQ(vu_countNodesInGraph(set.get()), 16);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuStack, ExchangeWithAnEmptyGraphPops) {
    auto set = makeVuSet();
    vu_stackExchange(set.get());
    makeRing(set.get(), kUnitSquare);
    vu_stackPush(set.get());
    vu_stackExchange(set.get());
    EXPECT_EQ(vu_stackSize(set.get()), 0);
    EXPECT_EQ(vu_countNodesInGraph(set.get()), 8);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

}  // namespace
}  // namespace Korvex
