// The merge: coincident edges, clustering near edges, crossings, and the
// angular sort, checked for a planar subdivision.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "vu/graph_test_helpers.h"
#include "vu/vu_edge_angle_order.h"

namespace Korvex {
namespace {

using namespace vutest;
using Merge = VuGraphTest;

// Around every vertex the edge directions, followed by vertex successors,
// turn counter-clockwise: at most one step goes down in angle.
bool verticesAreCounterClockwise(VuSet* set) {
    auto angleOf = [](const VuNode* node) {
        const VuNode* next = vu_fsucc(node);
        return std::atan2(vu_getY(next) - vu_getY(node), vu_getX(next) - vu_getX(node));
    };
    for (VuNode* start : nodesOf(set)) {
        int descents = 0;
        VuNode* node = start;
        do descents += angleOf(vu_vsucc(node)) < angleOf(node);
        while ((node = vu_vsucc(node)) != start);
        if (descents > 1) return false;
    }
    return true;
}

// A planar embedding satisfies Euler's formula V - E + F = 2 on every
// connected piece; crossing edges left unsplit break it.
bool satisfiesEuler(VuSet* set) {
    const GraphShape shape = shapeOf(set);
    return shape.vertices - shape.nodes / 2 + shape.faces == 2 * countComponents(set);
}

// Two edges cross when each has its ends on both sides of the other's line,
// beyond doubt: a side within the rounding of its measure counts as none.
bool anyEdgesCross(VuSet* set) {
    const auto side = [](DPoint2d a, DPoint2d b, DPoint2d p) {
        const double left = (b.x - a.x) * (p.y - a.y), right = (b.y - a.y) * (p.x - a.x);
        const double doubt = 1e-15 * (std::fabs(left) + std::fabs(right));
        return (left - right > doubt) - (right - left > doubt);
    };
    const std::vector<Segment> edges = edgesWithoutMask(set);
    for (std::size_t i = 0; i < edges.size(); ++i)
        for (std::size_t j = i + 1; j < edges.size(); ++j) {
            const Segment &e = edges[i], &f = edges[j];
            if (side(e.a, e.b, f.a) * side(e.a, e.b, f.b) < 0 &&
                side(f.a, f.b, e.a) * side(f.a, f.b, e.b) < 0)
                return true;
        }
    return false;
}

// Well formed, every vertex loop sorted counter-clockwise, and planar.
void expectPlanarSubdivision(VuSet* set) {
    EXPECT_TRUE(isWellFormedGraph(set));
    EXPECT_TRUE(verticesAreCounterClockwise(set));
    EXPECT_TRUE(satisfiesEuler(set));
    EXPECT_FALSE(anyEdgesCross(set));
}

TEST_F(Merge, CoincidentSquaresFollowTheMergeType) {
    const struct {
        vumergetype type;
        int copies, edges;
    } cases[] = {
        {VU_MERGE_UNION, 2, 8},  {VU_MERGE_SINGLE_EDGE, 2, 4}, {VU_MERGE_PARITY, 2, 0},
        {VU_MERGE_UNION, 3, 12}, {VU_MERGE_SINGLE_EDGE, 3, 4}, {VU_MERGE_PARITY, 3, 4},
        {static_cast<vumergetype>(7), 2, 8},
    };
    for (const auto& [type, copies, edges] : cases) {
        SCOPED_TRACE(testing::Message() << "type " << type << ", copies " << copies);
        vu_reinitializeVuSet(set);
        for (int i = 0; i < copies; ++i) addRing(set, square(0, 0, 1));
        vu_merge2002(set, type, 0.0, 1e-10);
        // Faces: inside, outside and a two-node sliver between each pair of
        // kept coincident edges.
        EXPECT_EQ(shapeOf(set), (edges ? GraphShape{2 * edges, 4, edges - 2} : GraphShape{}));
        EXPECT_EQ(edges ? vu_countNodesAroundVertex(vertexAt(set, 1, 1)) : 0, edges / 2);
        expectPlanarSubdivision(set);
    }
}

TEST_F(Merge, ToleranceComesFromTheLargestCoordinate) {
    addRing(set, xy({{-1000, 0}, {10, 0}, {10, 20}}));
    vu_setTol(set, 0.0, 1e-10);
    vu_mergeOrUnionLoops(set, VU_MERGE_UNION);
    EXPECT_DOUBLE_EQ(vu_getMergeTol(set), 1e-7);
}

TEST_F(Merge, VertexNearAnEdgeSplitsItOrJoinsItsEnd) {
    const double tol = 1e-7;  // 1e-10 of the largest coordinate, 1000
    const struct {
        Ring triangle;
        DPoint2d joinedAt;
        int vertices;
    } cases[] = {
        // 0.4 tol from the middle of the bottom edge: the split vertex has
        // the lower key and seeds the cluster.
        {xy({{500, 0.4 * tol}, {600, 100}, {400, 100}}), {500, 0}, 7},
        // Near the end of the edge: the end is joined instead.
        {xy({{1000 - 0.5 * tol, 0.5 * tol}, {900, 100}, {800, 50}}), {1000, 0}, 6},
    };
    for (const auto& c : cases) {
        vu_reinitializeVuSet(set);
        addRing(set, square(0, 0, 1000));
        addRing(set, c.triangle);
        vu_merge2002(set, VU_MERGE_UNION, 0.0, 1e-10);
        EXPECT_TRUE(isWellFormedGraph(set));
        VuNode* joined = vertexAt(set, c.joinedAt.x, c.joinedAt.y);
        EXPECT_EQ(joined ? vu_countNodesAroundVertex(joined) : 0, 4);
        EXPECT_EQ(shapeOf(set), (GraphShape{2 * (c.vertices + 1), c.vertices, 3}));
    }
}

TEST_F(Merge, QuarterOverlapMakesTwoCrossingVertices) {
    addRing(set, square(0, 0, 2));
    addRing(set, square(1, 1, 2));
    vu_mergeOrUnionLoops(set, VU_MERGE_UNION);
    expectPlanarSubdivision(set);
    for (VuNode* crossing : {vertexAt(set, 2, 1), vertexAt(set, 1, 2)})
        EXPECT_EQ(crossing ? vu_countNodesAroundVertex(crossing) : 0, 4);
    // Faces: outside, the overlap and each square's own part.
    EXPECT_EQ(shapeOf(set), (GraphShape{2 * 12, 10, 4}));
}

// p1 and q1 cluster; p3 and q3 lie just beyond the merge tolerance (7.9e-9)
// of each other, so the crossing of p1p3 with q2q3 near them is too near
// both ends to split; and the crossing of p2p3 with q2q3 adds a vertex that
// joins neither. Edges still crossing are split until none do.
TEST_F(Merge, NearlyCoincidentVerticesLeaveNoEdgesCrossing) {
    loadLoop(set, xy({{-59.261631594160583, -18.431310060398346},
                      {26.820158478947157, 14.729471295223128},
                      {-29.448060406458055, 78.692381619239953}}));
    loadLoop(set, xy({{-59.261631599439042, -18.431310061819591},
                      {-1.3277655332240108, 74.853144288827693},
                      {-29.448060412932655, 78.692381614634201}}));
    vu_setTol(set, 0.0, 1e-10);
    vu_mergeOrUnionLoops(set, VU_MERGE_UNION);
    expectPlanarSubdivision(set);
}

TEST_F(Merge, ShortIsolatedEdgeVanishes) {
    addRing(set, square(0, 0, 1));
    VuNode *a = nullptr, *b = nullptr;
    vu_createFreeEdge(set, &a, &b);
    vu_setXYZ(a, 10, 10, 0);
    vu_setXYZ(b, 10.0005, 10, 0);
    vu_merge2002(set, VU_MERGE_UNION, 1e-3, 0.0);
    EXPECT_EQ(shapeOf(set), (GraphShape{8, 4, 2}));
}

// An unsplit crossing breaks Euler's formula.
TEST_F(Merge, RandomOverlapsBecomeAPlanarSubdivision) {
    std::mt19937 random(20261205);
    std::uniform_real_distribution<double> coordinate(-10.0, 10.0);
    std::uniform_int_distribution<int> loopCount(1, 4), pointCount(2, 9);
    for (int trial = 0; trial < 200; ++trial) {
        SCOPED_TRACE(trial);
        vu_reinitializeVuSet(set);
        for (int loop = loopCount(random); loop > 0; --loop) {
            Ring points(pointCount(random));
            for (DPoint3d& p : points) p = {coordinate(random), coordinate(random), 0.0};
            addRing(set, points);
        }
        vu_mergeOrUnionLoops(set, static_cast<vumergetype>(trial % 3 == 0 ? 0 : 1));
        expectPlanarSubdivision(set);
    }
}

// The direction order that spares atan2 never disagrees with atan2 when it
// answers, on ordinary, nearly parallel, near-axis, axis, zero and hostile
// directions; and it does answer for ordinary ones.
TEST(EdgeAngleOrder, AgreesWithAtan2WheneverItAnswers) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    auto direction = [&](int kind) -> std::pair<double, double> {
        const double x = unit(random) * 1e3, y = unit(random) * 1e3;
        switch (kind) {
            case 0: return {x, y};
            case 1: return {x, x * 1e-12};           // hugging the x axis
            case 2: return {x, 0.0};                 // on it, either way
            case 3: return {0.0, y};
            case 4: return {0.0, 0.0};
            default: return {kind == 5 ? inf : nan, y};
        }
    };
    int answered = 0, ordinary = 0;
    for (int trial = 0; trial < 200000; ++trial) {
        const int kindA = trial % 7, kindB = (trial / 7) % 7;
        auto [ax, ay] = direction(kindA);
        auto [bx, by] = direction(kindB);
        if (trial % 3 == 0) {  // b nearly parallel to a
            bx = ax * (1 + 1e-13 * unit(random));
            by = ay * (1 + 1e-13 * unit(random));
        }
        ax += 0.0, ay += 0.0, bx += 0.0, by += 0.0;
        const VuAngleOrder order = vu_compareEdgeAngles(ax, ay, bx, by);
        if (kindA == 0 && kindB == 0 && trial % 3 != 0) {
            ++ordinary;
            answered += order != VuAngleOrder::Unsure;
        }
        if (order == VuAngleOrder::Unsure) continue;
        const double a = std::atan2(ay, ax), b = std::atan2(by, bx);
        const VuAngleOrder expected = a < b    ? VuAngleOrder::Before
                                      : a == b ? VuAngleOrder::Same
                                               : VuAngleOrder::After;
        ASSERT_EQ(order, expected) << ax << " " << ay << " / " << bx << " " << by;
    }
    EXPECT_GT(answered, ordinary * 99 / 100);
}

}  // namespace
}  // namespace Korvex
