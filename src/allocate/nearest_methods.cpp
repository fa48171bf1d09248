#include "allocate/nearest_methods.h"

#include <array>
#include <charconv>
#include <cmath>

#include "allocate/allocation_errors.h"
#include "allocate/meter_points.h"
#include "allocate/number_text.h"
#include "allocate/pipe_foot_point.h"
#include "allocate/proportional_split.h"
#include "allocate/query_point_layer.h"
#include "allocate/spatial_order.h"
#include "host/domain/inp/inp_model.h"
#include "host/domain/network_element_types.h"

namespace Allotrix::Allocate {

using Norvane::Allotrix::Calculations::IDataLayer;
using Norvane::Allotrix::Calculations::SpatialFilterContext;
using Norvane::Allotrix::Calculations::SpatialFilterRelationType;
using Norvane::Domain::DomainElementShapeType;
using Norvane::Domain::DomainModel;
using Norvane::Domain::NetworkElementType;
using Norvane::Support::FieldValue;

namespace {

constexpr const char* kElementIdField = "ElementID";

std::string distanceText(double distance) { return "distance " + FixedText(distance, 2); }

bool isJunction(const DomainModel& model, std::int32_t id) {
    return model.IsOfType(id, static_cast<int>(NetworkElementType::Junction));
}

// The nearest element of `elements` to each located meter under the nearest
// filter that `nearest` describes (0: none found), searched in spatial order.
std::vector<std::int32_t> FindNearest(IDataLayer& elements, SpatialFilterContext nearest,
                                      const std::vector<MeterPoint>& meters, const ProgressFunction& progress) {
    QueryPointLayer query;
    nearest.RelationType = SpatialFilterRelationType::Nearest;
    nearest.ReferencedLayer = &query;
    std::vector<Norvane::Support::GeometryPoint> points;
    points.reserve(meters.size());
    for (const MeterPoint& meter : meters) points.push_back(meter.point);
    std::vector<std::int32_t> found(meters.size(), 0);
    std::size_t done = 0;
    for (const std::size_t i : SpatialOrder(points)) {
        if (!meters[i].problem) {
            query.SetPoint(meters[i].point);
            elements.BeginFilter(nearest, true);
            if (elements.MoveNext()) found[i] = elements.GetInt32Value(kElementIdField);
            elements.EndFilter();
        }
        if (progress) progress(++done, meters.size());
    }
    return found;
}

void RequireJunctionsOnly(IDataLayer& nodes, const std::string& path, const DomainModel& model) {
    nodes.Reset();
    while (nodes.MoveNext()) {
        const std::int32_t id = nodes.GetInt32Value(kElementIdField);
        if (!isJunction(model, id))
            throw InputError(path + ": node " + model.FindElement(id)->Label() +
                             " is a tank or reservoir, which takes no demand; pick a layer of junctions");
    }
}

bool Excluded(const PipeExclusion& rule, const DomainModel& model, std::int32_t pipe) {
    const auto* field = model.ModelingElementField(rule.field);
    const FieldValue value = field ? field->GetValue(pipe) : FieldValue{};
    const auto* number = std::get_if<double>(&value);
    if (!number) return false;
    switch (rule.comparison) {
    case PipeExclusion::Comparison::AtLeast: return *number >= rule.value;
    case PipeExclusion::Comparison::Above: return *number > rule.value;
    case PipeExclusion::Comparison::AtMost: return *number <= rule.value;
    case PipeExclusion::Comparison::Below: return *number < rule.value;
    }
    return false;
}

struct PipeEnds {
    std::int32_t start = 0, end = 0;
};

// Read from the element itself: this runs for every pipe indexed and every
// meter placed, where two field lookups by name would cost more than the rest.
PipeEnds EndsOf(const DomainModel& model, std::int32_t pipe) {
    const auto* element = model.FindElement(pipe);
    return element ? PipeEnds{element->startNode, element->endNode} : PipeEnds{};
}

// The shares of the start and the end node.
std::array<std::int64_t, 2> SplitAlongPipe(std::int64_t units, PipeSplit split, double fraction, bool startTakes,
                                         bool endTakes) {
    double toStart = split == PipeSplit::Equal ? 0.5 : 1.0 - fraction;
    if (!startTakes) toStart = 0.0;
    if (!endTakes) toStart = 1.0;
    if (!(toStart + (1.0 - toStart) > 0.0)) return {units, 0};
    return SplitInTwo(units, toStart, 1.0 - toStart);
}

}  // namespace

void AllocateToNearestNode(const AllocationInputs& inputs, const AllocationOptions& options, AllocationResult& result,
                           const ProgressFunction& progress) {
    const std::string path = options.layerPath.empty() ? kDefaultNodeLayer : options.layerPath;
    auto meterLayer = OpenInputLayer(inputs.tools, inputs.sourcePath, DomainElementShapeType::Point, "meters");
    auto nodes = OpenInputLayer(inputs.tools, path, DomainElementShapeType::Point, "the node layer");
    const DomainModel& model = inputs.model.Model();
    RequireJunctionsOnly(*nodes, path, model);
    DemandSource source(*meterLayer, inputs.sourcePath, options, result.scale);
    const std::vector<MeterPoint> meters = ReadMeterPoints(*meterLayer, source);
    const std::vector<std::int32_t> nearest = FindNearest(*nodes, {}, meters, progress);

    SettleMeters(meters, result, [&](std::size_t i, const MeterPoint& meter) {
        if (nearest[i] == 0) {
            LeaveUnallocated(result, meter, UnallocatedReason::BeyondSnappingDistance, "no node in the layer");
            return;
        }
        const auto node = model.PointOf(nearest[i]);
        const double distance = std::hypot(node.X - meter.point.X, node.Y - meter.point.Y);
        if (options.maxDistance && distance > *options.maxDistance) {
            LeaveUnallocated(result, meter, UnallocatedReason::BeyondSnappingDistance, distanceText(distance));
            return;
        }
        AllocateToNode(result, meter, nearest[i], node);
    });
}

void AllocateToNearestPipe(const AllocationInputs& inputs, const AllocationOptions& options, AllocationResult& result,
                           const ProgressFunction& progress) {
    const std::string path = options.layerPath.empty() ? kDefaultPipeLayer : options.layerPath;
    auto meterLayer = OpenInputLayer(inputs.tools, inputs.sourcePath, DomainElementShapeType::Point, "meters");
    auto pipes = OpenInputLayer(inputs.tools, path, DomainElementShapeType::Polyline, "the pipe layer");
    const DomainModel& model = inputs.model.Model();
    if (options.exclusion && !model.ModelingElementField(options.exclusion->field))
        throw InputError(inputs.modelName + ": no pipe field \"" + options.exclusion->field + "\" to exclude pipes by");
    SpatialFilterContext nearest;
    nearest.IsValidID = [&](std::int32_t pipe) {
        const PipeEnds ends = EndsOf(model, pipe);
        if (!isJunction(model, ends.start) && !isJunction(model, ends.end)) return false;
        return !(options.exclusion && Excluded(*options.exclusion, model, pipe));
    };
    DemandSource source(*meterLayer, inputs.sourcePath, options, result.scale);
    const std::vector<MeterPoint> meters = ReadMeterPoints(*meterLayer, source);
    const std::vector<std::int32_t> found = FindNearest(*pipes, nearest, meters, progress);
    result.connectors.reserve(2 * meters.size());  // one to each end of the pipe

    SettleMeters(meters, result, [&](std::size_t i, const MeterPoint& meter) {
        const auto vertices = found[i] == 0 ? Norvane::Support::PointArray{} : model.PointsOf(found[i]);
        if (vertices.empty()) {
            LeaveUnallocated(result, meter, UnallocatedReason::BeyondSnappingDistance, "no pipe in the layer");
            return;
        }
        const FootPoint foot = NearestPointOnPolyline(vertices, meter.point);
        if (options.maxDistance && foot.distance > *options.maxDistance) {
            LeaveUnallocated(result, meter, UnallocatedReason::BeyondSnappingDistance, distanceText(foot.distance));
            return;
        }
        const PipeEnds ends = EndsOf(model, found[i]);
        const auto shares = SplitAlongPipe(meter.units, options.split, foot.fraction, isJunction(model, ends.start),
                                           isJunction(model, ends.end));
        const std::int32_t nodes[] = {ends.start, ends.end};
        for (std::size_t end = 0; end < 2; ++end) {
            if (shares[end] == 0 && !isJunction(model, nodes[end])) continue;
            result.ledger.AddAllocated(nodes[end], shares[end]);
            result.connectors.push_back({meter.id, meter.point, foot.point, nodes[end], foot.distance, shares[end]});
        }
        result.marks.push_back({meter.point, true});
    });
}

}  // namespace Allotrix::Allocate
