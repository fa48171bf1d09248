#include "allocate/writers/connector_shapefile.h"

#include <cmath>
#include <filesystem>
#include <stdexcept>

#include "allocate/writers/new_shapefile.h"
#include "host/domain/domain_model.h"
#include "host/shapefile/shapefile_files.h"

namespace Allotrix::Allocate {

using Norvane::Domain::DomainElementShapeType;
using Norvane::Support::FieldDataType;
using Norvane::Support::GeometryPoint;

namespace {

void copyProjection(const std::string& sourcePath, const std::string& shapefilePath) {
    if (sourcePath.empty()) return;
    using namespace Norvane::Shapefile;
    const auto projection = FindCompanionFile(ShapefileBasePath(sourcePath), "prj");
    if (!projection) return;
    const std::string target = ShapefileBasePath(shapefilePath) + ".prj";
    std::error_code error;
    std::filesystem::copy_file(*projection, target, std::filesystem::copy_options::overwrite_existing, error);
    if (error) throw std::runtime_error("cannot copy " + *projection + " to " + target + ": " + error.message());
}

}  // namespace

void WriteConnectorShapefile(Norvane::Allotrix::Calculations::IDataTools& tools, const std::string& path,
                             const AllocationResult& result, const Norvane::Domain::DomainModel& model) {
    const std::string sourceField = result.sourceNoun == "parcels" ? "PARCEL_ID" : "METER_ID";
    const FieldList fields{{sourceField, FieldDataType::Text},
                           {"NODE_ID", FieldDataType::Text},
                           {"DISTANCE", FieldDataType::Real},
                           {"DEMAND", FieldDataType::Real}};
    WriteNewShapefile(tools, path, DomainElementShapeType::Polyline, fields, [&](auto& edit) {
        // One line and one set of values, refilled for every record.
        Norvane::Allotrix::Calculations::FieldValuePairs values{
            {sourceField, {}}, {"NODE_ID", {}}, {"DISTANCE", {}}, {"DEMAND", {}}};
        Norvane::Support::GeometryObject line = Norvane::Support::PointArray(2);
        auto& ends = std::get<Norvane::Support::PointArray>(line);
        for (const Connector& connector : result.connectors) {
            if (!connector.from.IsFinite() || !connector.to.IsFinite()) continue;
            ends[0] = connector.from;
            ends[1] = connector.to;
            values[0].Second = connector.sourceId;
            values[1].Second = model.FindElement(connector.nodeId)->Label();
            values[2].Second = connector.distance;
            values[3].Second = result.scale.ToDouble(connector.units);
            edit.AddNew(line, values);
        }
    });
    copyProjection(result.sourcePath, path);
}

}  // namespace Allotrix::Allocate
