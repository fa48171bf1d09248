// A read-only copy of an XY range tree's leaves laid out for searching.
#pragma once

#include <vector>

#include "planar/planar_types.h"

namespace Korvex::Geom {

class XYRangeTreeInterior;

// The leaves of a tree, numbered in the order a traversal meets them, loaded
// into a compact tree of their own: sorted into strips by x, each strip by y,
// and cut into nodes of a few children, level by level. The tree's nodes of
// up to 50 children overlap where items were added in no spatial order; here
// neighbouring leaves share nodes, and a node's child rectangles lie side by
// side in memory, so a nearest search reads few of them. A leaf's number is
// its place in traversal order, which settles ties as a traversal would.
class XYRangeTreePacked {
public:
    static constexpr int kFanOut = 16;

    struct Node {
        int firstChild;  // into ChildRanges and Children
        int childCount;
        bool hasLeaves;  // children are leaf numbers, else node indices
    };

    explicit XYRangeTreePacked(const XYRangeTreeInterior& top);

    // The node that covers all others; -1 when the tree has no leaf.
    int Root() const { return static_cast<int>(m_nodes.size()) - 1; }
    const std::vector<Node>& Nodes() const { return m_nodes; }
    // Rectangles of the children; a rectangle with a NaN bound passes the NaN
    // on to every node above it.
    const std::vector<DRange2d>& ChildRanges() const { return m_childRanges; }
    const std::vector<int>& Children() const { return m_children; }
    // Leaf data by leaf number.
    const std::vector<void*>& LeafData() const { return m_leafData; }

private:
    struct Entry {
        DRange2d range;
        int index;  // leaf number or node index
    };

    void CollectLeaves(const XYRangeTreeInterior& node, std::vector<Entry>& leaves);
    // Groups one level's entries into nodes; returns the entries of the
    // level above.
    std::vector<Entry> PackLevel(std::vector<Entry>& entries, bool leaves);

    std::vector<Node> m_nodes;
    std::vector<DRange2d> m_childRanges;
    std::vector<int> m_children;
    std::vector<void*> m_leafData;
};

}  // namespace Korvex::Geom
