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

// Walks the array once with a state counter: each run of non-disconnect points
// is a loop fanned from its first point O. The visitor sees O, the first edge
// vector U = P1 - O, every fan triangle (U, V) with V = Pk - O (after which U
// becomes V), and the end of every loop with its last U and its point count.
template <class Visitor>
void walkLoopFans(const DPoint3d* points, int count, Visitor& visitor) {
    int state = 0;
    DPoint3d origin{}, u{};
    for (int i = 0; i < count; ++i) {
        const DPoint3d& p = points[i];
        if (tgxDPoint3d_isDisconnect(&p)) {
            if (state > 0) visitor.loopEnd(u, state);
            state = 0;
        } else if (state == 0) {
            origin = p;
            u = {0.0, 0.0, 0.0};
            visitor.loopOrigin(origin);
            state = 1;
        } else if (state == 1) {
            u = sub(p, origin);
            visitor.firstEdge(u);
            state = 2;
        } else {
            const DPoint3d v = sub(p, origin);
            visitor.fanTriangle(u, v);
            u = v;
            ++state;
        }
    }
    if (state > 0) visitor.loopEnd(u, state);
}

}  // namespace Korvex::detail
