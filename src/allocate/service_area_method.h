// Service-area allocation: every meter inside a service polygon goes to the
// junction the polygon names, found with the meter layer's point-in-polygon
// mode. A meter in no polygon is left unallocated; a meter inside several
// goes to the first in file order.
#pragma once

#include "allocate/allocation_inputs.h"
#include "allocate/allocation_options.h"
#include "allocate/allocation_result.h"

namespace Allotrix::Allocate {

void AllocateByServiceArea(const AllocationInputs& inputs, const AllocationOptions& options, AllocationResult& result,
                           const ProgressFunction& progress);

}  // namespace Allotrix::Allocate
