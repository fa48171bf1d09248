// The allocation layer: methods that put customer demand onto the nodes of
// a network model, the ledger that proves demand is conserved, and the
// writers of the results.
#pragma once

#include "allocate/allocation_errors.h"
#include "allocate/allocation_inputs.h"
#include "allocate/allocation_options.h"
#include "allocate/allocation_result.h"
#include "allocate/allocation_run.h"
#include "allocate/demand_ledger.h"
#include "allocate/demand_scale.h"
#include "allocate/nearest_methods.h"
#include "allocate/proportional_split.h"
#include "allocate/unique_ids.h"
#include "allocate/writers/result_files.h"
