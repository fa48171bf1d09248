#include "planar/approach_stages.h"
#include "planar/numerics.h"
#include "planar/point_vector.h"
#include "planar/polygon_rings.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Korvex::detail {
namespace {

// An edge's bounding box: all the pruning test needs.
struct EdgeBox {
    DPoint3d low, high;
    EdgeBox(const DPoint3d& a, const DPoint3d& b)
        : low{std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)},
          high{std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)} {}
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

}  // namespace

void matchEdgePairs(Approach& best, const DPoint3d* a, int countA, const DPoint3d* b,
                    int countB) {
    const PairPruner pruner(a, countA, b, countB);
    forEachRingEdge(a, countA, [&](const DPoint3d& a0, const DPoint3d& a1) {
        const EdgeData ea(a0, a1);
        if (ea.length == 0.0) return;
        const EdgeBox boxA(a0, a1);
        forEachRingEdge(b, countB, [&](const DPoint3d& b0, const DPoint3d& b1) {
            if (pruner.cannotBeat(boxA, EdgeBox(b0, b1), best.distanceSquared)) return;
            DPoint3d qa, qb;
            if (!clampedLineApproach(qa, qb, ea, EdgeData(b0, b1))) return;
            const double d2 = tgxDPoint3d_distanceSquared(&qa, &qb);
            if (d2 < best.distanceSquared) best = {qa, qb, d2};
        });
    });
}

}  // namespace Korvex::detail
