#include "vu/vu_regularize.h"

#include "vu/vu_regularize_sweep.h"
#include "vu/vu_set.h"

namespace Korvex {

namespace {

constexpr int kSweepAttempts = 3;

template <typename Sweep>
void sweepWithRetries(VuSet* set, Sweep sweep) {
    for (int attempt = 0; attempt < kSweepAttempts; ++attempt) {
        if (sweep()) return;
        vu_sendMessage(set, VU_MSG_OUT_OF_MEMORY, nullptr, nullptr);
    }
}

}  // namespace

void vureg_regularizeGraph(VuSet* set) {
    if (!set) return;
    // One sweep object serves both directions and every retry, so that its
    // masks and arrays are taken from the pools once. The downward sweep is
    // the upward one on the graph seen turned half a turn: negating x and y
    // turns the sweep order upside down, so it handles what were local
    // maxima. The sweep reads the coordinates negated rather than moving the
    // nodes there and back.
    VuRegularizeSweep sweep(set);
    sweepWithRetries(set, [&sweep] { return sweep.run(); });
    sweepWithRetries(set, [&sweep] { return sweep.runTurned(); });
}

void vu_regularizeGraph(VuSet* set) { vureg_regularizeGraph(set); }

}  // namespace Korvex
