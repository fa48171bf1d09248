// The meters of a point layer read once, in record order, with what each
// can give: an ID, a demand and a usable point, or the reason it cannot.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "allocate/allocation_result.h"
#include "allocate/demand_source.h"

namespace Allotrix::Allocate {

struct MeterPoint {
    std::string id;
    Norvane::Support::GeometryPoint point;
    std::int64_t units = 0;
    std::optional<UnallocatedReason> problem;  // no demand value, no geometry, bad coordinate
};

// Reads every record of the layer from the first.
std::vector<MeterPoint> ReadMeterPoints(Norvane::Allotrix::Calculations::IDataLayer& layer, DemandSource& source);

// Enters every meter's demand into the ledger; a meter with a problem is
// left unallocated for it, and the others are handed to `place`, which
// allocates them or leaves them unallocated.
template <typename Place>
void SettleMeters(const std::vector<MeterPoint>& meters, AllocationResult& result, Place&& place) {
    // Room for a connector and a mark per meter at once, rather than by
    // doubling and moving them all, which for a million meters is felt.
    result.connectors.reserve(result.connectors.size() + meters.size());
    result.marks.reserve(result.marks.size() + meters.size());
    for (std::size_t i = 0; i < meters.size(); ++i) {
        const MeterPoint& meter = meters[i];
        result.ledger.AddInput(meter.units);
        if (meter.problem) {
            result.ledger.AddUnallocated(*meter.problem, meter.units);
            result.unallocated.push_back({meter.id, *meter.problem, meter.units, {}});
            if (!meter.point.IsEmpty()) result.marks.push_back({meter.point, false});
            continue;
        }
        place(i, meter);
    }
}

// Leaves a located meter unallocated, and marks it so on the map.
void LeaveUnallocated(AllocationResult& result, const MeterPoint& meter, UnallocatedReason reason, std::string detail);
// Allocates a located meter's whole demand to one node.
void AllocateToNode(AllocationResult& result, const MeterPoint& meter, std::int32_t nodeId,
                    const Norvane::Support::GeometryPoint& target);

}  // namespace Allotrix::Allocate
