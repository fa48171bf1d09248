#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "vu/graph_checker.h"
#include "vu/regularize_test_support.h"
#include "vu/vu.h"
#include "vu/vu_regularize_sweep.h"

namespace Korvex {
namespace {

using vutest::addMergedRings;
using vutest::addRing;
using vutest::edgesWithoutMask;
using vutest::isConnectedGraph;
using vutest::hasSegment;
using vutest::isSegment;
using vutest::isWellFormedGraph;
using vutest::makeVuSet;
using vutest::Ring;

#if defined(__SANITIZE_ADDRESS__)
constexpr int kRandomRegions = 200;
#else
constexpr int kRandomRegions = 1000;
#endif

const Ring kSquare = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
const Ring kIsland = {{4, 4, 0}, {6, 4, 0}, {6, 6, 0}, {4, 6, 0}};
const Ring kU = {{0, 0, 0}, {3, 0, 0}, {3, 3, 0}, {2, 3, 0},
                 {2, 1, 0}, {1, 1, 0}, {1, 3, 0}, {0, 3, 0}};

TEST(VuRegularize, IslandHangsFromItsLowestAndHighestVertex) {
    auto set = makeVuSet();
    addRing(set.get(), kSquare);
    addRing(set.get(), kIsland);
    vureg_regularizeGraph(set.get());
    ASSERT_TRUE(isWellFormedGraph(set.get()));
    EXPECT_TRUE(isConnectedGraph(set.get()));

    const auto added = edgesWithoutMask(set.get(), VU_BOUNDARY_EDGE);
    ASSERT_EQ(added.size(), 2u);
    EXPECT_TRUE(hasSegment(added, {10, 0}, {4, 4}))
        << "the upward sweep joins the island's lowest vertex down to a corner";
    EXPECT_TRUE(hasSegment(added, {6, 6}, {0, 10}))
        << "the downward sweep joins the island's highest vertex up to a corner";
    // The regularization edges are no boundary: alternation floods across them.
    for (VuNode* node = vu_firstNodeInGraph(set.get()); node;
         node = vu_nextNodeInGraph(set.get(), node)) {
        if (!vu_getMask(node, VU_BOUNDARY_EDGE)) {
            EXPECT_EQ(vu_getMask(node, 0xFFFF), 0u);
        }
    }
}

TEST(VuRegularize, ConvexPolygonIsLeftAlone) {
    const Ring pentagon = {{0, 0, 0}, {5, 1, 0}, {6, 4, 0}, {2, 7, 0}, {-1, 3, 0}};
    for (const Ring& ring : {kSquare, pentagon}) {
        auto set = makeVuSet();
        addRing(set.get(), ring);
        const int nodes = vu_countNodesInGraph(set.get());
        vu_regularizeGraph(set.get());
        EXPECT_TRUE(isWellFormedGraph(set.get()));
        EXPECT_EQ(vu_countNodesInGraph(set.get()), nodes);
    }
}

// The upward sweep alone joins the notch's reflex minimum to the higher of the
// two chain nodes below it, (0,0) and (3,0). The downward sweep then closes
// the exterior face's notch at its top: (1,3) is a reflex maximum of the
// exterior face, since the top edge (0,3)-(1,3) rises in the sweep order.
TEST(VuRegularize, UShapeGetsOneInteriorEdgeFromTheNotch) {
    auto set = makeVuSet();
    addRing(set.get(), kU);
    ASSERT_TRUE(VuRegularizeSweep(set.get()).run());
    ASSERT_TRUE(isWellFormedGraph(set.get()));
    auto added = edgesWithoutMask(set.get(), VU_BOUNDARY_EDGE);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_TRUE(isSegment(added[0], {3, 0}, {1, 1}));

    vureg_regularizeGraph(set.get());
    ASSERT_TRUE(isWellFormedGraph(set.get()));
    added = edgesWithoutMask(set.get(), VU_BOUNDARY_EDGE);
    ASSERT_EQ(added.size(), 2u);
    EXPECT_TRUE(hasSegment(added, {3, 0}, {1, 1}));
    EXPECT_TRUE(hasSegment(added, {1, 3}, {2, 3}));
}

TEST(VuRegularize, UpsideDownUGetsItsInteriorEdgeFromTheDownwardSweep) {
    auto set = makeVuSet();
    addRing(set.get(), vutest::turnedHalfTurn(kU));
    ASSERT_TRUE(VuRegularizeSweep(set.get()).run());
    auto added = edgesWithoutMask(set.get(), VU_BOUNDARY_EDGE);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_TRUE(isSegment(added[0], {-2, -3}, {-1, -3})) << "only the exterior notch";

    vureg_regularizeGraph(set.get());
    ASSERT_TRUE(isWellFormedGraph(set.get()));
    added = edgesWithoutMask(set.get(), VU_BOUNDARY_EDGE);
    ASSERT_EQ(added.size(), 2u);
    EXPECT_TRUE(hasSegment(added, {-3, 0}, {-1, -1}));
}

TEST(VuRegularize, SeparateComponentsAreJoined) {
    // Side by side, one above the other, and a loose segment.
    auto set = makeVuSet();
    addRing(set.get(), {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
    addRing(set.get(), {{5, 0.5, 0}, {6, 0.5, 0}, {6, 1.5, 0}, {5, 1.5, 0}});
    addRing(set.get(), {{0, 5, 0}, {1, 5, 0}, {1, 6, 0}, {0, 6, 0}});
    VuNode* a = nullptr;
    VuNode* b = nullptr;
    vu_createFreeEdge(set.get(), &a, &b);
    vu_setXYZ(a, 3, 3, 0);
    vu_setXYZ(b, 3.5, 4, 0);
    vureg_regularizeGraph(set.get());
    ASSERT_TRUE(isWellFormedGraph(set.get()));
    EXPECT_TRUE(isConnectedGraph(set.get()));
}

// Loads the rings and regularizes them. Afterwards the graph is connected
// and every bounded face has one lowest node. Pockets of the exterior may be
// closed off, so the one unbounded face encloses at least the outer ring.
void expectRegularizes(const vutest::RandomRegion& region) {
    auto set = makeVuSet();
    vutest::MessageCounter failures{VU_MSG_OUT_OF_MEMORY};
    failures.attach(set.get());
    for (const Ring& ring : region.rings) addRing(set.get(), ring);
    vu_regularizeGraph(set.get());
    ASSERT_TRUE(isWellFormedGraph(set.get()));
    ASSERT_TRUE(isConnectedGraph(set.get()));
    EXPECT_EQ(failures.count, 0);
    int unbounded = 0;
    for (VuNode* face : vutest::faceLoops(set.get())) {
        const double area = vu_area(face);
        if (area < 0.0) {
            ++unbounded;
            EXPECT_LE(area, -region.outerArea * (1.0 - 1e-12));
        } else {
            EXPECT_EQ(vutest::countLocalMinima(face), 1) << "face of area " << area;
        }
    }
    EXPECT_EQ(unbounded, 1);
}

TEST(VuRegularize, RandomRegionsWithIslandsBecomeConnectedAndMonotone) {
    std::mt19937 random(20261205);
    for (int trial = 0; trial < kRandomRegions; ++trial) {
        SCOPED_TRACE(trial);
        expectRegularizes(vutest::randomRegionWithIslands(random));
    }
}

TEST(VuRegularize, TiedCoordinatesAndCollinearRuns) {
    // Comb teeth pointing down and up share their heights exactly.
    vutest::RandomRegion comb;
    comb.rings = {{{0, 0, 0}, {1, 2, 0}, {2, 0, 0}, {3, 2, 0}, {4, 0, 0}, {5, 2, 0},
                   {5, 6, 0}, {4, 4, 0}, {3, 6, 0}, {2, 4, 0}, {1, 6, 0}, {0, 4, 0}},
                  {{1, 3, 0}, {4, 3, 0}, {4, 3.5, 0}, {1, 3.5, 0}}};
    expectRegularizes(comb);

    std::mt19937 random(31);
    for (int trial = 0; trial < kRandomRegions; ++trial) {
        SCOPED_TRACE(trial);
        expectRegularizes(vutest::randomHistogramWithIslands(random, 1 + trial % 16, trial % 2));
    }
}

// Every face with some area has one lowest node; slivers whose area is lost
// in rounding are not judged.
void expectMonotoneFaces(VuSet* set) {
    for (VuNode* face : vutest::faceLoops(set)) {
        if (vu_area(face) > 1e-9) {
            EXPECT_EQ(vutest::countLocalMinima(face), 1) << "face of area " << vu_area(face);
        }
    }
}

// The merge put a crossing one rounding step above y = 2, so two chains
// leave one vertex with a common height range thinner than rounding; the
// nearer one must still be found, or the join fails its sector test.
TEST(VuRegularize, ChainsFromOneVertexAreToldApartByTheirTurn) {
    auto set = makeVuSet();
    vutest::MessageCounter failures{VU_MSG_OUT_OF_MEMORY};
    failures.attach(set.get());
    const std::vector<Ring> rings = {
        {{5, 4, 0}, {1, 5, 0}, {5, 1, 0}},
        {{4, 3, 0}, {3, 4, 0}, {3, 6, 0}, {2, 4, 0}, {1, 4, 0}, {-2, 3, 0},
         {1, 2, 0}, {0, 0, 0}, {3, 0, 0}, {3, 2, 0}, {6, 2, 0}},
        {{4, 1, 0}, {2, 2, 0}, {-1, 1, 0}, {0, -1, 0}, {2, -3, 0}, {4, -1, 0}},
        {{3, 0, 0}, {3, 3, 0}, {0, 1, 0}, {-2, 2, 0},
         {-1, 0, 0}, {0, -2, 0}, {1, -2, 0}, {3, -1, 0}},
    };
    addMergedRings(set.get(), rings);
    vu_regularizeGraph(set.get());
    ASSERT_TRUE(isWellFormedGraph(set.get()));
    EXPECT_EQ(failures.count, 0);
    EXPECT_TRUE(isConnectedGraph(set.get()));
    expectMonotoneFaces(set.get());
}

TEST(VuRegularize, MergedOverlappingRingsOnAGrid) {
    std::mt19937 random(11);
    for (int trial = 0; trial < kRandomRegions; ++trial) {
        SCOPED_TRACE(trial);
        auto set = makeVuSet();
        vutest::MessageCounter failures{VU_MSG_OUT_OF_MEMORY};
        failures.attach(set.get());
        addMergedRings(set.get(), vutest::randomGridRings(random, 2 + trial % 5));
        vu_regularizeGraph(set.get());
        ASSERT_TRUE(isWellFormedGraph(set.get()));
        EXPECT_EQ(failures.count, 0);
        expectMonotoneFaces(set.get());
    }
}

TEST(VuRegularize, DegenerateInputNeitherCrashesNorLoops) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<Ring> rings = {
        {{0, 0, 0}, {0, 0, 0}, {4, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}},  // repeated points
        {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {5, 1, 0}, {2, 1, 0}, {2, 2, 0}, {0, 2, 0}},  // spike
        {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {3, 1, 0}, {3, 2, 0}, {0, 2, 0}},  // collinear
        {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}},                                      // flat
        {{0, 0, 0}, {4, 0, 0}, {0, 4, 0}, {4, 4, 0}},                          // bow tie
        {{0, 0, 0}, {nan, 1, 0}, {2, 2, 0}, {0, 3, 0}},
        {{0, 0, 0}, {inf, 1, 0}, {2, -inf, 0}, {0, 3, 0}},
        {{1, 1, 0}, {1, 1, 0}},
    };
    for (const Ring& ring : rings) {
        auto set = makeVuSet();
        addRing(set.get(), ring);
        addRing(set.get(), {{1, 1.5, 0}, {1.5, 1.5, 0}, {1.5, 1.8, 0}});
        vureg_regularizeGraph(set.get());
        EXPECT_TRUE(isWellFormedGraph(set.get()));
    }
    auto empty = makeVuSet();
    vu_regularizeGraph(empty.get());
    EXPECT_TRUE(isWellFormedGraph(empty.get()));
    vu_regularizeGraph(nullptr);
}

TEST(VuRegularize, FailedSectorTestIsReportedAndRetriedThreeTimes) {
    // Two rings through one point that was never merged into one vertex: a
    // join lands on the wrong node of that point and fails its sector test,
    // on every attempt of one sweep.
    auto set = makeVuSet();
    vutest::MessageCounter failures{VU_MSG_OUT_OF_MEMORY};
    failures.attach(set.get());
    addRing(set.get(), {{2, 6, 0}, {5, 6, 0}, {0, 0, 0}});
    addRing(set.get(), {{2, 6, 0}, {1, 1, 0}, {0, 2, 0}});
    vureg_regularizeGraph(set.get());
    EXPECT_TRUE(isWellFormedGraph(set.get()));
    EXPECT_EQ(failures.count, 6) << "the sweep and its caller report each of three attempts";
}

TEST(VuRegularize, DoesNothingWithoutPoolResources) {
    auto set = makeVuSet();
    addRing(set.get(), kU);
    const int nodes = vu_countNodesInGraph(set.get());
    std::vector<VuMask> held;
    for (int i = 0; i < VU_MASK_POOL_SIZE - 1; ++i) held.push_back(vu_grabMask(set.get()));
    vu_regularizeGraph(set.get());
    EXPECT_EQ(vu_countNodesInGraph(set.get()), nodes);
    for (VuMask m : held) vu_returnMask(set.get(), m);

    std::vector<vuArray*> arrays;
    for (int i = 0; i < 3; ++i) arrays.push_back(vu_grabArray(set.get()));
    vu_regularizeGraph(set.get());
    EXPECT_EQ(vu_countNodesInGraph(set.get()), nodes);
    for (vuArray* a : arrays) vu_returnArray(set.get(), a);
    EXPECT_TRUE(isWellFormedGraph(set.get()));

    vu_regularizeGraph(set.get());
    EXPECT_EQ(vu_countNodesInGraph(set.get()), nodes + 4);
}

}  // namespace
}  // namespace Korvex
