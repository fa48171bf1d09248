#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "native/polyline_range_tree_closest_point_searcher.h"
#include "native/polyline_range_tree_closest_polyline_searcher.h"
#include "native_test_support.h"
#include "rangetree/rangetree.h"
#include "town/town.h"

using namespace native_test;
using Korvex::CStandAloneDataTools;
using Korvex::DPoint2d;
using Korvex::PlexPolyline;
using namespace Korvex::Geom;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A pipe tree as the model-element layer builds it, released in the same
// order (tree and handler, then the records).
class PipeTree {
public:
    explicit PipeTree(XYRangeTreeHandler* handler)
        : m_tree(CStandAloneDataTools::NewXYRangeTree()), m_handler(handler) {}
    ~PipeTree() {
        CStandAloneDataTools::DisposeRangeTreeAndSearcher(m_tree, m_handler);
        for (PlexPolyline* record : m_records)
            CStandAloneDataTools::DisposePlexPolylineBuffer(record);
    }
    PipeTree(const PipeTree&) = delete;
    PipeTree& operator=(const PipeTree&) = delete;

    void Add(std::int32_t id, std::vector<DPoint2d> points) {
        PlexPolyline* record = nullptr;
        double bounds[4];
        CStandAloneDataTools::InitializeRangeTree(m_tree, points.data(),
                                                  static_cast<int>(points.size()), id, &record,
                                                  &bounds[0], &bounds[1], &bounds[2], &bounds[3]);
        m_records.push_back(record);
    }

    std::int32_t Nearest(double x, double y, double radius = 1e9) {
        const NativeGeometryPoint query{x, y, 0.0};
        std::int32_t id = -1;
        CStandAloneDataTools::SearchRangeTree(m_tree, m_handler, &query, radius, &id);
        return id;
    }

    XYRangeTreeRoot* Tree() const { return m_tree; }

    std::int32_t NearestToPolyline(const NativeGeometry* query, double radius = 1e9) {
        std::int32_t id = -1;
        CStandAloneDataTools::SearchRangeTree(m_tree, m_handler, query, radius, &id);
        return id;
    }

private:
    XYRangeTreeRoot* m_tree;
    XYRangeTreeHandler* m_handler;
    std::vector<PlexPolyline*> m_records;
};

double SegmentDistanceSquared(DPoint2d p, DPoint2d a, DPoint2d b) {
    const double ux = b.x - a.x, uy = b.y - a.y;
    const double f = std::clamp(((p.x - a.x) * ux + (p.y - a.y) * uy) / (ux * ux + uy * uy), 0.0, 1.0);
    const double dx = p.x - (a.x + f * ux), dy = p.y - (a.y + f * uy);
    return dx * dx + dy * dy;
}

double PipeDistanceSquared(DPoint2d p, const allotrix_town::Pipe& pipe) {
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i + 1 < pipe.points.size(); ++i)
        best = std::min(best, SegmentDistanceSquared(p, pipe.points[i], pipe.points[i + 1]));
    return best;
}

}  // namespace

TEST(NearestPipeToPoint, TieGoesToThePipeVisitedFirst) {
    for (bool lowerFirst : {false, true}) {
        PipeTree tree(CStandAloneDataTools::NewPolylineRangeTreeClosestPointSearcher());
        const std::vector<DPoint2d> upper{{-5, 1}, {5, 1}};
        const std::vector<DPoint2d> lower{{-5, -1}, {5, -1}};
        tree.Add(lowerFirst ? 2 : 1, lowerFirst ? lower : upper);
        tree.Add(lowerFirst ? 1 : 2, lowerFirst ? upper : lower);
        EXPECT_EQ(tree.Nearest(0, 0), lowerFirst ? 2 : 1);
        EXPECT_EQ(tree.Nearest(0, 0.9), 1);  // no tie: the nearer one
    }
}

TEST(NearestPipeToPoint, PointOnAPipeAndDegeneratePipes) {
    auto* handler = CStandAloneDataTools::NewPolylineRangeTreeClosestPointSearcher();
    PipeTree tree(handler);
    tree.Add(7, {{3, 3}});              // one point: never a result
    tree.Add(8, {{2, 2}, {2, 2}});      // no two distinct points either
    tree.Add(9, {{0, 0}, {10, 0}, {10, 10}});
    tree.Add(10, {{20, 0}, {30, 0}});
    EXPECT_EQ(tree.Nearest(10, 4), 9);
    EXPECT_EQ(handler->GetBestDistanceSquared(), 0.0);
    EXPECT_EQ(tree.Nearest(2.5, 2.5), 9);
    EXPECT_EQ(tree.Nearest(kNaN, 0), 0);  // nothing compares below the start value
}

TEST(NearestPipeToPoint, RadiusZeroOutsideTheTreeFindsNothingButRadiusIsNoHardLimit) {
    PipeTree tree(CStandAloneDataTools::NewPolylineRangeTreeClosestPointSearcher());
    tree.Add(1, {{0, 0}, {1, 1}});
    EXPECT_EQ(tree.Nearest(100, 100, 0.0), 0);
    // Inside the top node's rectangle the node is entered and its pipe is
    // scanned, though it lies farther than the radius.
    EXPECT_EQ(tree.Nearest(0.9, 0.1, 0.0), 1);
}

TEST(NearestPipeToPoint, MatchesBruteForceOnTheSmallTown) {
    const allotrix_town::Town town = allotrix_town::MakeTown(allotrix_town::SmallTownSize(), 6);
    PipeTree tree(CStandAloneDataTools::NewPolylineRangeTreeClosestPointSearcher());
    for (const allotrix_town::Pipe& pipe : town.pipes)
        tree.Add(pipe.id, pipe.points);
    const std::int32_t firstPipeId = town.pipes.front().id;
    for (const DPoint2d& meter : town.meters) {
        const std::int32_t id = tree.Nearest(meter.x, meter.y);
        ASSERT_GE(id, firstPipeId);
        double best = std::numeric_limits<double>::infinity();
        for (const allotrix_town::Pipe& pipe : town.pipes)
            best = std::min(best, PipeDistanceSquared(meter, pipe));
        const double found = PipeDistanceSquared(meter, town.pipes[static_cast<std::size_t>(id - firstPipeId)]);
        ASSERT_NEAR(found, best, 1e-9 * std::max(1.0, best));  // ties allowed
    }
}

TEST(NearestPipeToPoint, NarrowedStartEndsExactlyLikeAColdStart) {
    // Pipes in random order, with exact ties (a pipe listed twice) and
    // coincident end points, queried with the layer's radius and a tight one.
    allotrix_town::Town town = allotrix_town::MakeTown(allotrix_town::SmallTownSize(), 9);
    auto* handler = CStandAloneDataTools::NewPolylineRangeTreeClosestPointSearcher();
    PipeTree tree(handler);
    for (std::size_t i = 0; i < town.pipes.size(); ++i) {
        const allotrix_town::Pipe& pipe = town.pipes[(i * 7919) % town.pipes.size()];
        tree.Add(pipe.id, pipe.points);
        if (i % 10 == 0)
            tree.Add(-pipe.id, pipe.points);
    }
    for (const DPoint2d& meter : town.meters)
        for (double radius : {1e7, 20.0}) {
            handler->StartSearch(meter.x, meter.y, radius);
            XYRangeTreeRoot::Traverse(tree.Tree(), handler);
            const PlexPolyline* cold = handler->GetResult();
            const double coldBest = handler->GetBestDistanceSquared();
            const DPoint2d coldPoint = handler->GetClosestPoint();
            handler->StartSearch(meter.x, meter.y, radius);
            handler->NarrowSearch(tree.Tree());
            XYRangeTreeRoot::Traverse(tree.Tree(), handler);
            ASSERT_EQ(handler->GetResult(), cold);
            ASSERT_EQ(handler->GetBestDistanceSquared(), coldBest);
            ASSERT_EQ(handler->GetClosestPoint().x, coldPoint.x);
            ASSERT_EQ(handler->GetClosestPoint().y, coldPoint.y);
        }
}

TEST(NearestPipeToPolyline, CrossingGivesZeroAndEndsTheScan) {
    auto* handler = CStandAloneDataTools::NewPolylineRangeTreeClosestPolylineSearcher();
    PipeTree tree(handler);
    tree.Add(1, {{0, 5}, {10, 5}});
    tree.Add(2, {{0, -1}, {10, -1}});
    Chain query = Link({Ring({{5, 0}, {5, 10}})});
    EXPECT_EQ(tree.NearestToPolyline(query.get()), 1);
    EXPECT_EQ(handler->GetBestDistanceSquared(), 0.0);
}

TEST(NearestPipeToPolyline, MatchingEndsBeatAPipeTouchingTheStart) {
    // Pipe B touches the query's first point and is visited first; pipe A
    // shares both end points with the query in the same direction.
    PipeTree tree(CStandAloneDataTools::NewPolylineRangeTreeClosestPolylineSearcher());
    tree.Add(2, {{0, 0}, {-5, 5}});
    tree.Add(1, {{0, 0}, {5, 1}, {10, 0}});
    Chain query = Link({Ring({{0, 0}, {5, -1}, {10, 0}})});
    EXPECT_EQ(tree.NearestToPolyline(query.get()), 1);
}

TEST(NearestPipeToPolyline, DegenerateQueriesAndWrongHandlerFindNothing) {
    PipeTree tree(CStandAloneDataTools::NewPolylineRangeTreeClosestPolylineSearcher());
    tree.Add(1, {{0, 0}, {10, 0}});
    Chain onePoint = Link({Ring({{1, 1}})});
    Chain empty = Link({Ring({})});
    EXPECT_EQ(tree.NearestToPolyline(onePoint.get()), 0);
    EXPECT_EQ(tree.NearestToPolyline(empty.get()), 0);
    EXPECT_EQ(tree.NearestToPolyline(nullptr), 0);
    // A point query through the polyline handler is not its kind.
    EXPECT_EQ(tree.Nearest(1.0, 1.0), 0);

    // A query far beyond the buffer is cut to its capacity, not overrun.
    std::vector<NativeGeometryPoint> huge;
    for (int i = 0; i < 12000; ++i)
        huge.push_back({i * 0.001, 3.0 + (i % 2), 0.0});
    NativeGeometry longQuery(huge.data(), static_cast<int>(huge.size()));
    EXPECT_EQ(tree.NearestToPolyline(&longQuery), 1);
}

TEST(NearestPipeToPolyline, EveryPipeOfTheTownFindsItselfOrACrossingPipe) {
    const allotrix_town::Town town = allotrix_town::MakeTown(allotrix_town::SmallTownSize(), 7);
    auto* handler = CStandAloneDataTools::NewPolylineRangeTreeClosestPolylineSearcher();
    PipeTree tree(handler);
    for (const allotrix_town::Pipe& pipe : town.pipes)
        tree.Add(pipe.id, pipe.points);
    int foundItself = 0;
    for (const allotrix_town::Pipe& pipe : town.pipes) {
        std::vector<NativeGeometryPoint> points;
        for (const DPoint2d& p : pipe.points)
            points.push_back({p.x, p.y, 0.0});
        const NativeGeometry query(points.data(), static_cast<int>(points.size()));
        foundItself += tree.NearestToPolyline(&query) == pipe.id;
        ASSERT_EQ(handler->GetBestDistanceSquared(), 0.0);
    }
    EXPECT_GE(foundItself, static_cast<int>(town.pipes.size()) * 95 / 100);
}

TEST(SearchRangeTree, LowCornerHandlerReadsTheIdAtTheLeafData) {
    // The pipe record starts with its ID, so the low-corner handler reports
    // the pipe whose rectangle's low corner is nearest.
    PipeTree tree(new XYRangeTreeClosestLowPointSearcher());
    tree.Add(4, {{0, 0}, {1, 1}});
    tree.Add(5, {{10, 10}, {9, 12}});
    EXPECT_EQ(tree.Nearest(8, 8), 5);
    EXPECT_EQ(tree.Nearest(2, 2), 4);
}

TEST(DisposeRangeTreeAndSearcher, NullsAreIgnored) {
    CStandAloneDataTools::DisposeRangeTreeAndSearcher(nullptr, nullptr);
    std::int32_t id = 5;
    const NativeGeometryPoint query{0, 0, 0};
    CStandAloneDataTools::SearchRangeTree(nullptr, nullptr, &query, 1.0, &id);
    EXPECT_EQ(id, 0);
}
