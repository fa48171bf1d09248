// Area-proportional allocation: each parcel's demand is shared among the
// service polygons it overlaps in proportion to the overlapping areas (the
// overlap filter and the layers' intersection areas); the share of the
// parcel outside every service polygon is left unallocated and listed.
#pragma once

#include "allocate/allocation_inputs.h"
#include "allocate/allocation_options.h"
#include "allocate/allocation_result.h"

namespace Allotrix::Allocate {

void AllocateByAreaProportion(const AllocationInputs& inputs, const AllocationOptions& options,
                              AllocationResult& result, const ProgressFunction& progress);

}  // namespace Allotrix::Allocate
