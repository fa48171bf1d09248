// The root of an XY range tree and the operations on a whole tree.
#pragma once

#include <memory>

#include "rangetree/range_tree_packed.h"
#include "rangetree/range_tree_query.h"

namespace Korvex::Geom {

class XYRangeTreeHandler;
class XYRangeTreeInterior;

// Indexes items by their rectangles with a fan-out of 50. Items are only ever
// added; searches are depth-first traversals steered by a handler. The tree
// owns its nodes but never the items' data.
class XYRangeTreeRoot final : public XYRangeTreeQuery {
public:
    XYRangeTreeRoot() = default;
    // Releases every node; the data pointers are left to their owner.
    ~XYRangeTreeRoot() override;

    // A new empty tree, released with Free.
    static XYRangeTreeRoot* Allocate();
    // Inserts one item. False when the tree is null or memory runs out.
    static bool Add(XYRangeTreeRoot* root, void* data, const DRange2d& range);
    // Visits the tree depth first, children in order. False when the handler
    // stopped the traversal; an empty tree, a null tree or a null handler
    // give true without any call.
    static bool Traverse(const XYRangeTreeRoot* root, XYRangeTreeHandler* handler);
    // Releases the tree and all its nodes; null is ignored.
    static void Free(XYRangeTreeRoot* root);

    // The root has no rectangle of its own: always the empty rectangle.
    DRange2d GetRange() const override;
    const XYRangeTreeRoot* AsRoot() const override { return this; }

    // The interior node at the top, null while the tree is empty.
    const XYRangeTreeInterior* GetTopNode() const { return m_top; }
    // The tree packed for searching, made on first use after an Add; null
    // while the tree is empty or when memory runs out.
    const XYRangeTreePacked* GetPacked() const;

private:
    friend class XYRangeTreeInterior;

    XYRangeTreeInterior* ChooseReceivingNode(const DRange2d& range);
    // Hangs a node below the root: it becomes the top if there is none yet,
    // otherwise a new top takes the old top and the node.
    bool Insert(XYRangeTreeQuery* child);

    XYRangeTreeInterior* m_top = nullptr;
    mutable std::unique_ptr<XYRangeTreePacked> m_packed;  // dropped by every Add
};

}  // namespace Korvex::Geom
