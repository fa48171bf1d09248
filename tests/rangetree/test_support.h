// Shared helpers of the rangetree tests: point sets, the sanitizer scale and
// a checker of the structural rules of a range tree.
#pragma once

#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "planar/planar_types.h"
#include "rangetree/rangetree.h"

namespace rangetree_test {

using Korvex::DPoint2d;
using Korvex::DRange2d;
using Korvex::Geom::XYRangeTreeInterior;
using Korvex::Geom::XYRangeTreeRoot;
using Points = std::vector<DPoint2d>;

inline constexpr double kInf = std::numeric_limits<double>::infinity();
inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Fewer random iterations under the sanitizers, which run many times slower.
#if defined(__SANITIZE_ADDRESS__)
constexpr int Scaled(int count) { return count / 4; }
#else
constexpr int Scaled(int count) { return count; }
#endif

inline DRange2d Box(double x0, double y0, double x1, double y1) {
    DRange2d range;
    range.initFrom(x0, y0, x1, y1);
    return range;
}

inline double Distance2(DPoint2d a, DPoint2d b) {
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

inline Points MakePoints(PointPattern pattern, int count, uint32_t seed) {
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

// Returns the first broken rule below `node`, or "": at most 49 children,
// all leaves or all interior nodes as the all-leaves flag says, children
// inside the node, the rectangle and squared diagonal exactly those of the
// children's cover, parents right, all leaves at one depth. Appends the data
// of every leaf to items.
inline std::string CheckNode(const XYRangeTreeInterior& node, int depth, int& leafDepth,
                             std::vector<void*>& items) {
    const std::string at = "node at depth " + std::to_string(depth) + ": ";
    const int count = node.GetChildCount();
    if (count >= XYRangeTreeInterior::kMaxChildren) return at + "holds 50 children";
    if (count == 0 && depth > 0) return at + "an empty node below the top";
    int leaves = 0;
    DRange2d cover;
    cover.init();
    for (int i = 0; i < count; ++i) {
        const auto* child = node.GetChild(i);
        cover.extend(child->GetRange());
        if (!child->GetRange().isContained(node.GetRange())) return at + "a child sticks out";
        if (const auto* leaf = child->AsLeaf()) {
            ++leaves;
            items.push_back(leaf->GetData());
            continue;
        }
        const XYRangeTreeInterior* interior = child->AsInterior();
        if (!interior || interior->GetParent() != &node) return at + "a child's parent is wrong";
        const std::string failure = CheckNode(*interior, depth + 1, leafDepth, items);
        if (!failure.empty()) return failure;
    }
    if (leaves != 0 && leaves != count) return at + "leaves and interior nodes mixed";
    if (node.HasOnlyLeaves() != (leaves == count)) return at + "the all-leaves flag is wrong";
    if (leaves > 0 && leafDepth >= 0 && leafDepth != depth) return at + "leaves at two depths";
    if (leaves > 0) leafDepth = depth;
    const DRange2d r = node.GetRange();
    if (r.low.x != cover.low.x || r.low.y != cover.low.y || r.high.x != cover.high.x ||
        r.high.y != cover.high.y)
        return at + "the rectangle is not the cover of the children";
    const double diagonal2 =
        r.isNull() ? std::numeric_limits<double>::max() : Distance2(r.low, r.high);
    return node.GetSquaredDiagonal() == diagonal2 ? "" : at + "the squared diagonal is stale";
}

inline std::string CheckRangeTree(const XYRangeTreeRoot& root, std::vector<void*>& items) {
    const XYRangeTreeInterior* top = root.GetTopNode();
    int leafDepth = -1;
    if (top && top->GetParent() != &root) return "the top node's parent is not the root";
    return top ? CheckNode(*top, 0, leafDepth, items) : "";
}

}  // namespace rangetree_test
