// Choosing how to divide the children of a full interior node in two.
#pragma once

#include "planar/planar_types.h"

namespace Korvex::Geom {

class XYRangeTreeQuery;

enum XYRangeTreeAxis : int { XYRangeTreeAxisX = 0, XYRangeTreeAxisY = 1 };

// One child of the node being split. movesOut[axis] tells whether the child
// goes to the new sibling when the node is split along that axis.
struct XYRangeTreeSplitRecord {
    XYRangeTreeQuery* child;
    DRange2d range;
    bool movesOut[2];
};

// Sorts the records along the axis (by low, then high bound), picks the split
// position and marks the records after it as moving out. Returns the axis's
// score: the widest gap between neighbours near the middle, 0 when none.
double XYRangeTreeScoreSplitAxis(XYRangeTreeSplitRecord* records, int count, XYRangeTreeAxis axis);

}  // namespace Korvex::Geom
