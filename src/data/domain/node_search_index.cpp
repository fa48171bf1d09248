#include "data/domain/node_search_index.h"

#include <cmath>

#include "native/native.h"

namespace Norvane::Allotrix::Calculations::Data::Domain {

using Korvex::CStandAloneDataTools;

NodeSearchIndex::NodeSearchIndex(const std::vector<std::int32_t>& ids,
                                 const std::vector<Support::GeometryPoint>& points)
    : m_nativeElementIds(std::make_unique<std::int32_t[]>(ids.size())) {
    // Created even when empty, so that a search simply finds nothing.
    m_PointSearcher = CStandAloneDataTools::InitializePointSearcher(nullptr, nullptr, nullptr);
    for (std::size_t i = 0; i < ids.size() && i < points.size(); ++i) {
        m_nativeElementIds[i] = ids[i];
        if (!std::isfinite(points[i].X) || !std::isfinite(points[i].Y)) continue;
        const Korvex::NativeGeometryPoint point{points[i].X, points[i].Y, 0.0};
        CStandAloneDataTools::InitializePointSearcher(m_PointSearcher, &point, &m_nativeElementIds[i]);
        ++m_indexedCount;
    }
}

NodeSearchIndex::~NodeSearchIndex() { CStandAloneDataTools::DisposePointSearcher(m_PointSearcher); }

std::int32_t NodeSearchIndex::Nearest(double x, double y) const {
    std::int32_t id = 0;
    const Korvex::NativeGeometryPoint query{x, y, 0.0};
    CStandAloneDataTools::SearchNearestPoint(m_PointSearcher, &query, &id);
    return id;
}

}  // namespace Norvane::Allotrix::Calculations::Data::Domain
