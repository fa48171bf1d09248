// Area of overlap of every parcel with every service area whose box meets
// it: the native Boolean intersection side by side with GEOS, Clipper and
// Boost.Geometry on the synthetic town. Each iteration is one pass over all
// pairs, so that every library does the same work; items per second are
// pairs per second. "differ" counts pairs whose area
// differs from GEOS's by more than 1e-9 relative.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>

#include "area_references.h"

namespace area_bench {
namespace {

using Factory = std::unique_ptr<IntersectionArea> (*)(const Town&);

const Town& TheTown() {
    static const Town town = allotrix_town::MakeTown(allotrix_town::FullTownSize(), 20261205);
    return town;
}

const std::vector<Pair>& ThePairs() {
    static const std::vector<Pair> pairs = OverlappingPairs(TheTown());
    return pairs;
}

int CountDifferencesFromGeos(IntersectionArea& areas) {
    const std::unique_ptr<IntersectionArea> geos = MakeGeosArea(TheTown());
    int differ = 0;
    for (const Pair& pair : ThePairs()) {
        const double expected = geos->Area(pair);
        if (std::fabs(areas.Area(pair) - expected) > 1e-9 * std::max(expected, 1.0))
            ++differ;
    }
    return differ;
}

void IntersectionAreas(benchmark::State& state, Factory make) {
    const std::unique_ptr<IntersectionArea> areas = make(TheTown());
    const std::vector<Pair>& pairs = ThePairs();
    for (auto _ : state) {
        double total = 0.0;
        for (const Pair& pair : pairs)
            total += areas->Area(pair);
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(pairs.size()));
    // Benchmark runs the function several times; count the answers once.
    static std::map<Factory, int> differences;
    if (make != MakeGeosArea && !differences.count(make))
        differences[make] = CountDifferencesFromGeos(*areas);
    if (make != MakeGeosArea)
        state.counters["differ"] = differences[make];
    state.counters["pairs"] = static_cast<double>(pairs.size());
}

BENCHMARK_CAPTURE(IntersectionAreas, native, MakeNativeArea)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(IntersectionAreas, native_reused, MakeNativeReusedArea)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(IntersectionAreas, geos, MakeGeosArea)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(IntersectionAreas, clipper, MakeClipperArea)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(IntersectionAreas, boost, MakeBoostArea)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace area_bench

BENCHMARK_MAIN();
