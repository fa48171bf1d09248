// Segment-based tests on native polylines: crossing, nearest point, closest
// approach of two polygons.
#include <limits>

#include "native/operand_buffers.h"
#include "native/point_buffer.h"
#include "native/stand_alone_data_tools.h"
#include "planar/planar.h"

namespace Korvex {

namespace {

// The segment tests read the first ring only. Laying in just that ring gives
// the same buffer prefix as laying in all rings; a first ring that does not
// fit gives no segments.
int CopyFirstRing(PointBuffer& buffer, const NativeGeometry* g) {
    int count = 0;
    CStandAloneDataTools::CopyToPointBuffer(buffer.data(), &count, g, false);
    return count;
}

bool FractionInSegment(double fraction) {
    return fraction >= 0.0 && fraction <= 1.0;
}

}  // namespace

bool CStandAloneDataTools::DoPolylinesIntersect(const NativeGeometry* a, const NativeGeometry* b) {
    PointBuffer bufferA;
    PointBuffer bufferB;
    const int countA = CopyFirstRing(bufferA, a);
    const int countB = CopyFirstRing(bufferB, b);
    if (countA < 2)
        return false;
    DSegment3d segmentA;
    DSegment3d segmentB;
    for (int i = 1; i < countA; ++i) {
        tgxDSegment3d_initFromDPoint3d(&segmentA, &bufferA[i - 1], &bufferA[i]);
        for (int j = 1; j < countB; ++j) {
            tgxDSegment3d_initFromDPoint3d(&segmentB, &bufferB[j - 1], &bufferB[j]);
            double fractionA = 0.0;
            double fractionB = 0.0;
            if (tgxGeom_intersectXYDSegment3dDSegment3d(nullptr, &fractionA, nullptr, &fractionB,
                                                        &segmentA, &segmentB) &&
                FractionInSegment(fractionA) && FractionInSegment(fractionB))
                return true;
        }
    }
    return false;
}

bool CStandAloneDataTools::GetNearestPointOnPolyline(const NativeGeometry* polyline,
                                                     const NativeGeometryPoint* query,
                                                     NativeGeometryPoint* nearest,
                                                     double* distance) {
    if (query == nullptr)
        return false;
    PointBuffer buffer;
    const int count = CopyFirstRing(buffer, polyline);
    const DPoint3d point{query->x, query->y, 0.0};
    double best = std::numeric_limits<double>::max();
    bool found = false;
    DSegment3d segment;
    for (int i = 1; i < count; ++i) {
        tgxDSegment3d_initFromDPoint3d(&segment, &buffer[i - 1], &buffer[i]);
        DPoint3d projected;
        double fraction = 0.0;
        if (!tgxDSegment3d_projectPointXY(&segment, &projected, &fraction, &point) ||
            !FractionInSegment(fraction))
            continue;
        const double d = tgxDPoint3d_distance(&projected, &point);
        if (d < best) {  // strict: the earlier segment wins a tie
            best = d;
            found = true;
            if (nearest != nullptr)
                *nearest = {projected.x, projected.y, projected.z};
        }
    }
    if (found && distance != nullptr)
        *distance = best;
    return found;
}

double CStandAloneDataTools::GetClosestDistanceSquaredBetweenPolygons(const NativeGeometry* a,
                                                                      const NativeGeometry* b) {
    OperandBuffers operands;
    operands.Copy(a, b);
    DPoint3d closestA;
    DPoint3d closestB;
    // An empty operand has no closest points: report "infinitely" far.
    if (!tgxPolygon_closestApproachBetweenPolygons(&closestA, &closestB, operands.a.data(),
                                                   operands.countA, operands.b.data(),
                                                   operands.countB))
        return std::numeric_limits<double>::max();
    return tgxDPoint3d_distanceSquared(&closestA, &closestB);
}

void CStandAloneDataTools::DisposePlexPolylineBuffer(PlexPolyline* polyline) {
    if (polyline == nullptr)
        return;
    delete[] polyline->points;
    polyline->points = nullptr;
    polyline->count = 0;
    polyline->id = 0;
    delete polyline;
}

}  // namespace Korvex
