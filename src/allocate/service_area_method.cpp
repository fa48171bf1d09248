#include "allocate/service_area_method.h"

#include <unordered_map>

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
                            const std::unordered_map<std::string, std::size_t>& meterOfId, const std::string& idField,
                            std::size_t& meterInSeveral, const ProgressFunction& progress) {
    std::vector<int> owner(meterOfId.size(), kNoPolygon);
    std::vector<unsigned char> parity(meterOfId.size(), 0);
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
                const auto found = meterOfId.find(FieldValueText(meterLayer.GetObjectValue(idField)));
                if (found == meterOfId.end()) continue;
                if (!parity[found->second]) touched.push_back(found->second);
                parity[found->second] ^= 1;
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

    std::unordered_map<std::string, std::size_t> meterOfId;
    meterOfId.reserve(meters.size());
    for (std::size_t i = 0; i < meters.size(); ++i) meterOfId.emplace(meters[i].id, i);
    std::size_t meterInSeveral = 0;
    const std::vector<int> owner =
        FindOwners(*meterLayer, *serviceLayer, services, meterOfId, options.idField, meterInSeveral, progress);
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
