#include "polygon_fixtures.h"

#include "planar/numerics.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <utility>

using namespace Korvex;
using namespace planar_test;

namespace {

struct Approach {
    bool ok;
    DPoint3d onA, onB;
    double distanceSquared() const { return tgxDPoint3d_distanceSquared(&onA, &onB); }
};

Approach approach(const Polygon& a, const Polygon& b) {
    Approach r{};
    r.ok = tgxPolygon_closestApproachBetweenPolygons(&r.onA, &r.onB, a.data(), count(a),
                                                      b.data(), count(b));
    return r;
}

double pointSegmentDistanceSquared(const DPoint3d& p, const DPoint3d& a, const DPoint3d& b) {
    const double ux = b.x - a.x, uy = b.y - a.y, wx = p.x - a.x, wy = p.y - a.y;
    const double uu = ux * ux + uy * uy;
    const double t = uu > 0 ? std::clamp((ux * wx + uy * wy) / uu, 0.0, 1.0) : 0.0;
    const double dx = wx - t * ux, dy = wy - t * uy;
    return dx * dx + dy * dy;
}

// The true minimum XY distance between two closed boundaries, squared, and
// whether they cross properly somewhere. A one-point "boundary" gives the
// distance of that point to the other boundary.
std::pair<double, bool> boundaryDistance(const Polygon& a, const Polygon& b) {
    double squared = kInf;
    bool crossing = false;
    for (size_t i = 0; i < a.size(); ++i) {
        const DPoint3d &a0 = a[i], &a1 = a[(i + 1) % a.size()];
        for (size_t j = 0; j < b.size(); ++j) {
            const DPoint3d &b0 = b[j], &b1 = b[(j + 1) % b.size()];
            if (orientation(a0, a1, b0) * orientation(a0, a1, b1) < 0 &&
                orientation(b0, b1, a0) * orientation(b0, b1, a1) < 0) {
                crossing = true;
                squared = 0;
            }
            squared = std::min({squared, pointSegmentDistanceSquared(a0, b0, b1),
                                pointSegmentDistanceSquared(a1, b0, b1),
                                pointSegmentDistanceSquared(b0, a0, a1),
                                pointSegmentDistanceSquared(b1, a0, a1)});
        }
    }
    return {squared, crossing};
}

// A star-shaped simple polygon around (cx, cy) with n vertices.
Polygon randomStar(std::mt19937& rng, double cx, double cy, double radius, int n) {
    std::uniform_real_distribution<double> r(0.3 * radius, radius), jitter(0.0, 0.9);
    Polygon p;
    for (int i = 0; i < n; ++i) {
        const double angle = 2 * std::numbers::pi * (i + jitter(rng)) / n, rho = r(rng);
        p.push_back({cx + rho * std::cos(angle), cy + rho * std::sin(angle), 0});
    }
    return p;
}

// The edge-pair stage for polygons in one plane as a plain loop over every
// pair, without any skipping: what the routine must reproduce bit for bit.
Approach plainEdgePairs(const Polygon& a, const Polygon& b) {
    auto minus = [](DPoint3d p, DPoint3d q) { return DPoint3d{p.x - q.x, p.y - q.y, p.z - q.z}; };
    auto dot = [](DPoint3d p, DPoint3d q) { return p.x * q.x + p.y * q.y + p.z * q.z; };
    auto scaled = [](DPoint3d u, double s) { return DPoint3d{u.x * s, u.y * s, u.z * s}; };
    auto along = [](DPoint3d p, double f, DPoint3d u) {
        return DPoint3d{p.x + u.x * f, p.y + u.y * f, p.z + u.z * f};
    };
    Approach best{true, a[0], b[0]};
    for (size_t i = 0; i < a.size(); ++i) {
        const DPoint3d a0 = a[(i + a.size() - 1) % a.size()], ua = minus(a[i], a0);
        const double la = std::sqrt(dot(ua, ua));
        for (size_t j = 0; j < b.size(); ++j) {
            const DPoint3d b0 = b[(j + b.size() - 1) % b.size()], ub = minus(b[j], b0);
            const double lb = std::sqrt(dot(ub, ub));
            if (la == 0 || lb == 0) continue;
            const DPoint3d na = scaled(ua, 1 / la), nb = scaled(ub, 1 / lb), w = minus(b0, a0);
            double fa = 0, fb = 0;
            if (!detail::solveColumnScaled2x2(fa, fb, dot(ua, na), -dot(ub, na), dot(ua, nb),
                                              -dot(ub, nb), dot(w, na), dot(w, nb))) {
                continue;
            }
            const Approach r{true, fa < 0 ? a0 : fa > 1 ? a[i] : along(a0, fa, ua),
                             fb < 0 ? b0 : fb > 1 ? b[j] : along(b0, fb, ub)};
            if (r.distanceSquared() < best.distanceSquared()) best = r;
        }
    }
    return best;
}

}  // namespace

TEST(ClosestApproach, PinnedCases) {
    const Polygon unit = rectangle(0, 0, 1, 1), right = rectangle(3, 0, 4, 1),
                  flat = rectangle(0, 0, 2, 2), small = rectangle(9, 6, 11, 8);
    // A courtyard: the small square's nearest boundary is the hole's, at 1.
    const Polygon courtyard =
        joinRings({rectangle(0, 0, 20, 20), reversed(rectangle(5, 5, 15, 15))});
    // Expected points on A and B, when pinned; both ways runs B against A too.
    const struct { Polygon a, b; double squared, tol; Polygon points; bool bothWays; } cases[] = {
        {unit, right, 4, 0, {{1, 0, 0}, {3, 0, 0}}, false},  // corner via perpendicular edge lines
        {closedRing(unit), closedRing(right), 4, 0, {{1, 0, 0}, {3, 0, 0}}, false},
        // A's right edge is the first to cross one of B's edges (B's bottom).
        {flat, rectangle(1, 1, 3, 3), 0, 0, {{2, 1, 0}, {2, 1, 0}}, false},
        {rectangle(4, 4, 6, 6), rectangle(0, 0, 10, 10), 16, 0, {}, true},  // nested
        {{{-1, 2, 0}, {0, 1, 0}, {1, 2, 0}}, rectangle(-5, -2, 5, 0), 2, 1e-12, {}, true},  // apex
        {small, courtyard, 1, 1e-12, {}, false},
        {{{1, 2, 3}}, {{4, 5, 6}}, 27, 0, {{1, 2, 3}, {4, 5, 6}}, false},
        // A lone point has only a zero-length edge, which never pairs, and
        // no face: in the square's plane it keeps the two first points;
        // above the face it meets the foot.
        {{{5, 0.5, 0}}, unit, 25.25, 0, {{5, 0.5, 0}, {0, 0, 0}}, false},
        {{{0.25, 0.5, 3}}, unit, 9, 0, {{0.25, 0.5, 3}, {0.25, 0.5, 0}}, false},
        // Planes meeting inside both: the line x = 1, z = 0 runs inside A
        // for y in [0, 2] and inside B for y in [1, 3].
        {flat, {{1, 1, -1}, {1, 3, -1}, {1, 3, 1}, {1, 1, 1}}, 0, 1e-12, {{1, 1, 0}, {1, 1, 0}},
         false},
        // The planes' line misses the triangle, whose lowest vertex hangs 1
        // above the square: the vertex meets its foot.
        {flat, {{1, 1, 1}, {1, 0, 3}, {1, 2, 3}}, 1, 1e-12, {{1, 1, 0}, {1, 1, 1}}, true},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        for (bool swap : {false, true}) {
            if (swap && !c.bothWays) continue;
            SCOPED_TRACE("case " + std::to_string(i) + (swap ? " swapped" : ""));
            const Approach r = swap ? approach(c.b, c.a) : approach(c.a, c.b);
            EXPECT_TRUE(r.ok);
            EXPECT_NEAR(r.distanceSquared(), c.squared, c.tol);
            if (c.points.empty()) continue;
            expectPoint(swap ? r.onB : r.onA, c.points[0], c.tol);
            expectPoint(swap ? r.onA : r.onB, c.points[1], c.tol);
        }
    }
    EXPECT_NEAR(approach(small, courtyard).onB.y, 5.0, 1e-12);
    // No points on either side: false, outputs untouched.
    DPoint3d pa{7, 7, 7}, pb{7, 7, 7};
    const DPoint3d* p = unit.data();
    EXPECT_FALSE(tgxPolygon_closestApproachBetweenPolygons(&pa, &pb, p, 0, p, 1));
    EXPECT_FALSE(tgxPolygon_closestApproachBetweenPolygons(&pa, &pb, p, 1, nullptr, 1));
    expectPoint(pa, {7, 7, 7});
    expectPoint(pb, {7, 7, 7});
}

TEST(ClosestApproach, NeverBelowTheTrueBoundaryDistance) {
    std::mt19937 rng(5150);
    std::uniform_real_distribution<double> centre(-30, 30), radius(1, 15);
    std::uniform_int_distribution<int> vertices(3, 12);
    int crossings = 0;
    for (int trial = 0; trial < 200 * kRandomScale; ++trial) {
        const Polygon a = randomStar(rng, centre(rng), centre(rng), radius(rng), vertices(rng));
        const Polygon b = randomStar(rng, centre(rng), centre(rng), radius(rng), vertices(rng));
        const Approach r = approach(a, b);
        ASSERT_TRUE(r.ok);
        const auto [truth, crossing] = boundaryDistance(a, b);
        SCOPED_TRACE(trial);
        ASSERT_GE(r.distanceSquared(), truth - 1e-9 * (1 + truth));
        ASSERT_LE(r.distanceSquared(), tgxDPoint3d_distanceSquared(&a[0], &b[0]));
        // Both points lie on their boundaries.
        ASSERT_LT(boundaryDistance({r.onA}, a).first, 1e-18 * (1 + r.onA.x * r.onA.x));
        ASSERT_LT(boundaryDistance({r.onB}, b).first, 1e-18 * (1 + r.onB.x * r.onB.x));
        if (crossing) {
            ++crossings;
            ASSERT_LT(r.distanceSquared(), 1e-18);
        }
    }
    EXPECT_GT(crossings, 10 * kRandomScale);
}

TEST(ClosestApproach, SkippingDistantEdgePairsNeverChangesTheAnswer) {
    // Near and far polygons, small and large, near the origin and far from it
    // (where rounding is coarse), all compared bit for bit with the plain loop.
    std::mt19937 rng(77);
    std::uniform_real_distribution<double> offset(-1, 1), unit(0, 1);
    std::uniform_int_distribution<int> vertices(3, 40), manyVertices(2600, 3000);
    // The last trials use polygons large enough for longer runs of skipped edges.
    const int trials = 100 * kRandomScale, largeTrials = kRandomScale / 5;
    for (int trial = 0; trial < trials + largeTrials; ++trial) {
        const int n = trial < trials ? vertices(rng) : manyVertices(rng);
        const double scale = std::pow(10.0, 6 * unit(rng) - 2);
        const double cx = 5e6 * (trial % 3), cy = 3e6 * (trial % 2);
        const Polygon a = randomStar(rng, cx, cy, scale, n);
        const Polygon b =
            randomStar(rng, cx + 3 * scale * offset(rng), cy + 3 * scale * offset(rng),
                       scale * (0.2 + unit(rng)), n);
        const Approach routine = approach(a, b), plain = plainEdgePairs(a, b);
        SCOPED_TRACE(trial);
        ASSERT_EQ(routine.onA.x, plain.onA.x);
        ASSERT_EQ(routine.onA.y, plain.onA.y);
        ASSERT_EQ(routine.onB.x, plain.onB.x);
        ASSERT_EQ(routine.onB.y, plain.onB.y);
    }
}
