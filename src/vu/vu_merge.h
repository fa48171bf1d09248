// Merging the loops of one graph into a single planar subdivision.
#pragma once

#include <cstdint>

#include "vu/vu_types.h"

namespace Korvex {

// What happens to coincident edges (edges joining the same two vertices).
enum vumergetype : std::int32_t {
    // Deleted in pairs: an odd group keeps one edge.
    VU_MERGE_PARITY = 0,
    // All kept, side by side, with a two-node sliver face between each pair.
    VU_MERGE_UNION = 1,
    // The first stays, the others are deleted.
    VU_MERGE_SINGLE_EDGE = 2002,
};

// The merge engine. Vertices closer than tol = max(absTol, relTol * M), M the
// largest |x| or |y| in the graph, become one vertex; edges are split where a
// vertex lies on them and where they cross; edges shorter than tol vanish;
// coincident edges are resolved by type (any unknown type acts as
// VU_MERGE_UNION); every vertex loop ends in counter-clockwise order. The
// tolerance is stored as the set's mergeTol.
void vu_merge2002(VuSet* set, vumergetype type, double absTol, double relTol);

// vu_merge2002 with the set's own absTol and relTol.
void vu_mergeOrUnionLoops(VuSet* set, vumergetype type);

// The merge that precedes a Boolean operation: VU_MERGE_UNION, then, when the
// graph falls into several pieces, regularization joins them so that one
// unbounded face surrounds everything.
void vu_mergeAndConnectForBoolop(VuSet* set);

}  // namespace Korvex
