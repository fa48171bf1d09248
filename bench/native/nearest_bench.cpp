// Nearest node and nearest pipe for every meter of the synthetic town: the
// native searchers side by side with nanoflann, Boost.Geometry and GEOS.
// Each iteration answers every meter once; items per second are queries per
// second. The town lies at projected coordinates (eastings about 500,000,
// northings about 4,000,000); "listed" builds every index from its elements
// in the order a model lists them (neighbours together), "random" in random
// order; "spatial" lists them and asks for the meters in the order the
// allocation program does, along a Z-curve, so that each query lies near
// the one before (every library gets the same order).
// "differ" counts meters whose answer differs from the native one by more
// than a tie (the two answers at different distances).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <utility>

#include "allocate/spatial_order.h"
#include "nearest_references.h"

namespace nearest_bench {
namespace {

using Factory = std::unique_ptr<NearestIndex> (*)(const Town&);
using Distance = double (*)(const Town&, std::size_t, std::int32_t);

enum class Order { Listed, Random, Spatial };

Town WithMetersInSpatialOrder(Town town) {
    std::vector<Norvane::Support::GeometryPoint> points;
    for (const DPoint2d& meter : town.meters) points.push_back({meter.x, meter.y});
    std::vector<DPoint2d> ordered;
    for (const std::size_t i : Allotrix::Allocate::SpatialOrder(points)) ordered.push_back(town.meters[i]);
    town.meters = std::move(ordered);
    return town;
}

const Town& TheTown(Order order) {
    static const Town listed = allotrix_town::MakeTown(allotrix_town::FullTownSize(), 20261205);
    static const Town shuffled = allotrix_town::InRandomOrder(listed, 7);
    static const Town spatial = WithMetersInSpatialOrder(listed);
    return order == Order::Listed ? listed : order == Order::Random ? shuffled : spatial;
}

bool IsTie(double a, double b) {
    return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::max(a, b));
}

int CountDifferences(const Town& town, NearestIndex& reference, Factory makeNative,
                     Distance distance) {
    const std::unique_ptr<NearestIndex> native = makeNative(town);
    int differ = 0;
    for (std::size_t m = 0; m < town.meters.size(); ++m) {
        const std::int32_t ours = native->Nearest(m);
        const std::int32_t theirs = reference.Nearest(m);
        if (ours != theirs && !IsTie(distance(town, m, ours), distance(town, m, theirs)))
            ++differ;
    }
    return differ;
}

void RunQueries(benchmark::State& state, Order order, Factory make, Factory makeNative,
                Distance distance) {
    const Town& town = TheTown(order);
    const std::unique_ptr<NearestIndex> index = make(town);
    const std::size_t meters = town.meters.size();
    for (auto _ : state) {
        for (std::size_t meter = 0; meter < meters; ++meter)
            benchmark::DoNotOptimize(index->Nearest(meter));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(meters));
    // Benchmark runs the function several times; count the answers once.
    static std::map<std::pair<Factory, Order>, int> differences;
    const auto key = std::make_pair(make, order);
    if (make != makeNative && !differences.count(key))
        differences[key] = CountDifferences(town, *index, makeNative, distance);
    if (make != makeNative)
        state.counters["differ"] = differences[key];
}

void NearestNode(benchmark::State& state, Order order, Factory make) {
    RunQueries(state, order, make, MakeNativeNodes, DistanceToNode);
}

void NearestPipe(benchmark::State& state, Order order, Factory make) {
    RunQueries(state, order, make, MakeNativePipes, DistanceToPipe);
}

#define IN_EVERY_ORDER(function, name, factory)                                                 \
    BENCHMARK_CAPTURE(function, name/listed, Order::Listed, factory)->Unit(benchmark::kMillisecond);   \
    BENCHMARK_CAPTURE(function, name/random, Order::Random, factory)->Unit(benchmark::kMillisecond);   \
    BENCHMARK_CAPTURE(function, name/spatial, Order::Spatial, factory)->Unit(benchmark::kMillisecond)

IN_EVERY_ORDER(NearestNode, native, MakeNativeNodes);
IN_EVERY_ORDER(NearestNode, nanoflann, MakeNanoflannNodes);
IN_EVERY_ORDER(NearestNode, boost_rtree, MakeBoostNodes);
IN_EVERY_ORDER(NearestNode, geos_strtree, MakeGeosNodes);
IN_EVERY_ORDER(NearestPipe, native, MakeNativePipes);
IN_EVERY_ORDER(NearestPipe, boost_rtree_segments, MakeBoostPipes);
IN_EVERY_ORDER(NearestPipe, geos_strtree_callback, MakeGeosCallbackPipes);
IN_EVERY_ORDER(NearestPipe, geos_strtree, MakeGeosPipes);

}  // namespace
}  // namespace nearest_bench

BENCHMARK_MAIN();
