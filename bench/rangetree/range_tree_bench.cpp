// Nearest pipe by its rectangle's low corner: the XY range tree with its
// low-corner handler against a Boost.Geometry R-tree and a brute-force scan,
// on the bounding rectangles of a town's pipes. Insertion is measured apart.
#include <benchmark/benchmark.h>

#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>

#include <utility>
#include <vector>

#include "point_sets.h"
#include "rangetree/rangetree.h"

namespace {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

using Korvex::DPoint2d;
using Korvex::DRange2d;
using Korvex::Geom::XYRangeTreeClosestLowPointSearcher;
using Korvex::Geom::XYRangeTreeRoot;
using BoostPoint = bg::model::point<double, 2, bg::cs::cartesian>;
using BoostBox = bg::model::box<BoostPoint>;
using BoostBoxTree = bgi::rtree<std::pair<BoostBox, size_t>, bgi::quadratic<16>>;
using BoostPointTree = bgi::rtree<std::pair<BoostPoint, size_t>, bgi::quadratic<16>>;

// Queries lie within 40 m of a node and pipes are under 100 m long, so the
// nearest low corner is always well inside this starting radius.
constexpr double kSearchRadius = 250.0;

struct PipeCase {
    std::vector<DRange2d> pipes;
    std::vector<DPoint2d> lowCorners;
    std::vector<DPoint2d> queries;
};

const PipeCase& GetPipeCase(size_t count) {
    static PipeCase cases[2];
    PipeCase& pipes = cases[count == 100'000 ? 0 : 1];
    if (pipes.pipes.size() != count) {
        pipes.pipes = rangetree_bench::MakePipeRanges(count, 77);
        pipes.lowCorners.clear();
        for (const DRange2d& pipe : pipes.pipes) pipes.lowCorners.push_back(pipe.low);
        pipes.queries =
            rangetree_bench::MakeQueries(rangetree_bench::Layout::Town, pipes.lowCorners, 4096, 5);
    }
    return pipes;
}

XYRangeTreeRoot* BuildTree(const std::vector<DRange2d>& pipes) {
    XYRangeTreeRoot* root = XYRangeTreeRoot::Allocate();
    for (const DRange2d& pipe : pipes) {
        XYRangeTreeRoot::Add(root, const_cast<DRange2d*>(&pipe), pipe);
    }
    return root;
}

void Sizes(benchmark::internal::Benchmark* bench) {
    bench->ArgName("pipes")->Arg(10'000)->Arg(100'000);
}

void BM_Insert_XYRangeTree(benchmark::State& state) {
    const PipeCase& pipes = GetPipeCase(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        XYRangeTreeRoot* root = BuildTree(pipes.pipes);
        state.PauseTiming();
        XYRangeTreeRoot::Free(root);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetLabel("one by one");
}

void BM_Insert_BoostRtree(benchmark::State& state) {
    const PipeCase& pipes = GetPipeCase(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        auto* tree = new BoostBoxTree();
        for (size_t i = 0; i < pipes.pipes.size(); ++i) {
            const DRange2d& pipe = pipes.pipes[i];
            tree->insert({BoostBox({pipe.low.x, pipe.low.y}, {pipe.high.x, pipe.high.y}), i});
        }
        state.PauseTiming();
        delete tree;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetLabel("one by one, quadratic<16>");
}

void BM_Nearest_XYRangeTree(benchmark::State& state) {
    const PipeCase& pipes = GetPipeCase(static_cast<size_t>(state.range(0)));
    XYRangeTreeRoot* root = BuildTree(pipes.pipes);
    XYRangeTreeClosestLowPointSearcher searcher;
    for (size_t q = 0; q < 100; ++q) {
        const DPoint2d& query = pipes.queries[q];
        searcher.Start(query.x, query.y, kSearchRadius);
        XYRangeTreeRoot::Traverse(root, &searcher);
        if (searcher.GetBestDistanceSquared() != rangetree_bench::BruteForceNearestSquared(pipes.lowCorners, query)) {
            state.SkipWithError("the range tree and the scan disagree");
            XYRangeTreeRoot::Free(root);
            return;
        }
    }
    size_t next = 0;
    for (auto _ : state) {
        const DPoint2d& query = pipes.queries[next++ % pipes.queries.size()];
        searcher.Start(query.x, query.y, kSearchRadius);
        XYRangeTreeRoot::Traverse(root, &searcher);
        benchmark::DoNotOptimize(searcher.GetResult());
    }
    state.SetItemsProcessed(state.iterations());
    XYRangeTreeRoot::Free(root);
}

void BM_Nearest_BoostRtree(benchmark::State& state) {
    const PipeCase& pipes = GetPipeCase(static_cast<size_t>(state.range(0)));
    BoostPointTree tree;
    for (size_t i = 0; i < pipes.pipes.size(); ++i) {
        tree.insert({BoostPoint(pipes.pipes[i].low.x, pipes.pipes[i].low.y), i});
    }
    std::vector<std::pair<BoostPoint, size_t>> found;
    size_t next = 0;
    for (auto _ : state) {
        const DPoint2d& query = pipes.queries[next++ % pipes.queries.size()];
        found.clear();
        tree.query(bgi::nearest(BoostPoint(query.x, query.y), 1), std::back_inserter(found));
        benchmark::DoNotOptimize(found.data());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("low corners as points, one by one, quadratic<16>");
}

void BM_Nearest_BruteForce(benchmark::State& state) {
    const PipeCase& pipes = GetPipeCase(static_cast<size_t>(state.range(0)));
    size_t next = 0;
    for (auto _ : state) {
        const DPoint2d& query = pipes.queries[next++ % pipes.queries.size()];
        benchmark::DoNotOptimize(rangetree_bench::BruteForceNearestSquared(pipes.lowCorners, query));
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_Insert_XYRangeTree)->Apply(Sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Insert_BoostRtree)->Apply(Sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Nearest_XYRangeTree)->Apply(Sizes);
BENCHMARK(BM_Nearest_BoostRtree)->Apply(Sizes);
BENCHMARK(BM_Nearest_BruteForce)->Apply(Sizes);

}  // namespace
