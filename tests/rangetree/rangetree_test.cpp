// The XY range tree (insertion, split, traversal and a checker of its
// structural rules) and the XY point searcher.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "rangetree/point_searcher.h"
#include "rangetree/rangetree.h"

namespace {

using Korvex::DPoint2d;
using Korvex::DRange2d;
using Korvex::Geom::XYPointSearcher;
using Korvex::Geom::XYRangeTreeClosestLowPointSearcher;
using Korvex::Geom::XYRangeTreeHandler;
using Korvex::Geom::XYRangeTreeInterior;
using Korvex::Geom::XYRangeTreeLeaf;
using Korvex::Geom::XYRangeTreeQuery;
using Korvex::Geom::XYRangeTreeRoot;
using Points = std::vector<DPoint2d>;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Fewer random iterations under the sanitizers, which run many times slower.
#if defined(__SANITIZE_ADDRESS__)
constexpr int Scaled(int count) { return count / 4; }
#else
constexpr int Scaled(int count) { return count; }
#endif

DRange2d Box(double x0, double y0, double x1, double y1) {
    DRange2d range;
    range.initFrom(x0, y0, x1, y1);
    return range;
}

double Distance2(DPoint2d a, DPoint2d b) {
    return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y);
}

// Owns a tree for the length of a test.
struct Tree {
    XYRangeTreeRoot* root = XYRangeTreeRoot::Allocate();
    ~Tree() { XYRangeTreeRoot::Free(root); }
    const XYRangeTreeInterior* Top() const { return root->GetTopNode(); }
    const XYRangeTreeInterior* TopChild(int i) const { return Top()->GetChild(i)->AsInterior(); }
};

// Uniform: over a 1000 x 1000 square; clustered: tight clusters around 8
// centres; collinear: a slanted line, a horizontal and a vertical run;
// duplicated: the 8 centres, each repeated many times.
enum class PointPattern { Uniform, Clustered, Collinear, Duplicated };

Points MakePoints(PointPattern pattern, int count, uint32_t seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1000.0);
    std::normal_distribution<double> spread(0.0, 3.0);
    Points centres(8), points;
    for (DPoint2d& centre : centres) centre = {unit(rng), unit(rng)};
    for (int i = 0; i < count; ++i) {
        const double t = unit(rng), u = unit(rng);
        const DPoint2d centre = centres[rng() % 8];
        const DPoint2d near{centre.x + spread(rng), centre.y + spread(rng)};
        const DPoint2d lines[] = {{t, 0.5 * t + 7.0}, {t, 250.0}, {250.0, t}};
        const DPoint2d byPattern[] = {{t, u}, near, lines[i % 3], centre};
        points.push_back(byPattern[int(pattern)]);
    }
    return points;
}

// Returns the first broken rule at or below `node`, or "": parent right, at
// most 49 children, all leaves or all interior nodes as the all-leaves flag
// says, the rectangle and squared diagonal exactly those of the children's
// cover, all leaves at one depth. Appends the data of every leaf to items.
std::string CheckNode(const XYRangeTreeInterior& node, const XYRangeTreeQuery* parent, int depth,
                      int& leafDepth, std::vector<void*>& items) {
    const std::string at = "node at depth " + std::to_string(depth) + ": ";
    const int count = node.GetChildCount();
    if (node.GetParent() != parent) return at + "the parent is wrong";
    if (count >= XYRangeTreeInterior::kMaxChildren) return at + "holds 50 children";
    if (count == 0 && depth > 0) return at + "an empty node below the top";
    int leaves = 0;
    DRange2d cover;
    cover.init();
    for (int i = 0; i < count; ++i) {
        const XYRangeTreeQuery* child = node.GetChild(i);
        cover.extend(child->GetRange());
        if (const XYRangeTreeLeaf* leaf = child->AsLeaf()) {
            ++leaves;
            items.push_back(leaf->GetData());
        } else if (std::string failure =
                       CheckNode(*child->AsInterior(), &node, depth + 1, leafDepth, items);
                   !failure.empty()) {
            return failure;
        }
    }
    if (leaves != 0 && leaves != count) return at + "leaves and interior nodes mixed";
    if (node.HasOnlyLeaves() != (leaves == count)) return at + "the all-leaves flag is wrong";
    if (leaves > 0 && leafDepth >= 0 && leafDepth != depth) return at + "leaves at two depths";
    if (leaves > 0) leafDepth = depth;
    const DRange2d r = node.GetRange();
    if (!r.isContained(cover) || !cover.isContained(r)) return at + "not the children's cover";
    const double diagonal2 =
        r.isNull() ? std::numeric_limits<double>::max() : Distance2(r.low, r.high);
    return node.GetSquaredDiagonal() == diagonal2 ? "" : at + "the squared diagonal is stale";
}

std::string CheckRangeTree(const XYRangeTreeRoot& root, std::vector<void*>& items) {
    int leafDepth = -1;
    return root.GetTopNode() ? CheckNode(*root.GetTopNode(), &root, 0, leafDepth, items) : "";
}

int Id(const XYRangeTreeLeaf* leaf) { return *static_cast<const int*>(leaf->GetData()); }

// Writes down every call ("in 0", "after 0", "leaf 3"; nodes numbered in
// order of first call) and answers from the rules a test sets.
struct RecordingHandler final : XYRangeTreeHandler {
    using Node = XYRangeTreeInterior;
    std::vector<std::string> calls;
    std::vector<const Node*> names;
    const Node *skipped = nullptr, *stopAfterSubtree = nullptr;
    int stopAtLeaf = -1;

    bool Record(const char* call, const Node* node, bool answer) {
        auto name = std::find(names.begin(), names.end(), node);
        if (name == names.end()) name = names.insert(name, node);
        calls.push_back(call + std::to_string(name - names.begin()));
        return answer;
    }
    bool ShouldRecurseIntoSubtree(const XYRangeTreeRoot*, const Node* node) override {
        return Record("in ", node, node != skipped);
    }
    bool ShouldContinueAfterSubtree(const XYRangeTreeRoot*, const Node* node) override {
        return Record("after ", node, node != stopAfterSubtree);
    }
    bool ShouldContinueAfterLeaf(const XYRangeTreeRoot*, const Node*,
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

// Item i of a tree carries &ids[i] as data.
std::vector<int> ids = Iota(0, 100000);

// A tree of the given rectangles, each added with its index as data.
struct IdTree : Tree {
    std::vector<DRange2d> ranges;
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

TEST(XYRangeTree, EmptyTreesAndTheSplitOfAFullNodeUnderANewTop) {
    Tree tree;  // freed empty
    RecordingHandler handler;
    EXPECT_TRUE(XYRangeTreeRoot::Traverse(tree.root, &handler) &&
                XYRangeTreeRoot::Traverse(nullptr, &handler) && handler.calls.empty());
    EXPECT_TRUE(tree.Top() == nullptr && tree.root->GetRange().isEmpty());
    EXPECT_FALSE(XYRangeTreeRoot::Add(nullptr, nullptr, Box(0, 0, 1, 1)));
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
    std::vector<DRange2d> stacked, chain;
    for (int i = 0; i < 50; ++i) {
        const double y = i < 20 ? i : 500 + i;  // 20 low, 30 high, overlapping in x
        stacked.push_back(Box(i % 7, y, i % 7 + 10, y + 0.5));
        const double x = i + (i >= 30 ? 3.0 : 0.0);  // overlapping along x, one larger step
        chain.push_back(Box(x, 0, x + 5, 1));
    }
    EXPECT_EQ(SplitOf(stacked), std::make_pair(21, Iota(21, 50)));  // at the widest gap,
    EXPECT_EQ(SplitOf(chain), std::make_pair(31, Iota(31, 50)));     // the largest step,
    EXPECT_EQ(SplitOf(std::vector<DRange2d>(50, Box(1, 1, 2, 2))).first, 26);  // the middle
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
    XYRangeTreeRoot::Add(tree.root, &ids[50], Box(1030, 5, 1031, 6));
    XYRangeTreeRoot::Add(tree.root, &ids[51], Box(-3, 5, -2, 6));
    EXPECT_TRUE(tree.TopChild(0)->GetChildCount() == 27 &&
                tree.TopChild(1)->GetChildCount() == 25);
    EXPECT_TRUE(tree.TopChild(1)->GetRange().high.x == 1031 &&
                tree.Top()->GetRange().low.x == -3);
    // Too large to measure: both children cost the same and the first wins.
    XYRangeTreeRoot::Add(tree.root, &ids[52], Box(0, 0, 1e100, 1));
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

TEST(XYRangeTree, RandomInsertionsKeepTheTreeSoundAndHostileOnesNeitherCrashNorGetLost) {
    std::mt19937 rng(20261205);
    std::uniform_real_distribution<double> place(0.0, 10000.0);
    std::exponential_distribution<double> size(0.5);
    const int total = Scaled(100000);
    for (const char* shape : {"rectangles", "points", "identical"}) {
        SCOPED_TRACE(shape);
        const bool identical = shape[0] == 'i', degenerate = shape[0] == 'p';
        const int count = identical ? total / 10 : total;
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
    const double huge = std::numeric_limits<double>::max(),
                 values[] = {kNaN, kInf, -kInf, huge, -huge, 1e100, 0.5};
    Tree tree;  // hostile rectangles: none crashes or gets lost
    std::uniform_int_distribution<size_t> pick(0, std::size(values) - 1);
    std::uniform_real_distribution<double> near(0.0, 100.0);
    for (int i = 0; i < 3000; ++i) {
        // Drawn one by one: the order of a call's arguments is unspecified.
        const double x0 = near(rng), y0 = near(rng), x1 = near(rng), y1 = near(rng);
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

TEST(XYPointSearcher, PinnedCasesAndHostileCoordinates) {
    const std::pair<size_t, uint32_t> expected[] = {
        {1, 1},   {39, 1},      {40, 2},             {100, 5},
        {400, 20}, {10000, 100}, {2000 * 2000, 2000}, {2001 * 2001, 2000}};
    for (const auto& [count, strips] : expected)
        EXPECT_EQ(XYPointSearcher::StripCountFor(count), strips) << count;

    XYPointSearcher* heap = XYPointSearcher::Allocate();
    double x = 7, y = 8;
    int marker = 0;
    void* data = &marker;
    EXPECT_FALSE(heap->ClosestPoint(0, 0, &x, &y, &data));  // no point: outputs untouched
    EXPECT_TRUE(x == 7 && y == 8 && data == &marker && heap->GetRange().isEmpty());
    heap->AddPoint(2, 3, &marker);
    for (const DPoint2d q : {DPoint2d{2, 3}, {1e300, -1e300}, {kInf, 0}, {kNaN, kNaN}}) {
        const auto found = Closest(*heap, q.x, q.y);
        EXPECT_TRUE(found.data == &marker && found.x == 2 && found.y == 3) << q.x;
    }
    EXPECT_TRUE(heap->ClosestPoint(0, 0, nullptr, nullptr, nullptr));
    XYPointSearcher::Free(heap);
    XYPointSearcher::Free(nullptr);

    // Same x: the strip is ordered by y, so the lower point starts and the upper
    // one, equally far, does not replace it. Either side in x: the left one starts.
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

    int added = 0;  // a point added after a search is found
    shifted.AddPoint(0.5, 0.5, &added);
    EXPECT_FALSE(shifted.IsSorted());
    EXPECT_EQ(Closest(shifted, 0.25, 0.25).data, &added);
    const double huge = std::numeric_limits<double>::max();
    Points wild = MakePoints(PointPattern::Uniform, 2000, 9);
    for (size_t i = 0; i < wild.size(); i += 7) wild[i].x = kNaN;
    for (size_t i = 3; i < wild.size(); i += 11) wild[i].y = i % 2 ? kInf : -huge;
    XYPointSearcher hostile;  // NaN, infinite and huge coordinates
    AddAll(hostile, wild);
    for (const DPoint2d q :
         {DPoint2d{500, 500}, {kNaN, 1}, {1, kNaN}, {kInf, -kInf}, {huge, huge}, {-huge, 0}}) {
        const auto* point = static_cast<const DPoint2d*>(Closest(hostile, q.x, q.y).data);
        ASSERT_TRUE(point >= wild.data() && point < wild.data() + wild.size());
    }
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
            // A range tree of rectangles whose low corners are the points, some with size.
            std::vector<DRange2d> boxes;
            for (const DPoint2d& p : points)
                boxes.push_back(Box(p.x, p.y, p.x + boxes.size() % 3, p.y + boxes.size() % 5));
            Tree tree;
            for (DRange2d& box : boxes) XYRangeTreeRoot::Add(tree.root, &box, box);
            XYRangeTreeClosestLowPointSearcher lowCorner;
            for (int q = 0; q < (count > 10000 ? 60 : 300); ++q) {
                // Every third query on a stored point, the others beyond them on every side.
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
                    ASSERT_TRUE(box && box->low.x == lowCorner.GetClosestLowPoint().x &&
                                box->low.y == lowCorner.GetClosestLowPoint().y);
                }
            }
            // As many strips as the count says, splitting the points evenly.
            const auto strips = searcher.GetStrips();
            ASSERT_EQ(strips.size(), XYPointSearcher::StripCountFor(count));
            for (uint32_t s = 0; s < strips.size(); ++s) {
                EXPECT_TRUE(strips[s].first == (s ? strips[s - 1].end : 0) &&
                            strips[s].end == uint32_t(double(s + 1) * count / strips.size()));
            }
        }
    }
}
