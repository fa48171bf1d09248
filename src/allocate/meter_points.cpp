#include "allocate/meter_points.h"

#include <cmath>

namespace Allotrix::Allocate {

std::vector<MeterPoint> ReadMeterPoints(Norvane::Allotrix::Calculations::IDataLayer& layer, DemandSource& source) {
    std::vector<MeterPoint> meters;
    meters.reserve(static_cast<std::size_t>(std::max(0, layer.FeatureCount())));
    layer.Reset();
    for (int record = 1; layer.MoveNext(); ++record) {
        MeterPoint meter;
        meter.id = source.Id(record);
        const std::optional<std::int64_t> units = source.Demand(record);
        if (units) meter.units = *units;
        else meter.problem = UnallocatedReason::NoDemandValue;
        const auto geometryProblem = PointProblem(layer.GetGeometryShape(), meter.point);
        if (!meter.problem) meter.problem = geometryProblem;
        if (geometryProblem) meter.point = Norvane::Support::GeometryPoint::Empty();
        meters.push_back(std::move(meter));
    }
    return meters;
}

void LeaveUnallocated(AllocationResult& result, const MeterPoint& meter, UnallocatedReason reason, std::string detail) {
    result.ledger.AddUnallocated(reason, meter.units);
    result.unallocated.push_back({meter.id, reason, meter.units, std::move(detail)});
    result.marks.push_back({meter.point, false});
}

void AllocateToNode(AllocationResult& result, const MeterPoint& meter, std::int32_t nodeId,
                    const Norvane::Support::GeometryPoint& target) {
    result.ledger.AddAllocated(nodeId, meter.units);
    const double distance = std::hypot(target.X - meter.point.X, target.Y - meter.point.Y);
    result.connectors.push_back({meter.id, meter.point, target, nodeId, distance, meter.units});
    result.marks.push_back({meter.point, true});
}

}  // namespace Allotrix::Allocate
