#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "vu/graph_test_helpers.h"

namespace Korvex {
namespace {

using vutest::addRegion;
using vutest::edgesWithoutMask;
using vutest::hasSegment;
using vutest::interiorArea;
using vutest::interiorFaces;
using vutest::isWellFormedGraph;
using vutest::makeVuSet;
using vutest::RandomRegion;
using vutest::Ring;
using vutest::xy;

#if defined(__SANITIZE_ADDRESS__)
constexpr int kRandomRegions = 200;
#else
constexpr int kRandomRegions = 1000;
#endif

// Every interior face is a counterclockwise triangle.
::testing::AssertionResult isTriangulated(VuSet* set) {
    for (VuNode* face : interiorFaces(set)) {
        const int nodes = vu_countNodesAroundFace(face);
        if (nodes != 3 || !(vu_area(face) > 0.0))
            return ::testing::AssertionFailure() << "an interior face of " << nodes << ", area " << vu_area(face);
    }
    return ::testing::AssertionSuccess();
}

TEST(VuTriangulate, ConvexPolygonGetsNMinusThreeDiagonals) {
    for (int corners = 3; corners <= 14; ++corners) {
        for (bool quarterTurn : {false, true}) {
            SCOPED_TRACE(testing::Message() << corners << " corners, quarter turn " << quarterTurn);
            auto set = makeVuSet();
            Ring ring;
            for (int i = 0; i < corners; ++i) {
                const double angle = 2.0 * std::numbers::pi * i / corners;
                ring.push_back({5 * std::cos(angle), 5 * std::sin(angle), 0});
            }
            addRegion(set.get(), ring);
            const double area = interiorArea(set.get());
            vu_triangulateMonotoneInteriorFaces(set.get(), quarterTurn);
            ASSERT_TRUE(isWellFormedGraph(set.get()));
            EXPECT_EQ(edgesWithoutMask(set.get(), VU_BOUNDARY_EDGE).size(), static_cast<std::size_t>(corners - 3));
            EXPECT_EQ(interiorFaces(set.get()).size(), static_cast<std::size_t>(corners - 2));
            EXPECT_TRUE(isTriangulated(set.get()));
            EXPECT_NEAR(interiorArea(set.get()), area, 1e-12 * area);
        }
    }
}

// A comb is monotone in x but not in y. Turned a quarter, it is triangulated
// by diagonals, and every node and the auxVector come back exactly.
TEST(VuTriangulate, QuarterTurnTriangulatesInTheTurnedOrderAndTurnsBack) {
    Ring comb = xy({{0, 0}, {6, 0}, {6, 2}, {5, 1}, {4, 2}, {3, 1}, {2, 2}, {1, 1}, {0, 2}});
    for (DPoint3d& p : comb) p.z = 7;
    for (bool quarterTurn : {false, true}) {
        auto set = makeVuSet();
        vutest::MessageCounter reports(set.get());
        addRegion(set.get(), comb);
        const DPoint3d aux{1.5, -2.5, 3.5};
        vu_setAuxVector(set.get(), &aux);
        vu_triangulateMonotoneInteriorFaces(set.get(), quarterTurn);
        EXPECT_EQ(reports.count, quarterTurn ? 0 : 1) << "monotone in x, not in y";
        if (!quarterTurn) continue;
        ASSERT_TRUE(isWellFormedGraph(set.get()));
        EXPECT_TRUE(isTriangulated(set.get()));
        EXPECT_EQ(vu_countNodesInGraph(set.get()), 2 * 9 + 2 * 6);
        for (VuNode* node : vutest::nodesOf(set.get())) {
            EXPECT_TRUE(std::any_of(comb.begin(), comb.end(), [&](const DPoint3d& p) {
                return p.x == node->xyz.x && p.y == node->xyz.y && p.z == node->xyz.z;
            })) << node->xyz.x << ", " << node->xyz.y;
        }
        DPoint3d after{};
        vu_getAuxVector(&after, set.get());
        EXPECT_TRUE(after.x == aux.x && after.y == aux.y && after.z == aux.z);
    }
}

TEST(VuTriangulate, NonMonotoneFaceIsReportedAndFannedFromItsCentroid) {
    // A plus sign: not monotone, but its centroid sees every edge.
    auto set = makeVuSet();
    vutest::MessageCounter reports(set.get());
    addRegion(set.get(), xy({{1, 0}, {2, 0}, {2, 1}, {3, 1}, {3, 2}, {2, 2},
                             {2, 3}, {1, 3}, {1, 2}, {0, 2}, {0, 1}, {1, 1}}));
    vu_triangulateMonotoneInteriorFaces(set.get(), false);
    ASSERT_TRUE(isWellFormedGraph(set.get()));
    EXPECT_EQ(reports.count, 1);
    EXPECT_EQ(interiorFaces(set.get()).size(), 12u);
    EXPECT_TRUE(isTriangulated(set.get()));
    EXPECT_DOUBLE_EQ(interiorArea(set.get()), 5.0);
    EXPECT_TRUE(hasSegment(edgesWithoutMask(set.get(), VU_BOUNDARY_EDGE), {1.5, 1.5}, {1, 0}));

    // The U's centroid lies in its notch: the face stays as it is.
    auto u = makeVuSet();
    vutest::MessageCounter uReports(u.get());
    addRegion(u.get(), xy({{0, 0}, {3, 0}, {3, 3}, {2, 3}, {2, 1}, {1, 1}, {1, 3}, {0, 3}}));
    vu_triangulateMonotoneInteriorFaces(u.get(), false);
    EXPECT_EQ(uReports.count, 1);
    EXPECT_EQ(vu_countNodesInGraph(u.get()), 16);
}

// Nodes of the face whose two face neighbours both lie above them; a face
// that is monotone in the sweep order has exactly one.
int countLocalMinima(VuNode* face) {
    int minima = 0;
    for (VuNode* node : vutest::faceNodes(face))
        minima += vutest::isBelow(node, vu_fsucc(node)) && vutest::isBelow(node, vu_fpred(node));
    return minima;
}

// Regularizes the rings (loaded as they are, or merged), marks the exterior
// by alternation and triangulates, with no failure reported. After
// regularization the graph is connected and every bounded face has one lowest
// node; pockets of the exterior may be closed off, so the one unbounded face
// encloses at least the outer ring. After triangulation every interior face
// is a counterclockwise triangle and the interior keeps its area. Merged rings
// leave two-node faces between coincident edges and slivers whose area is
// lost in rounding: those are not judged, and the enclosed area is not known.
void expectRegularizesAndTriangulates(const RandomRegion& region, bool merged) {
    auto set = makeVuSet();
    vutest::MessageCounter failures(set.get());
    if (merged) vutest::addMergedRings(set.get(), region.rings);
    for (const Ring& ring : region.rings)
        if (!merged) vutest::addRing(set.get(), ring);
    vu_regularizeGraph(set.get());
    ASSERT_TRUE(isWellFormedGraph(set.get()));
    EXPECT_EQ(vutest::countComponents(set.get()), 1);
    int unbounded = 0;
    for (VuNode* face : vutest::loopsOf(set.get())) {
        const double area = vu_area(face);
        if (!merged && area < 0.0) {
            ++unbounded;
            EXPECT_LE(area, -region.outerArea * (1.0 - 1e-12));
        } else if (!merged || area > 1e-9) {
            EXPECT_EQ(countLocalMinima(face), 1) << "face of area " << area;
        }
    }
    EXPECT_EQ(unbounded, merged ? 0 : 1);

    vu_markAlternatingExteriorBoundaries(set.get(), true);
    const double area = interiorArea(set.get());
    const double tolerance = 1e-9 * (merged ? 1.0 + area : region.outerArea);
    if (!merged) {
        ASSERT_NEAR(area, region.regionArea, tolerance);
    }
    vu_triangulateMonotoneInteriorFaces(set.get(), false);
    ASSERT_TRUE(isWellFormedGraph(set.get()));
    EXPECT_EQ(failures.count, 0);
    if (merged) {
        for (VuNode* face : interiorFaces(set.get())) {
            const int nodes = vu_countNodesAroundFace(face);
            EXPECT_TRUE(nodes == 3 || (nodes == 2 && vu_area(face) == 0.0)) << nodes;
        }
    } else {
        EXPECT_TRUE(isTriangulated(set.get()));
    }
    EXPECT_NEAR(interiorArea(set.get()), area, tolerance);
}

TEST(VuRegularizeAndTriangulate, RandomRegionsWithIslands) {
    std::mt19937 random(20261205);
    for (int trial = 0; trial < kRandomRegions; ++trial) {
        SCOPED_TRACE(trial);
        expectRegularizesAndTriangulates(vutest::randomRegionWithIslands(random), false);
    }
}

TEST(VuRegularizeAndTriangulate, TiedCoordinatesAndCollinearRuns) {
    // Comb teeth pointing down and up share their heights exactly.
    RandomRegion comb;
    comb.rings = {xy({{0, 0}, {1, 2}, {2, 0}, {3, 2}, {4, 0}, {5, 2}, {5, 6}, {4, 4}, {3, 6}, {2, 4}, {1, 6}, {0, 4}}),
                  xy({{1, 3}, {4, 3}, {4, 3.5}, {1, 3.5}})};
    comb.outerArea = vutest::ringArea(comb.rings[0]);
    comb.regionArea = comb.outerArea - vutest::ringArea(comb.rings[1]);
    expectRegularizesAndTriangulates(comb, false);

    std::mt19937 random(31);
    for (int trial = 0; trial < kRandomRegions; ++trial) {
        SCOPED_TRACE(trial);
        expectRegularizesAndTriangulates(vutest::randomHistogramWithIslands(random, 1 + trial % 16, trial % 2), false);
    }
}

TEST(VuRegularizeAndTriangulate, MergedOverlappingRings) {
    // The merge put a crossing one rounding step above y = 2, so two chains
    // leave one vertex with a common height range thinner than rounding; the
    // nearer one must still be found, or the join fails its sector test.
    RandomRegion chains;
    chains.rings = {
        xy({{5, 4}, {1, 5}, {5, 1}}),
        xy({{4, 3}, {3, 4}, {3, 6}, {2, 4}, {1, 4}, {-2, 3}, {1, 2}, {0, 0}, {3, 0}, {3, 2}, {6, 2}}),
        xy({{4, 1}, {2, 2}, {-1, 1}, {0, -1}, {2, -3}, {4, -1}}),
        xy({{3, 0}, {3, 3}, {0, 1}, {-2, 2}, {-1, 0}, {0, -2}, {1, -2}, {3, -1}}),
    };
    expectRegularizesAndTriangulates(chains, true);

    std::mt19937 random(11);
    for (int trial = 0; trial < kRandomRegions; ++trial) {
        SCOPED_TRACE(trial);
        expectRegularizesAndTriangulates({vutest::randomGridRings(random, 2 + trial % 5)}, true);
    }
}

TEST(VuTriangulate, DegenerateFacesNeitherCrashNorLoop) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Ring rings[] = {
        xy({{0, 0}, {1, 0}, {2, 0}, {3, 0}}),                              // flat
        xy({{0, 0}, {2, 0}, {2, 0}, {2, 2}, {0, 2}, {0, 2}}),              // repeated
        xy({{0, 0}, {2, 0}, {2, 1}, {5, 1}, {2, 1}, {2, 2}, {0, 2}}),      // spike
        xy({{0, 0}, {4, 0}, {0, 4}, {4, 4}, {2, 9}, {-3, 5}}),             // bow tie
        xy({{0, 0}, {nan, 1}, {2, 2}, {0, 3}, {-1, 2}, {-1, 1}}),
        xy({{1, 1}, {1, 1}}),
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

// The quadrilateral with the diagonal from its first to its third corner.
vutest::UniqueVuSet splitQuadrilateral(const Ring& corners) {
    auto set = makeVuSet();
    VuNode* first = vu_fsucc(vutest::addRing(set.get(), corners));
    vu_insertEdgeBetween(set.get(), first, vu_fsucc(vu_fsucc(first)), nullptr, nullptr);
    return set;
}

TEST(VuFlip, LongerDiagonalOfAConvexQuadrilateralFlipsToTheShorter) {
    auto set = splitQuadrilateral(xy({{-3, 0}, {0, -1}, {3, 0}, {0, 1}}));
    vu_flipTrianglesToImproveQuadraticAspectRatio(set.get());
    ASSERT_TRUE(isWellFormedGraph(set.get()));
    const auto diagonals = edgesWithoutMask(set.get(), VU_BOUNDARY_EDGE);
    ASSERT_EQ(diagonals.size(), 1u);
    EXPECT_TRUE(hasSegment(diagonals, {0, -1}, {0, 1}));
    for (VuNode* face : vutest::loopsOf(set.get()))
        if (vu_area(face) > 0.0) {
            EXPECT_DOUBLE_EQ(vu_area(face), 3.0);
        }

    // Its short diagonal is already the better one and stays.
    auto upright = splitQuadrilateral(xy({{-0.5, 0}, {0, -1}, {0.5, 0}, {0, 1}}));
    vu_flipTrianglesToImproveQuadraticAspectRatio(upright.get());
    EXPECT_TRUE(hasSegment(edgesWithoutMask(upright.get(), VU_BOUNDARY_EDGE), {-0.5, 0}, {0.5, 0}));
}

TEST(VuFlip, DegenerateInputStaysAsItIs) {
    auto empty = makeVuSet();
    vu_flipTrianglesToImproveQuadraticAspectRatio(empty.get());
    EXPECT_EQ(vu_countNodesInGraph(empty.get()), 0);
    vu_flipTrianglesToImproveQuadraticAspectRatio(nullptr);
    // Both faces of a lone triangle are triangles; their far corners are one
    // vertex, so there is no quadrilateral to flip in.
    auto lone = makeVuSet();
    vutest::addRing(lone.get(), xy({{0, 0}, {1, 0}, {0, 1}}));
    vu_flipTrianglesToImproveQuadraticAspectRatio(lone.get());
    ASSERT_TRUE(isWellFormedGraph(lone.get()));
    EXPECT_EQ(vu_countNodesInGraph(lone.get()), 6);
    for (VuNode* face : vutest::loopsOf(lone.get())) EXPECT_NEAR(std::fabs(vu_area(face)), 0.5, 1e-15);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const Ring& corners : {xy({{0, 0}, {2, 2}, {2, 0}, {0, 2}}),  // folded: both diagonals invert
                                xy({{0, 0}, {1, 0}, {nan, 1}, {0, 1}}), xy({{0, 0}, {0, 0}, {0, 0}, {0, 0}})}) {
        auto set = splitQuadrilateral(corners);
        vu_flipTrianglesToImproveQuadraticAspectRatio(set.get());
        EXPECT_TRUE(isWellFormedGraph(set.get()));
        EXPECT_EQ(vu_countNodesInGraph(set.get()), 10);
    }
}

// The smallest of 2 * area / (sum of squared sides) over the interior
// triangles.
double worstInteriorRatio(VuSet* set) {
    double worst = std::numeric_limits<double>::max();
    for (VuNode* face : interiorFaces(set)) {
        const auto corners = vutest::faceNodes(face);
        double squares = 0.0;
        for (int i = 0; i < 3; ++i) {
            const DPoint3d &p = corners[i]->xyz, &q = corners[(i + 1) % 3]->xyz;
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
