// The Boolean operations on square pairs, and hostile rings through the
// whole pipeline.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "vu/graph_test_helpers.h"

namespace Korvex {
namespace {

using namespace vutest;
using Boolean = VuGraphTest;

TEST_F(Boolean, SquarePairsUnderEachOperation) {
    // Faces of non-zero area (-1: not checked, the tie order of coincident
    // edges decides it) and area of and, or and xor. The nested xor keeps the
    // hole as a face of its own.
    const struct {
        const char* name;
        Ring a, b;
        int faces[3];
        double areas[3];
    } cases[] = {
        {"disjoint", square(0, 0, 1), square(3, 0, 1), {0, 2, 2}, {0, 2, 2}},
        {"identical", square(0, 0, 1), square(0, 0, 1), {1, 1, 0}, {1, 1, 0}},
        {"quarter overlap", square(0, 0, 2), square(1, 1, 2), {1, 1, 2}, {1, 7, 6}},
        {"nested", square(0, 0, 4), square(1, 1, 1), {1, 1, 2}, {1, 16, 15}},
        {"nested inside out", square(1, 1, 1), square(0, 0, 4), {1, 1, 2}, {1, 16, 15}},
        {"shared edge", square(0, 0, 1), square(1, 0, 1), {0, -1, 2}, {0, 2, 2}},
        {"shared vertex", square(0, 0, 1), square(1, 1, 1), {0, 2, 2}, {0, 2, 2}},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(testing::Message() << c.name << ", " << kPipelineOperations[i].name);
            // Operand a is saved on the stack, b is built, and the pop runs
            // the operation on both, the way callers combine two regions.
            vu_reinitializeVuSet(set);
            addRegion(set, c.a);
            vu_stackPush(set);
            addRegion(set, c.b);
            vu_stackPopWithOperation(set, kPipelineOperations[i].operation, nullptr);
            const auto faces = interiorFaces(set);
            const auto nonZero = std::count_if(faces.begin(), faces.end(),
                                               [](VuNode* f) { return vu_area(f) != 0.0; });
            EXPECT_EQ(c.faces[i] < 0 ? -1 : nonZero, c.faces[i]);
            EXPECT_NEAR(interiorArea(set), c.areas[i], 1e-12);
            // Edges whose two sides agree, such as those connecting disjoint
            // operands, are cleaned up.
            for (VuNode* node : nodesOf(set))
                EXPECT_NE(vu_getMask(node, VU_EXTERIOR_EDGE),
                          vu_getMask(vu_edgeMate(node), VU_EXTERIOR_EDGE));
        }
    }
}

TEST(BooleanHostile, DegenerateRingsGiveTheAreasOfWhatIsLeft) {
    // and, or, xor and difference with the unit square at (0.5, 0.5); with
    // non-finite coordinates only the graphs on the way are checked, in both
    // orders of the operands.
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* name;
        Polygon a;
        double areas[4];
    } cases[] = {
        {"repeated points",
         {xy({{0, 0}, {0, 0}, {1, 0}, {1, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 1}, {0, 0}})},
         {0.25, 1.75, 1.5, 0.75}},
        // A spike out of the right side, out and back along one line.
        {"spike", {xy({{0, 0}, {1, 0}, {1, 0.25}, {3, 0.25}, {1, 0.25}, {1, 1}, {0, 1}})},
         {0.25, 1.75, 1.5, 0.75}},
        {"collapsed", {xy({{2, 2}, {2, 2}, {2, 2}, {2, 2}})}, {0, 1, 1, 0}},
        {"empty", {}, {0, 1, 1, 0}},
        {"nan corner", {xy({{0, 0}, {1, 0}, {NAN, 0.5}, {1, 1}, {0, 1}})}, {NAN, NAN, NAN, NAN}},
        {"infinite corner", {xy({{0, 0}, {inf, 0}, {1, 1}, {0, 1}})}, {NAN, NAN, NAN, NAN}},
        {"all nan", {xy({{NAN, NAN}, {NAN, NAN}, {NAN, NAN}})}, {NAN, NAN, NAN, NAN}},
        {"infinite square",
         {xy({{-inf, -inf}, {inf, -inf}, {inf, inf}, {-inf, inf}})}, {NAN, NAN, NAN, NAN}},
    };
    const Polygon b = {square(0.5, 0.5, 1)};
    for (const auto& c : cases) {
        for (int i = 0; i < 4; ++i) {
            const auto& [name, operation, difference] = kPipelineOperations[i];
            SCOPED_TRACE(testing::Message() << c.name << ", " << name);
            const double area = booleanResultArea(c.a, b, operation, difference);
            if (std::isnan(c.areas[i])) booleanResultArea(b, c.a, operation, difference);
            else EXPECT_NEAR(area, c.areas[i], 1e-12);
        }
    }
    // A bow tie crossing at (0.5, 0.5): its lobes are triangles of area 0.25,
    // one counter-clockwise and one clockwise; marking by area keeps both.
    const Polygon bowTie = {xy({{0, 0}, {1, 1}, {1, 0}, {0, 1}})};
    EXPECT_NEAR(booleanResultArea(bowTie, {square(5, 5, 1)}, vu_orLoops), 1.5, 1e-12);
    EXPECT_NEAR(booleanResultArea(bowTie, bowTie, vu_andLoops), 0.5, 1e-12);
    // The merge tolerance follows the largest coordinate (1e-10 of 1e12): a
    // tiny square next to a huge one is far below it and collapses, as meant.
    const Polygon huge = {square(0, 0, 1e12)}, tiny = {square(3, 3, 1e-3)};
    EXPECT_NEAR(booleanResultArea(huge, tiny, vu_andLoops), 0.0, 1e-9);
    EXPECT_NEAR(booleanResultArea(huge, tiny, vu_orLoops), 1e24, 1e24 * 1e-12);
}

// A caller that holds all or all but one or two marks of the mask pool gets
// fewer marks and a graph left as it is, but every step of the pipeline
// returns.
TEST_F(Boolean, AnExhaustedMaskPoolStopsNoStep) {
    for (int leftFree = 0; leftFree <= 2; ++leftFree) {
        std::vector<VuMask> held;
        while (const VuMask mask = vu_grabMask(set)) held.push_back(mask);
        for (int i = 0; i < leftFree; ++i) {
            vu_returnMask(set, held.back());
            held.pop_back();
        }
        for (const auto& operation : kPipelineOperations) {
            vu_reinitializeVuSet(set);
            addRegion(set, square(0, 0, 2));
            vu_stackPush(set);
            loadLoop(set, square(1, 1, 2));
            vu_mergeOrUnionLoops(set, VU_MERGE_UNION);
            vu_regularizeGraph(set);
            vu_markAlternatingExteriorBoundaries(set, true);
            vu_markAlternatingExteriorBoundaries(set, false);
            vu_stackPopWithOperation(set, operation.operation, nullptr);
        }
        for (const VuMask mask : held) vu_returnMask(set, mask);
    }
}

}  // namespace
}  // namespace Korvex
