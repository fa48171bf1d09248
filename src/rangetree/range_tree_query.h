// The common base of the nodes of an XY range tree.
#pragma once

#include "planar/planar_types.h"

namespace Korvex::Geom {

class XYRangeTreeLeaf;
class XYRangeTreeInterior;
class XYRangeTreeRoot;

// Every node of the tree is a query: it reports its rectangle, the node above
// it and which kind of node it is. Nodes are created and released by the tree
// only, so they cannot be copied.
class XYRangeTreeQuery {
public:
    XYRangeTreeQuery(const XYRangeTreeQuery&) = delete;
    XYRangeTreeQuery& operator=(const XYRangeTreeQuery&) = delete;
    virtual ~XYRangeTreeQuery() = default;

    // The node above: an interior node or the root for an interior node, null
    // for a leaf and for the root.
    virtual const XYRangeTreeQuery* GetParent() const { return nullptr; }
    // The rectangle covering everything at or below this node.
    virtual DRange2d GetRange() const = 0;
    virtual const XYRangeTreeLeaf* AsLeaf() const { return nullptr; }
    virtual const XYRangeTreeInterior* AsInterior() const { return nullptr; }
    virtual const XYRangeTreeRoot* AsRoot() const { return nullptr; }

protected:
    XYRangeTreeQuery() = default;
};

}  // namespace Korvex::Geom
