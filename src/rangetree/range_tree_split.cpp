#include "rangetree/range_tree_split.h"

#include <algorithm>
#include <limits>

#include "rangetree/coordinate_order.h"

namespace Korvex::Geom {

namespace {

double LowKey(const XYRangeTreeSplitRecord& record, XYRangeTreeAxis axis) {
    return axis == XYRangeTreeAxisX ? record.range.low.x : record.range.low.y;
}

double HighKey(const XYRangeTreeSplitRecord& record, XYRangeTreeAxis axis) {
    return axis == XYRangeTreeAxisX ? record.range.high.x : record.range.high.y;
}

// The last position that stays in the node: the widest positive gap between
// a record and its predecessor in the middle third; failing that the largest
// step between their low bounds; failing that the middle.
struct SplitChoice {
    int position;
    double gap;
};

SplitChoice ChooseSplitPosition(const XYRangeTreeSplitRecord* records, int count,
                                XYRangeTreeAxis axis) {
    const int third = count / 3;
    double bestGap = 0.0;
    int gapPosition = -1;
    double bestStep = -std::numeric_limits<double>::max();
    int stepPosition = -1;
    for (int k = third + 1; k <= count - third - 1; ++k) {
        const double low = LowKey(records[k], axis);
        const double gap = low - HighKey(records[k - 1], axis);
        if (gap <= 0.0) {
            const double step = low - LowKey(records[k - 1], axis);
            if (step > bestStep) {
                bestStep = step;
                stepPosition = k;
            }
        } else if (gap > bestGap) {
            bestGap = gap;
            gapPosition = k;
        }
    }
    if (gapPosition >= 0) return {gapPosition, bestGap};
    if (bestStep > 0.0) return {stepPosition, 0.0};
    return {count / 2, 0.0};
}

}  // namespace

double XYRangeTreeScoreSplitAxis(XYRangeTreeSplitRecord* records, int count, XYRangeTreeAxis axis) {
    // Stable, so that equal rectangles keep their order on every platform.
    std::stable_sort(records, records + count,
                     [axis](const XYRangeTreeSplitRecord& a, const XYRangeTreeSplitRecord& b) {
                         return CoordinatePairLess(LowKey(a, axis), HighKey(a, axis),
                                                   LowKey(b, axis), HighKey(b, axis));
                     });
    const SplitChoice choice = ChooseSplitPosition(records, count, axis);
    for (int i = 0; i < count; ++i) records[i].movesOut[axis] = i > choice.position;
    return choice.gap;
}

}  // namespace Korvex::Geom
