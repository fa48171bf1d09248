#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "native/polyline_range_tree_closest_point_searcher.h"
#include "native/polyline_range_tree_closest_polyline_searcher.h"
#include "native_test_support.h"
#include "rangetree/rangetree.h"
#include "town/town.h"

using namespace native_test;
using namespace Korvex::Geom;
using Korvex::DPoint2d;
using allotrix_town::MakeTown;
using allotrix_town::SmallTownSize;
using Points = std::vector<DPoint2d>;

namespace {

// A pipe tree as the model-element layer builds it, released in the same
// order (tree and handler, then the records).
struct PipeTree {
    XYRangeTreeRoot* tree = Tools::NewXYRangeTree();
    XYRangeTreeHandler* handler;
    std::vector<Korvex::PlexPolyline*> records;

    explicit PipeTree(XYRangeTreeHandler* searcher) : handler(searcher) {}
    ~PipeTree() {
        Tools::DisposeRangeTreeAndSearcher(tree, handler);
        for (Korvex::PlexPolyline* record : records) Tools::DisposePlexPolylineBuffer(record);
    }
    void Add(std::int32_t id, Points points) {
        double b[4];
        Tools::InitializeRangeTree(tree, points.data(), int(points.size()), id,
                                   &records.emplace_back(), &b[0], &b[1], &b[2], &b[3]);
    }
    template <class Query>
    std::int32_t Find(const Query* query, double radius = 1e9) {
        std::int32_t id = -1;
        Tools::SearchRangeTree(tree, handler, query, radius, &id);
        return id;
    }
    std::int32_t Nearest(double x, double y, double radius = 1e9) {
        const NativeGeometryPoint query{x, y, 0.0};
        return Find(&query, radius);
    }
};

double Distance2(DPoint2d a, DPoint2d b) {
    return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y);
}

double PipeDistance2(DPoint2d p, const Points& pipe) {
    double best = kInf;
    for (std::size_t i = 0; i + 1 < pipe.size(); ++i) {
        const DPoint2d a = pipe[i], u{pipe[i + 1].x - a.x, pipe[i + 1].y - a.y};
        const double uu = u.x * u.x + u.y * u.y,
                     f = std::clamp(((p.x - a.x) * u.x + (p.y - a.y) * u.y) / uu, 0.0, 1.0);
        best = std::min(best, Distance2(p, {a.x + f * u.x, a.y + f * u.y}));
    }
    return best;
}

std::int32_t NearestNode(XYPointSearcher* searcher, double x, double y, std::int32_t start = -1) {
    const NativeGeometryPoint query{x, y, 0.0};
    Tools::SearchNearestPoint(searcher, &query, &start);
    return start;
}

}  // namespace

TEST(NearestPipeToPoint, TiesDegeneratePipesNaNRadiusZeroAndTheLowCornerHandler) {
    for (bool lowerFirst : {false, true}) {  // a tie goes to the pipe visited first
        PipeTree tree(Tools::NewPolylineRangeTreeClosestPointSearcher());
        const Points upper{{-5, 1}, {5, 1}}, lower{{-5, -1}, {5, -1}};
        tree.Add(lowerFirst ? 2 : 1, lowerFirst ? lower : upper);
        tree.Add(lowerFirst ? 1 : 2, lowerFirst ? upper : lower);
        EXPECT_EQ(tree.Nearest(0, 0), lowerFirst ? 2 : 1);
        EXPECT_EQ(tree.Nearest(0, 0.9), 1);  // no tie: the nearer one
    }
    auto* handler = Tools::NewPolylineRangeTreeClosestPointSearcher();
    PipeTree tree(handler);
    tree.Add(7, {{3, 3}});          // one point: never a result
    tree.Add(8, {{2, 2}, {2, 2}});  // no two distinct points either
    tree.Add(9, {{0, 0}, {10, 0}, {10, 10}});
    tree.Add(10, {{20, 0}, {30, 0}});
    EXPECT_EQ(tree.Nearest(10, 4), 9);
    EXPECT_EQ(handler->GetBestDistanceSquared(), 0.0);
    EXPECT_EQ(tree.Nearest(2.5, 2.5), 9);
    EXPECT_EQ(tree.Nearest(kNaN, 0), 0);  // nothing compares below the start value
    // Radius 0 outside the tree finds nothing; inside the top node's
    // rectangle its pipes are scanned, though farther than the radius.
    EXPECT_EQ(tree.Nearest(100, 100, 0.0), 0);
    EXPECT_EQ(tree.Nearest(9.9, 0.5, 0.0), 9);
    Tools::DisposeRangeTreeAndSearcher(nullptr, nullptr);
    std::int32_t id = 5;
    const NativeGeometryPoint query{0, 0, 0};
    Tools::SearchRangeTree(nullptr, nullptr, &query, 1.0, &id);
    EXPECT_EQ(id, 0);
    // The pipe record starts with its ID, so the low-corner handler reports
    // the pipe whose rectangle's low corner is nearest.
    PipeTree corners(new XYRangeTreeClosestLowPointSearcher());
    corners.Add(4, {{0, 0}, {1, 1}});
    corners.Add(5, {{10, 10}, {9, 12}});
    EXPECT_TRUE(corners.Nearest(8, 8) == 5 && corners.Nearest(2, 2) == 4);
    EXPECT_EQ(corners.Nearest(100, 100, 0.0), 0);  // radius 0 outside the tree
}

TEST(NearestPipeAndNode, MatchBruteForceAndANarrowedStartEndsLikeAColdStart) {
    // Pipes in scrambled order, with exact ties (every tenth pipe listed
    // twice) and coincident end points.
    const allotrix_town::Town town = MakeTown(SmallTownSize(), 6);
    auto* handler = Tools::NewPolylineRangeTreeClosestPointSearcher();
    PipeTree tree(handler);
    XYPointSearcher* nodes = nullptr;
    for (std::size_t i = 0; i < town.pipes.size(); ++i) {
        const auto& pipe = town.pipes[(i * 7919) % town.pipes.size()];
        tree.Add(pipe.id, pipe.points);
        if (i % 10 == 0) tree.Add(-pipe.id, pipe.points);
    }
    for (std::size_t i = 0; i < town.nodes.size(); ++i) {
        const NativeGeometryPoint p{town.nodes[i].x, town.nodes[i].y, 0.0};
        nodes = Tools::InitializePointSearcher(nodes, &p, &town.nodeIds[i]);
    }
    const std::int32_t firstPipeId = town.pipes.front().id;
    for (const DPoint2d& meter : town.meters) {
        // Ties allowed, nothing nearer.
        const std::int32_t node = NearestNode(nodes, meter.x, meter.y);
        ASSERT_GE(node, 1);
        double best = kInf;
        for (const DPoint2d& n : town.nodes) best = std::min(best, Distance2(meter, n));
        ASSERT_EQ(Distance2(meter, town.nodes[std::size_t(node - 1)]), best);
        const std::int32_t pipe = std::abs(tree.Nearest(meter.x, meter.y));
        ASSERT_GE(pipe, firstPipeId);
        best = kInf;
        for (const auto& p : town.pipes) best = std::min(best, PipeDistance2(meter, p.points));
        const double found = PipeDistance2(meter, town.pipes[size_t(pipe - firstPipeId)].points);
        ASSERT_NEAR(found, best, 1e-9 * std::max(1.0, best));

        for (double radius : {1e7, 20.0}) {
            const auto search = [&](bool narrow) {
                handler->StartSearch(meter.x, meter.y, radius);
                if (narrow) handler->NarrowSearch(tree.tree);
                XYRangeTreeRoot::Traverse(tree.tree, handler);
                const DPoint2d point = handler->GetClosestPoint();
                return std::tuple(handler->GetResult(), handler->GetBestDistanceSquared(), point.x,
                                  point.y);
            };
            ASSERT_EQ(search(true), search(false));
        }
    }
    Tools::DisposePointSearcher(nodes);
}

TEST(NearestPipeToPolyline, CrossingMatchingEndsDegenerateQueriesAndTheWrongHandler) {
    auto* handler = Tools::NewPolylineRangeTreeClosestPolylineSearcher();
    PipeTree crossing(handler);
    crossing.Add(1, {{0, 5}, {10, 5}});
    crossing.Add(2, {{0, -1}, {10, -1}});
    EXPECT_EQ(crossing.Find(Link({Ring({{5, 0}, {5, 10}})}).get()), 1);
    EXPECT_EQ(handler->GetBestDistanceSquared(), 0.0);
    // Degenerate queries, and a point query, which is not this handler's kind.
    EXPECT_EQ(crossing.Find(Link({Ring({{1, 1}})}).get()), 0);
    EXPECT_EQ(crossing.Find(Link({Ring({})}).get()), 0);
    EXPECT_EQ(crossing.Find<NativeGeometry>(nullptr), 0);
    EXPECT_EQ(crossing.Nearest(1.0, 1.0), 0);
    // A query far beyond the buffer is cut to its capacity, not overrun.
    std::vector<NativeGeometryPoint> huge;
    for (int i = 0; i < 12000; ++i) huge.push_back({i * 0.001, 3.0 + (i % 2), 0});
    EXPECT_EQ(crossing.Find(Link({new NativeGeometry(huge.data(), 12000)}).get()), 1);

    // Pipe B touches the query's first point and is visited first; pipe A
    // shares both end points with the query in the same direction.
    PipeTree tree(Tools::NewPolylineRangeTreeClosestPolylineSearcher());
    tree.Add(2, {{0, 0}, {-5, 5}});
    tree.Add(1, {{0, 0}, {5, 1}, {10, 0}});
    EXPECT_EQ(tree.Find(Link({Ring({{0, 0}, {5, -1}, {10, 0}})}).get()), 1);
}

TEST(NearestNode, OnePointEmptySearcherAndTheCallersIdSlot) {
    std::int32_t ids[] = {1, 2};
    const NativeGeometryPoint a{0, 0, 0}, b{10, 0, 0};
    XYPointSearcher* searcher = Tools::InitializePointSearcher(nullptr, &a, &ids[0]);
    EXPECT_EQ(NearestNode(searcher, 1e9, -1e9), 1);
    ASSERT_EQ(Tools::InitializePointSearcher(searcher, &b, &ids[1]), searcher);
    EXPECT_EQ(NearestNode(searcher, 9, 0), 2);
    ids[1] = 20;  // the searcher stores the address, not the value
    EXPECT_EQ(NearestNode(searcher, 9, 0), 20);
    Tools::DisposePointSearcher(searcher);

    XYPointSearcher* empty = XYPointSearcher::Allocate();
    EXPECT_EQ(NearestNode(empty, 0, 0, 17), 17);  // left untouched
    Tools::DisposePointSearcher(empty);
    Tools::DisposePointSearcher(nullptr);
}
