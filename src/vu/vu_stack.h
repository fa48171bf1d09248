// A stack of saved graphs inside one set. Saving a graph empties the current
// one; popping splices the saved nodes back beside the current ones.
#pragma once

#include "vu/vu_types.h"

namespace Korvex {

// Saves the current graph and empties it; an empty graph saves nothing.
// Returns the depth.
int vu_stackPush(VuSet* set);
// vu_stackPush, then rebuilds a copy of the saved graph as the current graph.
// Returns the depth.
int vu_stackPushCopy(VuSet* set);
// Splices the top saved graph into the current one; returns the remaining depth.
int vu_stackPop(VuSet* set);
// vu_stackPop, then operation(set) when operation is not null. userData is not
// used. Returns the remaining depth.
int vu_stackPopWithOperation(VuSet* set, VuGraphOperation operation, void* userData);
void vu_stackPopAll(VuSet* set);
// Swaps the current graph with the top saved one.
void vu_stackExchange(VuSet* set);
int vu_stackSize(const VuSet* set);

}  // namespace Korvex
