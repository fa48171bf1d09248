// The filters of a model-element layer: nearest node, nearest pipe, the
// nodes inside a polygon, and every other filter on a temporary copy of the
// elements.
#include <algorithm>
#include <cmath>

#include "data/domain/domain_shp_data_layer.h"
#include "data/domain/node_search_index.h"
#include "data/domain/pipe_search_index.h"
#include "data/domain/temporary_shapefile.h"
#include "data/mapobjectslt/map_objects_lt_library.h"
#include "host/shapefile/shapefile_data_source_writer.h"
#include "host/support/exceptions.h"

namespace Norvane::Allotrix::Calculations::Data::Domain {

using Norvane::Domain::DomainElementShapeType;
using Support::GeometryPoint;

namespace {

bool allFinite(const Support::PointArray& points) {
    return std::all_of(points.begin(), points.end(), [](const GeometryPoint& p) { return p.IsFinite(); });
}

// The polyline a nearest-pipe search runs from: a shapefile feature's first
// part, or a model element's vertices.
Support::PointArray firstPartOf(const Support::GeometryObject& geometry) {
    if (const auto* parts = std::get_if<Support::PointArrayList>(&geometry))
        return parts->empty() ? Support::PointArray{} : parts->front();
    if (const auto* points = std::get_if<Support::PointArray>(&geometry)) return *points;
    return {};
}

}  // namespace

void DomainShpDataLayer::BeginFilter(const SpatialFilterContext& context, bool forwardOnly) {
    ElementIDs();
    switch (context.RelationType) {
    case SpatialFilterRelationType::Nearest: BeginNearestFilter(context); return;
    case SpatialFilterRelationType::PointInPolygon:
        if (ShapeType() == DomainElementShapeType::Point && context.ReferencedLayer &&
            context.ReferencedLayer->ShapeType() == DomainElementShapeType::Polygon &&
            context.ListRangeTreePointValueField) {
            NShpDataLayer::BeginFilter(context, forwardOnly);
            m_isDomainManagerDataMode = false;
            return;
        }
        break;
    case SpatialFilterRelationType::PolygonsIntersect: break;
    default:
        throw Support::NotSupportedException("Spatial relation " + std::to_string(static_cast<int>(context.RelationType)) +
                                             " is not supported by the layer " + Name() + ".");
    }
    if (!IsShapefileReaderValid()) CreateShapefile();
    NShpDataLayer::BeginFilter(context, forwardOnly);
    m_isDomainManagerDataMode = false;  // only now: a filter that failed leaves the walk as it was
}

void DomainShpDataLayer::BeginNearestFilter(const SpatialFilterContext& context) {
    IDataLayer* reference = context.ReferencedLayer;
    if (!reference) throw Support::ArgumentException("A nearest-element filter needs a referenced layer.");
    const DomainElementShapeType mine = ShapeType();
    const DomainElementShapeType theirs = reference->ShapeType();
    if (mine == DomainElementShapeType::Point && theirs != DomainElementShapeType::Polyline) {
        InitializePointSearcher();
        SearchNearestPoint(reference->GetCentroid());
    } else if (mine == DomainElementShapeType::Polyline && theirs != DomainElementShapeType::Polyline) {
        InitializePolylineRangeTree(context);
        SearchNearestPolyline(reference->GetCentroid());
    } else if (mine == DomainElementShapeType::Polyline) {
        InitializePolylineRangeTree(context);
        SearchNearestPolyline(firstPartOf(reference->GetGeometryShape()));
    } else {
        throw Support::NotSupportedException("The layer " + Name() +
                                             " finds the node nearest to a point or a polygon, not to a polyline.");
    }
    m_isNearestMode = true;
    m_nearestNodeVisited = false;
    m_isDomainManagerDataMode = false;
}

// Ends the filter and goes back to the start of an unfiltered walk: of the
// temporary copy when there is one, else of the elements.
void DomainShpDataLayer::EndFilter() {
    NShpDataLayer::EndFilter();
    m_isNearestMode = false;
    m_nearestNodeVisited = false;
    if (!IsShapefileReaderValid()) m_isDomainManagerDataMode = true;
    Reset();
}

// --- Nearest node ------------------------------------------------------------------

// A single node needs no searcher: it is the answer to every search.
void DomainShpDataLayer::InitializePointSearcher() {
    const auto& ids = ElementIDs();
    if (m_nodeIndex || ids.size() <= 1) return;
    std::vector<GeometryPoint> points;
    points.reserve(ids.size());
    for (const std::int32_t id : ids) points.push_back(PointOf(id));
    auto index = std::make_unique<NodeSearchIndex>(ids, points);
    RequireCoordinates(ids.size(), index->IndexedCount());
    m_nodeIndex = std::move(index);
}

void DomainShpDataLayer::SearchNearestPoint(const GeometryPoint& point) {
    m_nearestPvID = 0;
    const auto& ids = ElementIDs();
    if (ids.empty() || !point.IsFinite()) return;
    if (ids.size() == 1) {
        RequireCoordinates(1, PointOf(ids.front()).IsFinite() ? 1 : 0);
        m_nearestPvID = ids.front();
        return;
    }
    m_nearestPvID = m_nodeIndex->Nearest(point.X, point.Y);
}

// --- Nearest pipe --------------------------------------------------------------------

void DomainShpDataLayer::InitializePolylineRangeTree(const SpatialFilterContext& context) {
    if (m_pipeIndex) return;
    auto index = std::make_unique<PipeSearchIndex>();
    std::size_t valid = 0;
    for (const std::int32_t id : ElementIDs()) {
        if (context.IsValidID && !context.IsValidID(id)) continue;
        ++valid;
        index->Add(id, VerticesOf(id));
    }
    RequireCoordinates(valid, index->IndexedCount());
    m_pipeIndex = std::move(index);
}

void DomainShpDataLayer::SearchNearestPolyline(const GeometryPoint& point) {
    m_nearestPvID = 0;
    if (!m_pipeIndex || ElementIDs().empty() || !point.IsFinite()) return;
    m_nearestPvID = m_pipeIndex->NearestToPoint(point.X, point.Y);
}

void DomainShpDataLayer::SearchNearestPolyline(const Support::PointArray& points) {
    m_nearestPvID = 0;
    if (!m_pipeIndex || ElementIDs().empty() || !allFinite(points)) return;
    m_nearestPvID = m_pipeIndex->NearestToPolyline(points);
}

// --- Nodes inside a polygon -------------------------------------------------------------

// Every node with a row holding its ID under the first field name asked for
// ("ElementID" when none is).
void DomainShpDataLayer::InitializeGeometryPointsForPolygonContainsPointRangeTree(
    std::vector<GeometryPoint>& points, std::vector<Shapefile::FieldNameToValueMap>& rows,
    const std::vector<std::string>& fieldNames) {
    const std::string key = fieldNames.empty() ? "ElementID" : fieldNames.front();
    const auto& ids = ElementIDs();
    std::size_t located = 0;
    for (const std::int32_t id : ids) {
        points.push_back(PointOf(id));
        if (points.back().IsFinite()) ++located;
        rows.push_back({{key, id}});
    }
    RequireCoordinates(ids.size(), located);
}

// --- Temporary copy ------------------------------------------------------------------------

// The reader holds the records in memory once open, so the files are removed
// as soon as it has read them: nothing is left behind however the process
// ends later, and a failure while writing removes them before it propagates.
void DomainShpDataLayer::CreateShapefile() {
    auto shapefile = std::make_unique<TemporaryShapefile>();
    try {
        MapObjectsLT::MapObjectsLTLibrary::CreateShapefile(shapefile->BasePath(), ShapeType());
        WriteElements(shapefile->ShpPath());
        NShpDataLayer::Open(shapefile->ShpPath());
    } catch (...) {
        shapefile->Remove();
        throw;
    }
    shapefile->Remove();
    m_shapefile = std::move(shapefile);
}

// One record per element, in walking order: its point or its vertices (a
// null shape when it has none) and its ID in "ElementID".
void DomainShpDataLayer::WriteElements(const std::string& shpPath) {
    Norvane::Shapefile::ShapefileDataSourceWriter writer;
    writer.OpenDataFile(shpPath);
    const bool points = ShapeType() == DomainElementShapeType::Point;
    const auto& ids = ElementIDs();
    std::size_t located = 0;
    for (const std::int32_t id : ids) {
        writer.AddRecordBegin();
        if (points) {
            if (const GeometryPoint point = PointOf(id); point.IsFinite()) {
                writer.WritePointGeometry(point);
                ++located;
            }
        } else if (const Support::PointArray vertices = VerticesOf(id); !vertices.empty() && allFinite(vertices)) {
            writer.WritePolylineGeometry(vertices);
            ++located;
        }
        writer.WriteFieldData(id, "ElementID");
        writer.AddRecordEnd();
    }
    RequireCoordinates(ids.size(), located);
    writer.Close();
}

}  // namespace Norvane::Allotrix::Calculations::Data::Domain
