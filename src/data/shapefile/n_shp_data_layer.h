// One ESRI shapefile as a layer of features: a record cursor with optional
// spatial filters, attribute reads, per-feature measures, a fast mode that
// finds this layer's points inside one polygon, and the calls that fill a new
// result shapefile.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/calculations/allotrix_library.h"
#include "host/calculations/i_data_layer.h"
#include "host/calculations/i_edit_data_layer.h"

namespace Norvane::Shapefile {
class ShapefileDataSourceReader;
class ShapefileDataSourceWriter;
}  // namespace Norvane::Shapefile
namespace Norvane::Support::Mixed {
class RangeTree2D;
class PolygonContainsPointSearcher;
}  // namespace Norvane::Support::Mixed
namespace Korvex {
class VuPolygonClassifier;
struct NativeGeometry;
}  // namespace Korvex

namespace Norvane::Allotrix::Calculations::Data::Shapefile {

class RecordBoxIndex;

// A row of attribute values kept per point by the point-in-polygon mode.
using FieldNameToValueMap = std::unordered_map<std::string, Support::FieldValue>;

class NShpDataLayer : public IDataLayer, public IEditDataLayer {
public:
    // `library` gives the display length unit to the data sets this layer
    // hands out; it must outlive the layer (null: the library defaults).
    explicit NShpDataLayer(const AllotrixLibrary* library = nullptr);
    ~NShpDataLayer() override;
    NShpDataLayer(const NShpDataLayer&) = delete;
    NShpDataLayer& operator=(const NShpDataLayer&) = delete;

    // FileNotFoundException when no file `path` exists.
    void Open(const std::string& path);

    // --- IDataLayer
    void Dispose() override;
    void BeginFilter(const SpatialFilterContext& context, bool forwardOnly) override;
    void EndFilter() override;
    bool MoveNext() override;
    void Reset() override;
    int FeatureCount() override;
    void InitializeDataLater(const std::string& layerIDFieldName) override;
    std::string Name() override;
    std::string SpatialReferenceName() override;
    Norvane::Domain::DomainElementShapeType ShapeType() override;
    std::vector<std::string> GetFieldNames() override;
    bool FieldExists(const std::string& fieldName) override;
    Support::FieldDataType GetFieldDataType(const std::string& fieldName) override;
    std::unique_ptr<IDataSet> GetDataSet() override;
    std::int32_t GetInt32Value(const std::string& fieldName) override;
    double GetDoubleValue(const std::string& fieldName) override;
    Support::FieldValue GetObjectValue(const std::string& fieldName) override;
    std::vector<Support::FieldValue> GetUniqueValues(const std::string& fieldName) override;
    Support::GeometryObject GetGeometryShape() override;
    std::intptr_t GetGeometryShapeNative() override;
    double GetFeatureArea() override;
    double GetFeatureLength() override;
    Support::GeometryPoint GetCentroid() override;
    double GetIntersectionAreaWith(IDataLayer& layer) override;
    double GetIntersectionAreaWith(IDataLayer& layer1, IDataLayer& layer2) override;

    // --- IEditDataLayer
    void CreateField(const std::string& name, Support::FieldDataType type) override;
    void BeginUpdate() override;
    void AddNew(const Support::GeometryObject& geometry, const FieldValuePairs& values) override;
    void SetInt32Value(const std::string& fieldName, std::int32_t value) override;
    void SetGeometry(const Support::GeometryObject& geometry) override;
    void SetGeometryNative(std::intptr_t geometry) override;
    void EndUpdate() override;

    bool CurrentMeetsFilterCriteria();
    bool IsShapefileReaderValid() const { return m_targetReader != nullptr; }
    void InitializePolygonContainsPointRangeTree(const SpatialFilterContext& context);
    void SearchPolygonContainsPoint(const Support::PointArray& polygonPoints);

protected:
    virtual void Dispose(bool disposing);
    // Points of this layer and, per point, the values of `fieldNames`.
    virtual void InitializeGeometryPointsForPolygonContainsPointRangeTree(
        std::vector<Support::GeometryPoint>& points, std::vector<FieldNameToValueMap>& rows,
        const std::vector<std::string>& fieldNames);

    bool IsPolygonContainsPointMode() const { return m_isPolygonContainsPointMode; }
    // The rows of the points found inside the polygon, in the searcher's
    // order (null outside the point-in-polygon mode); they point into the
    // rows kept per indexed point.
    const std::vector<const FieldNameToValueMap*>* ListFieldNameToValueResult() const {
        return m_listFieldNameToValueResult ? &*m_listFieldNameToValueResult : nullptr;
    }
    int PointsInPolygonIndex() const { return m_polygonContainsPointIndex; }
    // The row of the current point found; IndexOutOfRangeException when the
    // walk stands on none.
    const FieldNameToValueMap& CurrentResultRow() const;
    const AllotrixLibrary* Library() const { return m_library; }

private:
    // The area of intersection with `other` if the last relation test of this
    // layer computed it for its current record against that very geometry.
    std::optional<double> CachedIntersectionArea(const Korvex::NativeGeometry* other) const;
    void BeginRelationFilter(const SpatialFilterContext& context, bool forwardOnly);
    void BeginPolygonContainsPointFilter(const SpatialFilterContext& context);
    bool MoveNextFirstPass();
    bool MoveNextUnfiltered();
    Shapefile::RecordBoxIndex& BoxIndex();
    Korvex::VuPolygonClassifier& Classifier();
    void ForgetLastTest();
    void WriteNewRecord(const Support::GeometryObject& geometry, const FieldValuePairs& values);

    const AllotrixLibrary* m_library;
    std::string m_path;
    bool m_isBOF = true;
    std::unique_ptr<Norvane::Shapefile::ShapefileDataSourceReader> m_targetReader;
    std::unique_ptr<Norvane::Shapefile::ShapefileDataSourceWriter> m_targetWriter;

    // Relation filter.
    bool m_filterActive = false;
    SpatialFilterRelationType m_filterType = SpatialFilterRelationType::PointInPolygon;
    std::intptr_t m_filterGeometry = 0;
    std::optional<std::vector<std::int32_t>> m_filterCachedIndices;
    bool m_filterTraverseCached = false;
    int m_filterCurrentIndex = -1;
    // Records whose box meets the filter geometry's box, ascending, and the
    // next one the first pass tests.
    std::vector<std::int32_t> m_filterCandidates;
    std::size_t m_filterNextCandidate = 0;
    std::unique_ptr<Shapefile::RecordBoxIndex> m_boxIndex;

    // Point-in-polygon mode.
    std::unique_ptr<Support::Mixed::RangeTree2D> m_polygonContainsPointRangeTree;
    std::unique_ptr<Support::Mixed::PolygonContainsPointSearcher> m_polygonContainsPointSearcher;
    // Keys are 0, 1, 2 ... in indexing order, so the key-to-row map is a vector.
    std::optional<std::vector<FieldNameToValueMap>> m_polygonContainsPointKeyToFieldNameValueMap;
    std::optional<std::vector<const FieldNameToValueMap*>> m_listFieldNameToValueResult;
    int m_polygonContainsPointIndex = -1;
    bool m_isPolygonContainsPointMode = false;

    // The last relation-3 test: the record it was made on, the intersection
    // it computed, and a copy of the filter geometry it used.
    std::unique_ptr<Korvex::VuPolygonClassifier> m_classifier;
    int m_lastTestPosition = -1;
    std::unique_ptr<Korvex::NativeGeometry> m_lastTestResult;
};

}  // namespace Norvane::Allotrix::Calculations::Data::Shapefile
