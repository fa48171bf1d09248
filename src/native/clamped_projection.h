// Distances the nearest-pipe handlers measure: a point to a segment (the
// foot on the segment's line clamped to its ends) and a point to the sides
// of a rectangle.
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

// Squared distance from a point to a rectangle, 0 inside; a NaN coordinate
// counts as inside on its axis.
inline double RangeDistanceSquared(const DPoint2d& point, const DRange2d& r) {
    const double dx = point.x < r.low.x ? r.low.x - point.x : point.x > r.high.x ? point.x - r.high.x : 0.0;
    const double dy = point.y < r.low.y ? r.low.y - point.y : point.y > r.high.y ? point.y - r.high.y : 0.0;
    return dx * dx + dy * dy;
}

// True when every side of the rectangle certainly lies at a squared distance
// of at least `bestDistanceSquared` from the point, as the clamped
// projections onto the sides would measure it: the rectangle is at least
// twice as far as the best distance, and far beyond the rounding of those
// projections. A rectangle this test rules out is one the side projections
// rule out too; any other rectangle (and any NaN) is left to them.
inline bool IsRangeCertainlyFarther(const DPoint2d& point, const DRange2d& r,
                                    double bestDistanceSquared) {
    const double d2 = RangeDistanceSquared(point, r);
    const double rounding = 1e-9 * (1.0 + std::fabs(point.x) + std::fabs(point.y) +
                                    2.0 * ((r.high.x - r.low.x) + (r.high.y - r.low.y)));
    return d2 >= 4.1 * bestDistanceSquared && d2 >= rounding * rounding;
}

}  // namespace Korvex::Geom
