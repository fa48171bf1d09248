// The crossing-plane stage of the closest approach: where the line common to
// two polygons' planes runs inside both polygons. Internal to the layer.
#pragma once

#include "planar/planar_types.h"

namespace Korvex::detail {

// Cuts each polygon (with unit normal) by the line where the two planes meet
// and walks the two lists of inside intervals along the line; on the first
// overlap writes its start to meetingPoint and returns true. false when the
// planes are parallel or the same, when nothing overlaps, and when the cut
// cannot be formed (non-finite values, or more crossings than the bounded
// scratch space holds).
bool findPlaneCrossingOverlap(DPoint3d& meetingPoint, const DPoint3d* pointsA, int countA,
                              const DPoint3d& normalA, const DPoint3d* pointsB, int countB,
                              const DPoint3d& normalB);

}  // namespace Korvex::detail
