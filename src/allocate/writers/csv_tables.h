// The two result tables, as CSV with a header row: what each node received,
// and what was left unallocated and why.
#pragma once

#include <ostream>
#include <vector>

#include "allocate/allocation_result.h"
#include "allocate/writers/model_demand_writer.h"

namespace Allotrix::Allocate {

// node_id, demand_before, allocated, demand_after, and meter_count (or
// parcel_count); allocated is exact to the ledger's last place.
void WriteNodeTable(std::ostream& out, const std::vector<NodeDemandChange>& changes, const AllocationResult& result);

// meter_id (or parcel_id), reason, demand, detail.
void WriteUnallocatedTable(std::ostream& out, const AllocationResult& result);

// A CSV field, quoted when it holds a comma, quote or line break.
std::string CsvField(const std::string& text);

}  // namespace Allotrix::Allocate
