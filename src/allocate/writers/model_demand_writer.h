// Writing allocated demand into the model, through the model's own edits so
// that every other line of the file stays as it was.
//  - add: the allocated demand becomes a demand row of its own (the model
//    first turns a junction's column demand into a row, since rows replace
//    it), so the engine's total grows by exactly the allocated amount;
//  - replace: a junction that received demand keeps only that: its column
//    demand when it has no rows and no pattern or category is asked for,
//    otherwise one demand row (and a column demand of 0).
// Junctions that received nothing are not touched.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "allocate/allocation_options.h"
#include "allocate/allocation_result.h"

namespace Norvane::Domain {
class InpModel;
}

namespace Allotrix::Allocate {

// One row of the per-node table: the engine's total base demand of the
// junction before and after, and what the allocation gave it.
struct NodeDemandChange {
    std::int32_t nodeId = 0;
    std::string label;
    double before = 0.0;
    std::int64_t allocatedUnits = 0;
    double after = 0.0;
    int sources = 0;
};

// Applies the ledger's node accounts to the model; InputError when the
// model refuses an edit (a pattern it does not define, for one).
std::vector<NodeDemandChange> WriteDemandsIntoModel(Norvane::Domain::InpModel& model, const AllocationResult& result,
                                                    const DemandWriteOptions& options);

}  // namespace Allotrix::Allocate
