#include "allocate/service_polygons.h"

#include <cmath>

#include "allocate/allocation_errors.h"
#include "allocate/demand_source.h"
#include "host/domain/inp/inp_model.h"
#include "host/domain/network_element_types.h"

namespace Allotrix::Allocate {

using Norvane::Domain::DomainElementShapeType;
using Norvane::Domain::NetworkElementType;
using Norvane::Support::PointArray;
using Norvane::Support::PointArrayList;

std::size_t BufferPointCount(const PointArrayList& rings) {
    std::size_t count = 0;
    for (const PointArray& ring : rings) count += ring.size();
    return rings.empty() ? 0 : count + rings.size() - 1;
}

double RingsArea(const PointArrayList& rings) {
    double total = 0.0;
    for (const PointArray& ring : rings) {
        if (ring.empty()) continue;
        // Fanned from the ring's first point: at projected coordinates the
        // products of raw coordinates would swamp a parcel's area.
        const auto& origin = ring.front();
        double twice = 0.0;
        for (std::size_t i = 1; i + 1 < ring.size(); ++i) {
            const double ax = ring[i].X - origin.X, ay = ring[i].Y - origin.Y;
            const double bx = ring[i + 1].X - origin.X, by = ring[i + 1].Y - origin.Y;
            twice += ax * by - bx * ay;
        }
        // Shapefiles turn outer rings clockwise and holes the other way.
        total -= twice / 2.0;
    }
    return std::fabs(total);
}

ServicePolygons::ServicePolygons(Norvane::Allotrix::Calculations::IDataLayer& layer, std::string fileName,
                                 std::string nodeField, const Norvane::Domain::InpModel& model,
                                 const std::string& modelName, std::vector<std::string>& warnings)
    : m_fileName(std::move(fileName)), m_nodeField(std::move(nodeField)) {
    if (layer.ShapeType() != DomainElementShapeType::Polygon)
        throw InputError(m_fileName + ": the service areas must be polygons");
    if (m_nodeField.empty()) throw InputError(m_fileName + ": name the field that holds each polygon's node (--node-field)");
    if (!layer.FieldExists(m_nodeField)) throw InputError(m_fileName + ": no node field \"" + m_nodeField + "\"");
    layer.Reset();
    int record = 0;
    while (layer.MoveNext()) {
        ++record;
        ServicePolygon polygon;
        polygon.nodeLabel = FieldValueText(layer.GetObjectValue(m_nodeField));
        const std::string where = m_fileName + ": record " + std::to_string(record) + ": ";
        polygon.nodeId = model.NodeId(polygon.nodeLabel);
        if (polygon.nodeId == 0)
            throw InputError(where + "node \"" + polygon.nodeLabel + "\" is not in " + modelName);
        if (!model.Model().IsOfType(polygon.nodeId, static_cast<int>(NetworkElementType::Junction)))
            throw InputError(where + "node \"" + polygon.nodeLabel + "\" is a tank or reservoir; demand goes to junctions");
        PointArrayList rings;
        if (const auto problem = PolygonProblem(layer.GetGeometryShape(), rings)) {
            warnings.push_back(where + "the service polygon has " + std::string(ReasonText(*problem)) +
                               " and serves no demand");
        } else {
            polygon.ringCount = static_cast<int>(rings.size());
            polygon.pointCount = BufferPointCount(rings);
            polygon.area = RingsArea(rings);
        }
        m_nodeOfLabel.emplace(polygon.nodeLabel, polygon.nodeId);
        m_records.push_back(std::move(polygon));
    }
}

std::int32_t ServicePolygons::CurrentNode(Norvane::Allotrix::Calculations::IDataLayer& layer) const {
    const auto found = m_nodeOfLabel.find(FieldValueText(layer.GetObjectValue(m_nodeField)));
    return found == m_nodeOfLabel.end() ? 0 : found->second;
}

}  // namespace Allotrix::Allocate
