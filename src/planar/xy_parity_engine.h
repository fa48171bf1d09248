// The point-in-polygon classification, written once for any source of points
// so that it runs both on a plain array and on points transformed on the fly
// (the closest approach classifies in a local frame without copying).
// Internal to the layer.
#pragma once

#include "planar/disconnect_point.h"

#include <cmath>

namespace Korvex::detail {

// Classification results, as returned by tgxGeom_XYPolygonParity.
inline constexpr int kParityInside = 1;
inline constexpr int kParityOn = 0;
inline constexpr int kParityOutside = -1;
inline constexpr int kParityUndecided = -2;

// Angle step of the rotated probe lines, and the bound that stops them after
// 36 attempts.
inline constexpr double kProbeAngleStep = 0.276234342921378;
inline constexpr double kProbeAngleLimit = 10.0;

// Reads points from a plain array.
struct ArrayPointSource {
    const DPoint3d* points;
    DPoint3d at(int i) const { return points[i]; }
    bool isSeparator(int i) const { return tgxDPoint3d_isDisconnect(&points[i]); }
};

// A probe line through the query point: offset() is the signed distance of a
// point across the line, position() its coordinate along the line; a crossing
// at position() equal to reference is on the line's query point.
struct HorizontalProbe {
    double x, y;
    double offset(const DPoint3d& p) const { return y - p.y; }
    double position(const DPoint3d& p) const { return p.x; }
    double reference() const { return x; }
};

struct VerticalProbe {
    double x, y;
    double offset(const DPoint3d& p) const { return x - p.x; }
    double position(const DPoint3d& p) const { return p.y; }
    double reference() const { return y; }
};

struct RotatedProbe {
    double x, y, c, s;
    double offset(const DPoint3d& p) const { return c * (p.y - y) - s * (p.x - x); }
    double position(const DPoint3d& p) const { return c * (p.x - x) + s * (p.y - y); }
    double reference() const { return 0.0; }
};

enum class ProbeOutcome { Abandoned, On, Inside, Outside };

// Counts the loop's crossings of the probe line before the query point. The
// attempt is abandoned as soon as a vertex lies within tol of the line; events
// are taken in loop order, so an on-boundary crossing found first wins.
template <class Source, class Probe>
ProbeOutcome castProbe(const Source& source, int first, int n, const Probe& probe, double tol) {
    DPoint3d prev = source.at(first + n - 1);
    double dPrev = probe.offset(prev);
    if (std::fabs(dPrev) <= tol) return ProbeOutcome::Abandoned;
    int crossings = 0;
    for (int i = 0; i < n; ++i) {
        const DPoint3d cur = source.at(first + i);
        const double d = probe.offset(cur);
        if (std::fabs(d) <= tol) return ProbeOutcome::Abandoned;
        if (dPrev * d < 0.0) {
            const double f = dPrev / (dPrev - d);
            const double a = probe.position(prev);
            const double at = a + f * (probe.position(cur) - a);
            if (std::fabs(at - probe.reference()) <= tol) return ProbeOutcome::On;
            if (at < probe.reference()) ++crossings;
        }
        prev = cur;
        dPrev = d;
    }
    return crossings % 2 == 1 ? ProbeOutcome::Inside : ProbeOutcome::Outside;
}

inline int parityOf(ProbeOutcome outcome) {
    switch (outcome) {
        case ProbeOutcome::On: return kParityOn;
        case ProbeOutcome::Inside: return kParityInside;
        default: return kParityOutside;
    }
}

template <class Source>
bool anyVertexNear(const Source& source, int first, int n, double x, double y, double tol) {
    for (int i = 0; i < n; ++i) {
        const DPoint3d p = source.at(first + i);
        if (std::fabs(x - p.x) <= tol && std::fabs(y - p.y) <= tol) return true;
    }
    return false;
}

// Classifies (x, y) against one loop of n >= 1 points: the horizontal line,
// then the vertical one, then a vertex test, then rotated lines until one
// misses every vertex.
template <class Source>
int classifyLoopXY(const Source& source, int first, int n, double x, double y, double tol) {
    if (n < 2) {
        return anyVertexNear(source, first, n, x, y, tol) ? kParityOn : kParityOutside;
    }
    ProbeOutcome outcome = castProbe(source, first, n, HorizontalProbe{x, y}, tol);
    if (outcome != ProbeOutcome::Abandoned) return parityOf(outcome);
    outcome = castProbe(source, first, n, VerticalProbe{x, y}, tol);
    if (outcome != ProbeOutcome::Abandoned) return parityOf(outcome);
    if (anyVertexNear(source, first, n, x, y, tol)) return kParityOn;
    for (double theta = kProbeAngleStep; theta < kProbeAngleLimit; theta += kProbeAngleStep) {
        const RotatedProbe probe{x, y, std::cos(theta), std::sin(theta)};
        outcome = castProbe(source, first, n, probe, tol);
        if (outcome != ProbeOutcome::Abandoned) return parityOf(outcome);
    }
    return kParityUndecided;
}

// Classifies (x, y) against every loop of the source (separators split loops;
// loops of fewer than two points are skipped): on any boundary gives 0, an
// undecided loop gives -2, otherwise inside an odd number of loops gives 1.
template <class Source>
int classifyXY(const Source& source, int count, double x, double y, double tol) {
    if (count < 0) return kParityOutside;
    int containing = 0;
    int loopStart = 0;
    // Index count acts as a final separator.
    for (int i = 0;; ++i) {
        const bool atEnd = i == count;
        if (!atEnd && !source.isSeparator(i)) continue;
        const int n = i - loopStart;
        if (n >= 2) {
            const int loopResult = classifyLoopXY(source, loopStart, n, x, y, tol);
            if (loopResult == kParityInside) {
                ++containing;
            } else if (loopResult != kParityOutside) {
                return loopResult;
            }
        }
        if (atEnd) break;
        loopStart = i + 1;
    }
    return containing % 2 == 1 ? kParityInside : kParityOutside;
}

}  // namespace Korvex::detail
