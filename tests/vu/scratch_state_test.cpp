// Regularization, exterior marking and the Booleans write their scratch state
// (pooled mask bits, auxiliary indices, kept arrays) before they read it, so
// whatever an earlier step left behind cannot change their answer.
#include <gtest/gtest.h>

#include <random>
#include <unordered_map>
#include <vector>

#include "vu/graph_test_helpers.h"
#include "vu/vu_regularize_sweep.h"

namespace Korvex {
namespace {

using namespace vutest;

constexpr VuMask kPooledBits = ~VuMask{0} << 16;
constexpr VuMask kPredefinedBits = ~kPooledBits;

// Everything later steps may read: per node in graph order its serial number,
// coordinates, the serial numbers of its successors and its predefined bits.
struct NodeRecord {
    int id, fSucc, vSucc;
    double x, y;
    VuMask mask;
    bool operator==(const NodeRecord&) const = default;
};

std::vector<NodeRecord> snapshot(const VuSet* set) {
    std::vector<NodeRecord> records;
    for (VuNode* n : nodesOf(set))
        records.push_back({n->id, n->fSucc->id, n->vSucc->id, n->xyz.x, n->xyz.y,
                           n->mask & kPredefinedBits});
    return records;
}

// Sets every pooled bit (and the given ones on every other node) and
// scribbles on the auxiliary indices, as a step that used them and left them
// dirty would.
void dirtyScratchState(VuSet* set, VuMask alternateBits = 0) {
    unsigned scribble = 7;
    for (VuNode* n : nodesOf(set)) {
        n->mask |= kPooledBits | (scribble % 2 ? alternateBits : 0);
        scribble = scribble * 31 + 5;  // wraps, as unsigned arithmetic may
        n->auxIndex = static_cast<int>(scribble % 1000003);
    }
}

// Random inputs with islands, holes, shared corners and crossings.
std::vector<Polygon> sampleInputs() {
    std::mt19937 random(20240611);
    std::vector<Polygon> inputs;
    for (int i = 0; i < 4 * kTrialScale; ++i) {
        inputs.push_back(randomRegionWithIslands(random).rings);
        inputs.push_back(randomGridRings(random, 2 + i % 4));
    }
    return inputs;
}

void loadMerged(VuSet* set, const Polygon& polygon) {
    for (const Ring& ring : polygon) loadLoop(set, ring);
    vu_mergeOrUnionLoops(set, VU_MERGE_UNION);
}

// Prepares a clean and a second copy of the same merged input, dirties the
// second, runs step on both and expects the same graph from both.
template <typename Prepare, typename Step>
void expectStepIgnoresDirt(const Polygon& input, Prepare prepare, Step step,
                           VuMask alternateBits = 0) {
    UniqueVuSet clean = makeVuSet();
    UniqueVuSet dirty = makeVuSet();
    for (VuSet* set : {clean.get(), dirty.get()}) {
        loadMerged(set, input);
        prepare(set);
    }
    dirtyScratchState(dirty.get(), alternateBits);
    step(clean.get());
    step(dirty.get());
    EXPECT_TRUE(isWellFormedGraph(dirty.get()));
    EXPECT_EQ(snapshot(clean.get()), snapshot(dirty.get()));
}

void nothing(VuSet*) {}
void regularize(VuSet* set) { vureg_regularizeGraph(set); }
void markByArea(VuSet* set) { vu_markAlternatingExteriorBoundaries(set, true); }
void markByExteriorBits(VuSet* set) { vu_markAlternatingExteriorBoundaries(set, false); }

TEST(ScratchState, RegularizationIgnoresStaleMaskBits) {
    for (const Polygon& input : sampleInputs())
        expectStepIgnoresDirt(input, nothing, regularize);
}

void turnHalfTurn(VuSet* set) {
    for (VuNode* n : nodesOf(set)) n->xyz = {-n->xyz.x, -n->xyz.y, n->xyz.z};
}

// Fresh sweep objects on a graph really turned half a turn and back, after an
// optional upward sweep.
std::vector<NodeRecord> sweepTurnedGraph(const Polygon& input, bool upwardFirst) {
    UniqueVuSet owner = makeVuSet();
    loadMerged(owner.get(), input);
    if (upwardFirst) {
        EXPECT_TRUE(VuRegularizeSweep(owner.get()).run());
    }
    turnHalfTurn(owner.get());
    EXPECT_TRUE(VuRegularizeSweep(owner.get()).run());
    turnHalfTurn(owner.get());
    return snapshot(owner.get());
}

// The regularization runs one sweep object upwards and then through the
// turned frame. Alone, the turned sweep meets the reflex minima the upward
// sweep would have joined, which it holds as pending targets.
TEST(ScratchState, TurnedSweepMatchesSweepOfTurnedGraph) {
    for (const Polygon& input : sampleInputs()) {
        for (bool upwardFirst : {false, true}) {
            UniqueVuSet owner = makeVuSet();
            loadMerged(owner.get(), input);
            VuRegularizeSweep sweep(owner.get());
            if (upwardFirst) {
                ASSERT_TRUE(sweep.run());
            }
            ASSERT_TRUE(sweep.runTurned());
            EXPECT_EQ(sweepTurnedGraph(input, upwardFirst), snapshot(owner.get()));
        }
    }
}

TEST(ScratchState, ExteriorMarkingIgnoresStaleMaskBits) {
    for (const Polygon& input : sampleInputs()) {
        // Marking by area overwrites exterior marks left by earlier operands.
        expectStepIgnoresDirt(input, regularize, markByArea, VU_EXTERIOR_EDGE);
        // Seeded by the exterior marks of the first marking.
        expectStepIgnoresDirt(
            input,
            [](VuSet* set) {
                regularize(set);
                markByArea(set);
            },
            markByExteriorBits);
    }
}

// Unregularized, every ring is its own component and the outside of each is a
// seed: far more seeds and walk entries than the marking keeps room for on
// the stack. Each cell's square and the square inside it are both read as
// regions, as nothing joins the inner one to the outer one.
TEST(ScratchState, ExteriorMarkingWithManySeeds) {
    UniqueVuSet owner = makeVuSet();
    VuSet* set = owner.get();
    for (int i = 0; i < 6; ++i) {
        for (int j = 0; j < 6; ++j) {
            addRing(set, square(2.0 * i, 2.0 * j, 1.0));
            addRing(set, square(2.0 * i + 0.25, 2.0 * j + 0.25, 0.5));
        }
    }
    dirtyScratchState(set);
    vu_markAlternatingExteriorBoundaries(set, true);
    EXPECT_EQ(interiorArea(set), 36 * (1.0 + 0.25));
    for (VuNode* face : loopsOf(set))
        EXPECT_EQ(vu_getMask(face, VU_EXTERIOR_EDGE) != 0, vu_area(face) < 0.0);
    EXPECT_TRUE(isWellFormedGraph(set));
}

// A flat ring has two faces of area 0 on either side of its boundary; both
// are seeds. The one met first in graph order is marked exterior, and the
// alternation then makes the other interior. Twenty rings give more seeds than
// the short-list sort takes.
TEST(ScratchState, EqualAreaSeedsAreTakenInGraphOrder) {
    for (int rings : {1, 20}) {
        UniqueVuSet owner = makeVuSet();
        VuSet* set = owner.get();
        for (int i = 0; i < rings; ++i)
            addRing(set, xy({{0, 2.0 * i}, {1, 2.0 * i}, {2, 2.0 * i}}));
        vu_markAlternatingExteriorBoundaries(set, true);
        std::unordered_map<const VuNode*, bool> expectExterior;
        for (VuNode* face : loopsOf(set)) {
            if (expectExterior.count(face)) continue;
            for (VuNode* n : faceNodes(face)) expectExterior[n] = true;
            for (VuNode* n : faceNodes(vu_edgeMate(face))) expectExterior[n] = false;
        }
        for (VuNode* n : nodesOf(set))
            EXPECT_EQ(vu_getMask(n, VU_EXTERIOR_EDGE) != 0, expectExterior.at(n)) << rings;
    }
}

int dirtyThenAnd(VuSet* set) {
    dirtyScratchState(set);
    return vu_andLoops(set);
}
int dirtyThenOr(VuSet* set) {
    dirtyScratchState(set);
    return vu_orLoops(set);
}
int dirtyThenXor(VuSet* set) {
    dirtyScratchState(set);
    return vu_xorLoops(set);
}

// Both operands loaded as the native operations load them, then combined.
std::vector<NodeRecord> combine(const Polygon& a, const Polygon& b, VuGraphOperation operation) {
    UniqueVuSet owner = makeVuSet();
    VuSet* set = owner.get();
    vu_setTol(set, 0.0, 1e-10);
    loadOperand(set, a);
    vu_stackPush(set);
    loadOperand(set, b);
    vu_stackPopWithOperation(set, operation, nullptr);
    EXPECT_TRUE(isWellFormedGraph(set));
    return snapshot(set);
}

TEST(ScratchState, BooleansIgnoreStaleMaskBitsAndCounts) {
    const std::vector<Polygon> inputs = sampleInputs();
    const std::pair<VuGraphOperation, VuGraphOperation> operations[] = {
        {vu_andLoops, dirtyThenAnd}, {vu_orLoops, dirtyThenOr}, {vu_xorLoops, dirtyThenXor}};
    for (std::size_t i = 0; i + 1 < inputs.size(); ++i) {
        for (const auto& [clean, dirty] : operations) {
            const std::vector<NodeRecord> expected = combine(inputs[i], inputs[i + 1], clean);
            EXPECT_FALSE(expected.empty());
            EXPECT_EQ(expected, combine(inputs[i], inputs[i + 1], dirty));
        }
    }
}

}  // namespace
}  // namespace Korvex
