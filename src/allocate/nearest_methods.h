// The nearest methods, on a model-element layer opened through the data
// tools and its nearest-element filter:
//  - nearest node: each meter's demand to the nearest node of the layer
//    (junctions only: a layer holding tanks or reservoirs is refused);
//  - nearest pipe: each meter to the nearest pipe, its demand split between
//    the pipe's end nodes, equally or by the foot point's position (the
//    nearer end gets more). A tank or reservoir end passes its share to the
//    other end; pipes with no junction end, or excluded by a rule on a model
//    field, are never candidates.
// A meter farther than the maximum snapping distance stays unallocated.
#pragma once

#include "allocate/allocation_inputs.h"
#include "allocate/allocation_options.h"
#include "allocate/allocation_result.h"

namespace Allotrix::Allocate {

inline constexpr const char* kDefaultNodeLayer = "Junction\\All Elements";
inline constexpr const char* kDefaultPipeLayer = "Pipe\\All Elements";

void AllocateToNearestNode(const AllocationInputs& inputs, const AllocationOptions& options, AllocationResult& result,
                           const ProgressFunction& progress);
void AllocateToNearestPipe(const AllocationInputs& inputs, const AllocationOptions& options, AllocationResult& result,
                           const ProgressFunction& progress);

}  // namespace Allotrix::Allocate
