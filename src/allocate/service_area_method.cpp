#include "allocate/service_area_method.h"

#include <optional>

#include "allocate/allocation_errors.h"
#include "allocate/meter_points.h"
#include "allocate/service_polygons.h"
#include "host/domain/inp/inp_model.h"

namespace Allotrix::Allocate {

using Norvane::Allotrix::Calculations::IDataLayer;
using Norvane::Allotrix::Calculations::SpatialFilterContext;
using Norvane::Allotrix::Calculations::SpatialFilterRelationType;
using Norvane::Domain::DomainElementShapeType;

namespace {

constexpr int kNoPolygon = -1;

// For each meter, the first service polygon (record index) that holds it.
// A polygon of several rings holds a meter that lies inside an odd number
// of them, so holes and islands count as they should.
std::vector<int> FindOwners(IDataLayer& meterLayer, IDataLayer& serviceLayer, const ServicePolygons& services,
                            const DemandSource& source, std::size_t meterCount, const std::string& idField,
                            std::size_t& meterInSeveral, const ProgressFunction& progress) {
    std::vector<int> owner(meterCount, kNoPolygon);
    std::vector<unsigned char> parity(meterCount, 0);
    std::vector<std::size_t> touched;
    SpatialFilterContext inside;
    inside.RelationType = SpatialFilterRelationType::PointInPolygon;
    inside.ReferencedLayer = &serviceLayer;
    inside.ListRangeTreePointValueField = std::vector<std::string>{idField};
    serviceLayer.Reset();
    const auto& records = services.Records();
    for (std::size_t polygon = 0; serviceLayer.MoveNext() && polygon < records.size(); ++polygon) {
        for (int ring = 0; ring < records[polygon].ringCount; ++ring) {
            inside.RingIndex = ring;
            meterLayer.BeginFilter(inside, true);
            while (meterLayer.MoveNext()) {
                // Meter i is record i + 1: every record was read, in order.
                const std::optional<int> record = source.RecordOf(FieldValueText(meterLayer.GetObjectValue(idField)));
                if (!record) continue;
                const auto meter = static_cast<std::size_t>(*record - 1);
                if (!parity[meter]) touched.push_back(meter);
                parity[meter] ^= 1;
            }
            meterLayer.EndFilter();
        }
        for (const std::size_t meter : touched) {
            if (parity[meter] && owner[meter] == kNoPolygon) owner[meter] = static_cast<int>(polygon);
            else if (parity[meter]) ++meterInSeveral;
            parity[meter] = 0;
        }
        touched.clear();
        if (progress) progress(polygon + 1, records.size());
    }
    return owner;
}

}  // namespace

void AllocateByServiceArea(const AllocationInputs& inputs, const AllocationOptions& options, AllocationResult& result,
                           const ProgressFunction& progress) {
    if (options.idField.empty())
        throw InputError(inputs.sourcePath + ": service-area allocation needs the meters' ID field (--id-field)");
    auto meterLayer = OpenInputLayer(inputs.tools, inputs.sourcePath, DomainElementShapeType::Point, "meters");
    auto serviceLayer = OpenInputLayer(inputs.tools, inputs.servicePath, DomainElementShapeType::Polygon, "service areas");
    const ServicePolygons services(*serviceLayer, inputs.servicePath, options.nodeField, inputs.model,
                                   inputs.modelName, result.warnings);
    DemandSource source(*meterLayer, inputs.sourcePath, options, result.scale);
    const std::vector<MeterPoint> meters = ReadMeterPoints(*meterLayer, source);

    std::size_t meterInSeveral = 0;
    const std::vector<int> owner = FindOwners(*meterLayer, *serviceLayer, services, source, meters.size(),
                                              options.idField, meterInSeveral, progress);
    if (meterInSeveral > 0)
        result.warnings.push_back(inputs.servicePath + ": " + std::to_string(meterInSeveral) +
                                  " meters lie in more than one service polygon; each went to the first");

    const auto& model = inputs.model.Model();
    SettleMeters(meters, result, [&](std::size_t i, const MeterPoint& meter) {
        if (owner[i] == kNoPolygon) {
            LeaveUnallocated(result, meter, UnallocatedReason::OutsideEveryPolygon, {});
            return;
        }
        const std::int32_t node = services.Records()[static_cast<std::size_t>(owner[i])].nodeId;
        AllocateToNode(result, meter, node, model.PointOf(node));
    });
}

}  // namespace Allotrix::Allocate
