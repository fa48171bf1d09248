#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <vector>

#include "vu/graph_checker.h"
#include "vu/vu.h"

namespace Korvex {
namespace {

using vutest::isWellFormedGraph;
using vutest::makeVuSet;

constexpr double kLoopRelTol = 1.0e-8;
constexpr double kMax = std::numeric_limits<double>::max();
constexpr DPoint3d kDisconnect = {kMax, kMax, kMax};

VuNode* loadLoop(VuSet* set, const std::vector<DPoint3d>& points, double abstol = 0.0,
                 double reltol = kLoopRelTol) {
    return vu_loopFromDPoint3dArrayXYTol(set, points.data(), static_cast<int>(points.size()),
                                         abstol, reltol);
}

std::vector<DPoint3d> faceCoordinates(VuNode* start) {
    std::vector<DPoint3d> points;
    VuNode* node = start;
    do {
        points.push_back(node->xyz);
        node = vu_fsucc(node);
    } while (node != start);
    return points;
}

const std::vector<DPoint3d> kUnitSquare = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};

TEST(VuLoops, RingFacesRunBothWaysWithBoundaryMarks) {
    auto set = makeVuSet();
    std::vector<DPoint3d> square = kUnitSquare;
    square[2].z = 7.0;
    VuNode* node = loadLoop(set.get(), square);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(vu_countNodesAroundFace(node), 4);
    EXPECT_DOUBLE_EQ(vu_area(node), 1.0);
    EXPECT_DOUBLE_EQ(vu_area(vu_edgeMate(node)), -1.0);
    EXPECT_EQ(vu_countNodesInGraph(set.get()), 8);
    for (VuNode* n = vu_firstNodeInGraph(set.get()); n; n = vu_nextNodeInGraph(set.get(), n)) {
        EXPECT_TRUE(vu_getMask(n, VU_BOUNDARY_EDGE));
        EXPECT_EQ(vu_countNodesAroundVertex(n), 2);
    }
    // The returned node sits at the last point and its face follows the input.
    EXPECT_EQ(node->xyz.x, 0.0);
    EXPECT_EQ(node->xyz.y, 1.0);
    EXPECT_EQ(vu_fsucc(node)->xyz.y, 0.0);
    EXPECT_EQ(vu_fsucc(vu_fsucc(vu_fsucc(node)))->xyz.z, 7.0) << "z is carried";
    EXPECT_TRUE(isWellFormedGraph(set.get()));

    const std::vector<DPoint3d> clockwise(kUnitSquare.rbegin(), kUnitSquare.rend());
    EXPECT_DOUBLE_EQ(vu_area(loadLoop(set.get(), clockwise)), -1.0);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuLoops, TwoPointsMakeTwoVerticesWithoutArea) {
    auto set = makeVuSet();
    VuNode* node = loadLoop(set.get(), {{0, 0, 0}, {3, 1, 0}});
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(vu_countNodesAroundFace(node), 2);
    EXPECT_EQ(vu_countNodesAroundFace(vu_edgeMate(node)), 2);
    EXPECT_EQ(vu_area(node), 0.0);
    EXPECT_EQ(vu_area(nullptr), 0.0);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuLoops, DegenerateInputAddsNothing) {
    auto set = makeVuSet();
    const DPoint3d point = {1, 1, 0};
    EXPECT_EQ(vu_loopFromDPoint3dArrayXYTol(set.get(), &point, 1, 0.0, kLoopRelTol), nullptr);
    EXPECT_EQ(vu_loopFromDPoint3dArrayXYTol(set.get(), nullptr, 5, 0.0, kLoopRelTol), nullptr);
    EXPECT_EQ(vu_loopFromDPoint3dArrayXYTol(set.get(), &point, -3, 0.0, kLoopRelTol), nullptr);
    // Every edge within tolerance: the ring collapses entirely.
    EXPECT_EQ(loadLoop(set.get(), {{1, 1, 0}, {1 + 1e-10, 1, 0}, {1, 1 + 1e-10, 0}}), nullptr);
    // An absolute tolerance swallows the whole unit square.
    EXPECT_EQ(loadLoop(set.get(), kUnitSquare, 2.0), nullptr);
    EXPECT_EQ(vu_firstNodeInGraph(set.get()), nullptr);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuLoops, ClosingPointAndNearDuplicatesMergeIntoTheirCorner) {
    auto set = makeVuSet();
    std::vector<DPoint3d> closed = kUnitSquare;
    closed.push_back(kUnitSquare[0]);
    EXPECT_EQ(vu_countNodesAroundFace(loadLoop(set.get(), closed)), 4);

    const std::vector<DPoint3d> extra = {{0, 0, 0}, {1, 0, 0}, {1, 1e-12, 0}, {1, 1, 0}, {0, 1, 0}};
    VuNode* node = loadLoop(set.get(), extra);
    ASSERT_EQ(vu_countNodesAroundFace(node), 4);
    const std::vector<DPoint3d> corners = faceCoordinates(vu_fsucc(node));
    EXPECT_EQ(corners[1].x, 1.0);
    EXPECT_EQ(corners[1].y, 0.0) << "the corner keeps its place";
    EXPECT_DOUBLE_EQ(vu_area(node), 1.0);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuLoops, ShortChainBecomesTheCornerOfItsLongEdges) {
    auto set = makeVuSet();
    // A tiny zigzag near (4,0) between the bottom and the right side: the two
    // long edges meet at (4,0), within reach of the chain.
    const std::vector<DPoint3d> zigzag = {
        {0, 0, 0}, {4 - 2e-9, 0, 0}, {4 - 1e-9, 1e-9, 0}, {4, 2e-9, 0}, {4, 4, 0}, {0, 4, 0}};
    VuNode* node = loadLoop(set.get(), zigzag);
    ASSERT_EQ(vu_countNodesAroundFace(node), 4);
    const std::vector<DPoint3d> corners = faceCoordinates(vu_fsucc(node));
    EXPECT_EQ(corners[1].x, 4.0);
    EXPECT_EQ(corners[1].y, 0.0);

    // A step between parallel long edges keeps the end of the entering edge.
    const std::vector<DPoint3d> step = {
        {0, 0, 0}, {1, 0, 0}, {1, 1e-9, 0}, {2, 1e-9, 0}, {2, 1, 0}, {0, 1, 0}};
    node = loadLoop(set.get(), step);
    ASSERT_EQ(vu_countNodesAroundFace(node), 5);
    const std::vector<DPoint3d> kept = faceCoordinates(vu_fsucc(node));
    EXPECT_EQ(kept[1].x, 1.0);
    EXPECT_EQ(kept[1].y, 0.0);
    EXPECT_EQ(kept[2].y, 1e-9);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuLoops, DisconnectPointsSeparateRings) {
    auto set = makeVuSet();
    std::vector<DPoint3d> points = kUnitSquare;
    points.push_back(kDisconnect);
    points.push_back(kDisconnect);  // an empty run between two separators
    for (const DPoint3d& p : kUnitSquare) points.push_back({p.x + 5, p.y, 0});
    const std::vector<DPoint3d> original = points;
    VuNode* node = loadLoop(set.get(), points);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->xyz.x, 5.0) << "a node of the last ring";
    EXPECT_EQ(vu_countNodesInGraph(set.get()), 16);
    EXPECT_EQ(std::memcmp(points.data(), original.data(), points.size() * sizeof(DPoint3d)), 0);

    // A last run that collapses gives null though earlier rings were built.
    points.push_back(kDisconnect);
    points.push_back({9, 9, 0});
    EXPECT_EQ(loadLoop(set.get(), points), nullptr);
    EXPECT_EQ(vu_countNodesInGraph(set.get()), 32);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuLoops, LargeRingsAreCopiedToTheHeap) {
    auto set = makeVuSet();
    constexpr int kCount = 25000;
    std::vector<DPoint3d> circle;
    for (int i = 0; i < kCount; ++i) {
        const double angle = 2.0 * std::numbers::pi * i / kCount;
        circle.push_back({100.0 * std::cos(angle), 100.0 * std::sin(angle), 0.0});
    }
    VuNode* node = loadLoop(set.get(), circle);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(vu_countNodesAroundFace(node), kCount);
    EXPECT_NEAR(vu_area(node), std::numbers::pi * 1.0e4, 1.0);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuLoops, HostileCoordinatesNeverCrash) {
    auto set = makeVuSet();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<std::vector<DPoint3d>> rings = {
        {{nan, 0, 0}, {1, nan, 0}, {1, 1, 0}},
        {{inf, 0, 0}, {1, -inf, 0}, {1, 1, 0}, {0, 1, 0}},
        {{kMax, 0, 0}, {1, 1, 0}, {-kMax, 0, 0}},
        {{1e300, 1e300, 0}, {-1e300, 1e300, 0}, {0, -1e300, 0}},
    };
    for (const auto& ring : rings) {
        VuNode* node = loadLoop(set.get(), ring);
        if (node) (void)vu_area(node);
    }
    vu_markAlternatingExteriorBoundaries(set.get(), true);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

}  // namespace
}  // namespace Korvex
