#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>

#include "test_support.h"

using namespace rangetree_test;
using Korvex::Geom::XYRangeTreeClosestLowPointSearcher;
using Korvex::Geom::XYRangeTreeHandler;
using Korvex::Geom::XYRangeTreeLeaf;

namespace {

int Id(const XYRangeTreeLeaf* leaf) { return *static_cast<const int*>(leaf->GetData()); }

// Writes down every call ("in 0", "after 0", "leaf 3"; nodes numbered in
// order of first call) and answers from the rules a test sets.
struct RecordingHandler final : XYRangeTreeHandler {
    std::vector<std::string> calls;
    std::vector<const XYRangeTreeInterior*> names;
    const XYRangeTreeInterior *skipped = nullptr, *stopAfterSubtree = nullptr;
    int stopAtLeaf = -1;

    bool Record(const char* call, const XYRangeTreeInterior* node, bool answer) {
        auto name = std::find(names.begin(), names.end(), node);
        if (name == names.end()) name = names.insert(name, node);
        calls.push_back(call + std::to_string(name - names.begin()));
        return answer;
    }
    bool ShouldRecurseIntoSubtree(const XYRangeTreeRoot*,
                                  const XYRangeTreeInterior* node) override {
        return Record("in ", node, node != skipped);
    }
    bool ShouldContinueAfterSubtree(const XYRangeTreeRoot*,
                                    const XYRangeTreeInterior* node) override {
        return Record("after ", node, node != stopAfterSubtree);
    }
    bool ShouldContinueAfterLeaf(const XYRangeTreeRoot*, const XYRangeTreeInterior*,
                                 const XYRangeTreeLeaf* leaf) override {
        calls.push_back("leaf " + std::to_string(Id(leaf)));
        return Id(leaf) != stopAtLeaf;
    }
};

std::vector<int> Iota(int first, int last) {
    std::vector<int> ids(last - first);
    std::iota(ids.begin(), ids.end(), first);
    return ids;
}

// A tree of the given rectangles, each added with its index as data.
struct IdTree : Tree {
    std::vector<DRange2d> ranges;
    std::vector<int> ids = Iota(0, 50);
    explicit IdTree(std::vector<DRange2d> all) : ranges(std::move(all)) {}
    void Add(int i) { ASSERT_TRUE(XYRangeTreeRoot::Add(root, &ids[i], ranges[i])); }
    std::vector<int> ChildIds(int child) const {
        std::vector<int> found;
        const XYRangeTreeInterior* node = TopChild(child);
        for (int i = 0; i < node->GetChildCount(); ++i)
            found.push_back(Id(node->GetChild(i)->AsLeaf()));
        std::sort(found.begin(), found.end());
        return found;
    }
};

// Two clusters of 25 small squares far apart along x and interleaved in y
// (ids 0..24 left, 25..49 right), the first `count` added alternately.
struct TwoClusters : IdTree {
    explicit TwoClusters(int count) : IdTree({}) {
        for (int i = 0; i < 50; ++i) {
            ranges.push_back(i < 25 ? Box(i, i, i + 0.5, i + 0.5)
                                    : Box(975 + i, i - 24.75, 975.5 + i, i - 24.25));
        }
        for (int added = 0; added < count; ++added) Add(added % 2 ? 25 + added / 2 : added / 2);
    }
};

// Adds 50 rectangles in reverse order; returns how many children the old
// top kept and the ids that moved to the new node.
std::pair<int, std::vector<int>> SplitOf(const std::vector<DRange2d>& ranges) {
    IdTree tree(ranges);
    for (int i = 50; i-- > 0;) tree.Add(i);
    EXPECT_EQ(tree.Top()->GetChildCount(), 2);
    return {tree.TopChild(0)->GetChildCount(), tree.ChildIds(1)};
}

}  // namespace

TEST(XYRangeTree, EmptyTreesNullArgumentsAndTheFiftiethChildSplittingTheTop) {
    Tree tree;  // freed empty
    RecordingHandler handler;
    EXPECT_TRUE(XYRangeTreeRoot::Traverse(tree.root, &handler) &&
                XYRangeTreeRoot::Traverse(nullptr, &handler) &&
                XYRangeTreeRoot::Traverse(tree.root, nullptr) && handler.calls.empty());
    EXPECT_FALSE(XYRangeTreeRoot::Add(nullptr, nullptr, Box(0, 0, 1, 1)));
    EXPECT_TRUE(tree.Top() == nullptr && tree.root->GetRange().isEmpty());
    XYRangeTreeRoot::Free(nullptr);

    TwoClusters clusters(49);
    const XYRangeTreeInterior* firstTop = clusters.Top();
    EXPECT_EQ(firstTop->GetChildCount(), 49);
    clusters.Add(49);
    ASSERT_EQ(clusters.Top()->GetChildCount(), 2);
    EXPECT_TRUE(clusters.Top() != firstTop && clusters.TopChild(0) == firstTop);
    // The old top keeps the left cluster and the leftmost square of the
    // right one; the new node takes the other 24.
    EXPECT_EQ(clusters.ChildIds(0), Iota(0, 26));
    EXPECT_EQ(clusters.ChildIds(1), Iota(26, 50));
}

TEST(XYRangeTree, SplitPrefersTheWidestGapThenTheLargestStepThenTheMiddle) {
    std::vector<DRange2d> stacked, chain;
    for (int i = 0; i < 50; ++i) {
        const double y = i < 20 ? i : 500 + i;  // 20 low, 30 high, overlapping in x
        stacked.push_back(Box(i % 7, y, i % 7 + 10, y + 0.5));
        const double x = i + (i >= 30 ? 3.0 : 0.0);  // overlapping along x, one larger step
        chain.push_back(Box(x, 0, x + 5, 1));
    }
    EXPECT_EQ(SplitOf(stacked), std::make_pair(21, Iota(21, 50)));
    EXPECT_EQ(SplitOf(chain), std::make_pair(31, Iota(31, 50)));
    EXPECT_EQ(SplitOf(std::vector<DRange2d>(50, Box(1, 1, 2, 2))).first, 26);
}

TEST(XYRangeTree, NewItemGoesToTheChildItEnlargesLeastAndTheFirstOnATie) {
    Tree single;  // swapped corners are put in order
    XYRangeTreeRoot::Add(single.root, nullptr, Box(1, 1, 0, 0));
    // The new squared diagonal plus its growth.
    EXPECT_EQ(single.Top()->EnlargementCost(Box(0.5, 0.5, 0.5, 0.5)), 2);
    EXPECT_EQ(single.Top()->EnlargementCost(Box(2, 0, 2, 1)), 5 + 3);
    const double largest = std::numeric_limits<double>::max();
    EXPECT_EQ(single.Top()->EnlargementCost(Box(0, 0, 1e100, 1)), largest + (largest - 2));

    TwoClusters tree(50);
    int left = 100, right = 101, unmeasurable = 102;
    XYRangeTreeRoot::Add(tree.root, &right, Box(1030, 5, 1031, 6));
    XYRangeTreeRoot::Add(tree.root, &left, Box(-3, 5, -2, 6));
    EXPECT_TRUE(tree.TopChild(0)->GetChildCount() == 27 &&
                tree.TopChild(1)->GetChildCount() == 25);
    EXPECT_TRUE(tree.TopChild(1)->GetRange().high.x == 1031 &&
                tree.Top()->GetRange().low.x == -3);
    // Too large to measure: both children cost the same and the first wins.
    XYRangeTreeRoot::Add(tree.root, &unmeasurable, Box(0, 0, 1e100, 1));
    EXPECT_EQ(tree.TopChild(0)->GetChildCount(), 28);
}

TEST(XYRangeTree, TraversalAsksAfterEverySubtreeAndStopsWhenTold) {
    TwoClusters tree(50);
    RecordingHandler all, atLeaf, afterSubtree;
    all.skipped = afterSubtree.stopAfterSubtree = tree.TopChild(0);
    atLeaf.stopAtLeaf = 3;
    EXPECT_TRUE(XYRangeTreeRoot::Traverse(tree.root, &all));
    EXPECT_FALSE(XYRangeTreeRoot::Traverse(tree.root, &atLeaf) ||
                 XYRangeTreeRoot::Traverse(tree.root, &afterSubtree));
    // The node not entered still gets its "after" call; nothing follows a stop.
    ASSERT_EQ(all.calls.size(), 2u + 2u + 2u + 24u);
    EXPECT_EQ(std::vector<std::string>(all.calls.begin(), all.calls.begin() + 4),
              (std::vector<std::string>{"in 0", "in 1", "after 1", "in 2"}));
    EXPECT_TRUE(all.calls[4].starts_with("leaf ") && all.calls[28] == "after 2" &&
                all.calls[29] == "after 0");
    EXPECT_EQ(atLeaf.calls.back(), "leaf 3");
    EXPECT_EQ(afterSubtree.calls.size(), 1u + 1u + 26u + 1u);
}

TEST(XYRangeTree, RandomInsertionsKeepTheTreeSound) {
    std::mt19937 rng(20261205);
    std::uniform_real_distribution<double> place(0.0, 10000.0);
    std::exponential_distribution<double> size(0.5);
    const int total = Scaled(100000);
    for (const char* shape : {"rectangles", "points", "identical"}) {
        SCOPED_TRACE(shape);
        const bool identical = shape[0] == 'i', degenerate = shape[0] == 'p';
        const int count = identical ? total / 10 : total;
        std::vector<int> ids = Iota(0, count);
        Tree tree;
        for (int i = 0, nextCheck = 1; i < count; ++i) {
            const double x = identical ? 5 : place(rng), y = identical ? 5 : place(rng);
            const double w = degenerate ? 0 : size(rng), h = degenerate ? 0 : size(rng);
            ASSERT_TRUE(XYRangeTreeRoot::Add(tree.root, &ids[i], Box(x, y, x + w, y + h)));
            if (i + 1 != nextCheck && i + 1 != count) continue;
            nextCheck = nextCheck < 200 ? nextCheck + 1 : nextCheck * 2;
            std::vector<void*> items;
            ASSERT_EQ(CheckRangeTree(*tree.root, items), "") << i + 1;
            ASSERT_TRUE(items.size() == size_t(i + 1) &&  // each item once
                        std::set<void*>(items.begin(), items.end()).size() == items.size());
        }
    }
}

TEST(XYRangeTree, HostileRectanglesNeitherCrashNorGetLost) {
    const double huge = std::numeric_limits<double>::max(),
                 values[] = {kNaN, kInf, -kInf, huge, -huge, 1e100, 0.5};
    Tree tree;
    std::mt19937 rng(3);
    std::uniform_int_distribution<size_t> pick(0, std::size(values) - 1);
    std::uniform_real_distribution<double> place(0.0, 100.0);
    std::vector<int> ids = Iota(0, 3000);
    for (int i = 0; i < 3000; ++i) {
        // Drawn one by one: the order of a call's arguments is unspecified.
        const double x0 = place(rng), y0 = place(rng), x1 = place(rng), y1 = place(rng);
        DRange2d range = Box(x0, y0, x1, y1);
        if (i % 2 == 0) range.low.x = values[pick(rng)];
        if (i % 3 == 0) range.high.y = values[pick(rng)];
        if (i % 5 == 0) range.init();
        ASSERT_TRUE(XYRangeTreeRoot::Add(tree.root, &ids[i], range));
    }
    RecordingHandler everything;
    EXPECT_TRUE(XYRangeTreeRoot::Traverse(tree.root, &everything));
    const auto isLeaf = [](const std::string& call) { return call[0] == 'l'; };
    EXPECT_EQ(std::count_if(everything.calls.begin(), everything.calls.end(), isLeaf), 3000);
    XYRangeTreeClosestLowPointSearcher searcher;
    searcher.Start(50, 50, 10);
    EXPECT_TRUE(XYRangeTreeRoot::Traverse(tree.root, &searcher));
}
