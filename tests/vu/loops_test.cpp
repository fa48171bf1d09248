// Loops from point arrays, face areas and collections, and the marking of
// exterior faces by alternation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

#include "vu/graph_test_helpers.h"

namespace Korvex {
namespace {

using namespace vutest;
using VuLoops = VuGraphTest;
using VuFaces = VuGraphTest;
using VuMarking = VuGraphTest;

constexpr double kMax = std::numeric_limits<double>::max();
constexpr DPoint3d kDisconnect = {kMax, kMax, kMax};
const Ring kUnitSquare = square(0, 0, 1);

// The corners of the face from the node after the given one: for the node a
// loop returns, from the ring's first point on.
std::vector<Xyz> cornersAfter(VuNode* node) {
    Ring points;
    for (VuNode* n : faceNodes(vu_fsucc(node))) points.push_back(n->xyz);
    return xyzOf(points);
}

TEST_F(VuLoops, RingFacesRunBothWaysWithBoundaryMarks) {
    Ring ring = kUnitSquare;
    ring[2].z = 7.0;
    VuNode* node = loadLoop(set, ring);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(cornersAfter(node), xyzOf(ring));
    EXPECT_TRUE(vu_area(node) == 1.0 && vu_area(vu_edgeMate(node)) == -1.0);
    for (VuNode* n : nodesOf(set))
        EXPECT_TRUE(vu_getMask(n, VU_BOUNDARY_EDGE) && vu_countNodesAroundVertex(n) == 2);
    EXPECT_EQ(vu_area(loadLoop(set, Ring(kUnitSquare.rbegin(), kUnitSquare.rend()))), -1.0);
    // Two points make a face of two nodes each way, without area.
    node = loadLoop(set, xy({{0, 0}, {3, 1}}));
    EXPECT_TRUE(node && vu_countNodesAroundFace(node) == 2 &&
                vu_countNodesAroundFace(vu_edgeMate(node)) == 2 && vu_area(node) == 0.0 &&
                vu_area(nullptr) == 0.0);
}

TEST_F(VuLoops, DegenerateAndHostileInputNeverCrashes) {
    const DPoint3d point = {1, 1, 0};
    EXPECT_EQ(vu_loopFromDPoint3dArrayXYTol(set, &point, 1, 0.0, 1e-8), nullptr);
    EXPECT_EQ(vu_loopFromDPoint3dArrayXYTol(set, nullptr, 5, 0.0, 1e-8), nullptr);
    EXPECT_EQ(vu_loopFromDPoint3dArrayXYTol(set, &point, -3, 0.0, 1e-8), nullptr);
    // Every edge within tolerance: the ring collapses entirely, as does the
    // unit square under an absolute tolerance of 2.
    EXPECT_EQ(loadLoop(set, xy({{1, 1}, {1 + 1e-10, 1}, {1, 1 + 1e-10}})), nullptr);
    EXPECT_EQ(loadLoop(set, kUnitSquare, 2.0), nullptr);
    EXPECT_EQ(vu_firstNodeInGraph(set), nullptr);
    const double inf = std::numeric_limits<double>::infinity();
    for (const Ring& ring :
         {xy({{NAN, 0}, {1, NAN}, {1, 1}}), xy({{inf, 0}, {1, -inf}, {1, 1}, {0, 1}}),
          xy({{kMax, 0}, {1, 1}, {-kMax, 0}}),
          xy({{1e300, 1e300}, {-1e300, 1e300}, {0, -1e300}})}) {
        if (VuNode* node = loadLoop(set, ring)) (void)vu_area(node);
    }
    vu_markAlternatingExteriorBoundaries(set, true);
}

TEST_F(VuLoops, ShortEdgesMergeIntoTheirCorner) {
    Ring closed = kUnitSquare;
    closed.push_back(kUnitSquare[0]);
    const struct {
        const char* name;
        Ring ring, kept;  // kept: the face from the first point on
    } cases[] = {
        {"closing point", closed, kUnitSquare},
        {"1e-12 extra point", xy({{0, 0}, {1, 0}, {1, 1e-12}, {1, 1}, {0, 1}}), kUnitSquare},
        // Between the bottom and the right side: the long edges' meeting point.
        {"zigzag", xy({{0, 0}, {4 - 2e-9, 0}, {4 - 1e-9, 1e-9}, {4, 2e-9}, {4, 4}, {0, 4}}),
         square(0, 0, 4)},
        // Between parallel long edges: the end of the entering edge.
        {"step", xy({{0, 0}, {1, 0}, {1, 1e-9}, {2, 1e-9}, {2, 1}, {0, 1}}),
         xy({{0, 0}, {1, 0}, {2, 1e-9}, {2, 1}, {0, 1}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        VuNode* node = loadLoop(set, c.ring);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(cornersAfter(node), xyzOf(c.kept));
        EXPECT_DOUBLE_EQ(vu_area(node), ringArea(c.kept));
    }
}

TEST_F(VuLoops, DisconnectPointsSeparateRings) {
    Ring points = kUnitSquare;
    points.push_back(kDisconnect);
    points.push_back(kDisconnect);  // an empty run between two separators
    for (const DPoint3d& p : kUnitSquare) points.push_back({p.x + 5, p.y, 0});
    const Ring original = points;
    VuNode* node = loadLoop(set, points);
    EXPECT_TRUE(node && node->xyz.x == 5.0) << "a node of the last ring";
    EXPECT_EQ(vu_countNodesInGraph(set), 16);
    EXPECT_EQ(xyzOf(points), xyzOf(original));
    // A last run that collapses gives null though earlier rings were built.
    points.push_back(kDisconnect);
    points.push_back({9, 9, 0});
    EXPECT_EQ(loadLoop(set, points), nullptr);
    EXPECT_EQ(vu_countNodesInGraph(set), 32);
}

TEST_F(VuFaces, MasksAndCollectionsCoverWholeFaces) {
    VuNode* left = loadLoop(set, square(-1, -1, 2));
    VuNode* right = loadLoop(set, square(4, -1, 2));
    EXPECT_DOUBLE_EQ(vu_areaWithMask(left, 0x100), 4.0);
    vu_setMask(vu_fsucc(right), 0x200);
    vu_spreadMaskAroundFaces(set, 0x200);
    const auto count = [](VuNode* face, VuMask mask) { return vu_countMaskAroundFace(face, mask); };
    EXPECT_EQ(std::tuple(count(left, 0x100), count(vu_edgeMate(left), 0x100), count(right, 0x200),
                         count(vu_edgeMate(right), 0x200), count(left, 0x200)),
              std::tuple(4, 0, 4, 0, 0));
    vuArray* faces = vu_grabArray(set);
    vu_collectVertexLoops(faces, set);
    EXPECT_EQ(vu_arraySize(faces), 8);
    // A vertex all of whose nodes are exterior is not collected.
    vu_setMaskAroundVertex(left, VU_EXTERIOR_EDGE);
    vu_collectVertexLoops(faces, set);
    EXPECT_EQ(vu_arraySize(faces), 7);
    vu_returnArray(set, faces);
}

// Nests squares of the half-widths around the origin, those of index parity
// `clockwise` (0 or 1; -1 for none) clockwise, each joined to the one around
// it by a plain edge in the face between them, as regularization would.
void nestSquares(VuSet* set, const std::vector<double>& halfWidths,
                                 int clockwise) {
    std::vector<VuNode*> rings;
    for (double h : halfWidths) {
        Ring ring = square(-h, -h, 2 * h);
        if (int(rings.size() % 2) == clockwise) std::reverse(ring.begin(), ring.end());
        VuNode* node = loadLoop(set, ring);
        rings.push_back(vu_area(node) > 0.0 ? node : vu_edgeMate(node));
        if (rings.size() > 1)
            vu_insertEdgeBetween(set, rings.end()[-2], vu_edgeMate(rings.back()), nullptr, nullptr);
    }
}

std::vector<double> interiorAreas(VuSet* set) {
    std::vector<double> areas;
    for (VuNode* face : interiorFaces(set)) areas.push_back(vu_area(face));
    std::sort(areas.begin(), areas.end());
    return areas;
}

TEST_F(VuMarking, NestedRingsAlternateWhateverTheirOrientation) {
    vu_markAlternatingExteriorBoundaries(set, true);  // an empty graph is harmless
    for (int clockwise : {-1, 0, 1}) {
        SCOPED_TRACE(clockwise);
        vu_reinitializeVuSet(set);
        nestSquares(set, {10, 6, 2}, clockwise);
        vu_markAlternatingExteriorBoundaries(set, true);
        // The band between outer ring and hole, and the island.
        EXPECT_EQ(interiorAreas(set), (std::vector<double>{16.0, 400.0 - 144.0}));
    }
}

TEST_F(VuMarking, DeepNestingNeedsNoRecursion) {
    constexpr int kRings = 3000;
    std::vector<double> halfWidths;
    for (int i = 0; i < kRings; ++i) halfWidths.push_back(kRings - i);
    nestSquares(set, halfWidths, 1);
    vu_markAlternatingExteriorBoundaries(set, true);
    // Bands alternate: the outermost band is interior, the next exterior, ...
    EXPECT_EQ(interiorAreas(set).size(), static_cast<std::size_t>(kRings / 2));
}

}  // namespace
}  // namespace Korvex
