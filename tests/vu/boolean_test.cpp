#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "vu/graph_checker.h"
#include "vu/merge_test_helpers.h"
#include "vu/vu.h"

namespace Korvex {
namespace {

using mergetest::addRegion;
using mergetest::interiorFaces;
using mergetest::shapeOf;
using mergetest::square;

using BooleanOperation = int (*)(VuSet*);

struct Operation {
    const char* name;
    BooleanOperation run;
};

const Operation kOperations[] = {{"and", vu_andLoops}, {"or", vu_orLoops}, {"xor", vu_xorLoops}};

// Operand a is saved on the stack, b is built, and the pop runs the operation
// on both, the way callers combine two regions.
void combine(VuSet* set, const std::vector<std::vector<DPoint2d>>& a,
             const std::vector<std::vector<DPoint2d>>& b, BooleanOperation operation) {
    for (const auto& ring : a) addRegion(set, ring);
    vu_stackPush(set);
    for (const auto& ring : b) addRegion(set, ring);
    vu_stackPopWithOperation(set, operation, nullptr);
}

// Faces of non-zero area (-1: not checked, the tie order of coincident edges
// decides it) and the result's area.
struct Expected {
    int faces;
    double area;
};

void expectResult(const std::vector<DPoint2d>& a, const std::vector<DPoint2d>& b,
                  const Expected (&expected)[3]) {
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(kOperations[i].name);
        vutest::UniqueVuSet set(vu_newVuSet());
        combine(set.get(), {a}, {b}, kOperations[i].run);
        EXPECT_TRUE(vutest::isWellFormedGraph(set.get()));
        const mergetest::InteriorFaces result = interiorFaces(set.get());
        if (expected[i].faces >= 0) {
            EXPECT_EQ(result.count, expected[i].faces);
        }
        EXPECT_NEAR(result.area, expected[i].area, 1e-12);
    }
}

TEST(Boolean, DisjointSquares) {
    expectResult(square(0, 0, 1), square(3, 0, 1), {{0, 0.0}, {2, 2.0}, {2, 2.0}});
    // The connecting edges are gone again: only the two squares are left.
    vutest::UniqueVuSet set(vu_newVuSet());
    combine(set.get(), {square(0, 0, 1)}, {square(3, 0, 1)}, vu_orLoops);
    EXPECT_EQ(shapeOf(set.get()).nodes, 16);
}

TEST(Boolean, IdenticalSquares) {
    expectResult(square(0, 0, 1), square(0, 0, 1), {{1, 1.0}, {1, 1.0}, {0, 0.0}});
}

TEST(Boolean, QuarterOverlap) {
    expectResult(square(0, 0, 2), square(1, 1, 2), {{1, 1.0}, {1, 7.0}, {2, 6.0}});
    vutest::UniqueVuSet set(vu_newVuSet());
    combine(set.get(), {square(0, 0, 2)}, {square(1, 1, 2)}, vu_andLoops);
    EXPECT_EQ(shapeOf(set.get()).vertices, 4);
    EXPECT_NE(mergetest::vertexAt(set.get(), 2, 1), nullptr);
    EXPECT_NE(mergetest::vertexAt(set.get(), 1, 2), nullptr);
}

TEST(Boolean, NestedSquaresMakeAHoleAsItsOwnLoop) {
    const auto outer = square(0, 0, 4);
    const auto inner = square(1, 1, 1);
    // xor: the outer ring counter-clockwise and the hole clockwise, unconnected.
    expectResult(outer, inner, {{1, 1.0}, {1, 16.0}, {2, 15.0}});
    expectResult(inner, outer, {{1, 1.0}, {1, 16.0}, {2, 15.0}});

    // (A xor B) and A, the difference, gives the same two loops.
    vutest::UniqueVuSet set(vu_newVuSet());
    combine(set.get(), {outer}, {inner}, vu_xorLoops);
    vu_stackPush(set.get());
    addRegion(set.get(), outer);
    vu_stackPopWithOperation(set.get(), vu_andLoops, nullptr);
    EXPECT_TRUE(vutest::isWellFormedGraph(set.get()));
    const mergetest::InteriorFaces difference = interiorFaces(set.get());
    ASSERT_EQ(difference.count, 2);
    EXPECT_NEAR(difference.area, 15.0, 1e-12);
    EXPECT_EQ(mergetest::countComponents(set.get()), 2);
}

TEST(Boolean, SharedEdgeAndSharedVertex) {
    // Side by side along x = 1: which of the two coincident edges lies inner
    // decides whether the sliver between them counts 0 or 2, and with it
    // whether the union is one face or two touching ones.
    expectResult(square(0, 0, 1), square(1, 0, 1), {{0, 0.0}, {-1, 2.0}, {2, 2.0}});
    // Corner to corner at (1, 1).
    expectResult(square(0, 0, 1), square(1, 1, 1), {{0, 0.0}, {2, 2.0}, {2, 2.0}});
}

TEST(Boolean, EmptyAndDegenerateGraphs) {
    for (const Operation& operation : kOperations) {
        SCOPED_TRACE(operation.name);
        vutest::UniqueVuSet set(vu_newVuSet());
        EXPECT_EQ(operation.run(set.get()), 0);
        EXPECT_EQ(vu_firstNodeInGraph(set.get()), nullptr);

        // A lone edge has no face of negative area: the graph is emptied.
        VuNode* a = nullptr;
        VuNode* b = nullptr;
        vu_createFreeEdge(set.get(), &a, &b);
        vu_setXYZ(b, 1, 0, 0);
        operation.run(set.get());
        EXPECT_EQ(vu_firstNodeInGraph(set.get()), nullptr);
        EXPECT_TRUE(vutest::isWellFormedGraph(set.get()));
    }
}

// ---- hostile rings through the whole pipeline -------------------------------

using mergetest::booleanResultArea;
using mergetest::Polygon;
using mergetest::Ring;

Ring ringOf(const std::vector<DPoint2d>& points) {
    Ring ring;
    for (const DPoint2d& p : points) ring.push_back({p.x, p.y, 0.0});
    return ring;
}

struct PipelineCase {
    const char* name;
    VuGraphOperation operation;
    bool difference;
};

const PipelineCase kPipeline[] = {
    {"and", vu_andLoops, false},
    {"or", vu_orLoops, false},
    {"xor", vu_xorLoops, false},
    {"difference", vu_xorLoops, true},
};

// Areas of and, or, xor and difference of a with the unit square at (0.5, 0.5).
void expectAreasAgainstSquare(const Polygon& a, const double (&expected)[4]) {
    const Polygon b = {ringOf(square(0.5, 0.5, 1))};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(kPipeline[i].name);
        EXPECT_NEAR(booleanResultArea(a, b, kPipeline[i].operation, kPipeline[i].difference),
                    expected[i], 1e-12);
    }
}

TEST(BooleanHostile, RepeatedPointsAndSpikesAreIgnored) {
    const double unitSquare[4] = {0.25, 1.75, 1.5, 0.75};
    expectAreasAgainstSquare({ringOf({{0, 0}, {0, 0}, {1, 0}, {1, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 1}, {0, 0}})},
                             unitSquare);
    // A spike out of the right side, out and back along one line.
    expectAreasAgainstSquare({ringOf({{0, 0}, {1, 0}, {1, 0.25}, {3, 0.25}, {1, 0.25}, {1, 1}, {0, 1}})},
                             unitSquare);
}

TEST(BooleanHostile, CollapsedRingIsAnEmptyOperand) {
    expectAreasAgainstSquare({ringOf({{2, 2}, {2, 2}, {2, 2}, {2, 2}})}, {0.0, 1.0, 1.0, 0.0});
    expectAreasAgainstSquare({}, {0.0, 1.0, 1.0, 0.0});
}

TEST(BooleanHostile, BowTieSplitsIntoItsTwoLobes) {
    // Crossing at (0.5, 0.5); the lobes are triangles of area 0.25 each, one
    // counter-clockwise and one clockwise: marking by area keeps both inside.
    const Polygon bowTie = {ringOf({{0, 0}, {1, 1}, {1, 0}, {0, 1}})};
    const Polygon far = {ringOf(square(5, 5, 1))};
    EXPECT_NEAR(booleanResultArea(bowTie, far, vu_orLoops), 1.5, 1e-12);
    EXPECT_NEAR(booleanResultArea(bowTie, bowTie, vu_andLoops), 0.5, 1e-12);
}

TEST(BooleanHostile, TinyNextToHugeSnapsAway) {
    // The merge tolerance follows the largest coordinate (1e-10 of 1e12): the
    // tiny square is far below it and collapses, as meant.
    const Polygon huge = {ringOf(square(0, 0, 1e12))};
    const Polygon tiny = {ringOf(square(3, 3, 1e-3))};
    EXPECT_NEAR(booleanResultArea(huge, tiny, vu_andLoops), 0.0, 1e-9);
    EXPECT_NEAR(booleanResultArea(huge, tiny, vu_orLoops), 1e24, 1e24 * 1e-12);
}

TEST(BooleanHostile, NonFiniteCoordinatesDoNotBreakTheGraph) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Polygon hostile[] = {
        {ringOf({{0, 0}, {1, 0}, {nan, 0.5}, {1, 1}, {0, 1}})},
        {ringOf({{0, 0}, {inf, 0}, {1, 1}, {0, 1}})},
        {ringOf({{nan, nan}, {nan, nan}, {nan, nan}})},
        {ringOf({{-inf, -inf}, {inf, -inf}, {inf, inf}, {-inf, inf}})},
    };
    const Polygon b = {ringOf(square(0.5, 0.5, 1))};
    for (const Polygon& a : hostile) {
        for (const PipelineCase& c : kPipeline) {
            SCOPED_TRACE(c.name);
            booleanResultArea(a, b, c.operation, c.difference);
            booleanResultArea(b, a, c.operation, c.difference);
        }
    }
}

// A caller holding every mask or every array of the pools leaves the
// operations without marks or scratch arrays; they must still end and leave
// a well-formed graph.
TEST(BooleanHostile, ExhaustedPoolsDoNotHang) {
    for (const bool holdMasks : {true, false}) {
        for (const Operation& operation : kOperations) {
            SCOPED_TRACE(testing::Message() << operation.name << (holdMasks ? ", masks" : ", arrays"));
            vutest::UniqueVuSet set(vu_newVuSet());
            std::vector<VuMask> masks;
            std::vector<vuArray*> arrays;
            while (holdMasks && masks.size() < VU_MASK_POOL_SIZE) masks.push_back(vu_grabMask(set.get()));
            while (!holdMasks && arrays.size() < VU_ARRAY_POOL_SIZE) arrays.push_back(vu_grabArray(set.get()));
            combine(set.get(), {square(0, 0, 2)}, {square(1, 1, 2)}, operation.run);
            for (const VuMask m : masks) vu_returnMask(set.get(), m);
            for (vuArray* a : arrays) vu_returnArray(set.get(), a);
            EXPECT_TRUE(vutest::isWellFormedGraph(set.get()));
        }
    }
}

// Rings through random points of a small grid, or of its rows at any x,
// overlap, touch, run along each other and cross themselves. Whatever regions
// they make, the four results must fit together: |A or B| = |A| + |B| -
// |A and B|, |A xor B| = |A or B| - |A and B|, |A - B| = |A| - |A and B|.
TEST(BooleanHostile, DegenerateGridRingsGiveConsistentAreas) {
#if defined(__SANITIZE_ADDRESS__)
    const int trials = 60;
#else
    const int trials = 400;
#endif
    std::mt19937 random(5);
    std::uniform_int_distribution<int> grid(0, 4), pointCount(3, 8), ringCount(1, 2);
    std::uniform_real_distribution<double> offset(0.0, 1.0);
    auto randomPolygon = [&](bool anyX) {
        Polygon polygon(ringCount(random));
        for (Ring& ring : polygon) {
            ring.resize(pointCount(random));
            for (DPoint3d& p : ring)
                p = {grid(random) + (anyX ? offset(random) : 0.0), double(grid(random)), 0.0};
        }
        return polygon;
    };
    const Polygon empty;
    for (int trial = 0; trial < trials; ++trial) {
        SCOPED_TRACE(testing::Message() << "trial " << trial);
        const Polygon a = randomPolygon(trial % 2 != 0), b = randomPolygon(trial % 2 != 0);
        const double areaA = booleanResultArea(a, empty, vu_orLoops);
        const double areaB = booleanResultArea(b, empty, vu_orLoops);
        const double both = booleanResultArea(a, b, vu_andLoops);
        const double either = booleanResultArea(a, b, vu_orLoops);
        EXPECT_NEAR(either, areaA + areaB - both, 1e-9);
        EXPECT_NEAR(booleanResultArea(a, b, vu_xorLoops), either - both, 1e-9);
        EXPECT_NEAR(booleanResultArea(a, b, vu_xorLoops, true), areaA - both, 1e-9);
    }
}

}  // namespace
}  // namespace Korvex
