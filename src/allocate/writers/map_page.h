// The map page: one self-contained .html file with an inline SVG of the
// network's links and nodes (nodes that received demand drawn larger, by
// their allocated demand), the meters, the connectors, and the meters left
// unallocated marked. It loads nothing from outside, so it opens offline; a
// small inline script writes the counts of what was drawn under the map.
#pragma once

#include <ostream>
#include <string>

#include "allocate/allocation_result.h"

namespace Norvane::Domain {
class DomainModel;
}

namespace Allotrix::Allocate {

void WriteMapPage(std::ostream& out, const std::string& title, const AllocationResult& result,
                  const Norvane::Domain::DomainModel& model);

}  // namespace Allotrix::Allocate
