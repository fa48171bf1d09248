// Opening, describing and reading values; releasing the layer.
#include "data/shapefile/n_shp_data_layer.h"

#include <filesystem>
#include <unordered_set>

#include "data/mapobjectslt/map_objects_lt_library.h"
#include "data/shapefile/field_value_conversions.h"
#include "data/shapefile/n_shp_data_set.h"
#include "data/shapefile/record_box_index.h"
#include "host/mixed/polygon_contains_point_searcher.h"
#include "host/mixed/range_tree_2d.h"
#include "host/shapefile/shapefile_data_source_reader.h"
#include "host/shapefile/shapefile_data_source_writer.h"
#include "host/support/exceptions.h"
#include "host/support/text_manager.h"
#include "native/native.h"

namespace Norvane::Allotrix::Calculations::Data::Shapefile {

using Norvane::Shapefile::FieldValueType;
using Support::FieldDataType;
using Support::FieldValue;
using Support::TextManager;

NShpDataLayer::NShpDataLayer(const AllotrixLibrary* library) : m_library(library) {}

NShpDataLayer::~NShpDataLayer() { NShpDataLayer::Dispose(true); }

void NShpDataLayer::Open(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        throw Support::FileNotFoundException(TextManager::Current().Get("zordd.error.FileNotFound", {path}));
    m_path = path;
    m_targetReader = std::make_unique<Norvane::Shapefile::ShapefileDataSourceReader>();
    if (!m_targetReader->OpenDataFile(path)) {
        m_targetReader.reset();
        throw Support::ApplicationException(TextManager::Current().Get("zordd.error.CouldNotOpenSHP", {path}));
    }
    m_isBOF = true;
}

void NShpDataLayer::Dispose() { Dispose(true); }

void NShpDataLayer::Dispose(bool disposing) {
    if (disposing) {
        m_polygonContainsPointRangeTree.reset();
        m_polygonContainsPointSearcher.reset();
        m_polygonContainsPointKeyToFieldNameValueMap.reset();
        // The rows found point into the map just released.
        m_listFieldNameToValueResult.reset();
        m_isPolygonContainsPointMode = false;
        m_polygonContainsPointIndex = -1;
    }
    if (m_targetReader) m_targetReader->Close();
    m_targetReader.reset();
    if (m_targetWriter) m_targetWriter->Close();
    m_targetWriter.reset();
    m_boxIndex.reset();
    ForgetLastTest();
}

std::string NShpDataLayer::Name() { return m_path; }

std::string NShpDataLayer::SpatialReferenceName() { return "ReferenceName"; }

Norvane::Domain::DomainElementShapeType NShpDataLayer::ShapeType() {
    return MapObjectsLT::MapObjectsLTLibrary::GetShapeType(m_targetReader->ShapeType());
}

std::unique_ptr<IDataSet> NShpDataLayer::GetDataSet() {
    auto set = std::make_unique<NShpDataSet>(m_library);
    set->Open(std::filesystem::path(m_path).parent_path().string());
    return set;
}

std::vector<std::string> NShpDataLayer::GetFieldNames() { return m_targetReader->GetFieldNames(); }

bool NShpDataLayer::FieldExists(const std::string& fieldName) {
    return m_targetReader->GetFieldType(fieldName).has_value();
}

FieldDataType NShpDataLayer::GetFieldDataType(const std::string& fieldName) {
    if (fieldName == "ElementID") return FieldDataType::Integer;
    const std::optional<FieldValueType> type = m_targetReader ? m_targetReader->GetFieldType(fieldName) : std::nullopt;
    if (type) {
        switch (*type) {
        case FieldValueType::Int16:
        case FieldValueType::Int32:
        case FieldValueType::Int64: return FieldDataType::Integer;
        case FieldValueType::Single:
        case FieldValueType::Double: return FieldDataType::Real;
        case FieldValueType::String: return FieldDataType::Text;
        case FieldValueType::Boolean: return FieldDataType::Boolean;
        case FieldValueType::DateTime: return FieldDataType::Date;
        }
    }
    throw Support::ArgumentException("The layer " + m_path + " has no field \"" + fieldName + "\".");
}

const FieldNameToValueMap& NShpDataLayer::CurrentResultRow() const {
    const auto& rows = *m_listFieldNameToValueResult;
    if (m_polygonContainsPointIndex < 0 || m_polygonContainsPointIndex >= static_cast<int>(rows.size()))
        throw Support::IndexOutOfRangeException("The layer " + m_path + " stands on no point found in the polygon.");
    return *rows[static_cast<std::size_t>(m_polygonContainsPointIndex)];
}

FieldValue NShpDataLayer::GetObjectValue(const std::string& fieldName) {
    if (m_isPolygonContainsPointMode && m_listFieldNameToValueResult) {
        const FieldNameToValueMap& row = CurrentResultRow();
        const auto found = row.find(fieldName);
        return found == row.end() ? FieldValue{} : found->second;
    }
    return m_targetReader->GetFieldValue(fieldName);
}

std::int32_t NShpDataLayer::GetInt32Value(const std::string& fieldName) {
    if (m_isPolygonContainsPointMode && m_listFieldNameToValueResult) return ConvertToInt32(GetObjectValue(fieldName));
    return AsInt32(m_targetReader->GetFieldValue(fieldName)).value_or(kNoInt32Value);
}

double NShpDataLayer::GetDoubleValue(const std::string& fieldName) {
    if (m_isPolygonContainsPointMode && m_listFieldNameToValueResult) return ConvertToDouble(GetObjectValue(fieldName));
    return AsDouble(m_targetReader->GetFieldValue(fieldName)).value_or(std::numeric_limits<double>::quiet_NaN());
}

std::vector<FieldValue> NShpDataLayer::GetUniqueValues(const std::string& fieldName) {
    // Puts the cursor back where it was, also when reading fails.
    struct PositionGuard {
        Norvane::Shapefile::ShapefileDataSourceReader& reader;
        int position;
        ~PositionGuard() {
            if (position < 0) {
                reader.MoveReset();
            } else {
                reader.MoveTo(position);
            }
        }
    } guard{*m_targetReader, m_targetReader->CurrentPosition()};
    std::unordered_set<FieldValue> values(static_cast<std::size_t>(m_targetReader->RecordCount()));
    m_targetReader->MoveReset();
    while (m_targetReader->MoveNext()) values.insert(m_targetReader->GetFieldValue(fieldName));
    return {values.begin(), values.end()};
}

void NShpDataLayer::InitializeDataLater(const std::string&) {}

void NShpDataLayer::ForgetLastTest() {
    m_lastTestPosition = -1;
    m_lastTestResult.reset();
}

Korvex::VuPolygonClassifier& NShpDataLayer::Classifier() {
    if (!m_classifier) m_classifier = std::make_unique<Korvex::VuPolygonClassifier>();
    return *m_classifier;
}

}  // namespace Norvane::Allotrix::Calculations::Data::Shapefile
