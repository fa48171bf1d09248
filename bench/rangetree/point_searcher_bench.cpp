// Nearest node to a point: the strip-sorted point searcher against a KD-tree
// (nanoflann) and a brute-force scan, on the same nodes and queries. Build
// and query are measured apart.
#include <benchmark/benchmark.h>
#include <nanoflann.hpp>

#include <vector>

#include "point_sets.h"
#include "rangetree/point_searcher.h"

namespace {

using Korvex::DPoint2d;
using Korvex::Geom::XYPointSearcher;
using rangetree_bench::GetPointCase;
using rangetree_bench::Layout;
using rangetree_bench::PointCase;

struct NodeCloud {
    const std::vector<DPoint2d>& nodes;
    size_t kdtree_get_point_count() const { return nodes.size(); }
    double kdtree_get_pt(size_t index, size_t dim) const {
        return dim == 0 ? nodes[index].x : nodes[index].y;
    }
    template <class Box>
    bool kdtree_get_bbox(Box& /*box*/) const {
        return false;
    }
};
using KdTree =
    nanoflann::KDTreeSingleIndexAdaptor<nanoflann::L2_Simple_Adaptor<double, NodeCloud>, NodeCloud, 2>;

const PointCase& CaseOf(const benchmark::State& state) {
    return GetPointCase(static_cast<Layout>(state.range(1)), static_cast<size_t>(state.range(0)));
}

void Sizes(benchmark::internal::Benchmark* bench) {
    bench->ArgNames({"points", "town"});
    for (const int64_t layout : {0, 1}) {
        for (const int64_t count : {10'000, 100'000, 1'000'000}) bench->Args({count, layout});
    }
    bench->Unit(benchmark::kMillisecond);
}

void QuerySizes(benchmark::internal::Benchmark* bench) {
    Sizes(bench);
    bench->Unit(benchmark::kNanosecond);
}

void Fill(XYPointSearcher& searcher, const std::vector<DPoint2d>& nodes) {
    for (const DPoint2d& node : nodes) {
        searcher.AddPoint(node.x, node.y, const_cast<DPoint2d*>(&node));
    }
}

double SquaredDistance(const DPoint2d& a, const DPoint2d& b) {
    const double dx = a.x - b.x;
    const double dy = a.y - b.y;
    return dx * dx + dy * dy;
}

void BM_Build_XYPointSearcher(benchmark::State& state) {
    const PointCase& points = CaseOf(state);
    size_t bytes = 0;
    for (auto _ : state) {
        XYPointSearcher searcher;
        Fill(searcher, points.nodes);
        searcher.SortIntoStrips();
        bytes = searcher.GetAllocatedBytes();
        benchmark::DoNotOptimize(searcher.GetStrips().data());
    }
    state.counters["bytes_per_point"] = double(bytes) / double(points.nodes.size());
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.nodes.size()));
}

void BM_Build_NanoflannKdTree(benchmark::State& state) {
    const PointCase& points = CaseOf(state);
    const NodeCloud cloud{points.nodes};
    for (auto _ : state) {
        KdTree tree(2, cloud, nanoflann::KDTreeSingleIndexAdaptorParams(10));
        benchmark::DoNotOptimize(&tree);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.nodes.size()));
}

void BM_Query_XYPointSearcher(benchmark::State& state) {
    const PointCase& points = CaseOf(state);
    XYPointSearcher searcher;
    Fill(searcher, points.nodes);
    searcher.SortIntoStrips();
    // Same answers as the KD-tree, or the comparison is void.
    const NodeCloud cloud{points.nodes};
    const KdTree tree(2, cloud, nanoflann::KDTreeSingleIndexAdaptorParams(10));
    for (size_t q = 0; q < 200; ++q) {
        const DPoint2d& query = points.queries[q];
        void* found = nullptr;
        searcher.ClosestPoint(query.x, query.y, nullptr, nullptr, &found);
        uint32_t index = 0;
        double squared = 0;
        const double xy[2] = {query.x, query.y};
        tree.knnSearch(xy, 1, &index, &squared);
        if (SquaredDistance(*static_cast<const DPoint2d*>(found), query) != squared) {
            state.SkipWithError("the searcher and the KD-tree disagree");
            return;
        }
    }
    size_t next = 0;
    for (auto _ : state) {
        const DPoint2d& query = points.queries[next++ % points.queries.size()];
        void* found = nullptr;
        searcher.ClosestPoint(query.x, query.y, nullptr, nullptr, &found);
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_Query_NanoflannKdTree(benchmark::State& state) {
    const PointCase& points = CaseOf(state);
    const NodeCloud cloud{points.nodes};
    const KdTree tree(2, cloud, nanoflann::KDTreeSingleIndexAdaptorParams(10));
    size_t next = 0;
    for (auto _ : state) {
        const DPoint2d& query = points.queries[next++ % points.queries.size()];
        const double xy[2] = {query.x, query.y};
        uint32_t index = 0;
        double squared = 0;
        tree.knnSearch(xy, 1, &index, &squared);
        benchmark::DoNotOptimize(index);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_Query_BruteForce(benchmark::State& state) {
    const PointCase& points = CaseOf(state);
    size_t next = 0;
    for (auto _ : state) {
        const DPoint2d& query = points.queries[next++ % points.queries.size()];
        benchmark::DoNotOptimize(rangetree_bench::BruteForceNearestSquared(points.nodes, query));
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_Build_XYPointSearcher)->Apply(Sizes);
BENCHMARK(BM_Build_NanoflannKdTree)->Apply(Sizes);
BENCHMARK(BM_Query_XYPointSearcher)->Apply(QuerySizes);
BENCHMARK(BM_Query_NanoflannKdTree)->Apply(QuerySizes);
BENCHMARK(BM_Query_BruteForce)->Apply(QuerySizes);

}  // namespace
