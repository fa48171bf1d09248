// An interior node of an XY range tree.
#pragma once

#include "rangetree/range_tree_query.h"

namespace Korvex::Geom {

// Holds up to 49 children, all leaves or all interior nodes, and the rectangle
// covering them. A node that reaches 50 children splits at once into itself
// and a new sibling that is hung under the same parent.
class XYRangeTreeInterior final : public XYRangeTreeQuery {
public:
    static constexpr int kMaxChildren = 50;

    // The parent is the root or another interior node; null only while the
    // node is being moved.
    explicit XYRangeTreeInterior(XYRangeTreeQuery* parent);
    // Releases every node below.
    ~XYRangeTreeInterior() override;

    const XYRangeTreeQuery* GetParent() const override { return m_parent; }
    DRange2d GetRange() const override { return m_range; }
    const XYRangeTreeInterior* AsInterior() const override { return this; }

    int GetChildCount() const { return m_childCount; }
    const XYRangeTreeQuery* GetChild(int index) const { return m_children[index]; }
    // True while no child is anything but a leaf (also when there is none).
    bool HasOnlyLeaves() const { return m_allLeaves; }
    // Squared diagonal of the rectangle, the largest double when it is null.
    double GetSquaredDiagonal() const { return m_squaredDiagonal; }

    // How much inserting a rectangle would cost this node: its new squared
    // diagonal plus the growth of that diagonal.
    double EnlargementCost(const DRange2d& range) const;

private:
    // The tree changes its nodes only through the root.
    friend class XYRangeTreeRoot;

    // The interior child whose enlargement cost is least; the first one wins
    // a tie. Null when there is no interior child.
    XYRangeTreeInterior* ChildWithLeastEnlargement(const DRange2d& range);
    // Takes ownership of the child. With grow on, widens this node and its
    // ancestors while their rectangles still change. False only when the node
    // is already full.
    bool Insert(XYRangeTreeQuery* child, bool grow);
    void SetParent(XYRangeTreeQuery* parent) { m_parent = parent; }

    static XYRangeTreeInterior* AsMutableInterior(const XYRangeTreeQuery* node);

    bool Append(XYRangeTreeQuery* child);
    void GrowToCover(const DRange2d& range);
    void UpdateSquaredDiagonal();
    void RecomputeRange();
    void RemoveAllChildren();
    void Split();
    bool HangUnderParent(XYRangeTreeInterior* sibling);
    void TakeBackChildren(XYRangeTreeInterior* sibling);

    DRange2d m_range;
    double m_squaredDiagonal;
    XYRangeTreeQuery* m_parent;
    XYRangeTreeQuery* m_children[kMaxChildren];
    int m_childCount = 0;
    bool m_allLeaves = true;
};

}  // namespace Korvex::Geom
