// Scratch masks and arrays lent by a set. Every algorithm returns what it took
// before it ends: the set holds 16 mask bits and 6 arrays.
#pragma once

#include "vu/vu_types.h"

namespace Korvex {

// Pops a free mask bit; the first grab gives 0x80000000, then 0x40000000, ...
// Returns 0 when all 16 are out.
VuMask vu_grabMask(VuSet* set);
// 0 is ignored, and so is a bit beyond the 16 the pool holds.
void vu_returnMask(VuSet* set, VuMask m);

// An empty pooled array, or null when all 6 are out.
vuArray* vu_grabArray(VuSet* set);
// The pooled array of largest capacity, emptied; null when all are out.
vuArray* vu_grabLargestArray(VuSet* set);
// Null is ignored, and so is a seventh array.
void vu_returnArray(VuSet* set, vuArray* array);

}  // namespace Korvex
