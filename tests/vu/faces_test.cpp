#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "vu/graph_checker.h"
#include "vu/vu.h"

namespace Korvex {
namespace {

using vutest::isWellFormedGraph;
using vutest::makeVuSet;

// An axis-aligned square ring of half-width h around (cx, cy), loaded
// counter-clockwise unless clockwise is set; returns the node on the input-
// order face.
VuNode* loadSquare(VuSet* set, double cx, double cy, double h, bool clockwise = false) {
    std::vector<DPoint3d> points = {
        {cx - h, cy - h, 0}, {cx + h, cy - h, 0}, {cx + h, cy + h, 0}, {cx - h, cy + h, 0}};
    if (clockwise) std::reverse(points.begin(), points.end());
    return vu_loopFromDPoint3dArrayXYTol(set, points.data(), 4, 0.0, 1.0e-8);
}

// A lone ring's node on its inner (counter-clockwise) face; this node stays
// on the ring's inner side when rings are bridged.
VuNode* loadInnerSide(VuSet* set, double h, bool clockwise = false) {
    VuNode* node = loadSquare(set, 0, 0, h, clockwise);
    return vu_area(node) > 0.0 ? node : vu_edgeMate(node);
}

// Joins a nested ring to the ring around it by a plain (non-boundary) edge
// inside the face between them, as regularization would.
void bridge(VuSet* set, VuNode* outerInnerSide, VuNode* nestedInnerSide) {
    vu_insertEdgeBetween(set, outerInnerSide, vu_edgeMate(nestedInnerSide), nullptr, nullptr);
}

std::vector<double> interiorAreas(VuSet* set) {
    vuArray* faces = vu_grabArray(set);
    vu_collectInteriorFaceLoops(faces, set);
    std::vector<double> areas;
    for (int i = 0; i < vu_arraySize(faces); ++i) areas.push_back(vu_area(vu_arrayGet(faces, i)));
    vu_returnArray(set, faces);
    std::sort(areas.begin(), areas.end());
    return areas;
}

TEST(VuFaces, AreaWithMaskMarksOnlyItsFace) {
    auto set = makeVuSet();
    VuNode* node = loadSquare(set.get(), 0, 0, 1);
    EXPECT_DOUBLE_EQ(vu_areaWithMask(node, 0x100), 4.0);
    EXPECT_EQ(vu_countMaskAroundFace(node, 0x100), 4);
    EXPECT_EQ(vu_countMaskAroundFace(vu_edgeMate(node), 0x100), 0);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuFaces, SpreadMaskCoversWholeFacesOnly) {
    auto set = makeVuSet();
    VuNode* first = loadSquare(set.get(), 0, 0, 1);
    VuNode* second = loadSquare(set.get(), 5, 0, 1);
    vu_setMask(vu_fsucc(first), 0x200);
    vu_spreadMaskAroundFaces(set.get(), 0x200);
    EXPECT_EQ(vu_countMaskAroundFace(first, 0x200), 4);
    EXPECT_EQ(vu_countMaskAroundFace(vu_edgeMate(first), 0x200), 0);
    EXPECT_EQ(vu_countMaskAroundFace(second, 0x200), 0);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuFaces, CollectionsTakeOneRepresentativeInGraphOrder) {
    auto set = makeVuSet();
    VuNode* square = loadSquare(set.get(), 0, 0, 1);
    vu_setMaskAroundFace(vu_edgeMate(square), VU_EXTERIOR_EDGE);
    vuArray* faces = vu_grabArray(set.get());
    vu_collectInteriorFaceLoops(faces, set.get());
    ASSERT_EQ(vu_arraySize(faces), 1);
    VuNode* firstInterior = vu_firstNodeInGraph(set.get());
    while (vu_getMask(firstInterior, VU_EXTERIOR_EDGE))
        firstInterior = vu_nextNodeInGraph(set.get(), firstInterior);
    EXPECT_EQ(vu_arrayGet(faces, 0), firstInterior);
    EXPECT_DOUBLE_EQ(vu_area(vu_arrayGet(faces, 0)), 4.0);
    vu_collectExteriorFaceLoops(faces, set.get());
    ASSERT_EQ(vu_arraySize(faces), 1);
    EXPECT_DOUBLE_EQ(vu_area(vu_arrayGet(faces, 0)), -4.0);
    vu_collectVertexLoops(faces, set.get());
    EXPECT_EQ(vu_arraySize(faces), 4);

    // A vertex all of whose nodes are exterior is not collected.
    vu_setMaskAroundVertex(square, VU_EXTERIOR_EDGE);
    vu_collectVertexLoops(faces, set.get());
    EXPECT_EQ(vu_arraySize(faces), 3);
    vu_returnArray(set.get(), faces);
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuMarking, SingleRingHasExactlyOneInteriorFace) {
    for (bool clockwise : {false, true}) {
        auto set = makeVuSet();
        loadSquare(set.get(), 0, 0, 1, clockwise);
        vu_markAlternatingExteriorBoundaries(set.get(), true);
        EXPECT_EQ(interiorAreas(set.get()), std::vector<double>{4.0});
        EXPECT_TRUE(isWellFormedGraph(set.get()));
    }
}

TEST(VuMarking, NestedRingsAlternateWhateverTheirOrientation) {
    for (bool clockwiseHoles : {false, true}) {
        auto set = makeVuSet();
        VuNode* outer = loadInnerSide(set.get(), 10);
        VuNode* hole = loadInnerSide(set.get(), 6, clockwiseHoles);
        VuNode* island = loadInnerSide(set.get(), 2, clockwiseHoles);
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
    VuNode* outer = loadInnerSide(set.get(), 10);
    VuNode* hole = loadInnerSide(set.get(), 6);
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
        VuNode* ring = loadInnerSide(set.get(), kRings - i, i % 2 == 1);
        if (previous) bridge(set.get(), previous, ring);
        previous = ring;
    }
    vu_markAlternatingExteriorBoundaries(set.get(), true);
    // Bands alternate: the outermost band is interior, the next exterior, ...
    const std::vector<double> areas = interiorAreas(set.get());
    EXPECT_EQ(areas.size(), static_cast<std::size_t>(kRings / 2));
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

TEST(VuMarking, EmptyGraphIsHarmless) {
    auto set = makeVuSet();
    vu_markAlternatingExteriorBoundaries(set.get(), true);
    vu_markAlternatingExteriorBoundaries(set.get(), false);
    vu_spreadMaskAroundFaces(set.get(), 0x4);
    EXPECT_TRUE(interiorAreas(set.get()).empty());
    EXPECT_TRUE(isWellFormedGraph(set.get()));
}

}  // namespace
}  // namespace Korvex
