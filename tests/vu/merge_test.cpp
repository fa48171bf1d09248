#include <gtest/gtest.h>

#include <random>

#include "vu/graph_checker.h"
#include "vu/merge_test_helpers.h"
#include "vu/vu.h"

namespace Korvex {
namespace {

using mergetest::addLoop;
using mergetest::shapeOf;
using mergetest::square;
using mergetest::vertexAt;

struct MergeCase {
    vumergetype type;
    int copies;
    int expectedEdges;
};

TEST(Merge, CoincidentSquaresFollowTheMergeType) {
    const MergeCase cases[] = {
        {VU_MERGE_UNION, 2, 8},       {VU_MERGE_SINGLE_EDGE, 2, 4}, {VU_MERGE_PARITY, 2, 0},
        {VU_MERGE_UNION, 3, 12},      {VU_MERGE_SINGLE_EDGE, 3, 4}, {VU_MERGE_PARITY, 3, 4},
        {static_cast<vumergetype>(7), 2, 8},
    };
    for (const MergeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << ", copies " << c.copies);
        vutest::UniqueVuSet set(vu_newVuSet());
        for (int i = 0; i < c.copies; ++i) addLoop(set.get(), square(0, 0, 1));
        vu_merge2002(set.get(), c.type, 0.0, 1e-10);
        EXPECT_TRUE(vutest::isWellFormedGraph(set.get()));
        EXPECT_EQ(shapeOf(set.get()).nodes, 2 * c.expectedEdges);
        if (c.expectedEdges == 0) continue;
        EXPECT_EQ(shapeOf(set.get()).vertices, 4);
        EXPECT_EQ(vu_countNodesAroundVertex(vertexAt(set.get(), 1, 1)), c.expectedEdges / 2);
        // With V and E known, Euler's formula pins the faces: inside, outside
        // and one two-node sliver between each pair of kept coincident edges.
        EXPECT_TRUE(mergetest::satisfiesEuler(set.get()));
        EXPECT_TRUE(mergetest::verticesAreCounterClockwise(set.get()));
    }
}

TEST(Merge, ToleranceComesFromTheLargestCoordinate) {
    vutest::UniqueVuSet set(vu_newVuSet());
    addLoop(set.get(), {{-1000, 0}, {10, 0}, {10, 20}});
    vu_setTol(set.get(), 0.0, 1e-10);
    vu_mergeOrUnionLoops(set.get(), VU_MERGE_UNION);
    EXPECT_DOUBLE_EQ(vu_getMergeTol(set.get()), 1e-7);
    vu_merge2002(set.get(), VU_MERGE_UNION, 0.5, 1e-10);
    EXPECT_EQ(vu_getMergeTol(set.get()), 0.5);
}

TEST(Merge, VertexNearAnEdgeSplitsItAndJoinsTheSplit) {
    const double tol = 1e-7;  // 1e-10 of the largest coordinate, 1000
    vutest::UniqueVuSet set(vu_newVuSet());
    addLoop(set.get(), square(0, 0, 1000));
    addLoop(set.get(), {{500, 0.4 * tol}, {600, 100}, {400, 100}});
    vu_merge2002(set.get(), VU_MERGE_UNION, 0.0, 1e-10);
    EXPECT_TRUE(vutest::isWellFormedGraph(set.get()));
    // The split vertex has the lower key and seeds the cluster.
    VuNode* joined = vertexAt(set.get(), 500, 0);
    ASSERT_NE(joined, nullptr);
    EXPECT_EQ(vu_countNodesAroundVertex(joined), 4);
    EXPECT_EQ(shapeOf(set.get()).vertices, 7);
    EXPECT_EQ(shapeOf(set.get()).nodes, 2 * 8);
}

TEST(Merge, VertexNearAnEdgeEndJoinsTheEndInstead) {
    const double tol = 1e-7;
    vutest::UniqueVuSet set(vu_newVuSet());
    addLoop(set.get(), square(0, 0, 1000));
    addLoop(set.get(), {{1000 - 0.5 * tol, 0.5 * tol}, {900, 100}, {800, 50}});
    vu_merge2002(set.get(), VU_MERGE_UNION, 0.0, 1e-10);
    EXPECT_TRUE(vutest::isWellFormedGraph(set.get()));
    EXPECT_EQ(shapeOf(set.get()).vertices, 6);
    EXPECT_EQ(vu_countNodesAroundVertex(vertexAt(set.get(), 1000, 0)), 4);
}

TEST(Merge, QuarterOverlapMakesTwoCrossingVertices) {
    vutest::UniqueVuSet set(vu_newVuSet());
    addLoop(set.get(), square(0, 0, 2));
    addLoop(set.get(), square(1, 1, 2));
    vu_mergeOrUnionLoops(set.get(), VU_MERGE_UNION);
    EXPECT_TRUE(vutest::isWellFormedGraph(set.get()));
    for (const DPoint2d crossing : {DPoint2d{2, 1}, DPoint2d{1, 2}}) {
        VuNode* vertex = vertexAt(set.get(), crossing.x, crossing.y);
        ASSERT_NE(vertex, nullptr);
        EXPECT_EQ(vu_countNodesAroundVertex(vertex), 4);
    }
    const mergetest::GraphShape shape = shapeOf(set.get());
    EXPECT_EQ(shape.vertices, 10);
    EXPECT_EQ(shape.nodes, 2 * 12);
    EXPECT_EQ(shape.faces, 4);  // outside, the overlap and each square's own part
    EXPECT_TRUE(mergetest::verticesAreCounterClockwise(set.get()));
}

TEST(Merge, ShortIsolatedEdgeVanishes) {
    vutest::UniqueVuSet set(vu_newVuSet());
    addLoop(set.get(), square(0, 0, 1));
    VuNode* a = nullptr;
    VuNode* b = nullptr;
    vu_createFreeEdge(set.get(), &a, &b);
    vu_setXYZ(a, 10, 10, 0);
    vu_setXYZ(b, 10.0005, 10, 0);
    vu_merge2002(set.get(), VU_MERGE_UNION, 1e-3, 0.0);
    EXPECT_TRUE(vutest::isWellFormedGraph(set.get()));
    EXPECT_EQ(shapeOf(set.get()).nodes, 8);
    EXPECT_EQ(vertexAt(set.get(), 10, 10), nullptr);
}

TEST(Merge, ManyEdgesAtOneVertexAreSortedCounterClockwise) {
    vutest::UniqueVuSet set(vu_newVuSet());
    // Eight triangles fanned around the origin, loaded in scrambled order.
    const int order[] = {3, 7, 0, 5, 2, 6, 1, 4};
    for (const int k : order) {
        const double a0 = k * 0.785398163, a1 = a0 + 0.5;
        addLoop(set.get(), {{0, 0}, {std::cos(a0), std::sin(a0)}, {std::cos(a1), std::sin(a1)}});
    }
    vu_mergeOrUnionLoops(set.get(), VU_MERGE_UNION);
    EXPECT_TRUE(vutest::isWellFormedGraph(set.get()));
    EXPECT_EQ(vu_countNodesAroundVertex(vertexAt(set.get(), 0, 0)), 16);
    EXPECT_TRUE(mergetest::verticesAreCounterClockwise(set.get()));
    EXPECT_TRUE(mergetest::satisfiesEuler(set.get()));
}

// Random overlapping polygons: the merge leaves no crossing unsplit, keeps the
// embedding planar and every vertex loop counter-clockwise.
TEST(Merge, RandomOverlapsBecomeAPlanarSubdivision) {
    std::mt19937 random(20261205);
    std::uniform_real_distribution<double> coordinate(-10.0, 10.0);
    std::uniform_int_distribution<int> loopCount(1, 4), pointCount(2, 9);
    for (int trial = 0; trial < 200; ++trial) {
        SCOPED_TRACE(testing::Message() << "trial " << trial);
        vutest::UniqueVuSet set(vu_newVuSet());
        for (int loop = loopCount(random); loop > 0; --loop) {
            std::vector<DPoint2d> points(pointCount(random));
            for (DPoint2d& point : points) point = {coordinate(random), coordinate(random)};
            addLoop(set.get(), points);
        }
        vu_mergeOrUnionLoops(set.get(), static_cast<vumergetype>(trial % 3 == 0 ? 0 : 1));
        ASSERT_TRUE(vutest::isWellFormedGraph(set.get()));
        EXPECT_FALSE(mergetest::hasEdgesCrossing(set.get(), 1e-9));
        EXPECT_TRUE(mergetest::verticesAreCounterClockwise(set.get()));
        EXPECT_TRUE(mergetest::satisfiesEuler(set.get()));
    }
}

TEST(Merge, EmptyGraphAndOneLoopAreHarmless) {
    vutest::UniqueVuSet set(vu_newVuSet());
    vu_mergeOrUnionLoops(set.get(), VU_MERGE_UNION);
    vu_mergeAndConnectForBoolop(set.get());
    EXPECT_EQ(vu_firstNodeInGraph(set.get()), nullptr);
    addLoop(set.get(), square(0, 0, 1));
    vu_mergeAndConnectForBoolop(set.get());
    EXPECT_TRUE(vutest::isWellFormedGraph(set.get()));
    EXPECT_EQ(shapeOf(set.get()).nodes, 8);
    EXPECT_EQ(shapeOf(set.get()).faces, 2);
}

TEST(Merge, ConnectionJoinsSeparatePieces) {
    vutest::UniqueVuSet set(vu_newVuSet());
    addLoop(set.get(), square(0, 0, 1));
    addLoop(set.get(), square(3, 0, 1));
    addLoop(set.get(), square(0.25, 0.25, 0.5));
    vu_mergeAndConnectForBoolop(set.get());
    EXPECT_TRUE(vutest::isWellFormedGraph(set.get()));
    EXPECT_EQ(mergetest::countComponents(set.get()), 1);
    EXPECT_TRUE(mergetest::satisfiesEuler(set.get()));
}

}  // namespace
}  // namespace Korvex
