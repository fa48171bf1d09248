#include "vu/vu_node_pool.h"

#include <cstdlib>

#include "vu/vu_array.h"
#include "vu/vu_topology.h"

namespace Korvex {

namespace {

// The node record plus the caller's bytes, rounded up to 8 bytes.
std::size_t nodeStride(const VuSet* set) {
    const std::size_t bytes = sizeof(VuNode) + static_cast<std::size_t>(set->extraBytes);
    return (bytes + 7) / 8 * 8;
}

VuNode* nodeAt(void* block, std::size_t stride, int index) {
    return reinterpret_cast<VuNode*>(static_cast<char*>(block) +
                                     stride * static_cast<std::size_t>(index));
}

}  // namespace

// Allocates one block and threads its nodes onto the free list. A node's
// record is reset when it is handed out, so only the callers' extra bytes
// need zeroing here: they start as zeros.
bool vuNodePool_addBlock(VuSet* set) {
    const std::size_t stride = nodeStride(set);
    void* block = set->extraBytes > 0 ? std::calloc(VU_NODES_PER_BLOCK, stride)
                                      : std::malloc(VU_NODES_PER_BLOCK * stride);
    if (!block) return false;
    const int before = vu_arraySize(set->nodeBlocks);
    vu_arrayAdd(set->nodeBlocks, static_cast<VuNode*>(block));
    if (vu_arraySize(set->nodeBlocks) == before) {  // no room to record it
        std::free(block);
        return false;
    }
    // Thread backwards so that nodes are handed out in address order.
    for (int i = VU_NODES_PER_BLOCK - 1; i >= 0; --i) {
        VuNode* node = nodeAt(block, stride, i);
        node->nextInSet = set->freeList;
        set->freeList = node;
    }
    return true;
}

VuNode* vu_allocateNode(VuSet* set) { return vuNodePool_take(set); }

void vuNodePool_releaseNewest(VuSet* set) {
    VuNode* live = set->liveList;
    if (!live) return;
    VuNode* newest = live->nextInSet;
    if (newest == live) {
        set->liveList = nullptr;
    } else {
        live->nextInSet = newest->nextInSet;
    }
    vuNodePool_recycle(set, newest);
    --set->nodeCounter;
}

void vuNodePool_recycleLiveList(VuSet* set) {
    VuNode* live = set->liveList;
    if (!live) return;
    // Cut the circle after the live-list node and hang the free list there.
    VuNode* first = live->nextInSet;
    live->nextInSet = set->freeList;
    set->freeList = first;
    set->liveList = nullptr;
}

void vuNodePool_releaseBlocks(VuSet* set) {
    for (int i = 0; i < vu_arraySize(set->nodeBlocks); ++i) std::free(vu_arrayGet(set->nodeBlocks, i));
    vu_arrayClear(set->nodeBlocks);
    set->liveList = nullptr;
    set->freeList = nullptr;
}

}  // namespace Korvex
