#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "rangetree/point_searcher.h"
#include "test_support.h"

using Korvex::DPoint2d;
using Korvex::Geom::XYPointSearcher;
using rangetree_test::PointPattern;

namespace {

struct Found {
    double x = -1;
    double y = -1;
    void* data = nullptr;
};

Found Closest(XYPointSearcher& searcher, double x, double y) {
    Found found;
    EXPECT_TRUE(searcher.ClosestPoint(x, y, &found.x, &found.y, &found.data));
    return found;
}

double SquaredDistance(double x0, double y0, double x1, double y1) {
    const double dx = x0 - x1;
    const double dy = y0 - y1;
    return dx * dx + dy * dy;
}

// Adds the points with their own addresses as data.
void AddAll(XYPointSearcher& searcher, std::vector<DPoint2d>& points) {
    for (DPoint2d& point : points) ASSERT_TRUE(searcher.AddPoint(point.x, point.y, &point));
}

}  // namespace

TEST(XYPointSearcher, EmptySearcherReportsNothingAndLeavesOutputs) {
    XYPointSearcher* searcher = XYPointSearcher::Allocate();
    double x = 7;
    double y = 8;
    int marker = 0;
    void* data = &marker;
    EXPECT_FALSE(searcher->ClosestPoint(0, 0, &x, &y, &data));
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 8);
    EXPECT_EQ(data, &marker);
    EXPECT_TRUE(searcher->GetRange().isEmpty());
    XYPointSearcher::Free(searcher);
    XYPointSearcher::Free(nullptr);
}

TEST(XYPointSearcher, OnePointAnswersEveryQuery) {
    XYPointSearcher searcher;
    int item = 1;
    searcher.AddPoint(2, 3, &item);
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const DPoint2d query : {DPoint2d{2, 3}, DPoint2d{-1e6, 5e7}, DPoint2d{1e300, -1e300},
                                 DPoint2d{inf, 0}, DPoint2d{nan, nan}}) {
        const Found found = Closest(searcher, query.x, query.y);
        EXPECT_EQ(found.data, &item);
        EXPECT_EQ(found.x, 2);
        EXPECT_EQ(found.y, 3);
    }
    EXPECT_TRUE(searcher.ClosestPoint(0, 0, nullptr, nullptr, nullptr));
}

TEST(XYPointSearcher, StripCountFollowsTheSquareRootWithTwentyPointsEach) {
    EXPECT_EQ(XYPointSearcher::StripCountFor(1), 1u);
    EXPECT_EQ(XYPointSearcher::StripCountFor(39), 1u);
    EXPECT_EQ(XYPointSearcher::StripCountFor(40), 2u);
    EXPECT_EQ(XYPointSearcher::StripCountFor(100), 5u);
    EXPECT_EQ(XYPointSearcher::StripCountFor(400), 20u);
    EXPECT_EQ(XYPointSearcher::StripCountFor(10000), 100u);
    EXPECT_EQ(XYPointSearcher::StripCountFor(2000 * 2000), 2000u);
    EXPECT_EQ(XYPointSearcher::StripCountFor(2001 * 2001), 2000u);
}

TEST(XYPointSearcher, SortingCutsStripsByYAndOrdersEachByX) {
    for (const int count : {39, 100, 400, 1234}) {
        SCOPED_TRACE(count);
        std::vector<DPoint2d> points = MakePoints(PointPattern::Uniform, count, 11);
        XYPointSearcher searcher;
        AddAll(searcher, points);
        EXPECT_FALSE(searcher.IsSorted());
        Closest(searcher, 0, 0);
        ASSERT_TRUE(searcher.IsSorted());
        const auto strips = searcher.GetStrips();
        const auto sorted = searcher.GetPoints();
        ASSERT_EQ(strips.size(), XYPointSearcher::StripCountFor(count));
        uint32_t expectedFirst = 0;
        for (size_t s = 0; s < strips.size(); ++s) {
            const XYPointSearcher::Strip& strip = strips[s];
            EXPECT_EQ(strip.first, expectedFirst);
            EXPECT_EQ(strip.end, static_cast<uint32_t>(double(s + 1) * count / strips.size()));
            double lowY = sorted[strip.first].y;
            double highY = lowY;
            for (uint32_t i = strip.first; i < strip.end; ++i) {
                lowY = std::min(lowY, sorted[i].y);
                highY = std::max(highY, sorted[i].y);
                if (i > strip.first) {
                    EXPECT_LE(sorted[i - 1].x, sorted[i].x);
                }
                if (s > 0) {
                    EXPECT_LE(strips[s - 1].highY, sorted[i].y);
                }
            }
            EXPECT_EQ(strip.lowY, lowY);
            EXPECT_EQ(strip.highY, highY);
            expectedFirst = strip.end;
        }
        EXPECT_EQ(expectedFirst, static_cast<uint32_t>(count));
    }
    XYPointSearcher searcher;
    std::vector<DPoint2d> points = MakePoints(PointPattern::Uniform, 400, 5);
    AddAll(searcher, points);
    Closest(searcher, 0, 0);
    for (const XYPointSearcher::Strip& strip : searcher.GetStrips()) EXPECT_EQ(strip.end - strip.first, 20u);
}

TEST(XYPointSearcher, FirstExaminedPointWinsATieInItsStrip) {
    // Same x: the strip is ordered by y, the start is the lower point and
    // the upper one, equally far, does not replace it.
    std::vector<DPoint2d> points{{0, 1}, {0, -1}};
    XYPointSearcher searcher;
    AddAll(searcher, points);
    EXPECT_EQ(Closest(searcher, 0, 0).data, &points[1]);
    // Either side in x: the start position is the point left of the query.
    std::vector<DPoint2d> sideBySide{{1, 0}, {-1, 0}};
    XYPointSearcher other;
    AddAll(other, sideBySide);
    EXPECT_EQ(Closest(other, 0, 0).data, &sideBySide[1]);
}

TEST(XYPointSearcher, PointInTheQueryStripWinsATieWithANeighbouringStrip) {
    // Two strips of 20: y in [-20, -1] and [1, 20], far from the query in x
    // except for one point in each at distance 1 from (0, 0).
    std::vector<DPoint2d> points;
    for (int i = 0; i < 20; ++i) points.push_back({100.0 + i, -20.0 + i});
    for (int i = 0; i < 20; ++i) points.push_back({100.0 + i, 1.0 + i});
    points[19] = {0, -1};
    points[20] = {0, 1};
    XYPointSearcher searcher;
    AddAll(searcher, points);
    EXPECT_EQ(Closest(searcher, 0, 0).data, &points[19]);  // the lower strip holds y = 0
    EXPECT_EQ(searcher.GetStrips().size(), 2u);

    // Lowering the upper strip's bottom to y = 0 makes it the query's strip.
    points[21] = {500, 0};
    XYPointSearcher shifted;
    AddAll(shifted, points);
    EXPECT_EQ(Closest(shifted, 0, 0).data, &points[20]);
}

TEST(XYPointSearcher, QueriesBeyondAStripsEndFindTheNearestPoint) {
    std::vector<DPoint2d> points;
    for (int i = 0; i < 100; ++i) points.push_back({double(i % 10), double(i / 10)});
    XYPointSearcher searcher;
    AddAll(searcher, points);
    EXPECT_EQ(Closest(searcher, 50, 0.2).data, &points[9]);   // first strip, past its end
    EXPECT_EQ(Closest(searcher, 50, 9.2).data, &points[99]);  // past the very last point
    EXPECT_EQ(Closest(searcher, -50, 9.2).data, &points[90]);
    EXPECT_EQ(Closest(searcher, 4.4, -30).data, &points[4]);
}

TEST(XYPointSearcher, PointAddedAfterASearchIsFound) {
    std::vector<DPoint2d> points = MakePoints(PointPattern::Uniform, 500, 8);
    XYPointSearcher searcher;
    AddAll(searcher, points);
    const Found before = Closest(searcher, 500.25, 500.25);
    EXPECT_NE(before.data, nullptr);
    int added = 0;
    searcher.AddPoint(500, 500, &added);
    EXPECT_FALSE(searcher.IsSorted());
    const Found after = Closest(searcher, 500.25, 500.25);
    EXPECT_EQ(after.data, &added);
}

TEST(XYPointSearcher, AgreesWithBruteForce) {
    std::mt19937 rng(42);
    std::uniform_real_distribution<double> around(-200.0, 1200.0);
    for (const PointPattern pattern : {PointPattern::Uniform, PointPattern::Clustered,
                                       PointPattern::Collinear, PointPattern::Duplicated}) {
        for (const int count : {1, 2, 39, 40, 401, 5000, rangetree_test::Scaled(60000)}) {
            SCOPED_TRACE(std::string(rangetree_test::PatternName(pattern)) + " " +
                         std::to_string(count));
            std::vector<DPoint2d> points = MakePoints(pattern, count, count * 7 + 1);
            XYPointSearcher searcher;
            AddAll(searcher, points);
            const int queries = count > 10000 ? 60 : 300;
            for (int q = 0; q < queries; ++q) {
                // Every third query sits on a stored point.
                const DPoint2d query = q % 3 == 0 ? points[q % count] : DPoint2d{around(rng), around(rng)};
                double best = std::numeric_limits<double>::max();
                for (const DPoint2d& point : points) {
                    best = std::min(best, SquaredDistance(query.x, query.y, point.x, point.y));
                }
                const Found found = Closest(searcher, query.x, query.y);
                ASSERT_EQ(SquaredDistance(query.x, query.y, found.x, found.y), best)
                    << query.x << " " << query.y;
                const auto* point = static_cast<const DPoint2d*>(found.data);
                ASSERT_EQ(point->x, found.x);
                ASSERT_EQ(point->y, found.y);
            }
        }
    }
}

TEST(XYPointSearcher, HostileCoordinatesNeitherCrashNorHang) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double huge = std::numeric_limits<double>::max();
    std::vector<DPoint2d> points = MakePoints(PointPattern::Uniform, 2000, 9);
    for (size_t i = 0; i < points.size(); i += 7) points[i].x = nan;
    for (size_t i = 3; i < points.size(); i += 11) points[i].y = i % 2 ? inf : -huge;
    XYPointSearcher searcher;
    AddAll(searcher, points);
    for (const DPoint2d query : {DPoint2d{500, 500}, DPoint2d{nan, 1}, DPoint2d{1, nan},
                                 DPoint2d{inf, -inf}, DPoint2d{huge, huge}, DPoint2d{-huge, 0}}) {
        const Found found = Closest(searcher, query.x, query.y);
        const auto* point = static_cast<const DPoint2d*>(found.data);
        ASSERT_GE(point, points.data());
        ASSERT_LT(point, points.data() + points.size());
    }
}
