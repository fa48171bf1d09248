// The nearest-pipe index of a model-element layer: the native XY range tree
// of the layer's pipes, with a searcher for point queries and one for
// polyline queries, each made on first use.
#pragma once

#include <cstdint>
#include <vector>

#include "host/support/geometry_point.h"

namespace Korvex {
struct PlexPolyline;
}
namespace Korvex::Geom {
class XYRangeTreeRoot;
class PolylineRangeTreeClosestPointSearcher;
class PolylineRangeTreeClosestPolylineSearcher;
}  // namespace Korvex::Geom

namespace Norvane::Allotrix::Calculations::Data::Domain {

class PipeSearchIndex {
public:
    PipeSearchIndex();
    ~PipeSearchIndex();
    PipeSearchIndex(const PipeSearchIndex&) = delete;
    PipeSearchIndex& operator=(const PipeSearchIndex&) = delete;

    // Indexes a pipe under its vertices' box and grows the overall box; a
    // pipe without vertices, or with a coordinate that is not finite, is
    // left out (false).
    bool Add(std::int32_t id, const Support::PointArray& vertices);
    std::size_t IndexedCount() const { return m_nativePolylineBuffer.size(); }
    // Ten times the diagonal of the box of every pipe added: a search looks
    // no farther, which covers every pipe from any query near the network.
    double MaxDistance() const { return m_maxDistance; }

    // The ID of the pipe nearest to the point, or to the polyline; 0 when
    // none lies within MaxDistance.
    std::int32_t NearestToPoint(double x, double y);
    std::int32_t NearestToPolyline(const Support::PointArray& vertices);

private:
    Korvex::Geom::XYRangeTreeRoot* m_RangeTree = nullptr;
    Korvex::Geom::PolylineRangeTreeClosestPointSearcher* m_PointSearcher = nullptr;
    Korvex::Geom::PolylineRangeTreeClosestPolylineSearcher* m_PolylineSearcher = nullptr;
    std::vector<Korvex::PlexPolyline*> m_nativePolylineBuffer;  // one record per pipe indexed
    double m_minX, m_minY, m_maxX, m_maxY;                      // the overall box
    double m_maxDistance = 0.0;
};

}  // namespace Norvane::Allotrix::Calculations::Data::Domain
