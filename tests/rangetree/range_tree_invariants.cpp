#include "range_tree_invariants.h"

#include <limits>
#include <sstream>

namespace rangetree_test {

using Korvex::DRange2d;
using Korvex::Geom::XYRangeTreeInterior;
using Korvex::Geom::XYRangeTreeLeaf;
using Korvex::Geom::XYRangeTreeQuery;
using Korvex::Geom::XYRangeTreeRoot;

namespace {

class Checker {
public:
    explicit Checker(std::vector<void*>& items) : m_items(items) {}

    std::string Check(const XYRangeTreeRoot& root) {
        const XYRangeTreeInterior* top = root.GetTopNode();
        if (!top) return {};
        if (top->GetParent() != &root) return "the top node's parent is not the root";
        CheckNode(*top, 0);
        return m_failure.str();
    }

private:
    void CheckNode(const XYRangeTreeInterior& node, int depth) {
        const int count = node.GetChildCount();
        if (count >= XYRangeTreeInterior::kMaxChildren) Fail(depth, "holds 50 children");
        if (count == 0 && depth > 0) Fail(depth, "an empty node below the top");
        int leaves = 0;
        DRange2d cover;
        cover.init();
        for (int i = 0; i < count; ++i) {
            const XYRangeTreeQuery* child = node.GetChild(i);
            const DRange2d range = child->GetRange();
            cover.extend(range);
            if (!range.isContained(node.GetRange())) Fail(depth, "a child sticks out");
            if (const XYRangeTreeLeaf* leaf = child->AsLeaf()) {
                ++leaves;
                m_items.push_back(leaf->GetData());
            } else if (const XYRangeTreeInterior* interior = child->AsInterior()) {
                if (interior->GetParent() != &node) Fail(depth, "a child's parent is wrong");
                CheckNode(*interior, depth + 1);
            } else {
                Fail(depth, "a child is neither a leaf nor an interior node");
            }
        }
        if (leaves != 0 && leaves != count) Fail(depth, "leaves and interior nodes mixed");
        if (node.HasOnlyLeaves() != (leaves == count)) Fail(depth, "the all-leaves flag is wrong");
        if (leaves > 0) CheckLeafDepth(depth);
        CheckRectangle(node, cover, depth);
    }

    // A node's rectangle is exactly the cover of its children, because it
    // only ever grows to cover an inserted child or is recomputed on a split.
    void CheckRectangle(const XYRangeTreeInterior& node, const DRange2d& cover, int depth) {
        const DRange2d range = node.GetRange();
        if (range.low.x != cover.low.x || range.low.y != cover.low.y ||
            range.high.x != cover.high.x || range.high.y != cover.high.y) {
            Fail(depth, "the rectangle is not the cover of the children");
        }
        const double dx = range.high.x - range.low.x;
        const double dy = range.high.y - range.low.y;
        const double expected =
            range.isNull() ? std::numeric_limits<double>::max() : dx * dx + dy * dy;
        if (node.GetSquaredDiagonal() != expected) Fail(depth, "the squared diagonal is stale");
    }

    void CheckLeafDepth(int depth) {
        if (m_leafDepth < 0) m_leafDepth = depth;
        if (m_leafDepth != depth) Fail(depth, "leaves at different depths");
    }

    void Fail(int depth, const char* what) {
        if (m_failure.tellp() == 0) m_failure << "node at depth " << depth << ": " << what;
    }

    std::vector<void*>& m_items;
    std::ostringstream m_failure;
    int m_leafDepth = -1;
};

}  // namespace

std::string CheckRangeTree(const XYRangeTreeRoot& root, std::vector<void*>& items) {
    return Checker(items).Check(root);
}

}  // namespace rangetree_test
