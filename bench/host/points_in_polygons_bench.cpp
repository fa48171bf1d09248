// Which meters lie inside each service area: 10,000 service polygons over
// 100,000 meters of the synthetic town. The host's range tree and polygon
// searcher side by side with GEOS (prepared polygon, STRtree) and
// Boost.Geometry (packed R-tree, covered_by). Each query iteration answers
// every service area once, so items per second are polygons per second; the
// build benchmarks time making each index over the meters.
// "differ" counts service areas whose meters differ from the host's answer.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>

#include "points_in_polygons_references.h"

namespace points_in_polygons_bench {
namespace {

using Factory = std::unique_ptr<MetersIndex> (*)(const Town&);

const Town& TheTown() {
    static const Town town = allotrix_town::MakeTown(allotrix_town::FullTownSize(), 20261205);
    return town;
}

std::vector<int> SortedMeters(MetersIndex& index, std::size_t area) {
    std::vector<int> meters;
    index.MetersInside(area, meters);
    std::sort(meters.begin(), meters.end());
    return meters;
}

int CountDifferences(MetersIndex& reference) {
    const Town& town = TheTown();
    const std::unique_ptr<MetersIndex> host = MakeHostIndex(town);
    int differ = 0;
    for (std::size_t area = 0; area < town.serviceAreas.size(); ++area)
        if (SortedMeters(*host, area) != SortedMeters(reference, area)) ++differ;
    return differ;
}

void Query(benchmark::State& state, Factory make) {
    const Town& town = TheTown();
    const std::unique_ptr<MetersIndex> index = make(town);
    std::vector<int> meters;
    index->MetersInside(0, meters);  // the host's tree is laid out on its first search
    const std::size_t areas = town.serviceAreas.size();
    std::size_t found = 0;
    for (auto _ : state) {
        found = 0;
        for (std::size_t area = 0; area < areas; ++area) {
            index->MetersInside(area, meters);
            found += meters.size();
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(areas));
    state.counters["meters_found"] = static_cast<double>(found);
    // Benchmark runs the function several times; compare the answers once.
    static std::map<Factory, int> differences;
    if (make != MakeHostIndex) {
        if (!differences.count(make)) differences[make] = CountDifferences(*index);
        state.counters["differ"] = differences[make];
    }
}

void Build(benchmark::State& state, Factory make) {
    const Town& town = TheTown();
    std::vector<int> meters;
    for (auto _ : state) {
        const std::unique_ptr<MetersIndex> index = make(town);
        index->MetersInside(0, meters);
        state.PauseTiming();
        benchmark::DoNotOptimize(index.get());
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(town.meters.size()));
}

BENCHMARK_CAPTURE(Query, host_range_tree, MakeHostIndex)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Query, geos_prepared_strtree, MakeGeosIndex)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Query, boost_rtree_covered_by, MakeBoostIndex)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Build, host_range_tree, MakeHostIndex)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Build, geos_prepared_strtree, MakeGeosIndex)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Build, boost_rtree_covered_by, MakeBoostIndex)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace points_in_polygons_bench

BENCHMARK_MAIN();
