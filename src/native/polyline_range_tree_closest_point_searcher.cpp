#include "native/polyline_range_tree_closest_point_searcher.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "native/leaf_distances.h"

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
    if (IsRangeCertainlyFarther(m_query, r, m_bestDistanceSquared))
        return false;  // what the side projections below would find, cheaply
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

double PolylineRangeTreeClosestPointSearcher::MeasurePolyline(const PlexPolyline& polyline,
                                                              DPoint2d* nearest) const {
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i + 1 < polyline.count; ++i) {
        DPoint2d onSegment;
        if (!ProjectClampedToSegment(&onSegment, m_query, polyline.points[i], polyline.points[i + 1]))
            continue;
        const double d2 = tgxDPoint2d_distanceSquared(&m_query, &onSegment);
        if (d2 < best) {  // strict: the earlier segment wins a tie
            best = d2;
            *nearest = onSegment;
        }
    }
    return best;
}

void PolylineRangeTreeClosestPointSearcher::ScanPolyline(const PlexPolyline& polyline) {
    DPoint2d localPoint{0.0, 0.0};
    const double localBest = MeasurePolyline(polyline, &localPoint);
    if (!(localBest < m_bestDistanceSquared))  // strict: the pipe seen first wins a tie
        return;
    m_bestDistanceSquared = localBest;
    const double r = std::sqrt(localBest);
    m_searchRange.low = {m_query.x - r, m_query.y - r};
    m_searchRange.high = {m_query.x + r, m_query.y + r};
    m_closestPoint = localPoint;
    m_result = &polyline;
}

namespace {

// The interior child nearest to the point; among children at the same
// distance (typically several containing it) the smallest one, whose pipes
// are likeliest to lie near the point.
const XYRangeTreeInterior* MostPromisingChild(const XYRangeTreeInterior& node,
                                              const DPoint2d& point) {
    const XYRangeTreeInterior* chosen = nullptr;
    double chosenDistance = std::numeric_limits<double>::infinity();
    double chosenSize = std::numeric_limits<double>::infinity();
    for (int i = 0; i < node.GetChildCount(); ++i) {
        const XYRangeTreeInterior* child = node.GetChild(i)->AsInterior();
        if (child == nullptr)
            continue;
        const double d2 = RangeDistanceSquared(point, child->GetRange());
        const double size = child->GetSquaredDiagonal();
        if (d2 < chosenDistance || (d2 == chosenDistance && size < chosenSize)) {
            chosen = child;
            chosenDistance = d2;
            chosenSize = size;
        }
    }
    return chosen;
}

}  // namespace

// Descends towards the query and measures the leaves there that may hold a
// nearer pipe than those measured so far.
double PolylineRangeTreeClosestPointSearcher::NearbyPipeDistanceSquared(
    const XYRangeTreeRoot* tree) const {
    const XYRangeTreeInterior* node = tree->GetTopNode();
    while (node != nullptr && !node->HasOnlyLeaves())
        node = MostPromisingChild(*node, m_query);
    double best = std::numeric_limits<double>::max();
    for (int i = 0; node != nullptr && i < node->GetChildCount(); ++i) {
        const XYRangeTreeLeaf* leaf = node->GetChild(i)->AsLeaf();
        if (leaf == nullptr || !(RangeDistanceSquared(m_query, leaf->GetRange()) < best))
            continue;
        DPoint2d unused;
        best = std::min(best, MeasurePolyline(*static_cast<const PlexPolyline*>(leaf->GetData()), &unused));
    }
    return best;
}

void PolylineRangeTreeClosestPointSearcher::NarrowSearch(const XYRangeTreeRoot* tree) {
    if (tree == nullptr)
        return;
    const double nearby = NearbyPipeDistanceSquared(tree);
    if (!(nearby < std::numeric_limits<double>::max()))
        return;
    // A margin far above the rounding of the leaf pre-tests keeps every pipe
    // as near as the measured one strictly inside the narrowed start.
    const double root = std::sqrt(nearby);
    const double r = root + 1e-9 * (1.0 + std::fabs(m_query.x) + std::fabs(m_query.y) + root);
    DRange2d narrowed;
    narrowed.low = {m_query.x - r, m_query.y - r};
    narrowed.high = {m_query.x + r, m_query.y + r};
    if (!narrowed.isContained(m_searchRange))
        return;
    m_searchRange = narrowed;
    m_bestDistanceSquared = r * r;
}

}  // namespace Korvex::Geom
