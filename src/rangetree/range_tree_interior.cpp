#include "rangetree/range_tree_interior.h"

#include <limits>
#include <new>

#include "rangetree/range_tree_leaf.h"
#include "rangetree/range_tree_root.h"
#include "rangetree/range_tree_split.h"

namespace Korvex::Geom {

namespace {

constexpr double kLargest = std::numeric_limits<double>::max();

double SquaredDiagonal(const DRange2d& range) {
    if (range.isNull()) return kLargest;
    const double dx = range.high.x - range.low.x;
    const double dy = range.high.y - range.low.y;
    return dx * dx + dy * dy;
}

}  // namespace

XYRangeTreeInterior::XYRangeTreeInterior(XYRangeTreeQuery* parent)
    : m_squaredDiagonal(kLargest), m_parent(parent), m_children{} {
    m_range.init();
}

XYRangeTreeInterior::~XYRangeTreeInterior() {
    for (int i = 0; i < m_childCount; ++i) delete m_children[i];
}

XYRangeTreeInterior* XYRangeTreeInterior::AsMutableInterior(const XYRangeTreeQuery* node) {
    // Every node of a tree is created non-const; the const view is the
    // public face of the node interface only.
    return const_cast<XYRangeTreeInterior*>(node ? node->AsInterior() : nullptr);
}

double XYRangeTreeInterior::EnlargementCost(const DRange2d& range) const {
    DRange2d united = m_range;
    united.extend(range);
    if (united.isNull()) return kLargest + (kLargest - m_squaredDiagonal);
    const double diagonal = SquaredDiagonal(united);
    return diagonal + (diagonal - m_squaredDiagonal);
}

XYRangeTreeInterior* XYRangeTreeInterior::ChildWithLeastEnlargement(const DRange2d& range) {
    XYRangeTreeInterior* best = nullptr;
    double bestCost = 0.0;
    for (int i = 0; i < m_childCount; ++i) {
        XYRangeTreeInterior* child = AsMutableInterior(m_children[i]);
        if (!child) continue;
        const double cost = child->EnlargementCost(range);
        if (!best || cost < bestCost) {
            best = child;
            bestCost = cost;
        }
    }
    return best;
}

bool XYRangeTreeInterior::Insert(XYRangeTreeQuery* child, bool grow) {
    if (!Append(child)) return false;
    if (grow) GrowToCover(child->GetRange());
    if (m_childCount == kMaxChildren) Split();
    return true;
}

bool XYRangeTreeInterior::Append(XYRangeTreeQuery* child) {
    if (m_childCount >= kMaxChildren) return false;
    m_children[m_childCount++] = child;
    if (!child->AsLeaf()) m_allLeaves = false;
    if (XYRangeTreeInterior* interior = AsMutableInterior(child)) interior->m_parent = this;
    return true;
}

// Stops at the first node whose rectangle does not change: everything above
// it covers it already.
void XYRangeTreeInterior::GrowToCover(const DRange2d& range) {
    for (XYRangeTreeInterior* node = this; node && node->m_range.extend(range);
         node = AsMutableInterior(node->m_parent)) {
        node->UpdateSquaredDiagonal();
    }
}

void XYRangeTreeInterior::UpdateSquaredDiagonal() { m_squaredDiagonal = SquaredDiagonal(m_range); }

void XYRangeTreeInterior::RecomputeRange() {
    m_range.init();
    for (int i = 0; i < m_childCount; ++i) m_range.extend(m_children[i]->GetRange());
    UpdateSquaredDiagonal();
}

void XYRangeTreeInterior::RemoveAllChildren() {
    m_range.init();
    m_squaredDiagonal = kLargest;
    m_childCount = 0;
    m_allLeaves = true;
}

// Scores both axes, keeps the children before the chosen axis's split
// position and moves the rest to a new sibling under the same parent.
void XYRangeTreeInterior::Split() {
    auto* sibling = new (std::nothrow) XYRangeTreeInterior(nullptr);
    if (!sibling) return;  // stays full: later insertions into it report failure

    XYRangeTreeSplitRecord records[kMaxChildren];
    const int count = m_childCount;
    for (int i = 0; i < count; ++i) {
        records[i] = {m_children[i], m_children[i]->GetRange(), {false, false}};
    }
    const double xScore = XYRangeTreeScoreSplitAxis(records, count, XYRangeTreeAxisX);
    const double yScore = XYRangeTreeScoreSplitAxis(records, count, XYRangeTreeAxisY);
    const XYRangeTreeAxis axis = yScore > xScore ? XYRangeTreeAxisY : XYRangeTreeAxisX;

    RemoveAllChildren();
    for (int i = 0; i < count; ++i) {
        (records[i].movesOut[axis] ? sibling : this)->Append(records[i].child);
    }
    RecomputeRange();
    sibling->RecomputeRange();
    if (!HangUnderParent(sibling)) TakeBackChildren(sibling);
}

// The parent already covers both halves, so no growth is needed. A full
// parent splits in turn; under the root the tree grows by one level.
bool XYRangeTreeInterior::HangUnderParent(XYRangeTreeInterior* sibling) {
    if (!m_parent) return false;
    if (const XYRangeTreeRoot* root = m_parent->AsRoot()) {
        return const_cast<XYRangeTreeRoot*>(root)->Insert(sibling);
    }
    return AsMutableInterior(m_parent)->Insert(sibling, false);
}

// Undoes a split whose new sibling found no place, leaving this node full.
void XYRangeTreeInterior::TakeBackChildren(XYRangeTreeInterior* sibling) {
    for (int i = 0; i < sibling->m_childCount; ++i) Append(sibling->m_children[i]);
    sibling->m_childCount = 0;
    delete sibling;
    RecomputeRange();
}

}  // namespace Korvex::Geom
