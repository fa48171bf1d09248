// Everything one allocation found, for the result writers and the summary.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "allocate/demand_ledger.h"
#include "allocate/demand_scale.h"
#include "host/support/geometry_point.h"

namespace Allotrix::Allocate {

// A line from a meter (or a parcel's centroid) to the node, or the foot
// point on the pipe, that received its demand or part of it.
struct Connector {
    std::string sourceId;
    Norvane::Support::GeometryPoint from;
    Norvane::Support::GeometryPoint to;
    std::int32_t nodeId = 0;
    double distance = 0.0;
    std::int64_t units = 0;
};

struct UnallocatedItem {
    std::string sourceId;
    UnallocatedReason reason = UnallocatedReason::NoGeometry;
    std::int64_t units = 0;
    std::string detail;  // e.g. the distance to the nearest node
};

// A meter (or a parcel's centroid) as the map draws it.
struct SourceMark {
    Norvane::Support::GeometryPoint where;
    bool allocated = false;
};

struct AllocationResult {
    explicit AllocationResult(int decimals) : scale(decimals) {}

    DemandScale scale;
    DemandLedger ledger;
    std::vector<Connector> connectors;
    std::vector<UnallocatedItem> unallocated;
    std::vector<SourceMark> marks;  // sources with a usable location
    // What the user should know: notices (told once per run) and warnings
    // naming files and records.
    std::vector<std::string> notices;
    std::vector<std::string> warnings;
    std::string sourceNoun = "meters";  // "meters" or "parcels"
    // The file the meters or parcels were read from: the connectors are in
    // its coordinate system.
    std::string sourcePath;
};

}  // namespace Allotrix::Allocate
