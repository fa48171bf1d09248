#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "vu/graph_test_helpers.h"
#include "vu/vu_regularize_sweep.h"

namespace Korvex {
namespace {

using namespace vutest;
using VuRegularize = VuGraphTest;

const Ring kSquare = square(0, 0, 10);
const Ring kU = xy({{0, 0}, {3, 0}, {3, 3}, {2, 3}, {2, 1}, {1, 1}, {1, 3}, {0, 3}});

TEST_F(VuRegularize, IslandHangsFromItsLowestAndHighestVertex) {
    addRing(set, kSquare);
    addRing(set, square(4, 4, 2));
    vureg_regularizeGraph(set);
    ASSERT_TRUE(isWellFormedGraph(set));
    EXPECT_EQ(countComponents(set), 1);
    const auto added = edgesWithoutMask(set, VU_BOUNDARY_EDGE);
    ASSERT_EQ(added.size(), 2u);
    EXPECT_TRUE(hasSegment(added, {10, 0}, {4, 4}))
        << "the upward sweep joins the island's lowest vertex down to a corner";
    EXPECT_TRUE(hasSegment(added, {6, 6}, {0, 10}))
        << "the downward sweep joins the island's highest vertex up to a corner";
    // The regularization edges are no boundary: alternation floods across them.
    for (VuNode* node : nodesOf(set))
        if (!vu_getMask(node, VU_BOUNDARY_EDGE)) {
            EXPECT_EQ(vu_getMask(node, 0xFFFF), 0u);
        }
}

// The upward sweep alone joins the notch's reflex minimum to the higher of the
// two chain nodes below it, (0,0) and (3,0). The downward sweep then closes
// the exterior face's notch at its top: (1,3) is a reflex maximum of the
// exterior face, since the top edge (0,3)-(1,3) rises in the sweep order.
// Turned upside down, the upward sweep finds only the exterior notch.
TEST_F(VuRegularize, UShapeGetsOneInteriorEdgeFromTheNotch) {
    const struct {
        Ring ring;
        DPoint2d upward[2], downward[2];
    } cases[] = {
        {kU, {{3, 0}, {1, 1}}, {{1, 3}, {2, 3}}},
        {xy({{0, 0}, {-3, 0}, {-3, -3}, {-2, -3}, {-2, -1}, {-1, -1}, {-1, -3}, {0, -3}}),
         {{-2, -3}, {-1, -3}},
         {{-3, 0}, {-1, -1}}},
    };
    for (const auto& c : cases) {
        vu_reinitializeVuSet(set);
        addRing(set, c.ring);
        ASSERT_TRUE(VuRegularizeSweep(set).run());
        ASSERT_TRUE(isWellFormedGraph(set));
        auto added = edgesWithoutMask(set, VU_BOUNDARY_EDGE);
        ASSERT_EQ(added.size(), 1u);
        EXPECT_TRUE(hasSegment(added, c.upward[0], c.upward[1]));
        vureg_regularizeGraph(set);
        ASSERT_TRUE(isWellFormedGraph(set));
        added = edgesWithoutMask(set, VU_BOUNDARY_EDGE);
        ASSERT_EQ(added.size(), 2u);
        EXPECT_TRUE(hasSegment(added, c.upward[0], c.upward[1]));
        EXPECT_TRUE(hasSegment(added, c.downward[0], c.downward[1]));
    }
}

TEST_F(VuRegularize, ConvexPolygonsAreLeftAloneAndSeparatePiecesJoined) {
    for (const Ring& ring : {kSquare, xy({{0, 0}, {5, 1}, {6, 4}, {2, 7}, {-1, 3}})}) {
        vu_reinitializeVuSet(set);
        addRing(set, ring);
        vu_regularizeGraph(set);
        EXPECT_TRUE(isWellFormedGraph(set));
        EXPECT_EQ(vu_countNodesInGraph(set), 2 * static_cast<int>(ring.size()));
    }
    // Side by side, one above the other, and a loose segment.
    vu_reinitializeVuSet(set);
    for (const Ring& ring : {square(0, 0, 1), square(5, 0.5, 1), square(0, 5, 1)})
        addRing(set, ring);
    addFreeEdge(set, {3, 3}, {3.5, 4});
    vureg_regularizeGraph(set);
    EXPECT_EQ(countComponents(set), 1);
}

TEST_F(VuRegularize, DegenerateInputNeitherCrashesNorLoops) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const Ring& ring : {
             xy({{0, 0}, {0, 0}, {4, 0}, {4, 0}, {4, 4}, {0, 4}}),              // repeated points
             xy({{0, 0}, {2, 0}, {2, 1}, {5, 1}, {2, 1}, {2, 2}, {0, 2}}),      // spike
             xy({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 1}, {3, 2}, {0, 2}}),      // collinear
             xy({{0, 0}, {1, 0}, {2, 0}}),                                      // flat
             xy({{0, 0}, {4, 0}, {0, 4}, {4, 4}}),                              // bow tie
             xy({{0, 0}, {nan, 1}, {2, 2}, {0, 3}}),
             xy({{0, 0}, {inf, 1}, {2, -inf}, {0, 3}}),
             xy({{1, 1}, {1, 1}}),
         }) {
        vu_reinitializeVuSet(set);
        addRing(set, ring);
        addRing(set, xy({{1, 1.5}, {1.5, 1.5}, {1.5, 1.8}}));
        vureg_regularizeGraph(set);
        EXPECT_TRUE(isWellFormedGraph(set));
    }
    vu_reinitializeVuSet(set);
    vu_regularizeGraph(set);  // empty
    vu_regularizeGraph(nullptr);
}

TEST_F(VuRegularize, FailedSectorTestIsReportedAndRetriedThreeTimes) {
    // Two rings through one point that was never merged into one vertex: a
    // join lands on the wrong node of that point and fails its sector test,
    // on every attempt of one sweep.
    MessageCounter failures(set);
    addRing(set, xy({{2, 6}, {5, 6}, {0, 0}}));
    addRing(set, xy({{2, 6}, {1, 1}, {0, 2}}));
    vureg_regularizeGraph(set);
    EXPECT_EQ(failures.count, 6) << "the sweep and its caller report each of three attempts";
}

TEST_F(VuRegularize, DoesNothingWithoutPoolResources) {
    addRing(set, kU);
    std::vector<VuMask> masks;
    for (int i = 0; i < VU_MASK_POOL_SIZE - 1; ++i) masks.push_back(vu_grabMask(set));
    vu_regularizeGraph(set);
    EXPECT_EQ(vu_countNodesInGraph(set), 16);
    for (VuMask m : masks) vu_returnMask(set, m);
    std::vector<vuArray*> arrays;
    for (int i = 0; i < 3; ++i) arrays.push_back(vu_grabArray(set));
    vu_regularizeGraph(set);
    EXPECT_EQ(vu_countNodesInGraph(set), 16);
    for (vuArray* a : arrays) vu_returnArray(set, a);
    EXPECT_TRUE(isWellFormedGraph(set));
    vu_regularizeGraph(set);
    EXPECT_EQ(vu_countNodesInGraph(set), 16 + 4);
}

}  // namespace
}  // namespace Korvex
