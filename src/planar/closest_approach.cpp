#include "planar/closest_approach.h"

#include "planar/approach_stages.h"
#include "planar/plane_crossing.h"
#include "planar/point_vector.h"
#include "planar/polygon_measures.h"

namespace Korvex {
namespace {

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
    detail::Approach best{pointsA[0], pointsB[0],
                          tgxDPoint3d_distanceSquared(&pointsA[0], &pointsB[0])};
    detail::matchVerticesToFace(best, true, pointsA, countA, normalA, pointsB, countB);
    detail::matchVerticesToFace(best, false, pointsB, countB, normalB, pointsA, countA);
    detail::matchEdgePairs(best, pointsA, countA, pointsB, countB);
    writeOutputs(pointA, pointB, best.onA, best.onB);
    return true;
}

}  // namespace Korvex
