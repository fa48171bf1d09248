#include "vu/vu_regularize.h"

#include "vu/vu_graph.h"
#include "vu/vu_regularize_sweep.h"
#include "vu/vu_set.h"

namespace Korvex {

namespace {

constexpr int kSweepAttempts = 3;

void sweepWithRetries(VuSet* set, VuRegularizeSweep& sweep) {
    for (int attempt = 0; attempt < kSweepAttempts; ++attempt) {
        if (sweep.run()) return;
        vu_sendMessage(set, VU_MSG_OUT_OF_MEMORY, nullptr, nullptr);
    }
}

// Negating x and y turns the sweep order upside down, so an upward sweep
// handles what were local maxima. Negation is exact and undoes itself.
void turnHalfTurn(VuSet* set) {
    for (VuNode* node = vu_firstNodeInGraph(set); node; node = vu_nextNodeInGraph(set, node)) {
        node->xyz.x = -node->xyz.x;
        node->xyz.y = -node->xyz.y;
    }
}

}  // namespace

void vureg_regularizeGraph(VuSet* set) {
    if (!set) return;
    // One sweep object serves both directions and every retry, so that its
    // masks and arrays are taken from the pools once.
    VuRegularizeSweep sweep(set);
    sweepWithRetries(set, sweep);
    turnHalfTurn(set);
    sweepWithRetries(set, sweep);
    turnHalfTurn(set);
}

void vu_regularizeGraph(VuSet* set) { vureg_regularizeGraph(set); }

}  // namespace Korvex
