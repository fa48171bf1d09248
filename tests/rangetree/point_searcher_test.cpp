#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "rangetree/point_searcher.h"
#include "test_support.h"

using namespace rangetree_test;
using Korvex::Geom::XYPointSearcher;
using Korvex::Geom::XYRangeTreeClosestLowPointSearcher;

namespace {

XYPointSearcher::Entry Closest(XYPointSearcher& searcher, double x, double y) {
    XYPointSearcher::Entry found{-1, -1, nullptr};
    EXPECT_TRUE(searcher.ClosestPoint(x, y, &found.x, &found.y, &found.data));
    return found;
}

// Adds the points with their own addresses as data.
void AddAll(XYPointSearcher& searcher, Points& points) {
    for (DPoint2d& point : points) ASSERT_TRUE(searcher.AddPoint(point.x, point.y, &point));
}

}  // namespace

TEST(XYPointSearcher, EmptySearcherLeavesOutputsAndOnePointAnswersEveryQuery) {
    XYPointSearcher* empty = XYPointSearcher::Allocate();
    double x = 7, y = 8;
    int marker = 0;
    void* data = &marker;
    EXPECT_FALSE(empty->ClosestPoint(0, 0, &x, &y, &data));
    EXPECT_TRUE(x == 7 && y == 8 && data == &marker && empty->GetRange().isEmpty());
    XYPointSearcher::Free(empty);
    XYPointSearcher::Free(nullptr);

    XYPointSearcher searcher;
    searcher.AddPoint(2, 3, &marker);
    for (const DPoint2d q : {DPoint2d{2, 3}, {1e300, -1e300}, {kInf, 0}, {kNaN, kNaN}}) {
        const auto found = Closest(searcher, q.x, q.y);
        EXPECT_TRUE(found.data == &marker && found.x == 2 && found.y == 3) << q.x;
    }
    EXPECT_TRUE(searcher.ClosestPoint(0, 0, nullptr, nullptr, nullptr));
}

TEST(XYPointSearcher, StripCountsFollowTheSquareRootAndSplitThePointsEvenly) {
    const std::pair<size_t, uint32_t> expected[] = {
        {1, 1},   {39, 1},      {40, 2},             {100, 5},
        {400, 20}, {10000, 100}, {2000 * 2000, 2000}, {2001 * 2001, 2000}};
    for (const auto& [count, strips] : expected)
        EXPECT_EQ(XYPointSearcher::StripCountFor(count), strips) << count;
    // Strips cut by y and ordered by x show in the answers of the brute-force test.
    for (const int count : {39, 100, 400, 1234}) {
        Points points = MakePoints(PointPattern::Uniform, count, 11);
        XYPointSearcher searcher;
        AddAll(searcher, points);
        Closest(searcher, 0, 0);
        const auto strips = searcher.GetStrips();
        ASSERT_EQ(strips.size(), XYPointSearcher::StripCountFor(count));
        for (uint32_t s = 0, first = 0; s < strips.size(); first = strips[s++].end) {
            EXPECT_EQ(strips[s].first, first) << count;
            EXPECT_EQ(strips[s].end, static_cast<uint32_t>(double(s + 1) * count / strips.size()));
        }
    }
}

TEST(XYPointSearcher, FirstExaminedPointWinsATieAndAPointAddedAfterASearchIsFound) {
    // Same x: the strip is ordered by y, the start is the lower point and the
    // upper one, equally far, does not replace it. Either side in x: the
    // start is the point left of the query.
    for (Points points : {Points{{0, 1}, {0, -1}}, {{1, 0}, {-1, 0}}}) {
        XYPointSearcher searcher;
        AddAll(searcher, points);
        EXPECT_EQ(Closest(searcher, 0, 0).data, &points[1]);
    }
    // Two strips of 20, y in [-20, -1] and [1, 20], far from the query in x
    // except for one point in each at distance 1 from (0, 0): the strip
    // holding y = 0 is examined first.
    Points points;
    for (int i = 0; i < 40; ++i) points.push_back({100.0 + i % 20, i < 20 ? -20.0 + i : i - 19.0});
    points[19] = {0, -1};
    points[20] = {0, 1};
    XYPointSearcher searcher;
    AddAll(searcher, points);
    EXPECT_EQ(Closest(searcher, 0, 0).data, &points[19]);
    EXPECT_EQ(searcher.GetStrips().size(), 2u);
    // Lowering the upper strip's bottom to y = 0 makes it the query's strip.
    points[21] = {500, 0};
    XYPointSearcher shifted;
    AddAll(shifted, points);
    EXPECT_EQ(Closest(shifted, 0, 0).data, &points[20]);

    int added = 0;
    shifted.AddPoint(0.5, 0.5, &added);
    EXPECT_FALSE(shifted.IsSorted());
    EXPECT_EQ(Closest(shifted, 0.25, 0.25).data, &added);
}

TEST(NearestSearchers, AgreeWithBruteForce) {
    std::mt19937 rng(42);
    std::uniform_real_distribution<double> around(-200.0, 1200.0);
    for (const PointPattern pattern : {PointPattern::Uniform, PointPattern::Clustered,
                                       PointPattern::Collinear, PointPattern::Duplicated}) {
        for (const int count : {1, 2, 39, 40, 401, 5000, Scaled(60000)}) {
            SCOPED_TRACE(std::to_string(int(pattern)) + " " + std::to_string(count));
            Points points = MakePoints(pattern, count, count * 7 + 1);
            XYPointSearcher searcher;
            AddAll(searcher, points);
            // A range tree of rectangles whose low corners are the points,
            // some of them with size.
            std::vector<DRange2d> boxes;
            for (size_t i = 0; i < points.size(); ++i) {
                const DPoint2d p = points[i];
                boxes.push_back(Box(p.x, p.y, p.x + i % 3, p.y + i % 5));
            }
            Tree tree;
            for (DRange2d& box : boxes) XYRangeTreeRoot::Add(tree.root, &box, box);
            XYRangeTreeClosestLowPointSearcher lowCorner;
            for (int q = 0; q < (count > 10000 ? 60 : 300); ++q) {
                // Every third query sits on a stored point; the others reach
                // beyond the points on every side.
                const DPoint2d query =
                    q % 3 == 0 ? points[q % count] : DPoint2d{around(rng), around(rng)};
                double best = std::numeric_limits<double>::max();
                for (const DPoint2d& point : points) best = std::min(best, Distance2(query, point));
                const auto found = Closest(searcher, query.x, query.y);
                const auto* data = static_cast<const DPoint2d*>(found.data);
                ASSERT_EQ(Distance2(query, {found.x, found.y}), best) << query.x << " " << query.y;
                ASSERT_TRUE(data->x == found.x && data->y == found.y);
                // A radius of exactly the answer still reaches it: touching counts.
                for (const double radius : {std::sqrt(best), 5000.0}) {
                    lowCorner.Start(query.x, query.y, radius);
                    EXPECT_TRUE(XYRangeTreeRoot::Traverse(tree.root, &lowCorner));
                    ASSERT_EQ(lowCorner.GetBestDistanceSquared(), best) << radius;
                    const auto* box = static_cast<const DRange2d*>(lowCorner.GetResult());
                    ASSERT_NE(box, nullptr);
                    ASSERT_TRUE(box->low.x == lowCorner.GetClosestLowPoint().x &&
                                box->low.y == lowCorner.GetClosestLowPoint().y);
                }
            }
            // Radius 0 outside the top node's rectangle: nothing.
            lowCorner.Start(5000, 5000, 0);
            EXPECT_TRUE(XYRangeTreeRoot::Traverse(tree.root, &lowCorner));
            EXPECT_EQ(lowCorner.GetResult(), nullptr);
        }
    }
}

TEST(XYPointSearcher, HostileCoordinatesNeitherCrashNorHang) {
    const double huge = std::numeric_limits<double>::max();
    Points points = MakePoints(PointPattern::Uniform, 2000, 9);
    for (size_t i = 0; i < points.size(); i += 7) points[i].x = kNaN;
    for (size_t i = 3; i < points.size(); i += 11) points[i].y = i % 2 ? kInf : -huge;
    XYPointSearcher searcher;
    AddAll(searcher, points);
    for (const DPoint2d query :
         {DPoint2d{500, 500}, {kNaN, 1}, {1, kNaN}, {kInf, -kInf}, {huge, huge}, {-huge, 0}}) {
        const auto* point = static_cast<const DPoint2d*>(Closest(searcher, query.x, query.y).data);
        ASSERT_TRUE(point >= points.data() && point < points.data() + points.size());
    }
}
