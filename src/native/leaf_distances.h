// Distances the nearest-pipe handlers measure: a point to a segment (the
// foot on the segment's line clamped to its ends), and a point or a
// rectangle to the sides of a leaf's rectangle.
#pragma once

#include <cmath>

#include "planar/planar.h"

namespace Korvex::Geom {

// False when the projection fails (a zero-length segment always fails).
inline bool ProjectClampedToSegment(DPoint2d* nearest, const DPoint2d& point,
                                    const DPoint2d& start, const DPoint2d& end) {
    DPoint2d foot;
    double fraction = 0.0;
    if (!tgxVector2d_projectPointToLine(&foot, &fraction, &point, &start, &end))
        return false;
    *nearest = fraction < 0.0 ? start : fraction > 1.0 ? end : foot;
    return true;
}

// The four sides of a rectangle in the order the leaf pre-tests use them:
// bottom, right, top, left.
struct RangeSide {
    DPoint2d start;
    DPoint2d end;
};

inline void GetRangeSides(const DRange2d& r, RangeSide sides[4]) {
    sides[0] = {{r.low.x, r.low.y}, {r.high.x, r.low.y}};
    sides[1] = {{r.high.x, r.low.y}, {r.high.x, r.high.y}};
    sides[2] = {{r.low.x, r.high.y}, {r.high.x, r.high.y}};
    sides[3] = {{r.low.x, r.low.y}, {r.low.x, r.high.y}};
}

// Squared distance between two rectangles, 0 when they meet; a NaN
// coordinate counts as meeting on its axis.
inline double RangeDistanceSquared(const DRange2d& a, const DRange2d& b) {
    const double dx = a.high.x < b.low.x ? b.low.x - a.high.x : a.low.x > b.high.x ? a.low.x - b.high.x : 0.0;
    const double dy = a.high.y < b.low.y ? b.low.y - a.high.y : a.low.y > b.high.y ? a.low.y - b.high.y : 0.0;
    return dx * dx + dy * dy;
}

inline double RangeDistanceSquared(const DPoint2d& point, const DRange2d& r) {
    return RangeDistanceSquared(DRange2d{point, point}, r);
}

// True when every point of `query` certainly lies at a squared distance of
// at least `bestDistanceSquared` from every side of `r`, as clamped
// projections onto the sides would measure it: the rectangles are at least
// twice as far apart as the best distance, and far beyond the rounding of
// those projections. A rectangle this test rules out is one the side
// projections rule out too; any other (and any NaN) is left to them.
inline bool IsRangeCertainlyFarther(const DRange2d& query, const DRange2d& r,
                                    double bestDistanceSquared) {
    const double d2 = RangeDistanceSquared(query, r);
    const double rounding =
        1e-9 * (1.0 + std::fabs(query.low.x) + std::fabs(query.low.y) +
                2.0 * ((query.high.x - query.low.x) + (query.high.y - query.low.y) +
                       (r.high.x - r.low.x) + (r.high.y - r.low.y)));
    return d2 >= 4.1 * bestDistanceSquared && d2 >= rounding * rounding;
}

inline bool IsRangeCertainlyFarther(const DPoint2d& point, const DRange2d& r,
                                    double bestDistanceSquared) {
    return IsRangeCertainlyFarther(DRange2d{point, point}, r, bestDistanceSquared);
}

}  // namespace Korvex::Geom
