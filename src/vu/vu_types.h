// The records of the vertex-use graph: nodes, the graph header, node arrays,
// the predefined mask bits and the messages the topology primitives send.
//
// A VuNode is one use of a vertex by one side of an edge. Every node lies on
// exactly one face loop (followed by fSucc) and one vertex loop (followed by
// vSucc). The records are plain structs with a fixed field order because
// callers may append their own bytes to each node (see vu_newVuSet).
#pragma once

#include <cstdint>

#include "planar/planar_types.h"

namespace Korvex {

using VuMask = std::uint32_t;

// The node's edge came from an input loop.
inline constexpr VuMask VU_BOUNDARY_EDGE = 0x1;
// The node lies in a face outside the region.
inline constexpr VuMask VU_EXTERIOR_EDGE = 0x2;
// Bits an edge side passes to its new piece when the edge is split.
inline constexpr VuMask VU_DEFAULT_SPLIT_INHERIT_MASK = 0x54EF;
// The 16 high bits are lent out by vu_grabMask; the low 16 are predefined.
inline constexpr VuMask VU_LOWEST_POOLED_MASK = 0x10000;
inline constexpr int VU_MASK_POOL_SIZE = 16;
inline constexpr int VU_ARRAY_POOL_SIZE = 6;
inline constexpr int VU_NODES_PER_BLOCK = 128;
inline constexpr int VU_ARRAY_GROWTH = 1024;
// The smallest relative tolerance a set or a loop accepts.
inline constexpr double VU_SMALLEST_REL_TOL = 1.0e-14;

enum vumessagetype : std::int32_t {
    VU_MSG_PRE_EDGE_SPLIT = -100,
    VU_MSG_POST_EDGE_SPLIT = -101,
    VU_MSG_NEW_FREE_EDGE = -110,
    VU_MSG_NEW_SLING = -111,
    VU_MSG_PRE_VERTEX_TWIST = -120,
    VU_MSG_POST_VERTEX_TWIST = -121,
    VU_MSG_OUT_OF_MEMORY = -200,
};

struct VuNode {
    VuNode* nextInSet;  // circular live list, or the free list
    VuNode* fSucc;      // next node around the face to the left of this edge side
    VuNode* vSucc;      // next node around the same vertex
    VuMask mask;
    std::int32_t id;        // serial number at allocation
    std::int32_t auxIndex;  // scratch integer for algorithms
    void* userDataP;
    DPoint3d xyz;
    void* userData2;
};

// A growable array of node pointers with a read cursor. It never owns nodes.
struct vuArray {
    std::int32_t count;
    std::int32_t capacity;
    std::int32_t increment;
    VuNode** data;
    std::int32_t cursor;
};

struct VuSet;
struct VuMergeWorkspace;

// Receives every topology message; reserved is always null and userData is
// the value given to vu_setCMessageFunction. The result is ignored.
using VuMessageFunction = int (*)(vumessagetype type, VuSet* set, VuNode* nodeA, VuNode* nodeB,
                                  void* reserved, void* userData);
// Called after vu_insertEdgeBetween for each given (non-null) node.
using VuJoinFunction = void (*)(VuSet* set, VuNode* node);
// An operation on a whole graph, as run by vu_stackPopWithOperation; its
// result is ignored (the Boolean operations have this form).
using VuGraphOperation = int (*)(VuSet* set);
// Strict "less than" for vu_arraySort.
using VuNodeLess = bool (*)(const VuNode* a, const VuNode* b);

struct VuSet {
    VuNode* liveList;  // the oldest live node; null when the graph is empty
    VuNode* freeList;
    std::int32_t nodeCounter;
    vuArray* stack;       // live-list pointers of saved graphs
    vuArray* nodeBlocks;  // every node block of this set
    VuMask slingMaskB;
    VuMask slingMaskA;
    VuMask splitInheritMask;
    VuMask joinInheritMask;
    std::int32_t extraBytes;
    std::int32_t freeMaskCount;
    VuMask maskPool[VU_MASK_POOL_SIZE];
    std::int32_t freeArrayCount;
    vuArray* arrayPool[VU_ARRAY_POOL_SIZE];
    VuJoinFunction joinFunction;
    VuMessageFunction messageFunction;
    void* messageUserData;
    void* defaultUserDataP;
    std::uint8_t userDataPIsVertexProperty;
    std::uint8_t userDataPIsEdgeProperty;
    DPoint3d auxVector;
    double absTol;
    double relTol;
    void* defaultUserData2;
    std::uint8_t userData2IsVertexProperty;
    std::uint8_t userData2IsEdgeProperty;
    double mergeTol;
    // The merge's record vectors, made by the first merge and kept for the
    // next ones so that their memory is allocated once per graph.
    VuMergeWorkspace* mergeWorkspace;
};

}  // namespace Korvex
