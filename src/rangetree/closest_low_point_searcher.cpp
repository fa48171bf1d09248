#include "rangetree/closest_low_point_searcher.h"

#include <cmath>
#include <limits>

#include "rangetree/range_tree_interior.h"
#include "rangetree/range_tree_leaf.h"

namespace Korvex::Geom {

XYRangeTreeClosestLowPointSearcher::XYRangeTreeClosestLowPointSearcher() { Start(0.0, 0.0, 0.0); }

void XYRangeTreeClosestLowPointSearcher::Start(double x, double y, double radius) {
    m_bestDistanceSquared = std::numeric_limits<double>::max();
    m_query = {x, y};
    m_searchRange.initFrom(m_query);
    m_searchRange.extend(radius);
    m_closestLowPoint = {0.0, 0.0};
    m_result = nullptr;
}

bool XYRangeTreeClosestLowPointSearcher::ShouldRecurseIntoSubtree(
    const XYRangeTreeRoot* /*root*/, const XYRangeTreeInterior* node) {
    return node->GetRange().intersectsWith(m_searchRange);
}

bool XYRangeTreeClosestLowPointSearcher::ShouldContinueAfterSubtree(
    const XYRangeTreeRoot* /*root*/, const XYRangeTreeInterior* /*node*/) {
    return true;
}

bool XYRangeTreeClosestLowPointSearcher::ShouldContinueAfterLeaf(
    const XYRangeTreeRoot* /*root*/, const XYRangeTreeInterior* /*node*/,
    const XYRangeTreeLeaf* leaf) {
    const DPoint2d low = leaf->GetRange().low;
    const double dx = low.x - m_query.x;
    const double dy = low.y - m_query.y;
    const double distanceSquared = dx * dx + dy * dy;
    if (distanceSquared < m_bestDistanceSquared) {
        m_bestDistanceSquared = distanceSquared;
        m_result = leaf->GetData();
        m_searchRange.initFrom(m_query);
        m_searchRange.extend(std::sqrt(distanceSquared));
        m_closestLowPoint = low;
    }
    return true;
}

}  // namespace Korvex::Geom
