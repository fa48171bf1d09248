// A range-tree handler that finds the item whose rectangle's low corner lies
// nearest to a point.
#pragma once

#include "rangetree/range_tree_handler.h"
#include "planar/planar_types.h"

namespace Korvex::Geom {

// For a tree of points (low = high) this is a nearest-point search. The
// search range starts as a square of the given radius around the query and
// shrinks to the best distance with every improvement; only subtrees that
// touch it are entered. The first leaf visited wins a tie.
class XYRangeTreeClosestLowPointSearcher final : public XYRangeTreeHandler {
public:
    XYRangeTreeClosestLowPointSearcher();

    // Resets the search for the query (x, y) with the starting radius.
    void Start(double x, double y, double radius);

    bool ShouldRecurseIntoSubtree(const XYRangeTreeRoot* root,
                                  const XYRangeTreeInterior* node) override;
    bool ShouldContinueAfterSubtree(const XYRangeTreeRoot* root,
                                    const XYRangeTreeInterior* node) override;
    bool ShouldContinueAfterLeaf(const XYRangeTreeRoot* root, const XYRangeTreeInterior* node,
                                 const XYRangeTreeLeaf* leaf) override;

    // The data of the best leaf, null when none was found.
    void* GetResult() const { return m_result; }
    // The largest double while nothing was found.
    double GetBestDistanceSquared() const { return m_bestDistanceSquared; }
    DPoint2d GetClosestLowPoint() const { return m_closestLowPoint; }
    DRange2d GetSearchRange() const { return m_searchRange; }

private:
    DPoint2d m_query;
    DRange2d m_searchRange;
    double m_bestDistanceSquared;
    DPoint2d m_closestLowPoint;
    void* m_result;
};

}  // namespace Korvex::Geom
