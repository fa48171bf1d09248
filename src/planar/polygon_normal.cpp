#include "planar/loop_walk.h"
#include "planar/polygon_measures.h"

namespace Korvex {
namespace {

using detail::cross;
using detail::magnitudeSquared;
using detail::sub;

// Below this ratio of |N|^2 to the product of the two corner edges' squared
// lengths, a triangle's corner is too sharp to give a trustworthy normal.
constexpr double kSliverCornerRatio = 1.0e-5;

// The normal of a sliver corner T0 (edges to T1 and T2) taken from whichever
// half of the triangle, split at the midpoint of T1 T2, is better shaped.
DPoint3d splitCornerNormal(const DPoint3d& t0, const DPoint3d& t1, const DPoint3d& t2,
                           double e1, double e2) {
    const DPoint3d m = detail::interpolate(t1, 0.5, t2);
    const DPoint3d n1 = cross(sub(t1, t0), sub(m, t0));
    const DPoint3d n2 = cross(sub(m, t0), sub(t2, t0));
    return magnitudeSquared(n2) * e1 > magnitudeSquared(n1) * e2 ? n2 : n1;
}

// The cross product at the corner between the triangle's two shorter edges,
// which is the best conditioned of the three.
DPoint3d triangleNormal(const DPoint3d* p) {
    const double d01 = magnitudeSquared(sub(p[1], p[0]));
    const double d02 = magnitudeSquared(sub(p[2], p[0]));
    const double d12 = magnitudeSquared(sub(p[2], p[1]));
    int c0 = 1, c1 = 2, c2 = 0;  // corner P1: its edges go to P2 and P0
    double e1 = d12, e2 = d01;
    if (d02 <= d12) {
        c0 = 0, c1 = 1, c2 = 2, e1 = d01, e2 = d02;
    } else if (d01 > d02) {
        c0 = 2, c1 = 0, c2 = 1, e1 = d02, e2 = d12;
    }
    const DPoint3d n = cross(sub(p[c1], p[c0]), sub(p[c2], p[c0]));
    if (magnitudeSquared(n) <= e1 * e2 * kSliverCornerRatio) {
        return splitCornerNormal(p[c0], p[c1], p[c2], e1, e2);
    }
    return n;
}

struct FanNormalSum : detail::LoopFanVisitor {
    DPoint3d sum{0.0, 0.0, 0.0};
    void fanTriangle(const DPoint3d& u, const DPoint3d& v) { sum = detail::add(sum, cross(u, v)); }
};

}  // namespace

double tgxPolygon_normalAndArea(DPoint3d* normal, DPoint3d* origin, const DPoint3d* points,
                                int count) {
    if (points == nullptr) return 0.0;
    if (normal != nullptr) *normal = {0.0, 0.0, 0.0};
    // Without a first point there is nothing to report as origin.
    if (count < 1) return 0.0;
    if (origin != nullptr) *origin = points[0];
    if (count < 3) return 0.0;
    DPoint3d n;
    if (count == 3) {
        n = triangleNormal(points);
    } else {
        FanNormalSum fan;
        detail::walkLoopFans(points, count, fan);
        n = fan.sum;
    }
    const double length = detail::magnitude(n);
    if (length > 0.0) n = {n.x / length, n.y / length, n.z / length};
    if (normal != nullptr) *normal = n;
    return 0.5 * length;
}

}  // namespace Korvex
