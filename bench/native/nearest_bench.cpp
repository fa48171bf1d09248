// Nearest node and nearest pipe for every meter of the synthetic town: the
// native searchers side by side with nanoflann, Boost.Geometry and GEOS.
// Each iteration answers every meter once; items per second are queries per
// second.
// "differ" counts meters whose answer differs from the native one by more
// than a tie (the two answers at different distances).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <map>

#include "nearest_references.h"

namespace nearest_bench {
namespace {

using Factory = std::unique_ptr<NearestIndex> (*)(const Town&);
using Distance = double (*)(const Town&, std::size_t, std::int32_t);

const Town& TheTown() {
    static const Town town = allotrix_town::MakeTown(allotrix_town::FullTownSize(), 20261205);
    return town;
}

bool IsTie(double a, double b) {
    return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::max(a, b));
}

int CountDifferences(NearestIndex& reference, Factory makeNative, Distance distance) {
    const Town& town = TheTown();
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

void RunQueries(benchmark::State& state, Factory make, Factory makeNative, Distance distance) {
    const Town& town = TheTown();
    const std::unique_ptr<NearestIndex> index = make(town);
    const std::size_t meters = town.meters.size();
    for (auto _ : state) {
        for (std::size_t meter = 0; meter < meters; ++meter)
            benchmark::DoNotOptimize(index->Nearest(meter));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(meters));
    // Benchmark runs the function several times; count the answers once.
    static std::map<Factory, int> differences;
    if (make != makeNative && !differences.count(make))
        differences[make] = CountDifferences(*index, makeNative, distance);
    if (make != makeNative)
        state.counters["differ"] = differences[make];
}

void NearestNode(benchmark::State& state, Factory make) {
    RunQueries(state, make, MakeNativeNodes, DistanceToNode);
}

void NearestPipe(benchmark::State& state, Factory make) {
    RunQueries(state, make, MakeNativePipes, DistanceToPipe);
}

BENCHMARK_CAPTURE(NearestNode, native, MakeNativeNodes)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NearestNode, nanoflann, MakeNanoflannNodes)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NearestNode, boost_rtree, MakeBoostNodes)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NearestNode, geos_strtree, MakeGeosNodes)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NearestPipe, native, MakeNativePipes)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NearestPipe, boost_rtree_segments, MakeBoostPipes)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NearestPipe, geos_strtree, MakeGeosPipes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace nearest_bench

BENCHMARK_MAIN();
