// Lifecycle and settings of a vertex-use graph.
#pragma once

#include "vu/vu_types.h"

namespace Korvex {

// A new empty graph; every node carries extraBytes of caller storage after its
// record (negative counts as 0). Null when memory runs out.
VuSet* vu_newVuSet(int extraBytes = 0);
// Frees every node, the saved graphs, the pooled arrays and the header.
// Masks or arrays not returned to the pools are not freed.
void vu_freeVuSet(VuSet* set);
// Moves every live node to the free list, restarts the serial numbers at 0 and
// clears auxVector; settings, pools and saved graphs stay.
void vu_reinitializeVuSet(VuSet* set);

// absTol = abstol if abstol >= 0 else 0; relTol = reltol if above 1e-14 else
// 1e-14. A NaN is stored as given.
void vu_setTol(VuSet* set, double abstol, double reltol);
// Either output may be null.
void vu_getTol(const VuSet* set, double* abstol, double* reltol);
double vu_getMergeTol(const VuSet* set);
void vu_setMergeTol(VuSet* set, double tol);
void vu_getAuxVector(DPoint3d* out, const VuSet* set);
void vu_setAuxVector(VuSet* set, const DPoint3d* vector);

void vu_setCMessageFunction(VuSet* set, VuMessageFunction function, void* userData);
// Sends a message through the set's message function, if one is installed.
// Inline: splits and twists send one before and one after each change.
inline void vu_sendMessage(VuSet* set, vumessagetype type, VuNode* nodeA, VuNode* nodeB) {
    if (set->messageFunction)
        set->messageFunction(type, set, nodeA, nodeB, nullptr, set->messageUserData);
}
void vu_setJoinFunction(VuSet* set, VuJoinFunction function);

// A new edge end joined at a vertex copies userDataP from that vertex's node.
void vu_setUserDataPIsVertexProperty(VuSet* set, bool isVertexProperty);
// A split copies userDataP from the split side to its new piece.
void vu_setUserDataPIsEdgeProperty(VuSet* set, bool isEdgeProperty);
void vu_setUserData2IsVertexProperty(VuSet* set, bool isVertexProperty);
void vu_setUserData2IsEdgeProperty(VuSet* set, bool isEdgeProperty);
// The values every new node starts with.
void vu_setDefaultUserDataP(VuSet* set, void* value);
void vu_setDefaultUserData2(VuSet* set, void* value);

VuMask vu_getSplitInheritMask(const VuSet* set);
void vu_setSplitInheritMask(VuSet* set, VuMask mask);
VuMask vu_getJoinInheritMask(const VuSet* set);
void vu_setJoinInheritMask(VuSet* set, VuMask mask);
// Masks given to the two nodes of a sling made by vu_splitEdge.
void vu_setSlingMasks(VuSet* set, VuMask maskA, VuMask maskB);

}  // namespace Korvex
