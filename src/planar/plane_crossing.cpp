#include "planar/plane_crossing.h"

#include "planar/polygon_rings.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace Korvex::detail {
namespace {

// Vertices closer than this to the other polygon's plane count as on it.
constexpr double kOnPlaneDistance = 1.0e-8;

// Callers keep polygons to 5000 points, and a ring cut by a line has at most
// as many crossings as edges. Larger inputs skip this stage.
constexpr int kMaxCrossings = 5000;

// The line where two planes meet: a point on it and its unit direction.
struct MeetingLine {
    DPoint3d origin;
    DPoint3d direction;
    double parameterOf(const DPoint3d& p) const { return dot(sub(p, origin), direction); }
    DPoint3d pointAt(double t) const { return add(origin, scale(direction, t)); }
};

// Planes n1.x = h1 and n2.x = h2 with d = n1 x n2 meet in the line through
// (h1 (n2 x d) + h2 (d x n1)) / |d|^2 with direction d; that point is the
// line's point nearest the world origin, which keeps parameters small.
MeetingLine meetingLineOf(const DPoint3d& n1, const DPoint3d& on1, const DPoint3d& n2,
                          const DPoint3d& on2, const DPoint3d& d) {
    const double dd = dot(d, d);
    const DPoint3d sum = add(scale(cross(n2, d), dot(n1, on1)), scale(cross(d, n1), dot(n2, on2)));
    return {scale(sum, 1.0 / dd), scale(d, 1.0 / std::sqrt(dd))};
}

// Sorted parameters where a polygon's edges cross the line.
class LineCrossings {
public:
    // Collects where the polygon's ring edges change sides of the plane. A
    // vertex on the plane counts as on its positive side, so that every ring
    // crosses an even number of times and a vertex touching the plane from
    // below opens and closes an interval of zero length; edges lying in the
    // plane add nothing. false when the crossings cannot be formed.
    bool collect(const DPoint3d* points, int count, const DPoint3d& planeNormal,
                 const DPoint3d& planePoint, const MeetingLine& line) {
        size_ = 0;
        bool ok = true;
        forEachRingEdge(points, count, [&](const DPoint3d& p0, const DPoint3d& p1) {
            const double s0 = heightAbove(p0, planeNormal, planePoint);
            const double s1 = heightAbove(p1, planeNormal, planePoint);
            if ((s0 < 0.0) == (s1 < 0.0) || !ok) return;
            const double t = line.parameterOf(interpolate(p0, s0 / (s0 - s1), p1));
            if (size_ == kMaxCrossings || !std::isfinite(t)) {
                ok = false;
                return;
            }
            values_[size_++] = t;
        });
        if (!ok || size_ % 2 != 0) return false;
        std::sort(values_.begin(), values_.begin() + size_);
        return true;
    }

    int intervalCount() const { return size_ / 2; }
    double start(int interval) const { return values_[2 * interval]; }
    double end(int interval) const { return values_[2 * interval + 1]; }

private:
    static double heightAbove(const DPoint3d& p, const DPoint3d& n, const DPoint3d& on) {
        const double h = dot(sub(p, on), n);
        return std::fabs(h) < kOnPlaneDistance ? 0.0 : h;
    }

    std::array<double, kMaxCrossings> values_;
    int size_ = 0;
};

// The smallest parameter inside an interval of both lists (touching counts).
bool firstOverlapStart(double& start, const LineCrossings& a, const LineCrossings& b) {
    int i = 0, j = 0;
    while (i < a.intervalCount() && j < b.intervalCount()) {
        const double lo = std::max(a.start(i), b.start(j));
        if (lo <= std::min(a.end(i), b.end(j))) {
            start = lo;
            return true;
        }
        if (a.end(i) < b.end(j)) {
            ++i;
        } else {
            ++j;
        }
    }
    return false;
}

}  // namespace

bool findPlaneCrossingOverlap(DPoint3d& meetingPoint, const DPoint3d* pointsA, int countA,
                              const DPoint3d& normalA, const DPoint3d* pointsB, int countB,
                              const DPoint3d& normalB) {
    const DPoint3d d = cross(normalA, normalB);
    if (isZero(d)) return false;
    const MeetingLine line = meetingLineOf(normalA, pointsA[0], normalB, pointsB[0], d);
    // Each polygon is cut by the other's plane: the cut lies on the line.
    LineCrossings crossingsA, crossingsB;
    if (!crossingsA.collect(pointsA, countA, normalB, pointsB[0], line)) return false;
    if (!crossingsB.collect(pointsB, countB, normalA, pointsA[0], line)) return false;
    double start = 0.0;
    if (!firstOverlapStart(start, crossingsA, crossingsB)) return false;
    meetingPoint = line.pointAt(start);
    return true;
}

}  // namespace Korvex::detail
