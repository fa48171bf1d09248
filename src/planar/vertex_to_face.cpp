#include "planar/approach_stages.h"
#include "planar/polygon_rings.h"
#include "planar/xy_parity_engine.h"

#include <cmath>

namespace Korvex::detail {
namespace {

// A right-handed frame with its z axis along a face's unit normal.
struct FaceFrame {
    DPoint3d origin, xAxis, yAxis, zAxis;

    DPoint3d toLocal(const DPoint3d& p) const {
        const DPoint3d d = sub(p, origin);
        return {dot(d, xAxis), dot(d, yAxis), dot(d, zAxis)};
    }
    double heightOf(const DPoint3d& p) const { return dot(sub(p, origin), zAxis); }
    DPoint3d toWorldOnFace(double x, double y) const {
        return add(origin, add(scale(xAxis, x), scale(yAxis, y)));
    }
};

DPoint3d normalized(const DPoint3d& v) {
    const double length = magnitude(v);
    return {v.x / length, v.y / length, v.z / length};
}

// The x axis is taken across the world y axis for normals near the world z
// axis (|N.x|, |N.y| < |N|/64) and across the world z axis otherwise, which
// keeps it well away from parallel to N.
FaceFrame frameOf(const DPoint3d& origin, const DPoint3d& normal) {
    const double limit = 0.015625 * magnitude(normal);
    const bool nearZ = std::fabs(normal.x) < limit && std::fabs(normal.y) < limit;
    const DPoint3d w = nearZ ? DPoint3d{0.0, 1.0, 0.0} : DPoint3d{0.0, 0.0, 1.0};
    const DPoint3d xAxis = normalized(cross(w, normal));
    return {origin, xAxis, normalized(cross(normal, xAxis)), normal};
}

// The face's points in its own frame, transformed as the parity test reads
// them, so that no copy of the polygon is needed.
struct LocalFaceSource {
    const DPoint3d* points;
    const FaceFrame* frame;
    DPoint3d at(int i) const { return frame->toLocal(points[i]); }
    bool isSeparator(int i) const { return tgxDPoint3d_isDisconnect(&points[i]); }
};

// A vertex of height z (above the face, in its frame) between neighbours of
// heights zPrev and zNext is a candidate when it is no farther than the best
// so far and no neighbour is nearer the face's plane on the same side.
bool isFaceCandidate(double z, double zPrev, double zNext, double best) {
    if (!(z * z <= best)) return false;
    if (z > 0.0) return zPrev - z >= 0.0 && zNext - z >= 0.0;
    if (z < 0.0) return zPrev - z <= 0.0 && zNext - z <= 0.0;
    return false;
}

}  // namespace

void matchVerticesToFace(Approach& best, bool faceIsA, const DPoint3d* face, int faceCount,
                         const DPoint3d& faceNormal, const DPoint3d* other, int otherCount) {
    if (isZero(faceNormal)) return;
    const FaceFrame frame = frameOf(face[0], faceNormal);
    const LocalFaceSource faceSource{face, &frame};
    forEachRing(other, otherCount, [&](const RingRange& ring) {
        double zPrev = frame.heightOf(other[ring.end - 1]);
        double z = frame.heightOf(other[ring.begin]);
        for (int i = ring.begin; i < ring.end; ++i) {
            const double zNext = frame.heightOf(other[ring.next(i)]);
            if (isFaceCandidate(z, zPrev, zNext, best.distanceSquared)) {
                const DPoint3d local = frame.toLocal(other[i]);
                const int parity = classifyXY(faceSource, faceCount, local.x, local.y, 0.0);
                if (parity == kParityInside || parity == kParityOn) {
                    const DPoint3d foot = frame.toWorldOnFace(local.x, local.y);
                    best.distanceSquared = z * z;
                    (faceIsA ? best.onA : best.onB) = foot;
                    (faceIsA ? best.onB : best.onA) = other[i];
                }
            }
            zPrev = z;
            z = zNext;
        }
    });
}

}  // namespace Korvex::detail
