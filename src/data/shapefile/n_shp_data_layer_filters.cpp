// Spatial filters: the relation filters (point in polygon, polygons that
// overlap) with their position cache, and the point-in-polygon mode.
#include <algorithm>
#include <cmath>

#include "data/mapobjectslt/map_objects_lt_data_tools.h"
#include "data/shapefile/n_shp_data_layer.h"
#include "data/shapefile/record_box_index.h"
#include "host/mixed/polygon_contains_point_searcher.h"
#include "host/mixed/range_tree_2d.h"
#include "host/shapefile/shapefile_data_source_reader.h"
#include "host/shapefile/shapefile_data_source_writer.h"
#include "host/support/exceptions.h"
#include "native/native.h"

namespace Norvane::Allotrix::Calculations::Data::Shapefile {
namespace {

using Korvex::CStandAloneDataTools;
using Korvex::NativeGeometry;
using MapObjectsLT::MapObjectsLTDataTools;

// The box of every point of the chain; NaN bounds when a coordinate is NaN,
// so that the index does not prune with it.
RecordBox boxOf(const NativeGeometry* chain) {
    constexpr double kLargest = std::numeric_limits<double>::max();
    RecordBox box{kLargest, kLargest, -kLargest, -kLargest};
    for (const NativeGeometry* g = chain; g; g = g->next) {
        if (!g->points) continue;
        for (int i = 0; i < g->count; ++i) {
            const double x = g->points[i].x, y = g->points[i].y;
            if (std::isnan(x) || std::isnan(y)) return {NAN, NAN, NAN, NAN};
            box = {std::min(box.minX, x), std::min(box.minY, y), std::max(box.maxX, x), std::max(box.maxY, y)};
        }
    }
    return box;
}

bool isPointInPolygonRelation(const SpatialFilterContext& context, IDataLayer& self) {
    return context.RelationType == SpatialFilterRelationType::PointInPolygon &&
           self.ShapeType() == Norvane::Domain::DomainElementShapeType::Point && context.ReferencedLayer &&
           context.ReferencedLayer->ShapeType() == Norvane::Domain::DomainElementShapeType::Polygon &&
           context.ListRangeTreePointValueField.has_value();
}

}  // namespace

void NShpDataLayer::BeginFilter(const SpatialFilterContext& context, bool forwardOnly) {
    if (isPointInPolygonRelation(context, *this)) {
        BeginPolygonContainsPointFilter(context);
    } else {
        BeginRelationFilter(context, forwardOnly);
    }
}

void NShpDataLayer::BeginRelationFilter(const SpatialFilterContext& context, bool forwardOnly) {
    m_filterType = context.RelationType;
    MapObjectsLTDataTools::FreeGeometryStatic(m_filterGeometry);
    m_filterGeometry = context.ReferencedLayer ? context.ReferencedLayer->GetGeometryShapeNative() : 0;
    m_filterCachedIndices.reset();
    if (!forwardOnly) {
        m_filterCachedIndices.emplace();
        m_filterCachedIndices->reserve(static_cast<std::size_t>(m_targetReader->RecordCount()));
    }
    BoxIndex().Query(boxOf(Korvex::FromHandle(m_filterGeometry)), m_filterCandidates);
    m_filterNextCandidate = 0;
    m_filterActive = true;
    m_filterTraverseCached = false;
    m_filterCurrentIndex = -1;
    m_isBOF = true;
    ForgetLastTest();
}

RecordBoxIndex& NShpDataLayer::BoxIndex() {
    if (!m_boxIndex) {
        std::vector<RecordBox> boxes;
        for (const Norvane::Shapefile::RecordBox& box : m_targetReader->GetRecordBoxes())
            boxes.push_back(box.IsEmpty() ? RecordBox{NAN, NAN, NAN, NAN}
                                          : RecordBox{box.XMin, box.YMin, box.XMax, box.YMax});
        m_boxIndex = std::make_unique<RecordBoxIndex>(boxes);
    }
    return *m_boxIndex;
}

bool NShpDataLayer::CurrentMeetsFilterCriteria() {
    const std::unique_ptr<NativeGeometry> current(Korvex::FromHandle(GetGeometryShapeNative()));
    const NativeGeometry* filter = Korvex::FromHandle(m_filterGeometry);
    switch (m_filterType) {
    case SpatialFilterRelationType::PointInPolygon:
        return CStandAloneDataTools::IsPointInPolygon(filter, current.get());
    case SpatialFilterRelationType::PolygonsIntersect: {
        ForgetLastTest();
        if (!current || !filter) return false;
        m_lastTestResult.reset(CStandAloneDataTools::GetPolygonIntersection(current.get(), filter, Classifier()));
        m_lastTestPosition = m_targetReader->CurrentPosition();
        return m_lastTestResult && m_lastTestResult->count > 0;
    }
    default:
        throw Support::NotSupportedException("Spatial relation " + std::to_string(static_cast<int>(m_filterType)) +
                                             " is not supported by the shapefile layer " + m_path + ".");
    }
}

bool NShpDataLayer::MoveNext() {
    if (m_isPolygonContainsPointMode) {
        if (!m_listFieldNameToValueResult || m_listFieldNameToValueResult->empty()) return false;
        ++m_polygonContainsPointIndex;
        return m_polygonContainsPointIndex < static_cast<int>(m_listFieldNameToValueResult->size());
    }
    if (!m_filterActive) return MoveNextUnfiltered();
    if (m_filterTraverseCached) {
        const int size = static_cast<int>(m_filterCachedIndices->size());
        if (m_filterCurrentIndex >= size)
            throw Support::IndexOutOfRangeException("The filtered walk of " + m_path +
                                                    " has ended; call Reset before walking it again.");
        ++m_filterCurrentIndex;
        if (m_filterCurrentIndex >= size) return false;
        return m_targetReader->MoveTo((*m_filterCachedIndices)[static_cast<std::size_t>(m_filterCurrentIndex)]);
    }
    return MoveNextFirstPass();
}

// Tests the candidate records in file order; records whose box cannot meet
// the filter's box are never read, which is what keeps a filter's cost in
// proportion to the records near its geometry.
bool NShpDataLayer::MoveNextFirstPass() {
    m_isBOF = false;
    while (m_filterNextCandidate < m_filterCandidates.size()) {
        const std::int32_t position = m_filterCandidates[m_filterNextCandidate++];
        if (!m_targetReader->MoveTo(position)) continue;
        if (CurrentMeetsFilterCriteria()) {
            if (m_filterCachedIndices) m_filterCachedIndices->push_back(position);
            return true;
        }
    }
    if (m_filterCachedIndices) {
        m_filterTraverseCached = true;
        m_filterCurrentIndex = static_cast<int>(m_filterCachedIndices->size());
    }
    return false;
}

bool NShpDataLayer::MoveNextUnfiltered() {
    if (m_isBOF) {
        m_isBOF = false;
        if (m_targetWriter) {
            m_targetWriter->MoveReset();
            m_targetWriter->MoveNext();
        }
        m_targetReader->MoveReset();
        return m_targetReader->MoveNext();
    }
    if (m_targetWriter) m_targetWriter->MoveNext();
    return m_targetReader->MoveNext();
}

void NShpDataLayer::Reset() {
    if (m_filterActive) {
        if (!m_filterCachedIndices)
            throw Support::InvalidOperationException("The forward-only filter of " + m_path +
                                                     " cannot be restarted.");
        m_filterCurrentIndex = -1;
        m_filterTraverseCached = true;
        return;
    }
    m_isBOF = true;
}

int NShpDataLayer::FeatureCount() {
    if (m_isPolygonContainsPointMode && m_listFieldNameToValueResult)
        return static_cast<int>(m_listFieldNameToValueResult->size());
    if (!m_filterActive) return m_targetReader->RecordCount();
    if (!m_filterTraverseCached) {
        if (!m_filterCachedIndices) {
            m_filterCachedIndices.emplace();
            m_filterCachedIndices->reserve(static_cast<std::size_t>(m_targetReader->RecordCount()));
            m_isBOF = true;
        }
        while (MoveNext()) {
        }
        m_filterCurrentIndex = -1;
    }
    return static_cast<int>(m_filterCachedIndices->size());
}

void NShpDataLayer::EndFilter() {
    MapObjectsLTDataTools::FreeGeometryStatic(m_filterGeometry);
    m_filterGeometry = 0;
    m_filterCachedIndices.reset();
    m_filterCandidates.clear();
    m_filterActive = false;
    m_filterTraverseCached = false;
    ForgetLastTest();
    if (m_isPolygonContainsPointMode) {
        m_isPolygonContainsPointMode = false;
        m_polygonContainsPointIndex = -1;
        m_listFieldNameToValueResult.reset();
    }
}

// --- Point-in-polygon mode -------------------------------------------------

void NShpDataLayer::BeginPolygonContainsPointFilter(const SpatialFilterContext& context) {
    InitializePolygonContainsPointRangeTree(context);
    const Support::GeometryObject reference = context.ReferencedLayer->GetGeometryShape();
    Support::PointArray polygon;
    if (const auto* rings = std::get_if<Support::PointArrayList>(&reference)) {
        const std::size_t ring = context.RingIndex < 0 ? 0 : static_cast<std::size_t>(context.RingIndex);
        if (ring < rings->size()) polygon = (*rings)[ring];
    } else if (const auto* points = std::get_if<Support::PointArray>(&reference)) {
        polygon = *points;
    }
    SearchPolygonContainsPoint(polygon);
    m_isPolygonContainsPointMode = true;
}

void NShpDataLayer::InitializePolygonContainsPointRangeTree(const SpatialFilterContext& context) {
    if (m_polygonContainsPointSearcher) return;
    // Collected before anything is kept, so that a failure leaves no
    // half-built index for the next filter.
    std::vector<Support::GeometryPoint> points;
    std::vector<FieldNameToValueMap> rows;
    InitializeGeometryPointsForPolygonContainsPointRangeTree(points, rows, *context.ListRangeTreePointValueField);
    rows.resize(points.size());
    m_polygonContainsPointRangeTree = std::make_unique<Support::Mixed::RangeTree2D>();
    for (std::size_t i = 0; i < points.size(); ++i)
        m_polygonContainsPointRangeTree->AddPoint(points[i], static_cast<int>(i));
    m_polygonContainsPointKeyToFieldNameValueMap.emplace(std::move(rows));
    m_polygonContainsPointSearcher = std::make_unique<Support::Mixed::PolygonContainsPointSearcher>();
}

void NShpDataLayer::InitializeGeometryPointsForPolygonContainsPointRangeTree(
    std::vector<Support::GeometryPoint>& points, std::vector<FieldNameToValueMap>& rows,
    const std::vector<std::string>& fieldNames) {
    if (!m_filterActive) m_isBOF = true;  // every record, wherever an earlier walk stopped
    while (MoveNext()) {
        const Support::GeometryObject geometry = GetGeometryShape();
        const auto* point = std::get_if<Support::GeometryPoint>(&geometry);
        points.push_back(point ? *point : Support::GeometryPoint::Empty());
        FieldNameToValueMap row;
        for (const std::string& name : fieldNames) row[name] = GetObjectValue(name);
        rows.push_back(std::move(row));
    }
}

void NShpDataLayer::SearchPolygonContainsPoint(const Support::PointArray& polygonPoints) {
    m_polygonContainsPointSearcher->Setup(polygonPoints);
    m_polygonContainsPointRangeTree->Traverse(*m_polygonContainsPointSearcher);
    m_listFieldNameToValueResult.emplace();
    const auto& rows = *m_polygonContainsPointKeyToFieldNameValueMap;
    for (int key : m_polygonContainsPointSearcher->PolygonContainsPointResult())
        m_listFieldNameToValueResult->push_back(&rows[static_cast<std::size_t>(key)]);
    m_polygonContainsPointIndex = -1;
}

}  // namespace Norvane::Allotrix::Calculations::Data::Shapefile
