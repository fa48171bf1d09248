// The calls that fill a result shapefile: fields, then records or values.
#include <filesystem>

#include "data/mapobjectslt/map_objects_lt_data_tools.h"
#include "data/mapobjectslt/map_objects_lt_library.h"
#include "data/shapefile/n_shp_data_layer.h"
#include "host/shapefile/dbf_external_data_source.h"
#include "host/shapefile/shapefile_data_source_reader.h"
#include "host/shapefile/shapefile_data_source_writer.h"
#include "host/support/exceptions.h"
#include "native/native.h"

namespace Norvane::Allotrix::Calculations::Data::Shapefile {
namespace {

using Norvane::Domain::DomainElementShapeType;
using MapObjectsLT::MapObjectsLTDataTools;
using Norvane::Shapefile::DBFFieldType;
using Support::FieldDataType;
using Support::GeometryObject;

// The attribute file beside a shapefile: its folder, its name without
// extension, and ".DBF".
std::string attributeFileOf(const std::string& shapefilePath) {
    const std::filesystem::path path(shapefilePath);
    return (path.parent_path() / path.stem()).string() + ".DBF";
}

Support::PointArray pointsOf(const GeometryObject& geometry) {
    if (const auto* points = std::get_if<Support::PointArray>(&geometry)) return *points;
    if (const auto* point = std::get_if<Support::GeometryPoint>(&geometry)) return {*point};
    if (const auto* list = std::get_if<Support::PointArrayList>(&geometry)) {
        Support::PointArray all;
        for (const auto& part : *list) all.insert(all.end(), part.begin(), part.end());
        return all;
    }
    return {};
}

}  // namespace


void NShpDataLayer::CreateField(const std::string& name, FieldDataType type) {
    Dispose();
    const Norvane::Shapefile::DBFFieldInfo field(name, MapObjectsLT::MapObjectsLTLibrary::GetDBFFieldType(type));
    try {
        Norvane::Shapefile::DBFExternalDataSource table(attributeFileOf(m_path), true, false);
        table.AddField(field);
        table.Close();
    } catch (const Support::ApplicationException&) {
        throw;
    } catch (const std::exception& error) {
        throw Support::ApplicationException(error.what());
    }
}

void NShpDataLayer::BeginUpdate() {
    Dispose();
    m_targetWriter = std::make_unique<Norvane::Shapefile::ShapefileDataSourceWriter>();
    m_targetReader = std::make_unique<Norvane::Shapefile::ShapefileDataSourceReader>();
    if (!m_targetWriter->OpenDataFile(m_path) || !m_targetReader->OpenDataFile(m_path)) {
        Dispose();
        throw Support::ApplicationException();
    }
    m_isBOF = true;
}

void NShpDataLayer::AddNew(const GeometryObject& geometry, const FieldValuePairs& values) {
    m_targetWriter->AddRecordBegin();
    try {
        WriteNewRecord(geometry, values);
    } catch (...) {
        // The record is ended in every case; the first failure is the one reported.
        try {
            m_targetWriter->AddRecordEnd();
        } catch (...) {
        }
        throw;
    }
    m_targetWriter->AddRecordEnd();
}

void NShpDataLayer::WriteNewRecord(const GeometryObject& geometry, const FieldValuePairs& values) {
    const auto* parts = std::get_if<Support::PointArrayList>(&geometry);
    const auto* points = std::get_if<Support::PointArray>(&geometry);
    switch (ShapeType()) {
    case DomainElementShapeType::Polygon:
        if (parts) m_targetWriter->WritePolygonGeometry(*parts);
        else if (points) m_targetWriter->WritePolygonGeometry(*points);
        else m_targetWriter->WritePolygonGeometry(pointsOf(geometry));
        break;
    case DomainElementShapeType::Polyline:
        if (parts) m_targetWriter->WritePolylineGeometry(*parts);
        else if (points) m_targetWriter->WritePolylineGeometry(*points);
        else m_targetWriter->WritePolylineGeometry(pointsOf(geometry));
        break;
    case DomainElementShapeType::Point:
        if (const auto* point = std::get_if<Support::GeometryPoint>(&geometry)) m_targetWriter->WritePointGeometry(*point);
        break;  // no point: the record holds a null shape
    default: throw Support::IndexOutOfRangeException("The layer " + m_path + " has no known shape kind.");
    }
    for (const auto& pair : values) m_targetWriter->WriteFieldData(pair.Second, pair.First);
}

void NShpDataLayer::SetInt32Value(const std::string& fieldName, std::int32_t value) {
    m_targetWriter->WriteFieldData(value, fieldName);
}

void NShpDataLayer::SetGeometry(const GeometryObject& geometry) { m_targetWriter->WriteGeometry(pointsOf(geometry)); }

void NShpDataLayer::SetGeometryNative(std::intptr_t geometry) {
    const Korvex::NativeGeometry* native = Korvex::FromHandle(geometry);
    if (!native) return;
    switch (m_targetWriter->ShapeType()) {
    case 1:
        if (native->count >= 1 && native->points)
            m_targetWriter->WritePointGeometry(MapObjectsLTDataTools::GetGeometryPoint(geometry));
        break;
    case 3:
        if (native->count >= 1) m_targetWriter->WritePolylineGeometry(MapObjectsLTDataTools::GetGeometryPoints(geometry));
        break;
    case 5: {
        const Support::PointArrayList rings = MapObjectsLTDataTools::GetGeometryPolygon(geometry);
        const bool valid = !rings.empty() &&
                           std::all_of(rings.begin(), rings.end(), [](const auto& ring) { return ring.size() >= 3; });
        if (valid) m_targetWriter->WritePolygonGeometry(rings);
        break;
    }
    default: break;
    }
}

void NShpDataLayer::EndUpdate() {
    if (m_targetReader) m_targetReader->Close();
    m_targetReader.reset();
    if (m_targetWriter) m_targetWriter->Close();
    m_targetWriter.reset();
}

}  // namespace Norvane::Allotrix::Calculations::Data::Shapefile
