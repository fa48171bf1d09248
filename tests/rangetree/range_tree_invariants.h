// A test-only checker of the structural rules of an XY range tree.
#pragma once

#include <string>
#include <vector>

#include "rangetree/rangetree.h"

namespace rangetree_test {

// Walks the whole tree and returns a description of the first broken rule,
// or an empty string: every interior node holds at most 49 children, all
// leaves or all interior nodes, as its all-leaves flag says; its rectangle
// and squared diagonal cover and match its children; every interior node
// points at its parent; leaves all sit at the same depth. The data of every
// leaf is appended to items in traversal order.
std::string CheckRangeTree(const Korvex::Geom::XYRangeTreeRoot& root, std::vector<void*>& items);

}  // namespace rangetree_test
