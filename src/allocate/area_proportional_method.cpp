#include "allocate/area_proportional_method.h"

#include <cmath>

#include "allocate/allocation_errors.h"
#include "allocate/demand_source.h"
#include "allocate/number_text.h"
#include "allocate/proportional_split.h"
#include "allocate/service_polygons.h"
#include "host/domain/inp/inp_model.h"
#include "host/support/exceptions.h"

namespace Allotrix::Allocate {

using Norvane::Allotrix::Calculations::IDataGeometryLibrary;
using Norvane::Allotrix::Calculations::IDataLayer;
using Norvane::Allotrix::Calculations::SpatialFilterContext;
using Norvane::Allotrix::Calculations::SpatialFilterRelationType;
using Norvane::Domain::DomainElementShapeType;
using Norvane::Support::GeometryPoint;
using Norvane::Support::PointArrayList;

namespace {

// Overlap areas at or below this share of the parcel are rounding noise of
// the Boolean operation, not overlaps.
constexpr double kOverlapSlack = 1e-9;

std::string areaText(double area) { return FixedText(area, 2); }

struct Overlap {
    std::int32_t nodeId;
    double area;
};

struct Parcel {
    int record = 0;
    std::string id;
    std::int64_t units = 0;
    PointArrayList rings;
    double area = 0.0;
    GeometryPoint centroid;
};

// The most points a result ring can have: a ring cut there may be short.
constexpr std::size_t kResultRingLimit = 5000;

// An overlap measured from its own rings.
struct RingOverlap {
    std::size_t bufferPoints = 0;  // points of its rings with separators
    double area = 0.0;
    bool cut = false;  // a ring has the most points a result ring can have
};

// The overlap of the two current features, asked for again through the
// geometry library and measured from its rings.
RingOverlap MeasureRings(IDataLayer& parcels, IDataLayer& services, IDataGeometryLibrary& geometry) {
    const std::intptr_t a = parcels.GetGeometryShapeNative();
    const std::intptr_t b = services.GetGeometryShapeNative();
    const std::intptr_t common = geometry.GetPolygonIntersection(a, b);
    PointArrayList rings;
    for (const std::intptr_t ring : geometry.GetRingsFor(common)) {
        rings.push_back(geometry.GetPolygon(ring));
        geometry.FreeGeometry(ring);
    }
    for (const std::intptr_t handle : {a, b, common}) geometry.FreeGeometry(handle);
    RingOverlap overlap{BufferPointCount(rings), RingsArea(rings), false};
    for (const auto& ring : rings) overlap.cut = overlap.cut || ring.size() >= kResultRingLimit;
    return overlap;
}

class ParcelAllocator {
public:
    ParcelAllocator(const AllocationInputs& inputs, const ServicePolygons& services, IDataLayer& parcels,
                    IDataLayer& serviceLayer, AllocationResult& result)
        : m_inputs(inputs), m_services(services), m_parcels(parcels), m_serviceLayer(serviceLayer), m_result(result) {
        m_overlapFilter.RelationType = SpatialFilterRelationType::PolygonsIntersect;
        m_overlapFilter.ReferencedLayer = &parcels;
    }

    void Allocate(Parcel& parcel) {
        const std::vector<Overlap> overlaps = FindOverlaps(parcel);
        double overlapping = 0.0;
        for (const Overlap& overlap : overlaps) overlapping += overlap.area;
        if (overlapping > parcel.area * (1.0 + 1e-6)) ++m_parcelsInOverlappingServices;
        std::vector<double> weights;
        for (const Overlap& overlap : overlaps) weights.push_back(overlap.area);
        const double outside = std::max(0.0, parcel.area - overlapping);
        weights.push_back(outside > parcel.area * kOverlapSlack ? outside : 0.0);
        if (overlaps.empty()) weights.back() = 1.0;
        const std::vector<std::int64_t> shares = SplitProportionally(parcel.units, weights);
        for (std::size_t i = 0; i < overlaps.size(); ++i) Give(parcel, overlaps[i].nodeId, shares[i]);
        if (shares.back() > 0 || overlaps.empty()) {
            m_result.ledger.AddUnallocated(UnallocatedReason::OutsideEveryPolygon, shares.back());
            m_result.unallocated.push_back({parcel.id, UnallocatedReason::OutsideEveryPolygon, shares.back(),
                                            "area outside " + areaText(overlaps.empty() ? parcel.area : outside) +
                                                " of " + areaText(parcel.area)});
        }
        m_result.marks.push_back({parcel.centroid, !overlaps.empty()});
    }

    std::size_t ParcelsInOverlappingServices() const { return m_parcelsInOverlappingServices; }

private:
    std::vector<Overlap> FindOverlaps(const Parcel& parcel) {
        std::vector<Overlap> overlaps;
        m_serviceLayer.BeginFilter(m_overlapFilter, true);
        while (m_serviceLayer.MoveNext()) {
            // Asked of the parcel, the service layer's filter test has
            // measured this very intersection and hands it over.
            double area = m_parcels.GetIntersectionAreaWith(m_serviceLayer);
            // The filter found an overlap: measured as none, it may be too
            // large for the native measure, which then sees no points.
            if (!(area > parcel.area * kOverlapSlack)) area = AreaOfLargeOverlap(parcel);
            if (!(area > parcel.area * kOverlapSlack)) continue;
            overlaps.push_back({m_services.CurrentNode(m_serviceLayer), area});
        }
        m_serviceLayer.EndFilter();
        return overlaps;
    }

    // The area of an overlap whose rings do not fit the working buffer, by
    // their own coordinates (0 for one that fits); a warning names the
    // parcel, the node and the area when a ring was cut at the limit.
    double AreaOfLargeOverlap(const Parcel& parcel) {
        const RingOverlap overlap = MeasureRings(m_parcels, m_serviceLayer, m_inputs.geometry);
        if (overlap.bufferPoints <= kBufferPointCapacity) return 0.0;
        if (!overlap.cut) return overlap.area;
        const std::int32_t node = m_services.CurrentNode(m_serviceLayer);
        m_result.warnings.push_back(m_inputs.sourcePath + ": record " + std::to_string(parcel.record) +
                                    ": the overlap with the service polygon of node " +
                                    m_inputs.model.Model().FindElement(node)->Label() +
                                    " has a ring cut at 5000 points; its area " + areaText(overlap.area) +
                                    " may be short");
        return overlap.area;
    }

    void Give(const Parcel& parcel, std::int32_t nodeId, std::int64_t units) {
        m_result.ledger.AddAllocated(nodeId, units);
        const GeometryPoint node = m_inputs.model.Model().PointOf(nodeId);
        const double distance = std::hypot(node.X - parcel.centroid.X, node.Y - parcel.centroid.Y);
        m_result.connectors.push_back({parcel.id, parcel.centroid, node, nodeId, distance, units});
    }

    const AllocationInputs& m_inputs;
    const ServicePolygons& m_services;
    IDataLayer& m_parcels;
    IDataLayer& m_serviceLayer;
    AllocationResult& m_result;
    SpatialFilterContext m_overlapFilter;
    std::size_t m_parcelsInOverlappingServices = 0;
};

void WarnOfLargeServicePolygons(const ServicePolygons& services, AllocationResult& result) {
    for (std::size_t i = 0; i < services.Records().size(); ++i) {
        const ServicePolygon& polygon = services.Records()[i];
        if (polygon.pointCount > kBufferPointCapacity)
            result.warnings.push_back(services.FileName() + ": record " + std::to_string(i + 1) + ": " +
                                      std::to_string(polygon.pointCount) +
                                      " points do not fit the 4999-point working buffer; overlaps with this "
                                      "service polygon (area " + areaText(polygon.area) +
                                      ") are measured on a thinned copy");
    }
}

}  // namespace

void AllocateByAreaProportion(const AllocationInputs& inputs, const AllocationOptions& options,
                              AllocationResult& result, const ProgressFunction& progress) {
    result.sourceNoun = "parcels";
    auto parcels = OpenInputLayer(inputs.tools, inputs.sourcePath, DomainElementShapeType::Polygon, "parcels");
    auto serviceLayer = OpenInputLayer(inputs.tools, inputs.servicePath, DomainElementShapeType::Polygon, "service areas");
    const ServicePolygons services(*serviceLayer, inputs.servicePath, options.nodeField, inputs.model,
                                   inputs.modelName, result.warnings);
    WarnOfLargeServicePolygons(services, result);
    DemandSource source(*parcels, inputs.sourcePath, options, result.scale);
    ParcelAllocator allocator(inputs, services, *parcels, *serviceLayer, result);

    const auto total = static_cast<std::size_t>(std::max(0, parcels->FeatureCount()));
    parcels->Reset();
    for (int record = 1; parcels->MoveNext(); ++record) {
        Parcel parcel;
        parcel.record = record;
        parcel.id = source.Id(record);
        const std::optional<std::int64_t> units = source.Demand(record);
        parcel.units = units.value_or(0);
        result.ledger.AddInput(parcel.units);
        std::optional<UnallocatedReason> problem = PolygonProblem(parcels->GetGeometryShape(), parcel.rings);
        if (!problem) {
            const bool fits = BufferPointCount(parcel.rings) <= kBufferPointCapacity;
            // The native measures see no points in a polygon this large.
            parcel.area = fits ? parcels->GetFeatureArea() : RingsArea(parcel.rings);
            parcel.centroid = fits ? parcels->GetCentroid() : parcel.rings.front().front();
            if (!fits) {
                result.warnings.push_back(inputs.sourcePath + ": record " + std::to_string(record) + ": " +
                                          std::to_string(BufferPointCount(parcel.rings)) +
                                          " points do not fit the 4999-point working buffer; its overlaps (area " +
                                          areaText(parcel.area) + ") are measured on a thinned copy");
            }
            if (!(parcel.area > 0.0) || !std::isfinite(parcel.area)) problem = UnallocatedReason::NoGeometry;
        }
        if (!units) problem = UnallocatedReason::NoDemandValue;
        if (problem) {
            result.ledger.AddUnallocated(*problem, parcel.units);
            result.unallocated.push_back({parcel.id, *problem, parcel.units, {}});
        } else {
            try {
                allocator.Allocate(parcel);
            } catch (const Norvane::Support::ApplicationException& error) {
                throw InputError(inputs.sourcePath + ": record " + std::to_string(record) +
                                 ": its overlaps cannot be measured: " + error.what());
            }
        }
        if (progress) progress(static_cast<std::size_t>(record), total);
    }
    if (allocator.ParcelsInOverlappingServices() > 0)
        result.warnings.push_back(inputs.servicePath + ": service polygons overlap under " +
                                  std::to_string(allocator.ParcelsInOverlappingServices()) +
                                  " parcels; those parcels were shared by overlap area alone");
}

}  // namespace Allotrix::Allocate
