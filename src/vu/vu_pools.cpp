#include "vu/vu_pools.h"

#include "vu/vu_array.h"

namespace Korvex {

VuMask vu_grabMask(VuSet* set) {
    // Callers hold at most 16 masks at once; an exhausted pool yields 0.
    if (set->freeMaskCount <= 0) return 0;
    return set->maskPool[--set->freeMaskCount];
}

void vu_returnMask(VuSet* set, VuMask m) {
    if (m == 0 || set->freeMaskCount >= VU_MASK_POOL_SIZE) return;
    set->maskPool[set->freeMaskCount++] = m;
}

vuArray* vu_grabArray(VuSet* set) {
    if (set->freeArrayCount <= 0) return nullptr;
    vuArray* array = set->arrayPool[--set->freeArrayCount];
    vu_arrayClear(array);
    return array;
}

vuArray* vu_grabLargestArray(VuSet* set) {
    if (set->freeArrayCount <= 0) return nullptr;
    int largest = 0;
    for (int i = 1; i < set->freeArrayCount; ++i) {
        if (set->arrayPool[i]->capacity > set->arrayPool[largest]->capacity) largest = i;
    }
    // Keep the pool a dense stack: the top entry fills the hole.
    vuArray* array = set->arrayPool[largest];
    set->arrayPool[largest] = set->arrayPool[--set->freeArrayCount];
    vu_arrayClear(array);
    return array;
}

void vu_returnArray(VuSet* set, vuArray* array) {
    if (!array || set->freeArrayCount >= VU_ARRAY_POOL_SIZE) return;
    set->arrayPool[set->freeArrayCount++] = array;
}

}  // namespace Korvex
