#include "native/polyline_range_tree_closest_polyline_searcher.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "native/leaf_distances.h"

namespace Korvex::Geom {

namespace {

constexpr double kLargest = std::numeric_limits<double>::max();
// Fractions this close to 0 or 1 put a crossing at a segment's end.
constexpr double kEndFractionTolerance = 1e-7;
// Below this squared distance the query touches the candidate.
constexpr double kTouchTolerance = 2.220446049250313e-16;

bool IsAtSegmentEnd(double fraction) {
    return std::fabs(fraction) <= kEndFractionTolerance ||
           std::fabs(fraction - 1.0) <= kEndFractionTolerance;
}

bool IsInSegment(double fraction) {
    return fraction >= 0.0 && fraction <= 1.0;
}

bool IsEndSegment(int i, int pointCount) {
    return i == 0 || i == pointCount - 2;
}

DRange2d GrownBy(const DRange2d& range, double distance) {
    DRange2d grown = range;
    grown.extend(distance);
    return grown;
}

}  // namespace

void PolylineRangeTreeClosestPolylineSearcher::StartSearch(const NativeGeometryPoint* points,
                                                           int count, double radius) {
    m_bestDistanceSquared = kLargest;
    m_closestPoint = {0.0, 0.0};
    m_queryCount = points == nullptr ? 0 : std::clamp(count, 0, kPointBufferSize);
    for (int i = 0; i < m_queryCount; ++i)
        m_query[i] = {points[i].x, points[i].y};
    m_queryRange.init();
    m_queryRange.extend(m_query, m_queryCount);
    m_searchRange = GrownBy(m_queryRange, radius);
    m_result = nullptr;
}

bool PolylineRangeTreeClosestPolylineSearcher::ShouldRecurseIntoSubtree(
    const XYRangeTreeRoot* /*root*/, const XYRangeTreeInterior* node) {
    return node->GetRange().intersectsWith(m_searchRange);
}

bool PolylineRangeTreeClosestPolylineSearcher::ShouldContinueAfterLeaf(
    const XYRangeTreeRoot* /*root*/, const XYRangeTreeInterior* /*node*/,
    const XYRangeTreeLeaf* leaf) {
    if (MayHoldCloserPipe(leaf->GetRange()))
        ScanPolyline(*static_cast<const PlexPolyline*>(leaf->GetData()));
    return true;
}

bool PolylineRangeTreeClosestPolylineSearcher::MayHoldCloserPipe(const DRange2d& r) const {
    if (m_queryRange.isContained(r) || m_queryRange.intersectsWith(r))
        return true;
    if (IsRangeCertainlyFarther(m_queryRange, r, m_bestDistanceSquared))
        return false;  // what the corner tests below would find, cheaply
    RangeSide sides[4];
    GetRangeSides(r, sides);
    return std::any_of(sides, sides + 4, [this](const RangeSide& side) {
        return CornerNearerThanBest(side.start, side.end);
    });
}

// Whether a corner of the query's rectangle lies nearer than the best so far
// to one side of a leaf's rectangle.
bool PolylineRangeTreeClosestPolylineSearcher::CornerNearerThanBest(const DPoint2d& sideStart,
                                                                    const DPoint2d& sideEnd) const {
    if (m_bestDistanceSquared == 0.0)
        return false;
    const DRange2d& q = m_queryRange;
    const DPoint2d corners[4] = {{q.low.x, q.low.y}, {q.low.x, q.high.y}, {q.high.x, q.high.y},
                                 {q.high.x, q.low.y}};
    for (const DPoint2d& corner : corners) {
        DPoint2d nearest;
        if (ProjectClampedToSegment(&nearest, corner, sideStart, sideEnd) &&
            tgxDPoint2d_distanceSquared(&corner, &nearest) < m_bestDistanceSquared)
            return true;
    }
    return false;
}

// Mean squared distance between the first points and between the last points.
double PolylineRangeTreeClosestPolylineSearcher::EndPointAverage(
    const PlexPolyline& polyline) const {
    const DPoint2d* p = polyline.points;
    return (tgxDPoint2d_distanceSquared(&p[0], &m_query[0]) +
            tgxDPoint2d_distanceSquared(&p[polyline.count - 1], &m_query[m_queryCount - 1])) *
           0.5;
}

// Measures one candidate segment against every query segment, lowering
// localBest. True when the polylines cross, which ends the scan.
bool PolylineRangeTreeClosestPolylineSearcher::ScanCandidateSegment(const PlexPolyline& candidate,
                                                                    int i, double* localBest,
                                                                    DPoint2d* localPoint) const {
    const DPoint2d* p = candidate.points;
    const DPoint2d* q = m_query;
    const bool candidateEnd = IsEndSegment(i, candidate.count);
    for (int j = 0; j + 1 < m_queryCount; ++j) {
        const bool endSegments = candidateEnd && IsEndSegment(j, m_queryCount);
        DPoint2d crossing;
        double s = 0.0;
        double t = 0.0;
        if (tgxVector2d_intersectLines(&crossing, &s, &t, &p[i], &p[i + 1], &q[j], &q[j + 1]) &&
            IsInSegment(s) && IsInSegment(t)) {
            if (!(endSegments && IsAtSegmentEnd(s) && IsAtSegmentEnd(t))) {
                *localBest = 0.0;
                *localPoint = crossing;
                return true;
            }
            const double average = EndPointAverage(candidate);
            if (average < *localBest) {
                *localBest = average;
                return false;  // on to the next candidate segment
            }
        }
        DPoint2d nearStart;
        DPoint2d nearEnd;
        if (!ProjectClampedToSegment(&nearStart, q[j], p[i], p[i + 1]) ||
            !ProjectClampedToSegment(&nearEnd, q[j + 1], p[i], p[i + 1]))
            continue;
        double v = std::min(tgxDPoint2d_distanceSquared(&q[j], &nearStart),
                            tgxDPoint2d_distanceSquared(&q[j + 1], &nearEnd));
        if (std::fabs(v) < kTouchTolerance && endSegments)
            v = EndPointAverage(candidate);
        if (v < *localBest)
            *localBest = v;
    }
    return false;
}

void PolylineRangeTreeClosestPolylineSearcher::ScanPolyline(const PlexPolyline& candidate) {
    if (m_bestDistanceSquared == 0.0)
        return;  // nothing can improve
    double localBest = kLargest;
    DPoint2d localPoint{0.0, 0.0};
    for (int i = 0; i + 1 < candidate.count; ++i)
        if (ScanCandidateSegment(candidate, i, &localBest, &localPoint) || localBest == 0.0)
            break;
    if (!(localBest < m_bestDistanceSquared))  // strict: the pipe seen first wins a tie
        return;
    m_bestDistanceSquared = localBest;
    m_searchRange = GrownBy(m_queryRange, std::sqrt(localBest));
    m_closestPoint = localPoint;
    m_result = &candidate;
}

}  // namespace Korvex::Geom
