#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "vu/graph_checker.h"
#include "vu/regularize_test_support.h"
#include "vu/vu.h"

namespace Korvex {
namespace {

using vutest::addRing;
using vutest::edgesWithoutMask;
using vutest::faceLoops;
using vutest::faceNodes;
using vutest::hasSegment;
using vutest::isWellFormedGraph;
using vutest::makeVuSet;
using vutest::Ring;

#if defined(__SANITIZE_ADDRESS__)
constexpr int kRandomRegions = 100;
#else
constexpr int kRandomRegions = 500;
#endif

Ring regularPolygon(int corners, double radius) {
    Ring ring;
    for (int i = 0; i < corners; ++i) {
        const double angle = 2.0 * std::numbers::pi * i / corners;
        ring.push_back({radius * std::cos(angle), radius * std::sin(angle), 0});
    }
    return ring;
}

// Loads one counterclockwise ring and marks its outer face exterior.
void addRegion(VuSet* set, const Ring& ring) {
    VuNode* inside = addRing(set, ring);
    vu_setMaskAroundFace(vu_edgeMate(inside), VU_EXTERIOR_EDGE);
}

std::vector<VuNode*> interiorFaces(VuSet* set) {
    std::vector<VuNode*> faces;
    for (VuNode* face : faceLoops(set)) {
        if (!vu_getMask(face, VU_EXTERIOR_EDGE)) faces.push_back(face);
    }
    return faces;
}

double interiorArea(VuSet* set) {
    double area = 0.0;
    for (VuNode* face : interiorFaces(set)) area += vu_area(face);
    return area;
}

// Every interior face is a counterclockwise triangle.
::testing::AssertionResult isTriangulated(VuSet* set) {
    for (VuNode* face : interiorFaces(set)) {
        const int nodes = vu_countNodesAroundFace(face);
        if (nodes != 3) return ::testing::AssertionFailure() << "an interior face of " << nodes;
        if (!(vu_area(face) > 0.0))
            return ::testing::AssertionFailure() << "a triangle of area " << vu_area(face);
    }
    return ::testing::AssertionSuccess();
}

TEST(VuTriangulate, ConvexPolygonGetsNMinusThreeDiagonals) {
    for (int corners = 3; corners <= 14; ++corners) {
        for (bool quarterTurn : {false, true}) {
            SCOPED_TRACE(testing::Message() << corners << " corners, quarter turn " << quarterTurn);
            auto set = makeVuSet();
            const Ring ring = regularPolygon(corners, 5.0);
            addRegion(set.get(), ring);
            const double area = interiorArea(set.get());
            vu_triangulateMonotoneInteriorFaces(set.get(), quarterTurn);
            ASSERT_TRUE(isWellFormedGraph(set.get()));
            EXPECT_EQ(edgesWithoutMask(set.get(), VU_BOUNDARY_EDGE).size(),
                      static_cast<std::size_t>(corners - 3));
            EXPECT_EQ(interiorFaces(set.get()).size(), static_cast<std::size_t>(corners - 2));
            EXPECT_TRUE(isTriangulated(set.get()));
            EXPECT_NEAR(interiorArea(set.get()), area, 1e-12 * area);
        }
    }
}

// A comb is monotone in x but not in y. Turned a quarter, it is triangulated
// by diagonals, and every node and the auxVector come back exactly.
TEST(VuTriangulate, QuarterTurnTriangulatesInTheTurnedOrderAndTurnsBack) {
    const Ring comb = {{0, 0, 7}, {6, 0, 7}, {6, 2, 7}, {5, 1, 7}, {4, 2, 7},
                       {3, 1, 7}, {2, 2, 7}, {1, 1, 7}, {0, 2, 7}};
    auto plain = makeVuSet();
    vutest::MessageCounter plainReports{VU_MSG_OUT_OF_MEMORY};
    plainReports.attach(plain.get());
    addRegion(plain.get(), comb);
    vu_triangulateMonotoneInteriorFaces(plain.get(), false);
    EXPECT_EQ(plainReports.count, 1) << "not monotone in y";

    auto turned = makeVuSet();
    vutest::MessageCounter turnedReports{VU_MSG_OUT_OF_MEMORY};
    turnedReports.attach(turned.get());
    addRegion(turned.get(), comb);
    const DPoint3d aux{1.5, -2.5, 3.5};
    vu_setAuxVector(turned.get(), &aux);
    vu_triangulateMonotoneInteriorFaces(turned.get(), true);
    EXPECT_EQ(turnedReports.count, 0) << "monotone in x";
    ASSERT_TRUE(isWellFormedGraph(turned.get()));
    EXPECT_TRUE(isTriangulated(turned.get()));
    EXPECT_EQ(vu_countNodesInGraph(turned.get()), 2 * 9 + 2 * 6);
    for (VuNode* node = vu_firstNodeInGraph(turned.get()); node;
         node = vu_nextNodeInGraph(turned.get(), node)) {
        const bool isCorner = std::any_of(comb.begin(), comb.end(), [&](const DPoint3d& p) {
            return p.x == node->xyz.x && p.y == node->xyz.y && p.z == node->xyz.z;
        });
        EXPECT_TRUE(isCorner) << node->xyz.x << ", " << node->xyz.y;
    }
    DPoint3d after{};
    vu_getAuxVector(&after, turned.get());
    EXPECT_EQ(after.x, aux.x);
    EXPECT_EQ(after.y, aux.y);
    EXPECT_EQ(after.z, aux.z);
}

TEST(VuTriangulate, NonMonotoneFaceIsReportedAndFannedFromItsCentroid) {
    // A plus sign: not monotone, but its centroid sees every edge.
    auto set = makeVuSet();
    vutest::MessageCounter reports{VU_MSG_OUT_OF_MEMORY};
    reports.attach(set.get());
    addRegion(set.get(), {{1, 0, 0}, {2, 0, 0}, {2, 1, 0}, {3, 1, 0}, {3, 2, 0}, {2, 2, 0},
                          {2, 3, 0}, {1, 3, 0}, {1, 2, 0}, {0, 2, 0}, {0, 1, 0}, {1, 1, 0}});
    vu_triangulateMonotoneInteriorFaces(set.get(), false);
    ASSERT_TRUE(isWellFormedGraph(set.get()));
    EXPECT_EQ(reports.count, 1);
    EXPECT_EQ(interiorFaces(set.get()).size(), 12u);
    EXPECT_TRUE(isTriangulated(set.get()));
    EXPECT_DOUBLE_EQ(interiorArea(set.get()), 5.0);
    EXPECT_TRUE(hasSegment(edgesWithoutMask(set.get(), VU_BOUNDARY_EDGE), {1.5, 1.5}, {1, 0}));

    // The U's centroid lies in its notch: the face stays as it is.
    auto u = makeVuSet();
    vutest::MessageCounter uReports{VU_MSG_OUT_OF_MEMORY};
    uReports.attach(u.get());
    addRegion(u.get(), {{0, 0, 0}, {3, 0, 0}, {3, 3, 0}, {2, 3, 0},
                        {2, 1, 0}, {1, 1, 0}, {1, 3, 0}, {0, 3, 0}});
    vu_triangulateMonotoneInteriorFaces(u.get(), false);
    EXPECT_EQ(uReports.count, 1);
    EXPECT_EQ(vu_countNodesInGraph(u.get()), 16);
}

// Regularizes, marks the exterior by alternation and triangulates: every
// interior face becomes a counterclockwise triangle and the interior keeps
// its area.
void expectTriangulates(const vutest::RandomRegion& region) {
    auto set = makeVuSet();
    vutest::MessageCounter reports{VU_MSG_OUT_OF_MEMORY};
    reports.attach(set.get());
    for (const Ring& ring : region.rings) addRing(set.get(), ring);
    vu_regularizeGraph(set.get());
    vu_markAlternatingExteriorBoundaries(set.get(), true);
    ASSERT_NEAR(interiorArea(set.get()), region.regionArea, 1e-9 * region.outerArea);
    vu_triangulateMonotoneInteriorFaces(set.get(), false);
    ASSERT_TRUE(isWellFormedGraph(set.get()));
    EXPECT_EQ(reports.count, 0);
    EXPECT_TRUE(isTriangulated(set.get()));
    EXPECT_NEAR(interiorArea(set.get()), region.regionArea, 1e-9 * region.outerArea);
}

TEST(VuTriangulate, RegularizedRegionsWithIslandsBecomeTriangles) {
    std::mt19937 random(4242);
    for (int trial = 0; trial < kRandomRegions; ++trial) {
        SCOPED_TRACE(trial);
        expectTriangulates(vutest::randomRegionWithIslands(random));
    }
}

TEST(VuTriangulate, TiedCoordinatesAndCollinearRuns) {
    std::mt19937 random(57);
    for (int trial = 0; trial < kRandomRegions; ++trial) {
        SCOPED_TRACE(trial);
        expectTriangulates(vutest::randomHistogramWithIslands(random, 1 + trial % 16, trial % 2));
    }
}

// Merged overlapping rings: interior faces become triangles, apart from the
// two-node faces between coincident edges that the union merge keeps.
TEST(VuTriangulate, MergedOverlappingRingsOnAGrid) {
    std::mt19937 random(12);
    for (int trial = 0; trial < kRandomRegions; ++trial) {
        SCOPED_TRACE(trial);
        auto set = makeVuSet();
        vutest::MessageCounter reports{VU_MSG_OUT_OF_MEMORY};
        reports.attach(set.get());
        vutest::addMergedRings(set.get(), vutest::randomGridRings(random, 2 + trial % 5));
        vu_regularizeGraph(set.get());
        vu_markAlternatingExteriorBoundaries(set.get(), true);
        const double area = interiorArea(set.get());
        vu_triangulateMonotoneInteriorFaces(set.get(), false);
        ASSERT_TRUE(isWellFormedGraph(set.get()));
        EXPECT_EQ(reports.count, 0);
        for (VuNode* face : interiorFaces(set.get())) {
            const int nodes = vu_countNodesAroundFace(face);
            EXPECT_TRUE(nodes == 3 || (nodes == 2 && vu_area(face) == 0.0)) << nodes;
        }
        EXPECT_NEAR(interiorArea(set.get()), area, 1e-9 * (1.0 + area));
    }
}

TEST(VuTriangulate, DegenerateFacesNeitherCrashNorLoop) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<Ring> rings = {
        {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}},                          // flat
        {{0, 0, 0}, {2, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}, {0, 2, 0}},    // repeated
        {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {5, 1, 0}, {2, 1, 0}, {2, 2, 0}, {0, 2, 0}},  // spike
        {{0, 0, 0}, {4, 0, 0}, {0, 4, 0}, {4, 4, 0}, {2, 9, 0}, {-3, 5, 0}},  // bow tie
        {{0, 0, 0}, {nan, 1, 0}, {2, 2, 0}, {0, 3, 0}, {-1, 2, 0}, {-1, 1, 0}},
        {{1, 1, 0}, {1, 1, 0}},
    };
    for (bool quarterTurn : {false, true}) {
        for (const Ring& ring : rings) {
            auto set = makeVuSet();
            addRegion(set.get(), ring);
            vu_triangulateMonotoneInteriorFaces(set.get(), quarterTurn);
            EXPECT_TRUE(isWellFormedGraph(set.get()));
        }
    }
    auto empty = makeVuSet();
    vu_triangulateMonotoneInteriorFaces(empty.get(), false);
    EXPECT_TRUE(isWellFormedGraph(empty.get()));
    vu_triangulateMonotoneInteriorFaces(nullptr, true);
}

// A rhombus whose long diagonal A-B splits it into two flat triangles.
struct SplitRhombus {
    vutest::UniqueVuSet set = makeVuSet();

    explicit SplitRhombus(double halfLength) {
        VuNode* atTop = addRing(set.get(), {{-halfLength, 0, 0}, {0, -1, 0}, {halfLength, 0, 0},
                                            {0, 1, 0}});
        VuNode* atRight = vu_fpred(atTop);
        VuNode* atLeft = vu_fpred(vu_fpred(atRight));
        vu_insertEdgeBetween(set.get(), atLeft, atRight, nullptr, nullptr);
    }

    std::vector<vutest::Segment> diagonals() {
        return edgesWithoutMask(set.get(), VU_BOUNDARY_EDGE);
    }
};

TEST(VuFlip, LongerDiagonalOfAConvexQuadrilateralFlipsToTheShorter) {
    SplitRhombus rhombus(3.0);
    ASSERT_TRUE(isWellFormedGraph(rhombus.set.get()));
    ASSERT_TRUE(hasSegment(rhombus.diagonals(), {-3, 0}, {3, 0}));
    vu_flipTrianglesToImproveQuadraticAspectRatio(rhombus.set.get());
    ASSERT_TRUE(isWellFormedGraph(rhombus.set.get()));
    const auto diagonals = rhombus.diagonals();
    ASSERT_EQ(diagonals.size(), 1u);
    EXPECT_TRUE(hasSegment(diagonals, {0, -1}, {0, 1}));
    for (VuNode* face : faceLoops(rhombus.set.get())) {
        if (vu_area(face) > 0.0) {
            EXPECT_DOUBLE_EQ(vu_area(face), 3.0);
        }
    }

    // Its short diagonal is already the better one and stays.
    SplitRhombus upright(0.5);
    vu_flipTrianglesToImproveQuadraticAspectRatio(upright.set.get());
    EXPECT_TRUE(hasSegment(upright.diagonals(), {-0.5, 0}, {0.5, 0}));
}

TEST(VuFlip, LoneTriangleAndEmptyGraphStayAsTheyAre) {
    auto empty = makeVuSet();
    vu_flipTrianglesToImproveQuadraticAspectRatio(empty.get());
    EXPECT_EQ(vu_countNodesInGraph(empty.get()), 0);
    EXPECT_TRUE(isWellFormedGraph(empty.get()));
    vu_flipTrianglesToImproveQuadraticAspectRatio(nullptr);

    // Both faces of a lone triangle are triangles; their far corners are one
    // vertex, so there is no quadrilateral to flip in.
    auto lone = makeVuSet();
    addRing(lone.get(), {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    vu_flipTrianglesToImproveQuadraticAspectRatio(lone.get());
    ASSERT_TRUE(isWellFormedGraph(lone.get()));
    EXPECT_EQ(vu_countNodesInGraph(lone.get()), 6);
    for (VuNode* face : faceLoops(lone.get())) EXPECT_NEAR(std::fabs(vu_area(face)), 0.5, 1e-15);
}

TEST(VuFlip, FoldedAndNonFiniteQuadrilateralsNeitherCrashNorLoop) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<Ring> quadrilaterals = {
        {{0, 0, 0}, {2, 2, 0}, {2, 0, 0}, {0, 2, 0}},    // folded: both diagonals invert
        {{0, 0, 0}, {1, 0, 0}, {nan, 1, 0}, {0, 1, 0}},
        {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},    // all at one point
    };
    for (const Ring& ring : quadrilaterals) {
        auto set = makeVuSet();
        VuNode* first = vu_fsucc(addRing(set.get(), ring));
        vu_insertEdgeBetween(set.get(), first, vu_fsucc(vu_fsucc(first)), nullptr, nullptr);
        vu_flipTrianglesToImproveQuadraticAspectRatio(set.get());
        EXPECT_TRUE(isWellFormedGraph(set.get()));
        EXPECT_EQ(vu_countNodesInGraph(set.get()), 10);
    }
}

double worstInteriorRatio(VuSet* set) {
    double worst = std::numeric_limits<double>::max();
    for (VuNode* face : interiorFaces(set)) {
        const auto corners = faceNodes(face);
        double squares = 0.0;
        for (int i = 0; i < 3; ++i) {
            const DPoint3d& p = corners[i]->xyz;
            const DPoint3d& q = corners[(i + 1) % 3]->xyz;
            squares += (q.x - p.x) * (q.x - p.x) + (q.y - p.y) * (q.y - p.y);
        }
        worst = std::min(worst, 2.0 * vu_area(face) / squares);
    }
    return worst;
}

TEST(VuFlip, FlipsKeepATriangulationAndDoNotWorsenItsWorstTriangle) {
    std::mt19937 random(77);
    for (int trial = 0; trial < 50; ++trial) {
        SCOPED_TRACE(trial);
        auto set = makeVuSet();
        // Convex, so that no exterior pocket is a triangle that could flip
        // with an interior one.
        addRegion(set.get(), vutest::randomStarRing(random, {0, 0}, 5.0, 5.0, 40));
        vu_triangulateMonotoneInteriorFaces(set.get(), false);
        const double area = interiorArea(set.get());
        const double worstBefore = worstInteriorRatio(set.get());
        vu_flipTrianglesToImproveQuadraticAspectRatio(set.get());
        ASSERT_TRUE(isWellFormedGraph(set.get()));
        EXPECT_TRUE(isTriangulated(set.get()));
        EXPECT_NEAR(interiorArea(set.get()), area, 1e-9 * area);
        EXPECT_GE(worstInteriorRatio(set.get()), worstBefore);
    }
}

}  // namespace
}  // namespace Korvex
