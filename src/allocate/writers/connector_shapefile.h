// The connector shapefile: one line per allocation from a meter (or parcel
// centroid) to the node or the foot point on the pipe that received its
// demand, with the meter ID, node ID, distance and demand, written through
// the data tools as a host writes any result layer.
#pragma once

#include <string>

#include "allocate/allocation_result.h"
#include "host/calculations/i_data_tools.h"

namespace Norvane::Domain {
class DomainModel;
}

namespace Allotrix::Allocate {

// Connectors whose ends are not both finite points are left out. When the
// sources' shapefile has a projection file (.prj), a copy goes beside the
// connectors, so that they open in the same coordinate system.
void WriteConnectorShapefile(Norvane::Allotrix::Calculations::IDataTools& tools, const std::string& path,
                             const AllocationResult& result, const Norvane::Domain::DomainModel& model);

}  // namespace Allotrix::Allocate
