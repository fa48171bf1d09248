// Range-tree handler finding the pipe nearest to a polyline.
#pragma once

#include "native/native_geometry.h"
#include "native/plex_polyline.h"
#include "native/point_buffer.h"
#include "rangetree/rangetree.h"

namespace Korvex::Geom {

// Walks a tree of PlexPolyline leaves keeping the pipe nearest to a query
// polyline. A crossing gives distance 0 at once; a pipe that touches the
// query only at end segments is ranked by how well its ends match the
// query's ends, so a pipe running along the query beats one merely touching
// it. The query is held in an embedded buffer: a search allocates nothing.
class PolylineRangeTreeClosestPolylineSearcher final : public XYRangeTreeHandler {
public:
    // Resets every field and takes the x and y of the query points; a query
    // beyond the buffer is cut to its capacity.
    void StartSearch(const NativeGeometryPoint* points, int count, double radius);

    bool ShouldRecurseIntoSubtree(const XYRangeTreeRoot* root,
                                  const XYRangeTreeInterior* node) override;
    bool ShouldContinueAfterLeaf(const XYRangeTreeRoot* root, const XYRangeTreeInterior* node,
                                 const XYRangeTreeLeaf* leaf) override;

    const PlexPolyline* GetResult() const { return m_result; }
    double GetBestDistanceSquared() const { return m_bestDistanceSquared; }

private:
    bool MayHoldCloserPipe(const DRange2d& leafRange) const;
    bool CornerNearerThanBest(const DPoint2d& sideStart, const DPoint2d& sideEnd) const;
    void ScanPolyline(const PlexPolyline& candidate);
    bool ScanCandidateSegment(const PlexPolyline& candidate, int i, double* localBest,
                              DPoint2d* localPoint) const;
    double EndPointAverage(const PlexPolyline& candidate) const;

    DPoint2d m_query[kPointBufferSize];
    int m_queryCount = 0;
    DRange2d m_queryRange{};
    DRange2d m_searchRange{};
    double m_bestDistanceSquared = 0.0;
    DPoint2d m_closestPoint{0.0, 0.0};
    const PlexPolyline* m_result = nullptr;
};

}  // namespace Korvex::Geom
