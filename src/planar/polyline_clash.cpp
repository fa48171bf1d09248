#include "planar/polyline_clash.h"

#include "planar/numerics.h"
#include "planar/vector_ops.h"

namespace Korvex {
namespace {

using detail::crossXY;

// Edge i of a polyline: points i and i + 1, then, at i = count - 1, the
// closing edge if the polyline has one.
struct PolylineEdges {
    const DPoint3d* points;
    int count;
    bool closingFromFirst;  // direction of the closing edge
    bool closed;

    int edgeCount() const { return count - 1 + (closed ? 1 : 0); }

    void edge(int i, DPoint3d& start, DPoint3d& end) const {
        if (i < count - 1) {
            start = points[i], end = points[i + 1];
        } else if (closingFromFirst) {
            start = points[0], end = points[count - 1];
        } else {
            start = points[count - 1], end = points[0];
        }
    }
};

PolylineEdges edgesOf(const DPoint3d* points, int count, bool closedFlag, bool closingFromFirst) {
    const bool closed = closedFlag && !detail::equalExactly(points[0], points[count - 1]);
    return {points, count, closingFromFirst, closed};
}

// Both intersection fractions nP/c and nQ/c within [-1e-12, 1 + 1e-12].
bool edgesClash(const DPoint3d& p0, const DPoint3d& p1, const DPoint3d& q0, const DPoint3d& q1) {
    const DPoint3d u = detail::sub(p1, p0);
    const DPoint3d v = detail::sub(q1, q0);
    const DPoint3d w = detail::sub(q0, p0);
    double c = crossXY(u, v), nP = crossXY(w, v), nQ = crossXY(w, u);
    if (c < 0.0) c = -c, nP = -nP, nQ = -nQ;
    if (c == 0.0) return false;
    const double g = detail::kRelativeTolerance * c;
    return -g <= nP && nP <= c + g && -g <= nQ && nQ <= c + g;
}

}  // namespace

bool tgxDPoint3dArray_polylineClashXY(const DPoint3d* pointsA, int countA, bool closedA,
                                      const DPoint3d* pointsB, int countB, bool closedB) {
    if (pointsA == nullptr || pointsB == nullptr || countA < 1 || countB < 1) return false;
    const PolylineEdges a = edgesOf(pointsA, countA, closedA, true);
    const PolylineEdges b = edgesOf(pointsB, countB, closedB, false);
    DPoint3d p0, p1, q0, q1;
    for (int i = 0; i < a.edgeCount(); ++i) {
        a.edge(i, p0, p1);
        for (int j = 0; j < b.edgeCount(); ++j) {
            b.edge(j, q0, q1);
            if (edgesClash(p0, p1, q0, q1)) return true;
        }
    }
    return false;
}

}  // namespace Korvex
