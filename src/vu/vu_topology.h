// The primitives that change the graph's topology. Each sends its messages
// through the set's message function (see vu_setCMessageFunction).
#pragma once

#include "vu/vu_types.h"

namespace Korvex {

// A fresh node alone in its face and vertex loops, with the next serial number
// and the set's default user values; null when memory runs out.
VuNode* vu_allocateNode(VuSet* set);

// An edge by itself: one face loop of two nodes at two separate vertices.
void vu_createFreeEdge(VuSet* set, VuNode** nodeA, VuNode** nodeB);
// One vertex with two face loops of one node each.
void vu_createSlingEdge(VuSet* set, VuNode** nodeA, VuNode** nodeB);
// Exchanges the vertex successors of a and b: merges two vertex loops or splits
// one, keeping every face loop closed.
void vu_twistVertexLoops(VuSet* set, VuNode* nodeA, VuNode* nodeB);

// A new edge from nodeA's vertex to nodeB's vertex (either may be null for a
// loose end). newA is the end at nodeA's vertex; outputs may be null.
void vu_insertEdgeBetween(VuSet* set, VuNode* nodeA, VuNode* nodeB, VuNode** newA,
                          VuNode** newB);

// Splits node's edge by a new vertex of two nodes: new1 follows node on its
// face, new2 follows the mate on the other. With node null it makes a sling.
// The new coordinates are zero; the caller sets them.
void vu_splitEdgeWithMasks(VuSet* set, VuNode* node, VuNode** new1, VuNode** new2,
                           VuMask maskA, VuMask maskB);
void vu_splitEdge(VuSet* set, VuNode* node, VuNode** new1, VuNode** new2);

// Leaves node's edge as a free edge, detached from both its vertices.
void vu_detachEdge(VuSet* set, VuNode* node);
// Deletes every edge one of whose sides carries m; the surviving nodes keep
// their iteration order.
void vu_freeMarkedEdges(VuSet* set, VuMask m);

}  // namespace Korvex
