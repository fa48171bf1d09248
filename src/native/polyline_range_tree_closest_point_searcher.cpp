#include "native/polyline_range_tree_closest_point_searcher.h"

#include <cmath>
#include <limits>

#include "native/clamped_projection.h"

namespace Korvex::Geom {

void PolylineRangeTreeClosestPointSearcher::StartSearch(double x, double y, double radius) {
    m_query = {x, y};
    m_bestDistanceSquared = std::numeric_limits<double>::max();
    m_closestPoint = {0.0, 0.0};
    m_searchRange.low = {x - radius, y - radius};
    m_searchRange.high = {x + radius, y + radius};
    m_result = nullptr;
}

bool PolylineRangeTreeClosestPointSearcher::ShouldRecurseIntoSubtree(
    const XYRangeTreeRoot* /*root*/, const XYRangeTreeInterior* node) {
    return node->GetRange().intersectsWith(m_searchRange);
}

bool PolylineRangeTreeClosestPointSearcher::ShouldContinueAfterLeaf(
    const XYRangeTreeRoot* /*root*/, const XYRangeTreeInterior* /*node*/,
    const XYRangeTreeLeaf* leaf) {
    if (MayHoldCloserPoint(leaf->GetRange()))
        ScanPolyline(*static_cast<const PlexPolyline*>(leaf->GetData()));
    return true;
}

// Inside the rectangle, or some side of it nearer than the best so far.
bool PolylineRangeTreeClosestPointSearcher::MayHoldCloserPoint(const DRange2d& r) const {
    if (r.low.x <= m_query.x && m_query.x <= r.high.x && r.low.y <= m_query.y &&
        m_query.y <= r.high.y)
        return true;
    RangeSide sides[4];
    GetRangeSides(r, sides);
    for (const RangeSide& side : sides) {
        DPoint2d nearest;
        if (ProjectClampedToSegment(&nearest, m_query, side.start, side.end) &&
            tgxDPoint2d_distanceSquared(&m_query, &nearest) < m_bestDistanceSquared)
            return true;
    }
    return false;
}

void PolylineRangeTreeClosestPointSearcher::ScanPolyline(const PlexPolyline& polyline) {
    double localBest = std::numeric_limits<double>::max();
    DPoint2d localPoint{0.0, 0.0};
    for (int i = 0; i + 1 < polyline.count; ++i) {
        DPoint2d nearest;
        if (!ProjectClampedToSegment(&nearest, m_query, polyline.points[i], polyline.points[i + 1]))
            continue;
        const double d2 = tgxDPoint2d_distanceSquared(&m_query, &nearest);
        if (d2 < localBest) {  // strict: the earlier segment wins a tie
            localBest = d2;
            localPoint = nearest;
        }
    }
    if (!(localBest < m_bestDistanceSquared))  // strict: the pipe seen first wins a tie
        return;
    m_bestDistanceSquared = localBest;
    const double r = std::sqrt(localBest);
    m_searchRange.low = {m_query.x - r, m_query.y - r};
    m_searchRange.high = {m_query.x + r, m_query.y + r};
    m_closestPoint = localPoint;
    m_result = &polyline;
}

}  // namespace Korvex::Geom
