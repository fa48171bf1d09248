// Ring-by-ring iteration over a flat polygon array for the closest approach.
// Internal to the layer.
#pragma once

#include "planar/disconnect_point.h"
#include "planar/vector_ops.h"

namespace Korvex::detail {

// A ring occupies indices [begin, end) of its array; its closing edge runs
// from end - 1 back to begin.
struct RingRange {
    int begin;
    int end;
    int previous(int i) const { return i == begin ? end - 1 : i - 1; }
    int next(int i) const { return i + 1 == end ? begin : i + 1; }
};

// Count without an explicit closure point (last equal to first exactly).
inline int withoutClosurePoint(const DPoint3d* points, int count) {
    return count > 1 && equalExactly(points[0], points[count - 1]) ? count - 1 : count;
}

template <class Visit>
void visitRing(const DPoint3d* points, int begin, int end, Visit& visit) {
    end = begin + withoutClosurePoint(points + begin, end - begin);
    if (end > begin) visit(RingRange{begin, end});
}

// Calls visit(RingRange) for every non-empty run of non-disconnect points,
// its explicit closure point dropped. Without disconnect points this is the
// whole array as one ring.
template <class Visit>
void forEachRing(const DPoint3d* points, int count, Visit&& visit) {
    int start = 0;
    for (int i = 0; i < count; ++i) {
        if (!tgxDPoint3d_isDisconnect(&points[i])) continue;
        visitRing(points, start, i, visit);
        start = i + 1;
    }
    visitRing(points, start, count, visit);
}

// Calls visit(start, end) for every edge of every ring, in ring order, each
// ring's closing edge first.
template <class Visit>
void forEachRingEdge(const DPoint3d* points, int count, Visit&& visit) {
    forEachRing(points, count, [&](const RingRange& ring) {
        for (int i = ring.begin; i < ring.end; ++i) visit(points[ring.previous(i)], points[i]);
    });
}

}  // namespace Korvex::detail
