// The planar routines side by side with GEOS, Boost.Geometry and Clipper on the
// same polygons: area, point in polygon, centroid, polyline crossing and the
// distance between two polygons.
#include "planar/planar.h"

#include <benchmark/benchmark.h>
#include <boost/geometry.hpp>
#include <clipper.hpp>
#include <geos_c.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace {

using Korvex::DPoint3d;
namespace bg = boost::geometry;
using BoostPoint = bg::model::d2::point_xy<double>;
using BoostPolygon = bg::model::polygon<BoostPoint, false>;  // counterclockwise
using BoostLine = bg::model::linestring<BoostPoint>;

// A star-shaped counterclockwise ring of n vertices around (cx, cy), radius
// between 60% and 100% of r.
std::vector<DPoint3d> starRing(int n, double cx, double cy, double r, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> radius(0.6 * r, r);
    std::vector<DPoint3d> ring;
    for (int i = 0; i < n; ++i) {
        const double angle = 2 * std::numbers::pi * i / n;
        const double rho = radius(rng);
        ring.push_back({cx + rho * std::cos(angle), cy + rho * std::sin(angle), 0.0});
    }
    return ring;
}

BoostPolygon toBoost(const std::vector<DPoint3d>& ring) {
    BoostPolygon polygon;
    for (const DPoint3d& p : ring) bg::append(polygon.outer(), BoostPoint(p.x, p.y));
    bg::append(polygon.outer(), BoostPoint(ring[0].x, ring[0].y));
    return polygon;
}

BoostLine toBoostLine(const std::vector<DPoint3d>& points) {
    BoostLine line;
    for (const DPoint3d& p : points) bg::append(line, BoostPoint(p.x, p.y));
    return line;
}

// Clipper works on integers: coordinates are scaled by 1e6.
ClipperLib::Path toClipper(const std::vector<DPoint3d>& ring) {
    ClipperLib::Path path;
    for (const DPoint3d& p : ring) {
        path.push_back({static_cast<ClipperLib::cInt>(std::llround(p.x * 1e6)),
                        static_cast<ClipperLib::cInt>(std::llround(p.y * 1e6))});
    }
    return path;
}

// Owns a GEOS context and the geometries made in it.
class Geos {
public:
    Geos() : context_(GEOS_init_r()) {}
    ~Geos() {
        for (GEOSGeometry* g : owned_) GEOSGeom_destroy_r(context_, g);
        GEOS_finish_r(context_);
    }
    Geos(const Geos&) = delete;
    Geos& operator=(const Geos&) = delete;

    GEOSContextHandle_t context() const { return context_; }

    GEOSGeometry* polygon(const std::vector<DPoint3d>& ring) {
        GEOSCoordSequence* seq = sequence(ring, true);
        return keep(GEOSGeom_createPolygon_r(context_, GEOSGeom_createLinearRing_r(context_, seq),
                                             nullptr, 0));
    }
    GEOSGeometry* line(const std::vector<DPoint3d>& points) {
        return keep(GEOSGeom_createLineString_r(context_, sequence(points, false)));
    }
    GEOSGeometry* point(double x, double y) {
        return keep(GEOSGeom_createPointFromXY_r(context_, x, y));
    }

private:
    GEOSCoordSequence* sequence(const std::vector<DPoint3d>& points, bool close) {
        const unsigned n = static_cast<unsigned>(points.size()) + (close ? 1u : 0u);
        GEOSCoordSequence* seq = GEOSCoordSeq_create_r(context_, n, 2);
        for (unsigned i = 0; i < n; ++i) {
            const DPoint3d& p = points[i % points.size()];
            GEOSCoordSeq_setXY_r(context_, seq, i, p.x, p.y);
        }
        return seq;
    }
    GEOSGeometry* keep(GEOSGeometry* g) {
        owned_.push_back(g);
        return g;
    }

    GEOSContextHandle_t context_;
    std::vector<GEOSGeometry*> owned_;
};

// Every timed loop starts with benchmark::ClobberMemory() so that a compiler
// seeing a pure computation on unchanged inputs (header-only references) cannot
// hoist it out of the loop.
int size(const benchmark::State& state) {
    return static_cast<int>(state.range(0));
}

// ---- signed area -----------------------------------------------------------

void BM_Area_Allotrix(benchmark::State& state) {
    const auto ring = starRing(size(state), 500, 500, 100, 1);
    for (auto _ : state) {
        benchmark::ClobberMemory();
        benchmark::DoNotOptimize(Korvex::tgxGeom_getXYPolygonArea(ring.data(), size(state)));
    }
}
void BM_Area_Boost(benchmark::State& state) {
    const BoostPolygon polygon = toBoost(starRing(size(state), 500, 500, 100, 1));
    for (auto _ : state) {
        benchmark::ClobberMemory();
        benchmark::DoNotOptimize(bg::area(polygon));
    }
}
void BM_Area_Clipper(benchmark::State& state) {
    const ClipperLib::Path path = toClipper(starRing(size(state), 500, 500, 100, 1));
    for (auto _ : state) {
        benchmark::ClobberMemory();
        benchmark::DoNotOptimize(ClipperLib::Area(path));
    }
}
void BM_Area_GEOS(benchmark::State& state) {
    Geos geos;
    const GEOSGeometry* polygon = geos.polygon(starRing(size(state), 500, 500, 100, 1));
    double area = 0;
    for (auto _ : state) {
        benchmark::ClobberMemory();
        GEOSArea_r(geos.context(), polygon, &area);
        benchmark::DoNotOptimize(area);
    }
}

// ---- point in polygon (a grid of query points over the extent) -------------

std::vector<DPoint3d> queryGrid() {
    std::vector<DPoint3d> queries;
    for (int i = 0; i < 16; ++i) {
        for (int j = 0; j < 16; ++j) queries.push_back({390.3 + 14 * i, 390.7 + 14 * j, 0});
    }
    return queries;
}

void BM_PointInPolygon_Allotrix(benchmark::State& state) {
    const auto ring = starRing(size(state), 500, 500, 100, 2);
    const auto queries = queryGrid();
    for (auto _ : state) {
        benchmark::ClobberMemory();
        int inside = 0;
        for (const DPoint3d& q : queries) {
            inside += Korvex::tgxGeom_XYPolygonParity(&q, ring.data(), size(state), 0.0) >= 0;
        }
        benchmark::DoNotOptimize(inside);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(queries.size()));
}
void BM_PointInPolygon_Boost(benchmark::State& state) {
    const BoostPolygon polygon = toBoost(starRing(size(state), 500, 500, 100, 2));
    const auto queries = queryGrid();
    for (auto _ : state) {
        benchmark::ClobberMemory();
        int inside = 0;
        for (const DPoint3d& q : queries) inside += bg::covered_by(BoostPoint(q.x, q.y), polygon);
        benchmark::DoNotOptimize(inside);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(queries.size()));
}
void BM_PointInPolygon_Clipper(benchmark::State& state) {
    const ClipperLib::Path path = toClipper(starRing(size(state), 500, 500, 100, 2));
    const auto queries = queryGrid();
    for (auto _ : state) {
        benchmark::ClobberMemory();
        int inside = 0;
        for (const DPoint3d& q : queries) {
            const ClipperLib::IntPoint p(std::llround(q.x * 1e6), std::llround(q.y * 1e6));
            inside += ClipperLib::PointInPolygon(p, path) != 0;
        }
        benchmark::DoNotOptimize(inside);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(queries.size()));
}
void BM_PointInPolygon_GEOS(benchmark::State& state) {
    Geos geos;
    const GEOSGeometry* polygon = geos.polygon(starRing(size(state), 500, 500, 100, 2));
    std::vector<const GEOSGeometry*> points;
    for (const DPoint3d& q : queryGrid()) points.push_back(geos.point(q.x, q.y));
    for (auto _ : state) {
        benchmark::ClobberMemory();
        int inside = 0;
        for (const GEOSGeometry* p : points)
            inside += GEOSCovers_r(geos.context(), polygon, p) == 1;
        benchmark::DoNotOptimize(inside);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
}

// ---- centroid ---------------------------------------------------------------

void BM_Centroid_Allotrix(benchmark::State& state) {
    const auto ring = starRing(size(state), 500, 500, 100, 3);
    DPoint3d centroid;
    double area = 0;
    for (auto _ : state) {
        benchmark::ClobberMemory();
        Korvex::tgxPolygon_centroidAreaPerimeter(ring.data(), size(state), &centroid, nullptr,
                                                 &area, nullptr, nullptr);
        benchmark::DoNotOptimize(centroid);
    }
}
void BM_Centroid_Boost(benchmark::State& state) {
    const BoostPolygon polygon = toBoost(starRing(size(state), 500, 500, 100, 3));
    BoostPoint centroid;
    for (auto _ : state) {
        benchmark::ClobberMemory();
        bg::centroid(polygon, centroid);
        benchmark::DoNotOptimize(centroid);
    }
}
void BM_Centroid_GEOS(benchmark::State& state) {
    Geos geos;
    const GEOSGeometry* polygon = geos.polygon(starRing(size(state), 500, 500, 100, 3));
    for (auto _ : state) {
        benchmark::ClobberMemory();
        GEOSGeometry* centroid = GEOSGetCentroid_r(geos.context(), polygon);
        benchmark::DoNotOptimize(centroid);
        GEOSGeom_destroy_r(geos.context(), centroid);
    }
}

// ---- polylines that do not cross (the full double loop runs) ---------------
// Two open star outlines around one centre, one well inside the other: their
// extents overlap, so no reference can answer from the envelopes alone.

std::vector<DPoint3d> innerOutline(int n) {
    return starRing(n, 500, 500, 100, 6);
}
std::vector<DPoint3d> outerOutline(int n) {
    return starRing(n, 500, 500, 250, 7);
}

void BM_PolylineClash_Allotrix(benchmark::State& state) {
    const auto a = innerOutline(size(state)), b = outerOutline(size(state));
    for (auto _ : state) {
        benchmark::ClobberMemory();
        benchmark::DoNotOptimize(Korvex::tgxDPoint3dArray_polylineClashXY(
            a.data(), size(state), false, b.data(), size(state), false));
    }
}
void BM_PolylineClash_Boost(benchmark::State& state) {
    const BoostLine a = toBoostLine(innerOutline(size(state)));
    const BoostLine b = toBoostLine(outerOutline(size(state)));
    for (auto _ : state) {
        benchmark::ClobberMemory();
        benchmark::DoNotOptimize(bg::intersects(a, b));
    }
}
void BM_PolylineClash_GEOS(benchmark::State& state) {
    Geos geos;
    const GEOSGeometry* a = geos.line(innerOutline(size(state)));
    const GEOSGeometry* b = geos.line(outerOutline(size(state)));
    for (auto _ : state) {
        benchmark::ClobberMemory();
        benchmark::DoNotOptimize(GEOSIntersects_r(geos.context(), a, b));
    }
}

// ---- distance between two disjoint polygons ---------------------------------

void BM_PolygonDistance_Allotrix(benchmark::State& state) {
    const auto a = starRing(size(state), 500, 500, 100, 4),
               b = starRing(size(state), 760, 520, 100, 5);
    DPoint3d pa, pb;
    for (auto _ : state) {
        benchmark::ClobberMemory();
        Korvex::tgxPolygon_closestApproachBetweenPolygons(&pa, &pb, a.data(), size(state), b.data(),
                                                          size(state));
        benchmark::DoNotOptimize(pa);
    }
}
void BM_PolygonDistance_Boost(benchmark::State& state) {
    const BoostPolygon a = toBoost(starRing(size(state), 500, 500, 100, 4));
    const BoostPolygon b = toBoost(starRing(size(state), 760, 520, 100, 5));
    for (auto _ : state) {
        benchmark::ClobberMemory();
        benchmark::DoNotOptimize(bg::distance(a, b));
    }
}
void BM_PolygonDistance_GEOS(benchmark::State& state) {
    Geos geos;
    const GEOSGeometry* a = geos.polygon(starRing(size(state), 500, 500, 100, 4));
    const GEOSGeometry* b = geos.polygon(starRing(size(state), 760, 520, 100, 5));
    double distance = 0;
    for (auto _ : state) {
        benchmark::ClobberMemory();
        GEOSDistance_r(geos.context(), a, b, &distance);
        benchmark::DoNotOptimize(distance);
    }
}

}  // namespace

BENCHMARK(BM_Area_Allotrix)->Arg(64)->Arg(1024);
BENCHMARK(BM_Area_Boost)->Arg(64)->Arg(1024);
BENCHMARK(BM_Area_Clipper)->Arg(64)->Arg(1024);
BENCHMARK(BM_Area_GEOS)->Arg(64)->Arg(1024);
BENCHMARK(BM_PointInPolygon_Allotrix)->Arg(64)->Arg(1024);
BENCHMARK(BM_PointInPolygon_Boost)->Arg(64)->Arg(1024);
BENCHMARK(BM_PointInPolygon_Clipper)->Arg(64)->Arg(1024);
BENCHMARK(BM_PointInPolygon_GEOS)->Arg(64)->Arg(1024);
BENCHMARK(BM_Centroid_Allotrix)->Arg(64)->Arg(1024);
BENCHMARK(BM_Centroid_Boost)->Arg(64)->Arg(1024);
BENCHMARK(BM_Centroid_GEOS)->Arg(64)->Arg(1024);
BENCHMARK(BM_PolylineClash_Allotrix)->Arg(64)->Arg(512);
BENCHMARK(BM_PolylineClash_Boost)->Arg(64)->Arg(512);
BENCHMARK(BM_PolylineClash_GEOS)->Arg(64)->Arg(512);
BENCHMARK(BM_PolygonDistance_Allotrix)->Arg(64)->Arg(512);
BENCHMARK(BM_PolygonDistance_Boost)->Arg(64)->Arg(512);
BENCHMARK(BM_PolygonDistance_GEOS)->Arg(64)->Arg(512);

BENCHMARK_MAIN();
