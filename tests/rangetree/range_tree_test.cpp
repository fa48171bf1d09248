#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "range_tree_invariants.h"
#include "rangetree/rangetree.h"
#include "test_support.h"

using Korvex::DRange2d;
using Korvex::Geom::XYRangeTreeHandler;
using Korvex::Geom::XYRangeTreeInterior;
using Korvex::Geom::XYRangeTreeLeaf;
using Korvex::Geom::XYRangeTreeRoot;

namespace {

DRange2d Box(double x0, double y0, double x1, double y1) {
    DRange2d range;
    range.initFrom(x0, y0, x1, y1);
    return range;
}

// Owns a tree for the length of a test.
struct Tree {
    XYRangeTreeRoot* root = XYRangeTreeRoot::Allocate();
    ~Tree() { XYRangeTreeRoot::Free(root); }
    const XYRangeTreeInterior* Top() const { return root->GetTopNode(); }
    const XYRangeTreeInterior* TopChild(int i) const { return Top()->GetChild(i)->AsInterior(); }
};

// Writes down every call as a short word ("in 0", "after 0", "leaf 3") and
// answers from rules a test sets: which nodes not to enter, and where to stop.
class RecordingHandler final : public XYRangeTreeHandler {
public:
    std::vector<std::string> calls;
    std::vector<const XYRangeTreeInterior*> skipped;
    const XYRangeTreeInterior* stopAfterSubtree = nullptr;
    int stopAtLeaf = -1;

    bool ShouldRecurseIntoSubtree(const XYRangeTreeRoot*, const XYRangeTreeInterior* node) override {
        calls.push_back("in " + Name(node));
        for (const XYRangeTreeInterior* skip : skipped) {
            if (skip == node) return false;
        }
        return true;
    }
    bool ShouldContinueAfterSubtree(const XYRangeTreeRoot*, const XYRangeTreeInterior* node) override {
        calls.push_back("after " + Name(node));
        return node != stopAfterSubtree;
    }
    bool ShouldContinueAfterLeaf(const XYRangeTreeRoot*, const XYRangeTreeInterior*,
                                 const XYRangeTreeLeaf* leaf) override {
        const int id = *static_cast<const int*>(leaf->GetData());
        calls.push_back("leaf " + std::to_string(id));
        return id != stopAtLeaf;
    }

private:
    std::string Name(const XYRangeTreeInterior* node) {
        for (size_t i = 0; i < names.size(); ++i) {
            if (names[i] == node) return std::to_string(i);
        }
        names.push_back(node);
        return std::to_string(names.size() - 1);
    }

    std::vector<const XYRangeTreeInterior*> names;
};

// Two clusters of 25 small squares, far apart along x and interleaved in y,
// added alternately; ids 0..24 are the left cluster, 25..49 the right one.
struct TwoClusters {
    std::array<int, 50> ids{};
    int added = 0;
    Tree tree;

    explicit TwoClusters(int count = 50) {
        std::iota(ids.begin(), ids.end(), 0);
        AddUpTo(count);
    }

    void AddUpTo(int count) {
        for (; added < count; ++added) {
            const int i = added / 2;
            const int id = added % 2 == 0 ? i : 25 + i;
            const DRange2d box = id < 25 ? Box(i, i, i + 0.5, i + 0.5)
                                         : Box(1000 + i, i + 0.25, 1000.5 + i, i + 0.75);
            XYRangeTreeRoot::Add(tree.root, &ids[id], box);
        }
    }
};

std::vector<int> ChildIds(const XYRangeTreeInterior* node) {
    std::vector<int> ids;
    for (int i = 0; i < node->GetChildCount(); ++i) {
        ids.push_back(*static_cast<const int*>(node->GetChild(i)->AsLeaf()->GetData()));
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

// Adds 50 rectangles in reverse order; returns how many children the old top
// kept and the ids that moved to the new node (an id is a rectangle's index).
std::pair<int, std::vector<int>> SplitOf(const std::vector<DRange2d>& ranges) {
    Tree tree;
    std::vector<int> ids(ranges.size());
    std::iota(ids.begin(), ids.end(), 0);
    for (size_t i = ranges.size(); i-- > 0;) XYRangeTreeRoot::Add(tree.root, &ids[i], ranges[i]);
    EXPECT_EQ(tree.Top()->GetChildCount(), 2);
    return {tree.TopChild(0)->GetChildCount(), ChildIds(tree.TopChild(1))};
}

std::vector<int> Iota(int first, int last) {
    std::vector<int> ids(last - first);
    std::iota(ids.begin(), ids.end(), first);
    return ids;
}

}  // namespace

TEST(XYRangeTree, EmptyAndNullTreesAreTraversedWithoutCalls) {
    Tree tree;
    RecordingHandler handler;
    EXPECT_TRUE(XYRangeTreeRoot::Traverse(tree.root, &handler));
    EXPECT_TRUE(XYRangeTreeRoot::Traverse(nullptr, &handler));
    EXPECT_TRUE(XYRangeTreeRoot::Traverse(tree.root, nullptr));
    EXPECT_TRUE(handler.calls.empty());
    EXPECT_FALSE(XYRangeTreeRoot::Add(nullptr, nullptr, Box(0, 0, 1, 1)));
    EXPECT_EQ(tree.Top(), nullptr);
    EXPECT_TRUE(tree.root->GetRange().isEmpty());
    XYRangeTreeRoot::Free(nullptr);
}

TEST(XYRangeTree, FirstAddCreatesTheTopWithOneLeaf) {
    Tree tree;
    int item = 7;
    ASSERT_TRUE(XYRangeTreeRoot::Add(tree.root, &item, Box(3, 4, 1, 2)));
    const XYRangeTreeInterior* top = tree.Top();
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->GetParent(), tree.root);
    EXPECT_EQ(top->GetParent()->AsRoot(), tree.root);
    ASSERT_EQ(top->GetChildCount(), 1);
    EXPECT_TRUE(top->HasOnlyLeaves());
    const XYRangeTreeLeaf* leaf = top->GetChild(0)->AsLeaf();
    ASSERT_NE(leaf, nullptr);
    EXPECT_EQ(leaf->GetData(), &item);
    EXPECT_EQ(leaf->GetParent(), nullptr);
    EXPECT_EQ(top->GetRange().low.x, 1);
    EXPECT_EQ(top->GetRange().high.y, 4);
    EXPECT_EQ(top->GetSquaredDiagonal(), 8);
}

TEST(XYRangeTree, FiftiethChildSplitsTheTopAndGrowsANewTop) {
    TwoClusters clusters(49);
    const XYRangeTreeInterior* firstTop = clusters.tree.Top();
    EXPECT_EQ(firstTop->GetChildCount(), 49);
    clusters.AddUpTo(50);
    const XYRangeTreeInterior* top = clusters.tree.Top();
    EXPECT_NE(top, firstTop);
    EXPECT_EQ(clusters.tree.TopChild(0), firstTop);
    ASSERT_EQ(top->GetChildCount(), 2);
    EXPECT_FALSE(top->HasOnlyLeaves());
    EXPECT_EQ(top->GetParent(), clusters.tree.root);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(clusters.tree.TopChild(i)->GetParent(), top);
        EXPECT_TRUE(clusters.tree.TopChild(i)->HasOnlyLeaves());
    }
    // The old top keeps the left cluster and the leftmost square of the
    // right one; the new node takes the other 24.
    EXPECT_EQ(ChildIds(clusters.tree.TopChild(0)), Iota(0, 26));
    EXPECT_EQ(ChildIds(clusters.tree.TopChild(1)), Iota(26, 50));
    EXPECT_EQ(clusters.tree.TopChild(0)->GetRange().high.x, 1000.5);
    EXPECT_EQ(clusters.tree.TopChild(1)->GetRange().low.x, 1001);
}

TEST(XYRangeTree, SplitPrefersTheWidestGapThenTheLargestStepThenTheMiddle) {
    // 20 squares low, 30 high, overlapping in x: the gap along y wins.
    std::vector<DRange2d> stacked;
    for (int i = 0; i < 50; ++i) {
        const double y = i < 20 ? i : 500 + i;
        stacked.push_back(Box(i % 7, y, i % 7 + 10, y + 0.5));
    }
    EXPECT_EQ(SplitOf(stacked), std::make_pair(21, Iota(21, 50)));

    // Overlapping intervals along x, one larger step at 30: split after it.
    std::vector<DRange2d> chain;
    for (int i = 0; i < 50; ++i) {
        const double x = i + (i >= 30 ? 3.0 : 0.0);
        chain.push_back(Box(x, 0, x + 5, 1));
    }
    EXPECT_EQ(SplitOf(chain), std::make_pair(31, Iota(31, 50)));

    // Identical rectangles: no gap, no step, the middle.
    const std::vector<DRange2d> same(50, Box(1, 1, 2, 2));
    EXPECT_EQ(SplitOf(same).first, 26);
}

TEST(XYRangeTree, NewItemGoesToTheChildItEnlargesLeast) {
    TwoClusters clusters;
    int left = 100;
    int right = 101;
    XYRangeTreeRoot::Add(clusters.tree.root, &right, Box(1030, 5, 1031, 6));
    XYRangeTreeRoot::Add(clusters.tree.root, &left, Box(-3, 5, -2, 6));
    EXPECT_EQ(clusters.tree.TopChild(0)->GetChildCount(), 27);
    EXPECT_EQ(clusters.tree.TopChild(1)->GetChildCount(), 25);
    EXPECT_EQ(clusters.tree.TopChild(1)->GetRange().high.x, 1031);
    EXPECT_EQ(clusters.tree.Top()->GetRange().low.x, -3);
    // A rectangle too large to measure costs both children the same: the
    // first one takes it.
    int unmeasurable = 102;
    XYRangeTreeRoot::Add(clusters.tree.root, &unmeasurable, Box(0, 0, 1e100, 1));
    EXPECT_EQ(clusters.tree.TopChild(0)->GetChildCount(), 28);
}

TEST(XYRangeTree, EnlargementCostIsNewSquaredDiagonalPlusItsGrowth) {
    Tree tree;
    XYRangeTreeRoot::Add(tree.root, nullptr, Box(0, 0, 1, 1));
    const XYRangeTreeInterior* top = tree.Top();
    EXPECT_EQ(top->EnlargementCost(Box(0.5, 0.5, 0.5, 0.5)), 2);  // inside: 2 + 0
    EXPECT_EQ(top->EnlargementCost(Box(2, 0, 2, 1)), 5 + 3);
    const double largest = std::numeric_limits<double>::max();
    EXPECT_EQ(top->EnlargementCost(Box(0, 0, 1e100, 1)), largest + (largest - 2));
}

TEST(XYRangeTree, TraversalVisitsChildrenInOrderAndAsksAfterEverySubtree) {
    TwoClusters clusters;
    RecordingHandler handler;
    handler.skipped = {clusters.tree.TopChild(0)};
    EXPECT_TRUE(XYRangeTreeRoot::Traverse(clusters.tree.root, &handler));
    // The node not entered still gets its "after" call.
    ASSERT_EQ(handler.calls.size(), 2u + 2u + 2u + 24u);
    EXPECT_EQ(handler.calls[0], "in 0");
    EXPECT_EQ(handler.calls[1], "in 1");
    EXPECT_EQ(handler.calls[2], "after 1");
    EXPECT_EQ(handler.calls[3], "in 2");
    EXPECT_EQ(handler.calls[4].rfind("leaf ", 0), 0u);
    EXPECT_EQ(handler.calls[handler.calls.size() - 2], "after 2");
    EXPECT_EQ(handler.calls.back(), "after 0");
}

TEST(XYRangeTree, HandlerStopsTheWholeTraversal) {
    TwoClusters clusters;
    RecordingHandler atLeaf;
    atLeaf.stopAtLeaf = 3;
    EXPECT_FALSE(XYRangeTreeRoot::Traverse(clusters.tree.root, &atLeaf));
    EXPECT_EQ(atLeaf.calls.back(), "leaf 3");

    RecordingHandler afterSubtree;
    afterSubtree.stopAfterSubtree = clusters.tree.TopChild(0);
    EXPECT_FALSE(XYRangeTreeRoot::Traverse(clusters.tree.root, &afterSubtree));
    EXPECT_EQ(afterSubtree.calls.size(), 1u + 1u + 26u + 1u);  // nothing after the stop
}

TEST(XYRangeTree, RandomInsertionsKeepTheTreeSound) {
    std::mt19937 rng(20261205);
    std::uniform_real_distribution<double> place(0.0, 10000.0);
    std::exponential_distribution<double> size(0.5);
    const int total = rangetree_test::Scaled(100000);
    struct Shape {
        const char* name;
        bool degenerate;
        bool identical;
    };
    for (const Shape shape : {Shape{"rectangles", false, false}, Shape{"points", true, false},
                              Shape{"identical", false, true}}) {
        SCOPED_TRACE(shape.name);
        const int count = shape.identical ? total / 10 : total;
        std::vector<int> ids(count);
        Tree tree;
        int nextCheck = 1;
        for (int i = 0; i < count; ++i) {
            ids[i] = i;
            const double x = shape.identical ? 5 : place(rng);
            const double y = shape.identical ? 5 : place(rng);
            const double w = shape.degenerate ? 0 : size(rng);
            const double h = shape.degenerate ? 0 : size(rng);
            ASSERT_TRUE(XYRangeTreeRoot::Add(tree.root, &ids[i], Box(x, y, x + w, y + h)));
            if (i + 1 == nextCheck || i + 1 == count) {
                nextCheck = nextCheck < 200 ? nextCheck + 1 : nextCheck * 2;
                std::vector<void*> items;
                ASSERT_EQ(rangetree_test::CheckRangeTree(*tree.root, items), "") << i + 1;
                ASSERT_EQ(static_cast<int>(items.size()), i + 1);
                std::vector<int> seen(i + 1, 0);
                for (void* item : items) ++seen[*static_cast<int*>(item)];
                ASSERT_EQ(std::count(seen.begin(), seen.end(), 1), i + 1) << "each item once";
            }
        }
    }
}

TEST(XYRangeTree, HostileRectanglesNeitherCrashNorGetLost) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double huge = std::numeric_limits<double>::max();
    const std::array<double, 7> values{nan, inf, -inf, huge, -huge, 1e100, 0.5};
    Tree tree;
    std::mt19937 rng(3);
    std::uniform_int_distribution<size_t> pick(0, values.size() - 1);
    std::uniform_real_distribution<double> place(0.0, 100.0);
    std::vector<int> ids(3000);
    for (int i = 0; i < static_cast<int>(ids.size()); ++i) {
        ids[i] = i;
        DRange2d range = Box(place(rng), place(rng), place(rng), place(rng));
        if (i % 2 == 0) range.low.x = values[pick(rng)];
        if (i % 3 == 0) range.high.y = values[pick(rng)];
        if (i % 5 == 0) range.init();
        ASSERT_TRUE(XYRangeTreeRoot::Add(tree.root, &ids[i], range));
    }
    RecordingHandler everything;
    EXPECT_TRUE(XYRangeTreeRoot::Traverse(tree.root, &everything));
    EXPECT_EQ(std::count_if(everything.calls.begin(), everything.calls.end(),
                            [](const std::string& call) { return call.rfind("leaf", 0) == 0; }),
              static_cast<long>(ids.size()));
    Korvex::Geom::XYRangeTreeClosestLowPointSearcher searcher;
    searcher.Start(50, 50, 10);
    EXPECT_TRUE(XYRangeTreeRoot::Traverse(tree.root, &searcher));
}
