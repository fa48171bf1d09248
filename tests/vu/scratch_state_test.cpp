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

// Sets every pooled bit and scribbles on the auxiliary indices, as a step that
// used them and left them dirty would.
void dirtyScratchState(VuSet* set) {
    int scribble = 7;
    for (VuNode* n : nodesOf(set)) {
        n->mask |= kPooledBits;
        n->auxIndex = scribble = scribble * 31 + 5;
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

// Runs step on a clean and on a dirtied copy of the same merged input and
// expects the same graph from both.
template <typename Step>
void expectStepIgnoresDirt(const Polygon& input, Step step) {
    UniqueVuSet clean = makeVuSet();
    UniqueVuSet dirty = makeVuSet();
    loadMerged(clean.get(), input);
    loadMerged(dirty.get(), input);
    dirtyScratchState(dirty.get());
    step(clean.get());
    step(dirty.get());
    EXPECT_TRUE(isWellFormedGraph(dirty.get()));
    EXPECT_EQ(snapshot(clean.get()), snapshot(dirty.get()));
}

TEST(ScratchState, RegularizationIgnoresStaleMaskBits) {
    for (const Polygon& input : sampleInputs())
        expectStepIgnoresDirt(input, [](VuSet* set) { vureg_regularizeGraph(set); });
}

void turnHalfTurn(VuSet* set) {
    for (VuNode* n : nodesOf(set)) n->xyz = {-n->xyz.x, -n->xyz.y, n->xyz.z};
}

// The regularization runs one sweep object upwards and then on the turned
// graph; a fresh object per direction must give the same graph.
TEST(ScratchState, SweepRunAgainStartsAfresh) {
    for (const Polygon& input : sampleInputs()) {
        UniqueVuSet fresh = makeVuSet();
        UniqueVuSet kept = makeVuSet();
        loadMerged(fresh.get(), input);
        loadMerged(kept.get(), input);
        ASSERT_TRUE(VuRegularizeSweep(fresh.get()).run());
        turnHalfTurn(fresh.get());
        ASSERT_TRUE(VuRegularizeSweep(fresh.get()).run());
        turnHalfTurn(fresh.get());
        vureg_regularizeGraph(kept.get());
        EXPECT_EQ(snapshot(fresh.get()), snapshot(kept.get()));
    }
}

}  // namespace
}  // namespace Korvex
