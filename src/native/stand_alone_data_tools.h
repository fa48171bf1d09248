// The native geometry operations: static members taking NativeGeometry
// chains owned by the caller. They report by result and never throw, except
// for the vertex-limit error of the polygon intersection.
#pragma once

#include <cstdint>

#include "native/native_geometry.h"
#include "native/plex_polyline.h"
#include "planar/planar_types.h"

namespace Korvex::Geom {
class XYRangeTreeRoot;
class XYRangeTreeHandler;
class XYPointSearcher;
}  // namespace Korvex::Geom

namespace Korvex {

class CStandAloneDataTools {
public:
    CStandAloneDataTools() = delete;

    // --- Point buffer -----------------------------------------------------

    // Lays `geometry` into `buffer` (kPointBufferSize points): its first ring
    // only, or all rings with a disconnect point between consecutive rings.
    // False, with *count 0, when the filled length would reach the capacity.
    // A null geometry fits as no points; a malformed record (negative count,
    // or points missing) never fits.
    static bool CopyToPointBuffer(DPoint3d* buffer, int* count, const NativeGeometry* geometry,
                                  bool allRings);

    // --- Measures and point tests -------------------------------------------

    // Signed XY area of all rings laid into one buffer (holes of the opposite
    // orientation subtract).
    static double GetSignedPolygonArea(const NativeGeometry* g);
    // sumRings: each ring measured alone and the areas summed; otherwise one
    // buffer holding all rings (allRings) or the first ring only.
    static double GetSignedPolygonArea(const NativeGeometry* g, bool sumRings, bool allRings);
    // Inside or on the boundary of any ring by parity; the point is the first
    // point of `point`.
    static bool IsPointInPolygon(const NativeGeometry* polygon, const NativeGeometry* point);
    // Whether a segment of a's first ring meets one of b's first ring (end
    // points included).
    static bool DoPolylinesIntersect(const NativeGeometry* a, const NativeGeometry* b);
    // The foot of the perpendicular from the query (z taken as 0) on the
    // nearest segment of the first ring that has one inside the segment. The
    // outputs are written only when such a segment exists.
    static bool GetNearestPointOnPolyline(const NativeGeometry* polyline,
                                          const NativeGeometryPoint* query,
                                          NativeGeometryPoint* nearest, double* distance);
    // Centroid and (non-negative) area of all rings; area 0 and the first
    // point when no centroid can be formed; the centroid is untouched for an
    // empty or oversized polygon.
    static void GetPolygonCentroidAndArea(const NativeGeometry* polygon,
                                          NativeGeometryPoint* centroid, double* area);
    // Squared distance between the closest points of the two boundaries;
    // the largest double when either polygon is empty.
    static double GetClosestDistanceSquaredBetweenPolygons(const NativeGeometry* a,
                                                           const NativeGeometry* b);
    // Frees a pipe record built by InitializeRangeTree; null does nothing.
    static void DisposePlexPolylineBuffer(PlexPolyline* polyline);
};

}  // namespace Korvex
