// Internal to the vu layer: node blocks and the free list behind
// vu_allocateNode. Not part of the public headers.
#pragma once

#include "vu/vu_types.h"

namespace Korvex {

// Puts a node that has already left the live list onto the free list.
void vuNodePool_recycle(VuSet* set, VuNode* node);
// Takes back the node allocated last (still unlinked from any other node).
void vuNodePool_releaseNewest(VuSet* set);
// Moves the whole live list onto the free list and empties the graph.
void vuNodePool_recycleLiveList(VuSet* set);
// Frees every block of the set (and thereby every node, live or free).
void vuNodePool_releaseBlocks(VuSet* set);

}  // namespace Korvex
