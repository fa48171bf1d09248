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

// Walks the edges of every ring, in ring order, each ring's closing edge
// first. A cursor can be copied to resume the walk later from where it was.
class RingEdgeCursor {
public:
    RingEdgeCursor() = default;
    RingEdgeCursor(const DPoint3d* points, int count) : points_(points), count_(count) {
        enterRingFrom(0);
    }

    bool done() const { return done_; }
    // The current edge, from the previous point of its ring to point i.
    const DPoint3d& start() const { return points_[ring_.previous(i_)]; }
    const DPoint3d& end() const { return points_[i_]; }

    void advance() {
        if (++i_ == ring_.end) enterRingFrom(runEnd_);
    }

private:
    // Enters the first non-empty ring whose run starts at or after index from
    // (or after the separator at from).
    void enterRingFrom(int from) {
        while (from < count_) {
            if (tgxDPoint3d_isDisconnect(&points_[from])) {
                ++from;
                continue;
            }
            int runEnd = from;
            while (runEnd < count_ && !tgxDPoint3d_isDisconnect(&points_[runEnd])) ++runEnd;
            ring_ = {from, from + withoutClosurePoint(points_ + from, runEnd - from)};
            runEnd_ = runEnd;
            i_ = from;
            done_ = false;
            return;
        }
        done_ = true;
    }

    const DPoint3d* points_ = nullptr;
    int count_ = 0;
    RingRange ring_{0, 0};
    int runEnd_ = 0;  // index of the separator ending the ring's run, or count
    int i_ = 0;
    bool done_ = true;
};

// Calls visit(start, end) for every edge of every ring, in ring order, each
// ring's closing edge first.
template <class Visit>
void forEachRingEdge(const DPoint3d* points, int count, Visit&& visit) {
    for (RingEdgeCursor edge(points, count); !edge.done(); edge.advance()) {
        visit(edge.start(), edge.end());
    }
}

}  // namespace Korvex::detail
