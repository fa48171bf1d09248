#include "vu/vu_regularize.h"

#include "vu/vu_graph.h"
#include "vu/vu_regularize_sweep.h"
#include "vu/vu_set.h"

namespace Korvex {

namespace {

constexpr int kSweepAttempts = 3;

void sweepWithRetries(VuSet* set) {
    for (int attempt = 0; attempt < kSweepAttempts; ++attempt) {
        if (VuRegularizeSweep(set).run()) return;
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
    sweepWithRetries(set);
    turnHalfTurn(set);
    sweepWithRetries(set);
    turnHalfTurn(set);
}

void vu_regularizeGraph(VuSet* set) { vureg_regularizeGraph(set); }

}  // namespace Korvex
