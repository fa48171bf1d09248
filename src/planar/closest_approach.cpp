#include "planar/closest_approach.h"

#include "planar/numerics.h"
#include "planar/plane_crossing.h"
#include "planar/point_vector.h"
#include "planar/polygon_measures.h"
#include "planar/polygon_rings.h"
#include "planar/xy_parity_engine.h"

#include <cmath>

namespace Korvex {
namespace {

using detail::add;
using detail::cross;
using detail::dot;
using detail::scale;
using detail::sub;

// The best pair so far and its squared distance.
struct Approach {
    DPoint3d onA;
    DPoint3d onB;
    double distanceSquared;
};

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
    const double length = detail::magnitude(v);
    return {v.x / length, v.y / length, v.z / length};
}

// The x axis is taken across the world y axis for normals near the world z
// axis (|N.x|, |N.y| < |N|/64) and across the world z axis otherwise, which
// keeps it well away from parallel to N.
FaceFrame frameOf(const DPoint3d& origin, const DPoint3d& normal) {
    const double limit = 0.015625 * detail::magnitude(normal);
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

// Vertices of `other` that are local extremes of height over `face` and lie
// over it (parity inside or on) are matched with their foot on the face.
// Ties go to the later vertex.
void matchVerticesToFace(Approach& best, bool faceIsA, const DPoint3d* face, int faceCount,
                         const DPoint3d& faceNormal, const DPoint3d* other, int otherCount) {
    if (detail::isZero(faceNormal)) return;
    const FaceFrame frame = frameOf(face[0], faceNormal);
    const LocalFaceSource faceSource{face, &frame};
    detail::forEachRing(other, otherCount, [&](const detail::RingRange& ring) {
        double zPrev = frame.heightOf(other[ring.end - 1]);
        double z = frame.heightOf(other[ring.begin]);
        for (int i = ring.begin; i < ring.end; ++i) {
            const double zNext = frame.heightOf(other[ring.next(i)]);
            if (isFaceCandidate(z, zPrev, zNext, best.distanceSquared)) {
                const DPoint3d local = frame.toLocal(other[i]);
                const int parity = detail::classifyXY(faceSource, faceCount, local.x, local.y, 0.0);
                if (parity == detail::kParityInside || parity == detail::kParityOn) {
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

// The closest points of the two edges' lines, each clamped to its own edge
// (without re-solving); false for parallel or zero-length edges.
bool clampedLineApproach(DPoint3d& qa, DPoint3d& qb, const DPoint3d& a0, const DPoint3d& a1,
                         const DPoint3d& b0, const DPoint3d& b1) {
    const DPoint3d ua = sub(a1, a0), ub = sub(b1, b0);
    const double lengthA = detail::magnitude(ua), lengthB = detail::magnitude(ub);
    if (lengthA == 0.0 || lengthB == 0.0) return false;
    const DPoint3d unitA = scale(ua, 1.0 / lengthA), unitB = scale(ub, 1.0 / lengthB);
    const DPoint3d w = sub(b0, a0);
    double fa = 0.0, fb = 0.0;
    if (!detail::solveColumnScaled2x2(fa, fb, dot(ua, unitA), -dot(ub, unitA), dot(ua, unitB),
                                      -dot(ub, unitB), dot(w, unitA), dot(w, unitB))) {
        return false;
    }
    qa = fa < 0.0 ? a0 : fa > 1.0 ? a1 : add(a0, scale(ua, fa));
    qb = fb < 0.0 ? b0 : fb > 1.0 ? b1 : add(b0, scale(ub, fb));
    return true;
}

// Every edge of A against every edge of B; a pair replaces the best only when
// strictly closer, so the earlier pair keeps a tie.
void matchEdgePairs(Approach& best, const DPoint3d* a, int countA, const DPoint3d* b,
                    int countB) {
    detail::forEachRingEdge(a, countA, [&](const DPoint3d& a0, const DPoint3d& a1) {
        detail::forEachRingEdge(b, countB, [&](const DPoint3d& b0, const DPoint3d& b1) {
            DPoint3d qa, qb;
            if (!clampedLineApproach(qa, qb, a0, a1, b0, b1)) return;
            const double d2 = tgxDPoint3d_distanceSquared(&qa, &qb);
            if (d2 < best.distanceSquared) best = {qa, qb, d2};
        });
    });
}

void writeOutputs(DPoint3d* pointA, DPoint3d* pointB, const DPoint3d& onA, const DPoint3d& onB) {
    if (pointA != nullptr) *pointA = onA;
    if (pointB != nullptr) *pointB = onB;
}

}  // namespace

bool tgxPolygon_closestApproachBetweenPolygons(DPoint3d* pointA, DPoint3d* pointB,
                                               const DPoint3d* pointsA, int countA,
                                               const DPoint3d* pointsB, int countB) {
    if (pointsA == nullptr || pointsB == nullptr || countA < 1 || countB < 1) return false;
    if (countA == 1 && countB == 1) {
        writeOutputs(pointA, pointB, pointsA[0], pointsB[0]);
        return true;
    }
    DPoint3d normalA, normalB;
    tgxPolygon_normalAndArea(&normalA, nullptr, pointsA, countA);
    tgxPolygon_normalAndArea(&normalB, nullptr, pointsB, countB);
    DPoint3d meeting;
    if (detail::findPlaneCrossingOverlap(meeting, pointsA, countA, normalA, pointsB, countB,
                                         normalB)) {
        writeOutputs(pointA, pointB, meeting, meeting);
        return true;
    }
    // From here on every ring drops its explicit closure point (see forEachRing).
    Approach best{pointsA[0], pointsB[0], tgxDPoint3d_distanceSquared(&pointsA[0], &pointsB[0])};
    matchVerticesToFace(best, true, pointsA, countA, normalA, pointsB, countB);
    matchVerticesToFace(best, false, pointsB, countB, normalB, pointsA, countA);
    matchEdgePairs(best, pointsA, countA, pointsB, countB);
    writeOutputs(pointA, pointB, best.onA, best.onB);
    return true;
}

}  // namespace Korvex
