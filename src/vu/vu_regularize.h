// Regularization: edges between existing vertices that make every face
// monotone in the sweep order (one lowest and one highest node per face
// boundary) and hang islands from the boundary around them.
#pragma once

#include "vu/vu_types.h"

namespace Korvex {

// The regularization of the Boolean pipeline; the same as
// vureg_regularizeGraph.
void vu_regularizeGraph(VuSet* set);

// An upward sweep joins every reflex or lone local minimum to a vertex below
// it; a downward sweep (the same sweep on the graph turned half a turn) joins
// every reflex local maximum to a vertex above it. A sweep whose new edge
// fails its sector test sends message -200 and is run again, three times at
// most; the graph stays valid but less regular. The set must have 2 masks and
// 4 arrays free in its pools, else nothing is done.
void vureg_regularizeGraph(VuSet* set);

}  // namespace Korvex
