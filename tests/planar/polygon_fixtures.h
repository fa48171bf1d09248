// Small polygons, checks and the random scale shared by the planar tests.
#pragma once

#include "planar/planar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <utility>
#include <vector>

namespace planar_test {

using Korvex::DPoint3d;
using Polygon = std::vector<DPoint3d>;

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
inline constexpr double kInf = std::numeric_limits<double>::infinity();

// Counterclockwise axis-aligned rectangle starting at its lower-left corner.
inline Polygon rectangle(double x0, double y0, double x1, double y1) {
    return {{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}};
}
inline Polygon reversed(Polygon p) { return Polygon(p.rbegin(), p.rend()); }
inline DPoint3d disconnect() {
    DPoint3d d;
    Korvex::tgxDPoint3d_initDisconnect(&d);
    return d;
}

// The rings laid one after another with a disconnect point between them.
inline Polygon joinRings(const std::vector<Polygon>& rings) {
    Polygon all;
    for (const Polygon& ring : rings) {
        if (!all.empty()) all.push_back(disconnect());
        all.insert(all.end(), ring.begin(), ring.end());
    }
    return all;
}

inline Korvex::DSegment3d segment(DPoint3d a, DPoint3d b) {
    Korvex::DSegment3d s;
    Korvex::tgxDSegment3d_initFromDPoint3d(&s, &a, &b);
    return s;
}

inline int count(const Polygon& p) { return static_cast<int>(p.size()); }

// Twice the signed XY area of abc; exact on small integer coordinates.
inline double orientation(const DPoint3d& a, const DPoint3d& b, const DPoint3d& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// Tolerance 0 asks for the exact coordinates.
inline void expectPoint(const DPoint3d& p, DPoint3d want, double tol = 0) {
    EXPECT_NEAR(p.x, want.x, tol);
    EXPECT_NEAR(p.y, want.y, tol);
    EXPECT_NEAR(p.z, want.z, tol);
}

// Randomized tests run fewer iterations under the sanitizers.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr int kRandomScale = 1;
#else
inline constexpr int kRandomScale = 10;
#endif

}  // namespace planar_test
