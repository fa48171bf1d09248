// Closing an open polyline into a polygon against a reference polygon.
#include <algorithm>
#include <cmath>
#include <limits>

#include "native/native_ring.h"
#include "native/point_buffer.h"
#include "native/stand_alone_data_tools.h"
#include "planar/planar.h"

namespace Korvex {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;
// Offsets below this in both x and y make a candidate the current point.
constexpr double kCoincidence = 2.220446049250313e-16;

DPoint3d ToDPoint3d(const NativeGeometryPoint& p) {
    return {p.x, p.y, p.z};
}

// Whether the chord from the polyline's first to its last point stays clear
// of a polygon of one ring.
bool ChordClearsSingleRing(const NativeGeometry& polyline, const NativeGeometry* polygon) {
    if (polygon == nullptr || polygon->next != nullptr)
        return false;
    const DPoint3d chord[2] = {ToDPoint3d(polyline.points[0]),
                               ToDPoint3d(polyline.points[polyline.count - 1])};
    PointBuffer ring;
    int count = 0;
    CStandAloneDataTools::CopyToPointBuffer(ring.data(), &count, polygon, false);
    return !tgxDPoint3dArray_polylineClashXY(chord, 2, true, ring.data(), count, false);
}

NativeGeometry* ClosedByChord(const NativeGeometry& polyline) {
    auto* ring = new NativeGeometry(nullptr, 0);
    ring->points = new NativeGeometryPoint[static_cast<std::size_t>(polyline.count) + 1];
    std::copy_n(polyline.points, polyline.count, ring->points);
    ring->points[polyline.count] = polyline.points[0];
    ring->count = polyline.count + 1;
    return ring;
}

// The best candidate of one walking step: the one turning least to the
// right of the step direction (the earlier one on a tie).
class StepChoice {
public:
    StepChoice(const DPoint3d& previous, const DPoint3d& current) : m_current{current.x, current.y} {
        const DPoint2d back{previous.x, previous.y};
        tgxDPoint2d_subtractDPoint2dDPoint2d(&m_direction, &back, &m_current);
        tgxDPoint2d_rotate(&m_direction, &m_direction, kPi);
    }

    // True when the candidate becomes the best so far.
    bool Offer(const NativeGeometryPoint& candidate) {
        const DPoint2d target{candidate.x, candidate.y};
        DPoint2d offset;
        tgxDPoint2d_subtractDPoint2dDPoint2d(&offset, &target, &m_current);
        if (std::fabs(offset.x) < kCoincidence && std::fabs(offset.y) < kCoincidence)
            return false;
        double angle = tgxDPoint2d_angleBetweenVectors(&offset, &m_direction);
        if (angle < 0.0)
            angle += kTwoPi;
        if (!(angle < m_bestAngle))
            return false;
        m_bestAngle = angle;
        return true;
    }

private:
    DPoint2d m_current;
    DPoint2d m_direction{};
    double m_bestAngle = std::numeric_limits<double>::max();
};

// Appends vertices to `walk` (holding the polyline's n points) until the
// walk comes back to the polyline's start or the buffer is full; returns the
// final point count.
int WalkAlongPolygon(DPoint3d* walk, int n, const NativeGeometry& polyline,
                     const NativeGeometry* polygon) {
    for (;;) {
        StepChoice step(walk[n - 2], walk[n - 1]);
        bool placed = false;
        bool found = false;
        for (int i = 0; i < polyline.count; ++i)
            if (step.Offer(polyline.points[i])) {
                walk[n] = ToDPoint3d(polyline.points[i]);
                placed = true;
                if (i != 0)  // stepping back to the start leaves `found` as it is
                    found = true;
            }
        for (const NativeGeometry* ring = polygon; ring != nullptr; ring = ring->next)
            for (int i = 0; i < ring->count && ring->points != nullptr; ++i)
                if (step.Offer(ring->points[i])) {
                    walk[n] = ToDPoint3d(ring->points[i]);
                    placed = found = true;
                }
        if (!placed || n == kPointBufferSize - 1)
            return n;  // nothing to step to, or the buffer is full
        ++n;
        if (!found)
            return n;
    }
}

}  // namespace

NativeGeometry* CStandAloneDataTools::GetPolygonFromPolyline(const NativeGeometry* polyline,
                                                             const NativeGeometry* polygon) {
    if (polyline == nullptr || polyline->points == nullptr || polyline->count < 2 ||
        polyline->count > kPointBufferSize - 1)
        return new NativeGeometry(nullptr, 0);
    if (ChordClearsSingleRing(*polyline, polygon))
        return ClosedByChord(*polyline);
    PointBuffer walk;
    for (int i = 0; i < polyline->count; ++i)
        walk[static_cast<std::size_t>(i)] = ToDPoint3d(polyline->points[i]);
    const int n = WalkAlongPolygon(walk.data(), polyline->count, *polyline, polygon);
    return NewRingFromDPoint3d(walk.data(), n);
}

}  // namespace Korvex
