// Range-tree handler finding the pipe nearest to a point.
#pragma once

#include "native/plex_polyline.h"
#include "rangetree/rangetree.h"

namespace Korvex::Geom {

// Walks a tree of PlexPolyline leaves keeping the nearest pipe so far. Pruning
// is by subtree rectangle against a search square that shrinks to the best
// distance; a leaf is scanned only when its rectangle may hold a closer point.
class PolylineRangeTreeClosestPointSearcher final : public XYRangeTreeHandler {
public:
    // Resets every field; one handler serves any number of searches.
    void StartSearch(double x, double y, double radius);

    bool ShouldRecurseIntoSubtree(const XYRangeTreeRoot* root,
                                  const XYRangeTreeInterior* node) override;
    bool ShouldContinueAfterLeaf(const XYRangeTreeRoot* root, const XYRangeTreeInterior* node,
                                 const XYRangeTreeLeaf* leaf) override;

    // Null when no pipe of two or more distinct points was reached.
    const PlexPolyline* GetResult() const { return m_result; }
    double GetBestDistanceSquared() const { return m_bestDistanceSquared; }
    DPoint2d GetClosestPoint() const { return m_closestPoint; }

private:
    bool MayHoldCloserPoint(const DRange2d& leafRange) const;
    void ScanPolyline(const PlexPolyline& polyline);

    DPoint2d m_query{0.0, 0.0};
    DRange2d m_searchRange{};
    double m_bestDistanceSquared = 0.0;
    DPoint2d m_closestPoint{0.0, 0.0};
    const PlexPolyline* m_result = nullptr;
};

}  // namespace Korvex::Geom
