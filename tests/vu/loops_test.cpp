// Loops from point arrays, face areas and collections, and the marking of
// exterior faces by alternation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <vector>

#include "vu/graph_test_helpers.h"

namespace Korvex {
namespace {

using vutest::isWellFormedGraph;
using vutest::loadLoop;
using vutest::makeVuSet;
using vutest::Ring;
using vutest::xy;

constexpr double kMax = std::numeric_limits<double>::max();
constexpr DPoint3d kDisconnect = {kMax, kMax, kMax};
const Ring kUnitSquare = vutest::square(0, 0, 1);

// The coordinates of the face from its second node on: the corner after the
// returned node, that is after the ring's last point, comes first.
Ring cornersAfter(VuNode* node) {
    Ring points;
    for (VuNode* n : vutest::faceNodes(vu_fsucc(node))) points.push_back(n->xyz);
    return points;
}

TEST(VuLoops, RingFacesRunBothWaysWithBoundaryMarks) {
    auto set = makeVuSet();
    Ring square = kUnitSquare;
    square[2].z = 7.0;
    VuNode* node = loadLoop(set.get(), square);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(vu_countNodesAroundFace(node), 4);
    EXPECT_DOUBLE_EQ(vu_area(node), 1.0);
    EXPECT_DOUBLE_EQ(vu_area(vu_edgeMate(node)), -1.0);
    EXPECT_EQ(vu_countNodesInGraph(set.get()), 8);
    for (VuNode* n : vutest::nodesOf(set.get())) {
        EXPECT_TRUE(vu_getMask(n, VU_BOUNDARY_EDGE));
        EXPECT_EQ(vu_countNodesAroundVertex(n), 2);
    }
    // The returned node sits at the last point and its face follows the input.
    EXPECT_TRUE(node->xyz.x == 0.0 && node->xyz.y == 1.0);
    EXPECT_EQ(cornersAfter(node)[2].z, 7.0) << "z is carried";
    EXPECT_EQ(cornersAfter(node)[1].x, 1.0);
    EXPECT_TRUE(isWellFormedGraph(set.get()));

    EXPECT_DOUBLE_EQ(vu_area(loadLoop(set.get(), Ring(kUnitSquare.rbegin(), kUnitSquare.rend()))), -1.0);
    // Two points make a face of two nodes each way, without area.
    node = loadLoop(set.get(), xy({{0, 0}, {3, 1}}));
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
    EXPECT_EQ(vu_loopFromDPoint3dArrayXYTol(set.get(), &point, 1, 0.0, 1e-8), nullptr);
    EXPECT_EQ(vu_loopFromDPoint3dArrayXYTol(set.get(), nullptr, 5, 0.0, 1e-8), nullptr);
    EXPECT_EQ(vu_loopFromDPoint3dArrayXYTol(set.get(), &point, -3, 0.0, 1e-8), nullptr);
    // Every edge within tolerance: the ring collapses entirely.
    EXPECT_EQ(loadLoop(set.get(), xy({{1, 1}, {1 + 1e-10, 1}, {1, 1 + 1e-10}})), nullptr);
    // An absolute tolerance swallows the whole unit square.
    EXPECT_EQ(loadLoop(set.get(), kUnitSquare, 2.0), nullptr);
    EXPECT_EQ(vu_firstNodeInGraph(set.get()), nullptr);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuLoops, ShortEdgesMergeIntoTheirCorner) {
    auto set = makeVuSet();
    Ring closed = kUnitSquare;
    closed.push_back(kUnitSquare[0]);
    EXPECT_EQ(vu_countNodesAroundFace(loadLoop(set.get(), closed)), 4);

    // The 1e-12 extra point goes; the corner keeps its place.
    VuNode* node = loadLoop(set.get(), xy({{0, 0}, {1, 0}, {1, 1e-12}, {1, 1}, {0, 1}}));
    ASSERT_EQ(vu_countNodesAroundFace(node), 4);
    EXPECT_TRUE(cornersAfter(node)[1].x == 1.0 && cornersAfter(node)[1].y == 0.0);
    EXPECT_DOUBLE_EQ(vu_area(node), 1.0);

    // A tiny zigzag near (4,0) between the bottom and the right side becomes
    // the corner where the two long edges meet.
    node = loadLoop(set.get(), xy({{0, 0}, {4 - 2e-9, 0}, {4 - 1e-9, 1e-9}, {4, 2e-9}, {4, 4}, {0, 4}}));
    ASSERT_EQ(vu_countNodesAroundFace(node), 4);
    EXPECT_TRUE(cornersAfter(node)[1].x == 4.0 && cornersAfter(node)[1].y == 0.0);

    // A step between parallel long edges keeps the end of the entering edge.
    node = loadLoop(set.get(), xy({{0, 0}, {1, 0}, {1, 1e-9}, {2, 1e-9}, {2, 1}, {0, 1}}));
    ASSERT_EQ(vu_countNodesAroundFace(node), 5);
    const Ring kept = cornersAfter(node);
    EXPECT_TRUE(kept[1].x == 1.0 && kept[1].y == 0.0 && kept[2].y == 1e-9);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuLoops, DisconnectPointsSeparateRings) {
    auto set = makeVuSet();
    Ring points = kUnitSquare;
    points.push_back(kDisconnect);
    points.push_back(kDisconnect);  // an empty run between two separators
    for (const DPoint3d& p : kUnitSquare) points.push_back({p.x + 5, p.y, 0});
    const Ring original = points;
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
    Ring circle;
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
    for (const Ring& ring : {xy({{nan, 0}, {1, nan}, {1, 1}}), xy({{inf, 0}, {1, -inf}, {1, 1}, {0, 1}}),
                             xy({{kMax, 0}, {1, 1}, {-kMax, 0}}),
                             xy({{1e300, 1e300}, {-1e300, 1e300}, {0, -1e300}})}) {
        if (VuNode* node = loadLoop(set.get(), ring)) (void)vu_area(node);
    }
    vu_markAlternatingExteriorBoundaries(set.get(), true);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuFaces, MasksAndCollectionsCoverWholeFaces) {
    auto set = makeVuSet();
    VuNode* square = loadLoop(set.get(), vutest::square(-1, -1, 2));
    VuNode* other = loadLoop(set.get(), vutest::square(4, -1, 2));
    EXPECT_DOUBLE_EQ(vu_areaWithMask(square, 0x100), 4.0);
    EXPECT_EQ(vu_countMaskAroundFace(square, 0x100), 4);
    EXPECT_EQ(vu_countMaskAroundFace(vu_edgeMate(square), 0x100), 0);
    vu_setMask(vu_fsucc(other), 0x200);
    vu_spreadMaskAroundFaces(set.get(), 0x200);
    EXPECT_EQ(vu_countMaskAroundFace(other, 0x200), 4);
    EXPECT_EQ(vu_countMaskAroundFace(vu_edgeMate(other), 0x200), 0);
    EXPECT_EQ(vu_countMaskAroundFace(square, 0x200), 0);

    vu_setMaskAroundFace(vu_edgeMate(square), VU_EXTERIOR_EDGE);
    vu_setMaskAroundFace(vu_edgeMate(other), VU_EXTERIOR_EDGE);
    vuArray* faces = vu_grabArray(set.get());
    vu_collectInteriorFaceLoops(faces, set.get());
    // One representative per face, the first in graph order.
    const std::vector<VuNode*> expected = vutest::interiorFaces(set.get());
    ASSERT_EQ(vu_arraySize(faces), 2);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(vu_arrayGet(faces, i), expected[i]);
    vu_collectExteriorFaceLoops(faces, set.get());
    ASSERT_EQ(vu_arraySize(faces), 2);
    EXPECT_DOUBLE_EQ(vu_area(vu_arrayGet(faces, 0)), -4.0);
    vu_collectVertexLoops(faces, set.get());
    EXPECT_EQ(vu_arraySize(faces), 8);
    // A vertex all of whose nodes are exterior is not collected.
    vu_setMaskAroundVertex(square, VU_EXTERIOR_EDGE);
    vu_collectVertexLoops(faces, set.get());
    EXPECT_EQ(vu_arraySize(faces), 7);
    vu_returnArray(set.get(), faces);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

// A square of half-width h around the origin through the loop builder;
// returns a node on its inner face, which stays inside when rings are bridged.
VuNode* loadCentredSquare(VuSet* set, double h, bool clockwise = false) {
    Ring ring = vutest::square(-h, -h, 2 * h);
    if (clockwise) std::reverse(ring.begin(), ring.end());
    VuNode* node = loadLoop(set, ring);
    return vu_area(node) > 0.0 ? node : vu_edgeMate(node);
}

// Joins a nested ring to the ring around it by a plain (non-boundary) edge
// inside the face between them, as regularization would.
void bridge(VuSet* set, VuNode* outerInnerSide, VuNode* nestedInnerSide) {
    vu_insertEdgeBetween(set, outerInnerSide, vu_edgeMate(nestedInnerSide), nullptr, nullptr);
}

std::vector<double> interiorAreas(VuSet* set) {
    std::vector<double> areas;
    for (VuNode* face : vutest::interiorFaces(set)) areas.push_back(vu_area(face));
    std::sort(areas.begin(), areas.end());
    return areas;
}

TEST(VuMarking, NestedRingsAlternateWhateverTheirOrientation) {
    for (bool clockwise : {false, true}) {
        SCOPED_TRACE(clockwise ? "clockwise" : "counter-clockwise");
        auto single = makeVuSet();
        loadCentredSquare(single.get(), 1, clockwise);
        vu_markAlternatingExteriorBoundaries(single.get(), true);
        EXPECT_EQ(interiorAreas(single.get()), std::vector<double>{4.0});
        EXPECT_TRUE(isWellFormedGraph(single.get()));

        auto set = makeVuSet();
        VuNode* outer = loadCentredSquare(set.get(), 10);
        VuNode* hole = loadCentredSquare(set.get(), 6, clockwise);
        VuNode* island = loadCentredSquare(set.get(), 2, clockwise);
        bridge(set.get(), outer, hole);
        bridge(set.get(), hole, island);
        vu_markAlternatingExteriorBoundaries(set.get(), true);
        // The band between outer ring and hole, and the island.
        EXPECT_EQ(interiorAreas(set.get()), (std::vector<double>{16.0, 400.0 - 144.0}));
        EXPECT_TRUE(vu_getMask(vu_edgeMate(outer), VU_EXTERIOR_EDGE));
        EXPECT_TRUE(vu_getMask(hole, VU_EXTERIOR_EDGE));
        EXPECT_TRUE(isWellFormedGraph(set.get()));
    }
}

TEST(VuMarking, ExistingMarksSeedTheAlternation) {
    auto set = makeVuSet();
    vu_markAlternatingExteriorBoundaries(set.get(), true);  // an empty graph is harmless
    vu_markAlternatingExteriorBoundaries(set.get(), false);
    VuNode* outer = loadCentredSquare(set.get(), 10);
    VuNode* hole = loadCentredSquare(set.get(), 6);
    bridge(set.get(), outer, hole);
    // Seed only the hole: its band and the outer face come out interior and
    // exterior by alternation from there.
    vu_setMaskAroundFace(hole, VU_EXTERIOR_EDGE);
    vu_markAlternatingExteriorBoundaries(set.get(), false);
    EXPECT_EQ(interiorAreas(set.get()), (std::vector<double>{400.0 - 144.0}));
    EXPECT_TRUE(vu_getMask(vu_edgeMate(outer), VU_EXTERIOR_EDGE));
    // Without any seed nothing is exterior.
    vu_clearMaskInSet(set.get(), VU_EXTERIOR_EDGE);
    vu_markAlternatingExteriorBoundaries(set.get(), false);
    EXPECT_EQ(interiorAreas(set.get()).size(), 3u);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuMarking, DeepNestingNeedsNoRecursion) {
    auto set = makeVuSet();
    constexpr int kRings = 3000;
    VuNode* previous = nullptr;
    for (int i = 0; i < kRings; ++i) {
        VuNode* ring = loadCentredSquare(set.get(), kRings - i, i % 2 == 1);
        if (previous) bridge(set.get(), previous, ring);
        previous = ring;
    }
    vu_markAlternatingExteriorBoundaries(set.get(), true);
    // Bands alternate: the outermost band is interior, the next exterior, ...
    EXPECT_EQ(interiorAreas(set.get()).size(), static_cast<std::size_t>(kRings / 2));
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

}  // namespace
}  // namespace Korvex
