#include "planar/approach_stages.h"
#include "planar/numerics.h"
#include "planar/point_vector.h"
#include "planar/polygon_rings.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace Korvex::detail {
namespace {

// A bounding box of one edge or of a run of edges: all the pruning test needs.
struct EdgeBox {
    DPoint3d low{}, high{};

    EdgeBox() = default;
    EdgeBox(const DPoint3d& a, const DPoint3d& b)
        : low{std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)},
          high{std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)} {}

    void extend(const EdgeBox& other) {
        low = {std::min(low.x, other.low.x), std::min(low.y, other.low.y),
               std::min(low.z, other.low.z)};
        high = {std::max(high.x, other.high.x), std::max(high.y, other.high.y),
                std::max(high.z, other.high.z)};
    }
};

// An edge with its full vector U and unit direction u.
struct EdgeData {
    DPoint3d start, end, full, unit;
    double length;

    EdgeData(const DPoint3d& a, const DPoint3d& b)
        : start(a), end(b), full(sub(b, a)), unit{}, length(magnitude(full)) {
        if (length != 0.0) unit = scale(full, 1.0 / length);
    }

    // The edge's point at fraction f, clamped to the edge (exact end points).
    DPoint3d clampedAt(double f) const {
        return f < 0.0 ? start : f > 1.0 ? end : add(start, scale(full, f));
    }
};

// The closest points of the two edges' lines, each clamped to its own edge
// (without re-solving); false for parallel or zero-length edges.
bool clampedLineApproach(DPoint3d& qa, DPoint3d& qb, const EdgeData& ea, const EdgeData& eb) {
    if (ea.length == 0.0 || eb.length == 0.0) return false;
    const DPoint3d w = sub(eb.start, ea.start);
    double fa = 0.0, fb = 0.0;
    if (!solveColumnScaled2x2(fa, fb, dot(ea.full, ea.unit), -dot(eb.full, ea.unit),
                              dot(ea.full, eb.unit), -dot(eb.full, eb.unit), dot(w, ea.unit),
                              dot(w, eb.unit))) {
        return false;
    }
    qa = ea.clampedAt(fa);
    qb = eb.clampedAt(fb);
    return true;
}

// Skipping pairs whose boxes lie too far apart to beat the best must never
// change the answer, so the bound allows for rounding generously: the points a
// pair produces lie within a few ulps of their edges' boxes (slack covers that
// with a wide margin), and the computed squared distance is within a few ulps
// of the true one (the factor covers that).
class PairPruner {
public:
    PairPruner(const DPoint3d* a, int countA, const DPoint3d* b, int countB) {
        const double magnitude =
            std::max(largestCoordinate(a, countA), largestCoordinate(b, countB));
        enabled_ = std::isfinite(magnitude);
        slack_ = 2.0 * kSlackRatio * magnitude;
    }

    // True when no point pair of the two edges can come strictly below best.
    bool cannotBeat(const EdgeBox& ea, const EdgeBox& eb, double best) const {
        if (!enabled_) return false;
        const double gx = gap(ea.low.x, ea.high.x, eb.low.x, eb.high.x);
        const double gy = gap(ea.low.y, ea.high.y, eb.low.y, eb.high.y);
        const double gz = gap(ea.low.z, ea.high.z, eb.low.z, eb.high.z);
        return kShrink * (gx * gx + gy * gy + gz * gz) >= best;
    }

private:
    static constexpr double kSlackRatio = 1.0e-13;
    static constexpr double kShrink = 1.0 - 1.0e-12;

    // The separation of two intervals less the slack, or 0.
    double gap(double lowA, double highA, double lowB, double highB) const {
        return std::max(0.0, std::max(lowB - highA, lowA - highB) - slack_);
    }

    // Infinite (which turns pruning off) when any coordinate is not finite.
    static double largestCoordinate(const DPoint3d* points, int count) {
        double largest = 0.0;
        for (int i = 0; i < count; ++i) {
            const DPoint3d& p = points[i];
            if (tgxDPoint3d_isDisconnect(&p)) continue;
            if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
                return std::numeric_limits<double>::infinity();
            }
            largest = std::max({largest, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
        }
        return largest;
    }

    bool enabled_ = false;
    double slack_ = 0.0;
};

// The edges of a polygon cut into consecutive runs with their bounding boxes,
// so that one box test can skip a whole run. At most kMaxRuns runs live on the
// stack; larger polygons get longer runs.
class EdgeRuns {
public:
    struct Run {
        RingEdgeCursor first;
        int edgeCount = 0;
        EdgeBox box;
    };

    EdgeRuns(const DPoint3d* points, int count) {
        // A polygon has at most count edges.
        const int runLength = std::max(kMinRunLength, count / kMaxRuns + 1);
        for (RingEdgeCursor edge(points, count); !edge.done(); edge.advance()) {
            const EdgeBox box(edge.start(), edge.end());
            if (size_ == 0 || runs_[size_ - 1].edgeCount == runLength) {
                runs_[size_++] = {edge, 1, box};
            } else {
                runs_[size_ - 1].edgeCount++;
                runs_[size_ - 1].box.extend(box);
            }
        }
    }

    const Run* begin() const { return runs_.data(); }
    const Run* end() const { return runs_.data() + size_; }

private:
    static constexpr int kMaxRuns = 256;
    static constexpr int kMinRunLength = 8;

    std::array<Run, kMaxRuns> runs_;
    int size_ = 0;
};

}  // namespace

void matchEdgePairs(Approach& best, const DPoint3d* a, int countA, const DPoint3d* b,
                    int countB) {
    const PairPruner pruner(a, countA, b, countB);
    const EdgeRuns runsOfB(b, countB);
    auto tryPair = [&](const EdgeData& ea, const DPoint3d& b0, const DPoint3d& b1) {
        DPoint3d qa, qb;
        if (!clampedLineApproach(qa, qb, ea, EdgeData(b0, b1))) return;
        const double d2 = tgxDPoint3d_distanceSquared(&qa, &qb);
        if (d2 < best.distanceSquared) best = {qa, qb, d2};
    };
    // Skipping runs and edges keeps the order of the pairs that remain, so the
    // answer is that of the plain double loop.
    forEachRingEdge(a, countA, [&](const DPoint3d& a0, const DPoint3d& a1) {
        const EdgeData ea(a0, a1);
        if (ea.length == 0.0) return;
        const EdgeBox boxA(a0, a1);
        for (const EdgeRuns::Run& run : runsOfB) {
            if (pruner.cannotBeat(boxA, run.box, best.distanceSquared)) continue;
            RingEdgeCursor edge = run.first;
            for (int k = 0; k < run.edgeCount; ++k, edge.advance()) {
                const EdgeBox boxB(edge.start(), edge.end());
                if (pruner.cannotBeat(boxA, boxB, best.distanceSquared)) continue;
                tryPair(ea, edge.start(), edge.end());
            }
        }
    });
}

}  // namespace Korvex::detail
