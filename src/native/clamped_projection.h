// Nearest point of a segment to a point, as the nearest-pipe handlers measure
// it: the foot on the segment's line, clamped to the segment's ends.
#pragma once

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

}  // namespace Korvex::Geom
