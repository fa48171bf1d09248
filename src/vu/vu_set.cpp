#include "vu/vu_set.h"

#include <cstdlib>

#include "vu/vu_array.h"
#include "vu/vu_merge_steps.h"
#include "vu/vu_node_pool.h"

namespace Korvex {

namespace {

void fillMaskPool(VuSet* set) {
    // Pushed lowest first, so the first grab pops the highest bit.
    set->freeMaskCount = 0;
    for (int i = 0; i < VU_MASK_POOL_SIZE; ++i)
        set->maskPool[set->freeMaskCount++] = VU_LOWEST_POOLED_MASK << i;
}

bool fillArrayPool(VuSet* set) {
    for (int i = 0; i < VU_ARRAY_POOL_SIZE; ++i) {
        vuArray* array = vu_arrayNew();
        if (!array) return false;
        set->arrayPool[set->freeArrayCount++] = array;
    }
    return true;
}

void setDefaults(VuSet* set, int extraBytes) {
    set->slingMaskA = VU_BOUNDARY_EDGE;
    set->slingMaskB = VU_BOUNDARY_EDGE;
    set->splitInheritMask = VU_DEFAULT_SPLIT_INHERIT_MASK;
    set->joinInheritMask = 0;
    set->extraBytes = extraBytes > 0 ? extraBytes : 0;
    set->relTol = VU_SMALLEST_REL_TOL;
}

}  // namespace

VuSet* vu_newVuSet(int extraBytes) {
    auto* set = static_cast<VuSet*>(std::calloc(1, sizeof(VuSet)));
    if (!set) return nullptr;
    setDefaults(set, extraBytes);
    fillMaskPool(set);
    set->stack = vu_arrayNew();
    set->nodeBlocks = vu_arrayNew();
    if (!fillArrayPool(set) || !set->stack || !set->nodeBlocks) {
        vu_freeVuSet(set);
        return nullptr;
    }
    return set;
}

void vu_freeVuSet(VuSet* set) {
    if (!set) return;
    vuNodePool_releaseBlocks(set);
    vu_arrayFree(set->nodeBlocks);
    vu_arrayFree(set->stack);
    for (int i = 0; i < set->freeArrayCount; ++i) vu_arrayFree(set->arrayPool[i]);
    delete set->mergeWorkspace;
    std::free(set);
}

void vu_reinitializeVuSet(VuSet* set) {
    vuNodePool_recycleLiveList(set);
    set->nodeCounter = 0;
    set->auxVector = {0.0, 0.0, 0.0};
}

void vu_setTol(VuSet* set, double abstol, double reltol) {
    // Written as "reject below" so that a NaN is kept as given.
    set->absTol = abstol < 0.0 ? 0.0 : abstol;
    set->relTol = reltol <= VU_SMALLEST_REL_TOL ? VU_SMALLEST_REL_TOL : reltol;
}

void vu_getTol(const VuSet* set, double* abstol, double* reltol) {
    if (abstol) *abstol = set->absTol;
    if (reltol) *reltol = set->relTol;
}

double vu_getMergeTol(const VuSet* set) { return set->mergeTol; }
void vu_setMergeTol(VuSet* set, double tol) { set->mergeTol = tol; }
void vu_getAuxVector(DPoint3d* out, const VuSet* set) { *out = set->auxVector; }
void vu_setAuxVector(VuSet* set, const DPoint3d* vector) { set->auxVector = *vector; }

void vu_setCMessageFunction(VuSet* set, VuMessageFunction function, void* userData) {
    set->messageFunction = function;
    set->messageUserData = userData;
}

void vu_setJoinFunction(VuSet* set, VuJoinFunction function) { set->joinFunction = function; }

void vu_setUserDataPIsVertexProperty(VuSet* set, bool isVertexProperty) {
    set->userDataPIsVertexProperty = isVertexProperty ? 1 : 0;
}
void vu_setUserDataPIsEdgeProperty(VuSet* set, bool isEdgeProperty) {
    set->userDataPIsEdgeProperty = isEdgeProperty ? 1 : 0;
}
void vu_setUserData2IsVertexProperty(VuSet* set, bool isVertexProperty) {
    set->userData2IsVertexProperty = isVertexProperty ? 1 : 0;
}
void vu_setUserData2IsEdgeProperty(VuSet* set, bool isEdgeProperty) {
    set->userData2IsEdgeProperty = isEdgeProperty ? 1 : 0;
}
void vu_setDefaultUserDataP(VuSet* set, void* value) { set->defaultUserDataP = value; }
void vu_setDefaultUserData2(VuSet* set, void* value) { set->defaultUserData2 = value; }

VuMask vu_getSplitInheritMask(const VuSet* set) { return set->splitInheritMask; }
void vu_setSplitInheritMask(VuSet* set, VuMask mask) { set->splitInheritMask = mask; }
VuMask vu_getJoinInheritMask(const VuSet* set) { return set->joinInheritMask; }
void vu_setJoinInheritMask(VuSet* set, VuMask mask) { set->joinInheritMask = mask; }
void vu_setSlingMasks(VuSet* set, VuMask maskA, VuMask maskB) {
    set->slingMaskA = maskA;
    set->slingMaskB = maskB;
}

}  // namespace Korvex
