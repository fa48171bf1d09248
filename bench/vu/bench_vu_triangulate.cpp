// Triangulating a polygon with holes: the vertex-use graph pipeline (loops,
// regularization, exterior marking, monotone triangulation, optional shape
// flips) side by side with GEOS's constrained Delaunay triangulation of the
// same polygon. Both timings include building the geometry from points.
#include <benchmark/benchmark.h>
#include <geos_c.h>

#include <random>
#include <vector>

#include "vu/graph_test_helpers.h"
#include "vu/vu.h"

namespace {

using Korvex::DPoint3d;
using Korvex::vutest::Ring;

// A jagged outer ring of the given number of corners around a 6 x 6 grid of
// 24-corner islands.
std::vector<Ring> parcelWithHoles(int outerCorners) {
    std::mt19937 random(12345);
    std::vector<Ring> rings;
    rings.push_back(Korvex::vutest::randomStarRing(random, {0, 0}, 95.0, 100.0, outerCorners));
    for (int row = 0; row < 6; ++row) {
        for (int column = 0; column < 6; ++column) {
            const Korvex::DPoint2d centre{-37.5 + 15.0 * column, -37.5 + 15.0 * row};
            rings.push_back(Korvex::vutest::randomStarRing(random, centre, 3.0, 6.0, 24));
        }
    }
    return rings;
}

int countCorners(const std::vector<Ring>& rings) {
    int corners = 0;
    for (const Ring& ring : rings) corners += static_cast<int>(ring.size());
    return corners;
}

int triangulateWithGraph(const std::vector<Ring>& rings, bool flip) {
    Korvex::VuSet* set = Korvex::vu_newVuSet();
    for (const Ring& ring : rings) {
        const int count = static_cast<int>(ring.size());
        Korvex::vu_loopFromDPoint3dArrayXYTol(set, ring.data(), count, 0, 0);
    }
    Korvex::vu_regularizeGraph(set);
    Korvex::vu_markAlternatingExteriorBoundaries(set, true);
    Korvex::vu_triangulateMonotoneInteriorFaces(set, false);
    if (flip) Korvex::vu_flipTrianglesToImproveQuadraticAspectRatio(set);
    const int nodes = Korvex::vu_countNodesInGraph(set);
    Korvex::vu_freeVuSet(set);
    return nodes;
}

GEOSGeometry* geosRing(GEOSContextHandle_t geos, const Ring& ring) {
    const unsigned size = static_cast<unsigned>(ring.size());
    GEOSCoordSequence* points = GEOSCoordSeq_create_r(geos, size + 1, 2);
    for (unsigned i = 0; i <= size; ++i) {
        const DPoint3d& p = ring[i % size];
        GEOSCoordSeq_setXY_r(geos, points, i, p.x, p.y);
    }
    return GEOSGeom_createLinearRing_r(geos, points);
}

int triangulateWithGeos(GEOSContextHandle_t geos, const std::vector<Ring>& rings) {
    std::vector<GEOSGeometry*> holes;
    for (std::size_t i = 1; i < rings.size(); ++i) holes.push_back(geosRing(geos, rings[i]));
    GEOSGeometry* polygon = GEOSGeom_createPolygon_r(geos, geosRing(geos, rings.front()),
                                                     holes.data(),
                                                     static_cast<unsigned>(holes.size()));
    GEOSGeometry* triangles = GEOSConstrainedDelaunayTriangulation_r(geos, polygon);
    const int count = GEOSGetNumGeometries_r(geos, triangles);
    GEOSGeom_destroy_r(geos, triangles);
    GEOSGeom_destroy_r(geos, polygon);
    return count;
}

void BM_VuRegularizeTriangulate(benchmark::State& state) {
    const std::vector<Ring> rings = parcelWithHoles(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(triangulateWithGraph(rings, false));
    state.SetItemsProcessed(state.iterations() * countCorners(rings));
}

void BM_VuRegularizeTriangulateFlip(benchmark::State& state) {
    const std::vector<Ring> rings = parcelWithHoles(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(triangulateWithGraph(rings, true));
    state.SetItemsProcessed(state.iterations() * countCorners(rings));
}

void BM_GeosConstrainedDelaunay(benchmark::State& state) {
    const std::vector<Ring> rings = parcelWithHoles(static_cast<int>(state.range(0)));
    GEOSContextHandle_t geos = GEOS_init_r();
    for (auto _ : state) benchmark::DoNotOptimize(triangulateWithGeos(geos, rings));
    GEOS_finish_r(geos);
    state.SetItemsProcessed(state.iterations() * countCorners(rings));
}

BENCHMARK(BM_VuRegularizeTriangulate)->Arg(100)->Arg(1000)->Arg(10000);
BENCHMARK(BM_VuRegularizeTriangulateFlip)->Arg(100)->Arg(1000)->Arg(10000);
BENCHMARK(BM_GeosConstrainedDelaunay)->Arg(100)->Arg(1000)->Arg(10000);

}  // namespace

BENCHMARK_MAIN();
