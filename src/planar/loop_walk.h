// The loop-by-loop fan walk shared by the area, normal and centroid routines.
// Internal to the layer.
#pragma once

#include "planar/disconnect_point.h"
#include "planar/vector_ops.h"

namespace Korvex::detail {

// Default (empty) callbacks; a visitor derives from this and overrides the
// events it needs.
struct LoopFanVisitor {
    void loopOrigin(const DPoint3d& /*origin*/) {}
    void firstEdge(const DPoint3d& /*u*/) {}
    void fanTriangle(const DPoint3d& /*u*/, const DPoint3d& /*v*/) {}
    void loopEnd(const DPoint3d& /*lastFromOrigin*/, int /*loopPointCount*/) {}
};

// Walks the array once: each run of non-disconnect points
// is a loop fanned from its first point O. The visitor sees O, the first edge
// vector U = P1 - O, every fan triangle (U, V) with V = Pk - O (after which U
// becomes V), and the end of every loop with its last U and its point count.
template <class Visitor>
void walkLoopFans(const DPoint3d* points, int count, Visitor& visitor) {
    auto inLoop = [&](int i) { return i < count && !tgxDPoint3d_isDisconnect(&points[i]); };
    int i = 0;
    while (i < count) {
        if (!inLoop(i)) {
            ++i;
            continue;
        }
        const DPoint3d origin = points[i++];
        visitor.loopOrigin(origin);
        int loopPointCount = 1;
        DPoint3d u{0.0, 0.0, 0.0};
        if (inLoop(i)) {
            u = sub(points[i++], origin);
            visitor.firstEdge(u);
            for (loopPointCount = 2; inLoop(i); ++i, ++loopPointCount) {
                const DPoint3d v = sub(points[i], origin);
                visitor.fanTriangle(u, v);
                u = v;
            }
        }
        visitor.loopEnd(u, loopPointCount);
    }
}

}  // namespace Korvex::detail
