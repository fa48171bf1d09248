// Intersection and union of two overlapping polygons of n vertices each:
// the vertex-use graph pipeline side by side with GEOS, Clipper and
// Boost.Geometry on the same pairs. Every run starts from the raw point arrays
// and ends with the area of the result, so building the inputs and reading the
// output are timed for all four. The per_vertex counter is the time per input
// vertex (2n); it should stay flat as n grows.
#include <benchmark/benchmark.h>
#include <geos_c.h>

#include <boost/geometry.hpp>
#include <clipper.hpp>
#include <cmath>
#include <vector>

#include "boolean_shapes.h"
#include "vu/vu.h"

namespace {

using Korvex::DPoint3d;

struct Pair {
    std::vector<DPoint3d> a;
    std::vector<DPoint3d> b;
};

enum class Shape { Circles, Stars };

Pair makePair(Shape shape, int count) {
    using namespace boolean_shapes;
    if (shape == Shape::Stars) return {StarA<DPoint3d>(count), StarB<DPoint3d>(count)};
    return {CircleA<DPoint3d>(count), CircleB<DPoint3d>(count)};
}

void setCounters(benchmark::State& state, int count) {
    state.counters["per_vertex"] = benchmark::Counter(
        2.0 * count, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// ---- the graph pipeline, as the native polygon operations run it ----------

void loadOperand(Korvex::VuSet* set, const std::vector<DPoint3d>& ring) {
    Korvex::vu_loopFromDPoint3dArrayXYTol(set, ring.data(), static_cast<int>(ring.size()), 0.0, 1e-8);
    Korvex::vu_mergeOrUnionLoops(set, Korvex::VU_MERGE_UNION);
    Korvex::vu_regularizeGraph(set);
    Korvex::vu_markAlternatingExteriorBoundaries(set, true);
}

double graphBoolean(const Pair& pair, Korvex::VuGraphOperation operation) {
    using namespace Korvex;
    VuSet* set = vu_newVuSet();
    vu_setTol(set, 0.0, 1e-10);
    loadOperand(set, pair.a);
    vu_stackPush(set);
    loadOperand(set, pair.b);
    vu_stackPopWithOperation(set, operation, nullptr);
    vuArray* faces = vu_grabArray(set);
    vu_collectInteriorFaceLoops(faces, set);
    double area = 0.0;
    for (int i = 0; i < vu_arraySize(faces); ++i) area += vu_area(vu_arrayGet(faces, i));
    vu_returnArray(set, faces);
    vu_freeVuSet(set);
    return area;
}

// ---- GEOS --------------------------------------------------------------------

GEOSGeometry* geosPolygon(GEOSContextHandle_t context, const std::vector<DPoint3d>& ring) {
    GEOSCoordSequence* sequence = GEOSCoordSeq_create_r(context, ring.size() + 1, 2);
    for (size_t i = 0; i <= ring.size(); ++i) {
        const DPoint3d& p = ring[i % ring.size()];
        GEOSCoordSeq_setXY_r(context, sequence, i, p.x, p.y);
    }
    return GEOSGeom_createPolygon_r(context, GEOSGeom_createLinearRing_r(context, sequence), nullptr, 0);
}

using GeosOperation = GEOSGeometry* (*)(GEOSContextHandle_t, const GEOSGeometry*, const GEOSGeometry*);

double geosBoolean(GEOSContextHandle_t context, const Pair& pair, GeosOperation operation) {
    GEOSGeometry* a = geosPolygon(context, pair.a);
    GEOSGeometry* b = geosPolygon(context, pair.b);
    GEOSGeometry* result = operation(context, a, b);
    double area = 0.0;
    GEOSArea_r(context, result, &area);
    GEOSGeom_destroy_r(context, result);
    GEOSGeom_destroy_r(context, b);
    GEOSGeom_destroy_r(context, a);
    return area;
}

// ---- Clipper (integer coordinates: 1e-9 units) -----------------------------------

constexpr double kClipperScale = 1e9;

ClipperLib::Path clipperPath(const std::vector<DPoint3d>& ring) {
    ClipperLib::Path path;
    path.reserve(ring.size());
    for (const DPoint3d& p : ring)
        path.emplace_back(static_cast<ClipperLib::cInt>(std::llround(p.x * kClipperScale)),
                          static_cast<ClipperLib::cInt>(std::llround(p.y * kClipperScale)));
    return path;
}

double clipperBoolean(const Pair& pair, ClipperLib::ClipType type) {
    ClipperLib::Clipper clipper;
    clipper.AddPath(clipperPath(pair.a), ClipperLib::ptSubject, true);
    clipper.AddPath(clipperPath(pair.b), ClipperLib::ptClip, true);
    ClipperLib::Paths solution;
    clipper.Execute(type, solution, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    double area = 0.0;
    for (const ClipperLib::Path& path : solution) area += ClipperLib::Area(path);
    return area / (kClipperScale * kClipperScale);
}

// ---- Boost.Geometry ------------------------------------------------------------------

namespace bg = boost::geometry;
using BoostPoint = bg::model::d2::point_xy<double>;
using BoostPolygon = bg::model::polygon<BoostPoint>;  // clockwise, closed
using BoostMultiPolygon = bg::model::multi_polygon<BoostPolygon>;

BoostPolygon boostPolygon(const std::vector<DPoint3d>& ring) {
    BoostPolygon polygon;
    polygon.outer().reserve(ring.size() + 1);
    for (const DPoint3d& p : ring) polygon.outer().emplace_back(p.x, p.y);
    bg::correct(polygon);
    return polygon;
}

double boostBoolean(const Pair& pair, bool intersection) {
    const BoostPolygon a = boostPolygon(pair.a);
    const BoostPolygon b = boostPolygon(pair.b);
    BoostMultiPolygon result;
    if (intersection)
        bg::intersection(a, b, result);
    else
        bg::union_(a, b, result);
    return bg::area(result);
}

// ---- benchmarks ------------------------------------------------------------------------

// range(0): vertices per operand; range(1): 0 for wobbly circles, 1 for stars.
template <class Operation>
void timePairs(benchmark::State& state, Operation operation) {
    const int count = static_cast<int>(state.range(0));
    const Pair pair = makePair(state.range(1) == 1 ? Shape::Stars : Shape::Circles, count);
    for (auto _ : state) benchmark::DoNotOptimize(operation(pair));
    setCounters(state, count);
}

void BM_GraphIntersection(benchmark::State& state) {
    timePairs(state, [](const Pair& pair) { return graphBoolean(pair, Korvex::vu_andLoops); });
}

void BM_GraphUnion(benchmark::State& state) {
    timePairs(state, [](const Pair& pair) { return graphBoolean(pair, Korvex::vu_orLoops); });
}

void timeGeos(benchmark::State& state, GeosOperation operation) {
    GEOSContextHandle_t context = GEOS_init_r();
    timePairs(state, [&](const Pair& pair) { return geosBoolean(context, pair, operation); });
    GEOS_finish_r(context);
}

void BM_GeosIntersection(benchmark::State& state) { timeGeos(state, GEOSIntersection_r); }
void BM_GeosUnion(benchmark::State& state) { timeGeos(state, GEOSUnion_r); }

void BM_ClipperIntersection(benchmark::State& state) {
    timePairs(state, [](const Pair& pair) { return clipperBoolean(pair, ClipperLib::ctIntersection); });
}

void BM_ClipperUnion(benchmark::State& state) {
    timePairs(state, [](const Pair& pair) { return clipperBoolean(pair, ClipperLib::ctUnion); });
}

void BM_BoostIntersection(benchmark::State& state) {
    timePairs(state, [](const Pair& pair) { return boostBoolean(pair, true); });
}

void BM_BoostUnion(benchmark::State& state) {
    timePairs(state, [](const Pair& pair) { return boostBoolean(pair, false); });
}

#define VERTEX_COUNTS \
    ArgsProduct({{10, 100, 1000, 4000}, {0, 1}})->ArgNames({"n", "stars"})->Unit(benchmark::kMicrosecond)

BENCHMARK(BM_GraphIntersection)->VERTEX_COUNTS;
BENCHMARK(BM_GeosIntersection)->VERTEX_COUNTS;
BENCHMARK(BM_ClipperIntersection)->VERTEX_COUNTS;
BENCHMARK(BM_BoostIntersection)->VERTEX_COUNTS;
BENCHMARK(BM_GraphUnion)->VERTEX_COUNTS;
BENCHMARK(BM_GeosUnion)->VERTEX_COUNTS;
BENCHMARK(BM_ClipperUnion)->VERTEX_COUNTS;
BENCHMARK(BM_BoostUnion)->VERTEX_COUNTS;

}  // namespace

BENCHMARK_MAIN();
