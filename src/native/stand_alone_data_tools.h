// The native geometry operations: static members taking NativeGeometry
// chains owned by the caller. They report by result and never throw, except
// for the vertex-limit error of the polygon intersection.
#pragma once

#include <cstdint>

#include "native/native_geometry.h"
#include "native/plex_polyline.h"
#include "planar/planar_types.h"
#include "vu/vu_types.h"

namespace Korvex::Geom {
class XYRangeTreeRoot;
class XYRangeTreeHandler;
class XYPointSearcher;
class PolylineRangeTreeClosestPointSearcher;
class PolylineRangeTreeClosestPolylineSearcher;
}  // namespace Korvex::Geom

namespace Korvex {

class VuPolygonClassifier;

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

    // --- Polygon Booleans -----------------------------------------------------
    // Each returns a new chain of closed rings (first point repeated at the
    // end), or one empty ring when the result has no area. The caller deletes
    // it.

    // The region common to a and b. An operand beyond the point buffer is
    // thinned first; MaxVerticesCountExceededException when even that fails.
    static NativeGeometry* GetPolygonIntersection(const NativeGeometry* a, const NativeGeometry* b);
    // The region of a outside b; an operand beyond the point buffer is empty.
    static NativeGeometry* GetPolygonDifference(const NativeGeometry* a, const NativeGeometry* b);
    // The region of a or b; an operand beyond the point buffer is empty.
    static NativeGeometry* GetPolygonUnion(const NativeGeometry* a, const NativeGeometry* b);
    // The same three on a classifier the caller keeps: its graph's memory
    // then serves call after call, which spares a loop over many pairs most
    // of its allocation. The results are those of the forms above.
    static NativeGeometry* GetPolygonIntersection(const NativeGeometry* a, const NativeGeometry* b,
                                                  VuPolygonClassifier& classifier);
    static NativeGeometry* GetPolygonDifference(const NativeGeometry* a, const NativeGeometry* b,
                                                VuPolygonClassifier& classifier);
    static NativeGeometry* GetPolygonUnion(const NativeGeometry* a, const NativeGeometry* b,
                                           VuPolygonClassifier& classifier);
    // The open polyline closed into one ring: directly by its chord when the
    // chord stays clear of a single-ring polygon, otherwise by walking the
    // vertices that turn least to the right until back at its start. A
    // polyline of fewer than 2 or more than 4999 points gives an empty ring.
    static NativeGeometry* GetPolygonFromPolyline(const NativeGeometry* polyline,
                                                  const NativeGeometry* polygon);

    // --- Nearest pipe -------------------------------------------------------

    static Geom::XYRangeTreeRoot* NewXYRangeTree();
    // Builds the pipe record of `points` into *record, reports its bounding
    // rectangle and adds it to the tree. Without points the record is empty,
    // is not added, and the bounds are left untouched; without `record`
    // nothing is built.
    static void InitializeRangeTree(Geom::XYRangeTreeRoot* tree, const DPoint2d* points,
                                    int count, std::int32_t id, PlexPolyline** record,
                                    double* minX, double* minY, double* maxX, double* maxY);
    static Geom::PolylineRangeTreeClosestPointSearcher* NewPolylineRangeTreeClosestPointSearcher();
    static Geom::PolylineRangeTreeClosestPolylineSearcher*
    NewPolylineRangeTreeClosestPolylineSearcher();
    // Nearest stored item to a point, with a point-flavoured handler (the
    // pipe searcher, or the low-corner searcher whose leaf data are int32
    // IDs). *id is 0 when nothing was found or the handler is of another kind.
    static void SearchRangeTree(Geom::XYRangeTreeRoot* tree, Geom::XYRangeTreeHandler* handler,
                                const NativeGeometryPoint* query, double radius,
                                std::int32_t* id);
    // Nearest pipe to the first ring of a polyline, with the polyline handler.
    static void SearchRangeTree(Geom::XYRangeTreeRoot* tree, Geom::XYRangeTreeHandler* handler,
                                const NativeGeometry* query, double radius, std::int32_t* id);
    // Frees the tree (not the pipe records) and the handler by its kind.
    static void DisposeRangeTreeAndSearcher(Geom::XYRangeTreeRoot* tree,
                                            Geom::XYRangeTreeHandler* handler);

    // --- Nearest node -------------------------------------------------------

    // Adds a point with the address of the caller's ID (kept alive by the
    // caller until DisposePointSearcher); a null searcher makes a new one.
    static Geom::XYPointSearcher* InitializePointSearcher(Geom::XYPointSearcher* searcher,
                                                          const NativeGeometryPoint* point,
                                                          const std::int32_t* id);
    // Writes the ID of the nearest point; leaves *id untouched when the
    // searcher holds no point.
    static void SearchNearestPoint(Geom::XYPointSearcher* searcher,
                                   const NativeGeometryPoint* query, std::int32_t* id);
    static void DisposePointSearcher(Geom::XYPointSearcher* searcher);

private:
    friend class VuPolygonClassifier;

    // Lays the geometry into the buffer like CopyToPointBuffer; when it does
    // not fit, lays a thinned copy instead (*reduced, owned by the caller):
    // points nearer than a growing distance to the last kept point of their
    // ring are dropped.
    static void ReduceToPointBuffer(DPoint3d* buffer, int* count, NativeGeometry** reduced,
                                    const NativeGeometry* geometry, bool allRings);
    // The accepted face loops of the classifier as a new chain.
    static NativeGeometry* CollectResultGeometry(VuPolygonClassifier& classifier);
    // Keeps the user data of both halves of a split edge equal to that of
    // the nodes before them.
    static int OnGraphMessage(vumessagetype type, VuSet* graph, VuNode* a, VuNode* b,
                              void* reserved, void* classifier);
};

}  // namespace Korvex
