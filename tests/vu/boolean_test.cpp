#include <gtest/gtest.h>

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

}  // namespace
}  // namespace Korvex
