// The stages of the closest approach between two polygons after the
// crossing-plane stage. Internal to the layer.
#pragma once

#include "planar/planar_types.h"

namespace Korvex::detail {

// The best pair so far and its squared distance.
struct Approach {
    DPoint3d onA;
    DPoint3d onB;
    double distanceSquared;
};

// Vertices of `other` that are local extremes of height over `face` (unit
// normal faceNormal, zero to skip) and lie over it (parity inside or on) are
// matched with their foot on the face. A candidate as close as the best
// replaces it, so ties go to the later vertex.
void matchVerticesToFace(Approach& best, bool faceIsA, const DPoint3d* face, int faceCount,
                         const DPoint3d& faceNormal, const DPoint3d* other, int otherCount);

// Every edge of A against every edge of B, each pair matched through the
// closest points of the two edges' lines, each clamped to its edge. A pair
// replaces the best only when strictly closer, so the earlier pair keeps a tie.
void matchEdgePairs(Approach& best, const DPoint3d* a, int countA, const DPoint3d* b,
                    int countB);

}  // namespace Korvex::detail
