#include "vu/vu_loops.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

#include "planar/disconnect_point.h"
#include "planar/line2d.h"
#include "vu/vu_node.h"
#include "vu/vu_topology.h"

namespace Korvex {

namespace {

constexpr int kStackCopyLimit = 10000;
constexpr double kDefaultRelTol = 1.0e-8;

// XY maximum norm.
double xyDistance(const DPoint3d& a, const DPoint3d& b) {
    return std::max(std::fabs(b.x - a.x), std::fabs(b.y - a.y));
}

// max(abstol, 0) plus the run's size S (largest |coordinate| of its range
// corners and its extents) times the relative factor.
double runTolerance(const DPoint3d* run, int n, double abstol, double reltol) {
    DRange2d range;
    range.init();
    for (int i = 0; i < n; ++i) range.extend(DPoint2d{run[i].x, run[i].y});
    const double size = std::max({std::fabs(range.low.x), std::fabs(range.low.y),
                                  std::fabs(range.high.x), std::fabs(range.high.y),
                                  range.high.x - range.low.x, range.high.y - range.low.y});
    const double factor = reltol > 0.0 ? std::max(reltol, VU_SMALLEST_REL_TOL) : kDefaultRelTol;
    return std::max(abstol, 0.0) + size * factor;
}

// The corner where the long edge A0->A1 entering a collapsed chain meets the
// long edge B0->B1 leaving it, when it lies within reach of both; else A1.
DPoint3d replacementPoint(const DPoint3d& a0, const DPoint3d& a1, const DPoint3d& b0,
                          const DPoint3d& b1, double reach) {
    const DPoint2d a0xy = {a0.x, a0.y}, a1xy = {a1.x, a1.y};
    const DPoint2d b0xy = {b0.x, b0.y}, b1xy = {b1.x, b1.y};
    DPoint2d crossing;
    if (!tgxVector2d_intersectLines(&crossing, nullptr, nullptr, &a0xy, &a1xy, &b0xy, &b1xy))
        return a1;  // parallel (or too ill-conditioned to trust)
    const DPoint3d corner = {crossing.x, crossing.y, a1.z};
    if (xyDistance(corner, a1) < reach && xyDistance(corner, b0) < reach) return corner;
    return a1;
}

// Chooses the vertices of one closed run, moving collapsed chains onto their
// replacement points in place. Returns the number of kept indices, or -1 when
// the whole ring collapses.
int keepVertices(DPoint3d* run, int n, double tol, int* kept) {
    // Indices stay below 2n (i and j are below n), so one wrap suffices and
    // the division of a modulo is spared.
    auto at = [=](long long i) -> DPoint3d& { return run[i < n ? i : i - n]; };
    auto edgeLength = [&](long long i) { return xyDistance(at(i), at(i + 1)); };
    int keptCount = 0;
    int i = 0;
    // The length of the edge leaving i. Once measured while looking ahead for
    // a chain, it is not measured again unless a collapse moved its points.
    double leaving = edgeLength(0);
    while (i < n) {
        if (leaving <= tol) {
            ++i;  // drop a point that a short edge leads away from
            if (i < n) leaving = edgeLength(i);
            continue;
        }
        kept[keptCount++] = i;
        double reach = tol;
        double length = 0.0;
        int j = 1;
        for (; j < n; ++j) {
            length = edgeLength(i + j);
            if (!(length < tol)) break;
            reach += length;
        }
        if (j == 1) {
            ++i;
            leaving = length;  // the edge just measured, nothing moved since
            continue;
        }
        if (j >= n) return -1;
        const DPoint3d corner = replacementPoint(at(i), at(i + 1), at(i + j), at(i + j + 1), reach);
        for (int k = 1; k <= j; ++k) at(i + k) = corner;
        i += j;
        if (i < n) leaving = edgeLength(i);
    }
    return keptCount;
}

VuNode* buildLoop(VuSet* set, const DPoint3d* run, const int* kept, int keptCount) {
    VuNode* node = nullptr;
    for (int k = 0; k < keptCount; ++k) {
        VuNode* first = nullptr;
        VuNode* second = nullptr;
        vu_splitEdge(set, node, &first, &second);
        if (!first) return nullptr;
        vu_setDPoint3d(first, &run[kept[k]]);
        vu_setDPoint3d(second, &run[kept[k]]);
        node = first;
    }
    return node;
}

VuNode* loopFromRun(VuSet* set, DPoint3d* run, int n, int* kept, double abstol, double reltol) {
    const double tol = runTolerance(run, n, abstol, reltol);
    const int keptCount = keepVertices(run, n, tol, kept);
    if (keptCount < 2) return nullptr;
    return buildLoop(set, run, kept, keptCount);
}

// Splits the working copy at disconnect points (a disconnect in last place is
// an ordinary point) and builds each run; returns the last run's result.
VuNode* loopsFromCopy(VuSet* set, DPoint3d* points, int count, int* kept, double abstol,
                      double reltol) {
    VuNode* last = nullptr;
    int start = 0;
    for (int i = 0; i < count; ++i) {
        const bool endsRun = i + 1 < count && tgxDPoint3d_isDisconnect(&points[i]);
        if (!endsRun && i + 1 < count) continue;
        const int end = endsRun ? i : count;
        if (end > start)
            last = loopFromRun(set, points + start, end - start, kept, abstol, reltol);
        start = i + 1;
    }
    return last;
}

}  // namespace

VuNode* vu_loopFromDPoint3dArrayXYTol(VuSet* set, const DPoint3d* points, int count,
                                      double abstol, double reltol) {
    if (count < 2 || !points) return nullptr;
    const auto size = static_cast<std::size_t>(count);
    if (count <= kStackCopyLimit) {
        DPoint3d copy[kStackCopyLimit];
        int kept[kStackCopyLimit];
        std::copy(points, points + size, copy);
        return loopsFromCopy(set, copy, count, kept, abstol, reltol);
    }
    std::unique_ptr<DPoint3d[]> copy(new (std::nothrow) DPoint3d[size]);
    std::unique_ptr<int[]> kept(new (std::nothrow) int[size]);
    if (!copy || !kept) return nullptr;
    std::copy(points, points + size, copy.get());
    return loopsFromCopy(set, copy.get(), count, kept.get(), abstol, reltol);
}

}  // namespace Korvex
