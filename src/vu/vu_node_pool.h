// Internal to the vu layer: node blocks and the free list behind
// vu_allocateNode. Not part of the public headers.
#pragma once

#include "vu/vu_types.h"

namespace Korvex {

// Threads one more block of nodes onto the free list; false when memory runs out.
bool vuNodePool_addBlock(VuSet* set);

// What vu_allocateNode does, inline for the primitives that make nodes by the
// million: the next free node, reset, given the next serial number and linked
// into the live list right after the live-list node (so iteration meets the
// newest node first). The record is written whole; the caller's extra bytes
// keep their content.
inline VuNode* vuNodePool_take(VuSet* set) {
    if (!set->freeList && !vuNodePool_addBlock(set)) return nullptr;
    VuNode* node = set->freeList;
    set->freeList = node->nextInSet;
    VuNode* next = node;
    if (VuNode* live = set->liveList) {
        next = live->nextInSet;
        live->nextInSet = node;
    } else {
        set->liveList = node;
    }
    *node = VuNode{next, node, node, 0, set->nodeCounter++, 0, set->defaultUserDataP,
                   DPoint3d{0.0, 0.0, 0.0}, set->defaultUserData2};
    return node;
}

// Puts a node that has already left the live list onto the free list.
inline void vuNodePool_recycle(VuSet* set, VuNode* node) {
    node->nextInSet = set->freeList;
    set->freeList = node;
}
// Takes back the node allocated last (still unlinked from any other node).
void vuNodePool_releaseNewest(VuSet* set);
// Moves the whole live list onto the free list and empties the graph.
void vuNodePool_recycleLiveList(VuSet* set);
// Frees every block of the set (and thereby every node, live or free).
void vuNodePool_releaseBlocks(VuSet* set);

}  // namespace Korvex
