#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

#include "rangetree/rangetree.h"
#include "test_support.h"

using Korvex::DPoint2d;
using Korvex::DRange2d;
using Korvex::Geom::XYRangeTreeClosestLowPointSearcher;
using Korvex::Geom::XYRangeTreeRoot;
using rangetree_test::PointPattern;

namespace {

struct RectangleTree {
    std::vector<DRange2d> items;
    XYRangeTreeRoot* root = XYRangeTreeRoot::Allocate();

    // Rectangles whose low corners are the points, some of them with size.
    explicit RectangleTree(const std::vector<DPoint2d>& corners) {
        items.reserve(corners.size());
        for (size_t i = 0; i < corners.size(); ++i) {
            DRange2d range;
            range.initFrom(corners[i]);
            range.high.x += double(i % 3);
            range.high.y += double(i % 5);
            items.push_back(range);
        }
        for (DRange2d& item : items) XYRangeTreeRoot::Add(root, &item, item);
    }
    ~RectangleTree() { XYRangeTreeRoot::Free(root); }

    double BruteForce(double x, double y) const {
        double best = std::numeric_limits<double>::max();
        for (const DRange2d& item : items) {
            const double dx = item.low.x - x;
            const double dy = item.low.y - y;
            best = std::min(best, dx * dx + dy * dy);
        }
        return best;
    }
};

}  // namespace

TEST(XYRangeTreeClosestLowPointSearcher, FindsTheNearestLowCornerWhenTheRadiusReachesIt) {
    std::mt19937 rng(77);
    std::uniform_real_distribution<double> around(-100.0, 1100.0);
    for (const PointPattern pattern : {PointPattern::Uniform, PointPattern::Clustered,
                                       PointPattern::Collinear, PointPattern::Duplicated}) {
        SCOPED_TRACE(rangetree_test::PatternName(pattern));
        RectangleTree tree(MakePoints(pattern, rangetree_test::Scaled(20000), 5));
        XYRangeTreeClosestLowPointSearcher searcher;
        for (int q = 0; q < 200; ++q) {
            const double x = around(rng);
            const double y = around(rng);
            const double best = tree.BruteForce(x, y);
            // A radius of exactly the answer still reaches it: touching counts.
            for (const double radius : {std::sqrt(best), 5000.0}) {
                searcher.Start(x, y, radius);
                EXPECT_TRUE(XYRangeTreeRoot::Traverse(tree.root, &searcher));
                ASSERT_NE(searcher.GetResult(), nullptr);
                EXPECT_EQ(searcher.GetBestDistanceSquared(), best);
                const auto* item = static_cast<const DRange2d*>(searcher.GetResult());
                EXPECT_EQ(item->low.x, searcher.GetClosestLowPoint().x);
                EXPECT_EQ(item->low.y, searcher.GetClosestLowPoint().y);
            }
        }
    }
}

TEST(XYRangeTreeClosestLowPointSearcher, RestartsCleanlyAndFindsNothingOutOfReach) {
    RectangleTree tree({{0, 0}, {10, 10}, {3, 4}});
    XYRangeTreeClosestLowPointSearcher searcher;
    searcher.Start(0, 0, 1);
    XYRangeTreeRoot::Traverse(tree.root, &searcher);
    EXPECT_EQ(searcher.GetResult(), &tree.items[0]);
    EXPECT_EQ(searcher.GetBestDistanceSquared(), 0);

    searcher.Start(100, 100, 0);  // outside the top node's rectangle
    EXPECT_TRUE(XYRangeTreeRoot::Traverse(tree.root, &searcher));
    EXPECT_EQ(searcher.GetResult(), nullptr);
    EXPECT_EQ(searcher.GetBestDistanceSquared(), std::numeric_limits<double>::max());

    searcher.Start(3, 5, 2);
    XYRangeTreeRoot::Traverse(tree.root, &searcher);
    EXPECT_EQ(searcher.GetResult(), &tree.items[2]);
    EXPECT_EQ(searcher.GetSearchRange().low.x, 2);  // shrunk to the best distance
    EXPECT_EQ(searcher.GetSearchRange().high.y, 6);
}
