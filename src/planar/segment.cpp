#include "planar/segment.h"

#include "planar/numerics.h"
#include "planar/vector_ops.h"

namespace Korvex {

void tgxDSegment3d_initFromDPoint3d(DSegment3d* segment, const DPoint3d* start,
                                    const DPoint3d* end) {
    if (segment == nullptr) return;
    segment->point[0] = *start;
    segment->point[1] = *end;
}

bool tgxDSegment3d_projectPointXY(const DSegment3d* segment, DPoint3d* projection,
                                  double* fraction, const DPoint3d* point) {
    const DPoint3d& start = segment->point[0];
    const DPoint3d& end = segment->point[1];
    // Zeroed z keeps the dot products in the XY plane.
    const DPoint3d startXY{start.x, start.y, 0.0};
    const DPoint3d u = detail::sub(DPoint3d{end.x, end.y, 0.0}, startXY);
    const DPoint3d w = detail::sub(DPoint3d{point->x, point->y, 0.0}, startXY);
    double f = 0.0;
    const bool projected = detail::guardedDivide(f, detail::dot(u, w), detail::dot(u, u), 0.0);
    if (fraction != nullptr) *fraction = f;
    if (projection != nullptr) *projection = projected ? detail::interpolate(start, f, end) : start;
    return projected;
}

bool tgxGeom_intersectXYDSegment3dDSegment3d(DPoint3d* pointA, double* fractionA,
                                             DPoint3d* pointB, double* fractionB,
                                             const DSegment3d* segmentA,
                                             const DSegment3d* segmentB) {
    const DPoint3d& a0 = segmentA->point[0];
    const DPoint3d& a1 = segmentA->point[1];
    const DPoint3d& b0 = segmentB->point[0];
    const DPoint3d& b1 = segmentB->point[1];
    const DPoint3d ua = detail::sub(a1, a0);
    const DPoint3d ub = detail::sub(b1, b0);
    const DPoint3d w = detail::sub(b0, a0);
    double fa = 0.0, fb = 0.0;
    if (!detail::solveColumnScaled2x2(fa, fb, ua.x, -ub.x, ua.y, -ub.y, w.x, w.y)) return false;
    if (pointA != nullptr) *pointA = detail::interpolate(a0, fa, a1);
    if (fractionA != nullptr) *fractionA = fa;
    if (pointB != nullptr) *pointB = detail::interpolate(b0, fb, b1);
    if (fractionB != nullptr) *fractionB = fb;
    return true;
}

}  // namespace Korvex
