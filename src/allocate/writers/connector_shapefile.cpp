#include "allocate/writers/connector_shapefile.h"

#include <cmath>
#include <stdexcept>

#include "host/calculations/i_data_layer.h"
#include "host/calculations/i_edit_data_layer.h"
#include "host/domain/domain_model.h"

namespace Allotrix::Allocate {

using Norvane::Domain::DomainElementShapeType;
using Norvane::Support::FieldDataType;
using Norvane::Support::GeometryPoint;

void WriteConnectorShapefile(Norvane::Allotrix::Calculations::IDataTools& tools, const std::string& path,
                             const AllocationResult& result, const Norvane::Domain::DomainModel& model) {
    tools.CreateLayer(path, DomainElementShapeType::Polyline, nullptr);
    const auto layer = tools.OpenLayer(path);
    auto* edit = dynamic_cast<Norvane::Allotrix::Calculations::IEditDataLayer*>(layer.get());
    if (!edit) throw std::logic_error("the layer at " + path + " cannot be edited");
    const std::string sourceField = result.sourceNoun == "parcels" ? "PARCEL_ID" : "METER_ID";
    edit->CreateField(sourceField, FieldDataType::Text);
    edit->CreateField("NODE_ID", FieldDataType::Text);
    edit->CreateField("DISTANCE", FieldDataType::Real);
    edit->CreateField("DEMAND", FieldDataType::Real);
    edit->BeginUpdate();
    // One line and one set of values, refilled for every record.
    Norvane::Allotrix::Calculations::FieldValuePairs values{
        {sourceField, {}}, {"NODE_ID", {}}, {"DISTANCE", {}}, {"DEMAND", {}}};
    Norvane::Support::GeometryObject line = Norvane::Support::PointArray(2);
    auto& ends = std::get<Norvane::Support::PointArray>(line);
    for (const Connector& connector : result.connectors) {
        if (!IsFinitePoint(connector.from) || !IsFinitePoint(connector.to)) continue;
        ends[0] = connector.from;
        ends[1] = connector.to;
        values[0].Second = connector.sourceId;
        values[1].Second = model.FindElement(connector.nodeId)->Label();
        values[2].Second = connector.distance;
        values[3].Second = result.scale.ToDouble(connector.units);
        edit->AddNew(line, values);
    }
    edit->EndUpdate();
    layer->Dispose();
}

}  // namespace Allotrix::Allocate
