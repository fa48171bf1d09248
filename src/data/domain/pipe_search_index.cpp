#include "data/domain/pipe_search_index.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "host/support/geometry_library.h"
#include "native/native.h"

namespace Norvane::Allotrix::Calculations::Data::Domain {

using Korvex::CStandAloneDataTools;

namespace {

constexpr double kLargest = std::numeric_limits<double>::max();

bool allFinite(const Support::PointArray& points) {
    return std::all_of(points.begin(), points.end(),
                       [](const Support::GeometryPoint& p) { return p.IsFinite(); });
}

}  // namespace

PipeSearchIndex::PipeSearchIndex()
    : m_RangeTree(CStandAloneDataTools::NewXYRangeTree()),
      m_minX(kLargest),
      m_minY(kLargest),
      m_maxX(-kLargest),
      m_maxY(-kLargest) {}

PipeSearchIndex::~PipeSearchIndex() {
    CStandAloneDataTools::DisposeRangeTreeAndSearcher(m_RangeTree, m_PointSearcher);
    CStandAloneDataTools::DisposeRangeTreeAndSearcher(nullptr, m_PolylineSearcher);
    for (Korvex::PlexPolyline* record : m_nativePolylineBuffer) CStandAloneDataTools::DisposePlexPolylineBuffer(record);
}

bool PipeSearchIndex::Add(std::int32_t id, const Support::PointArray& vertices) {
    if (vertices.empty() || !allFinite(vertices)) return false;
    std::vector<Korvex::DPoint2d> points(vertices.size());
    std::transform(vertices.begin(), vertices.end(), points.begin(),
                   [](const Support::GeometryPoint& p) { return Korvex::DPoint2d{p.X, p.Y}; });
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
    // Room first, so that the push below cannot throw; grown by doubling,
    // since room for one more each time copies the buffer on every pipe.
    if (m_nativePolylineBuffer.size() == m_nativePolylineBuffer.capacity())
        m_nativePolylineBuffer.reserve(std::max<std::size_t>(64, 2 * m_nativePolylineBuffer.capacity()));
    Korvex::PlexPolyline* record = nullptr;
    CStandAloneDataTools::InitializeRangeTree(m_RangeTree, points.data(), static_cast<int>(points.size()), id, &record,
                                              &minX, &minY, &maxX, &maxY);
    m_nativePolylineBuffer.push_back(record);
    m_minX = std::min(m_minX, minX);
    m_minY = std::min(m_minY, minY);
    m_maxX = std::max(m_maxX, maxX);
    m_maxY = std::max(m_maxY, maxY);
    m_maxDistance = 10.0 * Support::GeometryLibrary::GetDistance({m_minX, m_minY}, {m_maxX, m_maxY});
    return true;
}

std::int32_t PipeSearchIndex::NearestToPoint(double x, double y) {
    if (!m_PointSearcher) m_PointSearcher = CStandAloneDataTools::NewPolylineRangeTreeClosestPointSearcher();
    const Korvex::NativeGeometryPoint query{x, y, 0.0};
    std::int32_t id = 0;
    CStandAloneDataTools::SearchRangeTree(m_RangeTree, m_PointSearcher, &query, m_maxDistance, &id);
    return id;
}

std::int32_t PipeSearchIndex::NearestToPolyline(const Support::PointArray& vertices) {
    if (!m_PolylineSearcher) m_PolylineSearcher = CStandAloneDataTools::NewPolylineRangeTreeClosestPolylineSearcher();
    std::vector<Korvex::NativeGeometryPoint> points(vertices.size());
    std::transform(vertices.begin(), vertices.end(), points.begin(),
                   [](const Support::GeometryPoint& p) { return Korvex::NativeGeometryPoint{p.X, p.Y, 0.0}; });
    const Korvex::NativeGeometry query(points.data(), static_cast<int>(points.size()));
    std::int32_t id = 0;
    CStandAloneDataTools::SearchRangeTree(m_RangeTree, m_PolylineSearcher, &query, m_maxDistance, &id);
    return id;
}

}  // namespace Norvane::Allotrix::Calculations::Data::Domain
