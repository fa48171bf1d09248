#include "polygon_fixtures.h"

#include "planar/numerics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>

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

void expectPoint(const DPoint3d& p, double x, double y, double z, double tol = 1e-12) {
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
    EXPECT_NEAR(p.z, z, tol);
}

double pointSegmentDistanceSquared(const DPoint3d& p, const DPoint3d& a, const DPoint3d& b) {
    const double ux = b.x - a.x, uy = b.y - a.y, wx = p.x - a.x, wy = p.y - a.y;
    const double uu = ux * ux + uy * uy;
    const double t = uu > 0 ? std::clamp((ux * wx + uy * wy) / uu, 0.0, 1.0) : 0.0;
    const double dx = wx - t * ux, dy = wy - t * uy;
    return dx * dx + dy * dy;
}

double orientation(const DPoint3d& a, const DPoint3d& b, const DPoint3d& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

bool segmentsCross(const DPoint3d& p0, const DPoint3d& p1, const DPoint3d& q0,
                   const DPoint3d& q1) {
    return orientation(p0, p1, q0) * orientation(p0, p1, q1) < 0 &&
           orientation(q0, q1, p0) * orientation(q0, q1, p1) < 0;
}

// The true minimum XY distance between two closed boundaries, squared, and
// whether they cross properly somewhere.
struct BoundaryDistance {
    double squared;
    bool crossing;
};

BoundaryDistance boundaryDistance(const Polygon& a, const Polygon& b) {
    BoundaryDistance r{std::numeric_limits<double>::infinity(), false};
    for (size_t i = 0; i < a.size(); ++i) {
        const DPoint3d &a0 = a[i], &a1 = a[(i + 1) % a.size()];
        for (size_t j = 0; j < b.size(); ++j) {
            const DPoint3d &b0 = b[j], &b1 = b[(j + 1) % b.size()];
            if (segmentsCross(a0, a1, b0, b1)) {
                r.crossing = true;
                r.squared = 0;
            }
            r.squared = std::min({r.squared, pointSegmentDistanceSquared(a0, b0, b1),
                                  pointSegmentDistanceSquared(a1, b0, b1),
                                  pointSegmentDistanceSquared(b0, a0, a1),
                                  pointSegmentDistanceSquared(b1, a0, a1)});
        }
    }
    return r;
}

double distanceSquaredToBoundary(const DPoint3d& p, const Polygon& polygon) {
    double best = std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < polygon.size(); ++i) {
        best = std::min(best, pointSegmentDistanceSquared(p, polygon[i],
                                                          polygon[(i + 1) % polygon.size()]));
    }
    return best;
}

// A star-shaped simple polygon around (cx, cy) with n vertices.
Polygon randomStar(std::mt19937& rng, double cx, double cy, double radius, int n) {
    std::uniform_real_distribution<double> r(0.3 * radius, radius), jitter(0.0, 0.9);
    Polygon p;
    for (int i = 0; i < n; ++i) {
        const double angle = 2 * std::numbers::pi * (i + jitter(rng)) / n;
        const double rho = r(rng);
        p.push_back({cx + rho * std::cos(angle), cy + rho * std::sin(angle), 0});
    }
    return p;
}

// The edge-pair stage for polygons in one plane as a plain double loop over
// every pair, without any skipping: what the routine must reproduce exactly.
Approach plainEdgePairs(const Polygon& a, const Polygon& b) {
    auto minus = [](const DPoint3d& p, const DPoint3d& q) {
        return DPoint3d{p.x - q.x, p.y - q.y, p.z - q.z};
    };
    auto dot = [](const DPoint3d& p, const DPoint3d& q) {
        return p.x * q.x + p.y * q.y + p.z * q.z;
    };
    auto along = [](const DPoint3d& p, double f, const DPoint3d& u) {
        return DPoint3d{p.x + u.x * f, p.y + u.y * f, p.z + u.z * f};
    };
    Approach best{true, a[0], b[0]};
    double bestSquared = best.distanceSquared();
    for (size_t i = 0; i < a.size(); ++i) {
        const DPoint3d a0 = a[(i + a.size() - 1) % a.size()], a1 = a[i], ua = minus(a1, a0);
        const double la = std::sqrt(dot(ua, ua));
        for (size_t j = 0; j < b.size(); ++j) {
            const DPoint3d b0 = b[(j + b.size() - 1) % b.size()], b1 = b[j], ub = minus(b1, b0);
            const double lb = std::sqrt(dot(ub, ub));
            if (la == 0 || lb == 0) continue;
            const DPoint3d na{ua.x * (1 / la), ua.y * (1 / la), ua.z * (1 / la)};
            const DPoint3d nb{ub.x * (1 / lb), ub.y * (1 / lb), ub.z * (1 / lb)};
            const DPoint3d w = minus(b0, a0);
            double fa = 0, fb = 0;
            if (!detail::solveColumnScaled2x2(fa, fb, dot(ua, na), -dot(ub, na), dot(ua, nb),
                                              -dot(ub, nb), dot(w, na), dot(w, nb))) {
                continue;
            }
            const DPoint3d qa = fa < 0 ? a0 : fa > 1 ? a1 : along(a0, fa, ua);
            const DPoint3d qb = fb < 0 ? b0 : fb > 1 ? b1 : along(b0, fb, ub);
            const double d2 = tgxDPoint3d_distanceSquared(&qa, &qb);
            if (d2 < bestSquared) best = {true, qa, qb}, bestSquared = d2;
        }
    }
    return best;
}

}  // namespace

TEST(ClosestApproach, CornerMatchedThroughPerpendicularEdgeLines) {
    const Approach r = approach(rectangle(0, 0, 1, 1), rectangle(3, 0, 4, 1));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.distanceSquared(), 4.0);
    expectPoint(r.onA, 1, 0, 0, 0);
    expectPoint(r.onB, 3, 0, 0, 0);
}

TEST(ClosestApproach, CrossingBoundariesMeet) {
    const Approach r = approach(rectangle(0, 0, 2, 2), rectangle(1, 1, 3, 3));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.distanceSquared(), 0.0);
    // A's right edge is the first to cross one of B's edges (B's bottom edge).
    expectPoint(r.onA, 2, 1, 0, 0);
    expectPoint(r.onB, 2, 1, 0, 0);
}

TEST(ClosestApproach, NestedSquaresMeasureBoundaryToBoundary) {
    const Polygon outer = rectangle(0, 0, 10, 10), inner = rectangle(4, 4, 6, 6);
    EXPECT_EQ(approach(inner, outer).distanceSquared(), 16.0);
    EXPECT_EQ(approach(outer, inner).distanceSquared(), 16.0);
}

TEST(ClosestApproach, ApexIsMeasuredThroughItsEdgeLines) {
    const Polygon triangle{{-1, 2, 0}, {0, 1, 0}, {1, 2, 0}};
    const Polygon slab = rectangle(-5, -2, 5, 0);
    for (const Approach& r : {approach(triangle, slab), approach(slab, triangle)}) {
        EXPECT_TRUE(r.ok);
        EXPECT_NEAR(r.distanceSquared(), 2.0, 1e-12);
    }
}

TEST(ClosestApproach, ExplicitClosurePointChangesNothing) {
    Polygon a = rectangle(0, 0, 1, 1), b = rectangle(3, 0, 4, 1);
    a.push_back(a[0]);
    b.push_back(b[0]);
    const Approach r = approach(a, b);
    EXPECT_EQ(r.distanceSquared(), 4.0);
    expectPoint(r.onA, 1, 0, 0, 0);
    expectPoint(r.onB, 3, 0, 0, 0);
}

TEST(ClosestApproach, OutputContractForTinyInputs) {
    const Polygon one{{1, 2, 3}}, other{{4, 5, 6}};
    const Approach r = approach(one, other);
    EXPECT_TRUE(r.ok);
    expectPoint(r.onA, 1, 2, 3, 0);
    expectPoint(r.onB, 4, 5, 6, 0);
    DPoint3d pa{7, 7, 7}, pb{7, 7, 7};
    EXPECT_FALSE(
        tgxPolygon_closestApproachBetweenPolygons(&pa, &pb, one.data(), 0, other.data(), 1));
    EXPECT_FALSE(tgxPolygon_closestApproachBetweenPolygons(&pa, &pb, one.data(), 1, nullptr, 1));
    expectPoint(pa, 7, 7, 7, 0);
    expectPoint(pb, 7, 7, 7, 0);
    // A lone point has only a zero-length edge, which never pairs, and no
    // face: against a square in its plane it keeps the two first points.
    const Approach p = approach(Polygon{{5, 0.5, 0}}, rectangle(0, 0, 1, 1));
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.distanceSquared(), 25.25);
    // Above the square's face it meets the foot.
    const Approach above = approach(Polygon{{0.25, 0.5, 3}}, rectangle(0, 0, 1, 1));
    EXPECT_EQ(above.distanceSquared(), 9.0);
    expectPoint(above.onB, 0.25, 0.5, 0, 0);
}

TEST(ClosestApproach, RingsSeparatedByDisconnectPointsTakePartOnTheirOwn) {
    // A courtyard polygon (outer ring and hole) with a small square in the
    // courtyard: the nearest boundary is the hole's, at distance 1.
    const Polygon withHole =
        joinRings({rectangle(0, 0, 20, 20), reversed(rectangle(5, 5, 15, 15))});
    const Approach r = approach(rectangle(9, 6, 11, 8), withHole);
    EXPECT_TRUE(r.ok);
    EXPECT_NEAR(r.distanceSquared(), 1.0, 1e-12);
    EXPECT_NEAR(r.onB.y, 5.0, 1e-12);
}

TEST(ClosestApproach, PlanesMeetingInsideBothPolygons) {
    // A horizontal square and a vertical one standing across it: the line
    // x = 1, z = 0 runs inside A for y in [0, 2] and inside B for y in [1, 3].
    const Polygon flat = rectangle(0, 0, 2, 2);
    const Polygon standing{{1, 1, -1}, {1, 3, -1}, {1, 3, 1}, {1, 1, 1}};
    const Approach r = approach(flat, standing);
    EXPECT_TRUE(r.ok);
    expectPoint(r.onA, 1, 1, 0);
    expectPoint(r.onB, 1, 1, 0);
}

TEST(ClosestApproach, VertexAboveAFaceMeetsItsFoot) {
    // A triangle in the plane x = 1 whose lowest vertex hangs 1 above the
    // flat square; the planes' line misses the triangle.
    const Polygon flat = rectangle(0, 0, 2, 2);
    const Polygon hanging{{1, 1, 1}, {1, 0, 3}, {1, 2, 3}};
    for (bool swap : {false, true}) {
        const Approach r = swap ? approach(hanging, flat) : approach(flat, hanging);
        EXPECT_TRUE(r.ok);
        EXPECT_NEAR(r.distanceSquared(), 1.0, 1e-12);
        expectPoint(swap ? r.onB : r.onA, 1, 1, 0);
        expectPoint(swap ? r.onA : r.onB, 1, 1, 1);
    }
}

TEST(ClosestApproach, HostileCoordinatesGiveAnAnswerWithoutCrashing) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Polygon bad{{0, 0, 0}, {nan, 1, 0}, {1, inf, 0}, {0, 1, nan}};
    EXPECT_TRUE(approach(bad, rectangle(3, 0, 4, 1)).ok);
    EXPECT_TRUE(approach(rectangle(3, 0, 4, 1), bad).ok);
    const Polygon tilted{{0, 0, 0}, {1, 0, inf}, {1, 1, 1}, {0, 1, 1}};
    EXPECT_TRUE(approach(tilted, rectangle(3, 0, 4, 1)).ok);
    const Polygon separators{disconnect(), disconnect(), disconnect()};
    EXPECT_TRUE(approach(separators, rectangle(3, 0, 4, 1)).ok);
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
        const BoundaryDistance truth = boundaryDistance(a, b);
        const double slack = 1e-9 * (1 + truth.squared);
        ASSERT_GE(r.distanceSquared(), truth.squared - slack) << "trial " << trial;
        ASSERT_LE(r.distanceSquared(), tgxDPoint3d_distanceSquared(&a[0], &b[0]));
        // Both points lie on their boundaries.
        ASSERT_LT(distanceSquaredToBoundary(r.onA, a), 1e-18 * (1 + r.onA.x * r.onA.x));
        ASSERT_LT(distanceSquaredToBoundary(r.onB, b), 1e-18 * (1 + r.onB.x * r.onB.x));
        if (truth.crossing) {
            ++crossings;
            ASSERT_LT(r.distanceSquared(), 1e-18) << "trial " << trial;
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
        ASSERT_EQ(routine.onA.x, plain.onA.x) << "trial " << trial;
        ASSERT_EQ(routine.onA.y, plain.onA.y) << "trial " << trial;
        ASSERT_EQ(routine.onB.x, plain.onB.x) << "trial " << trial;
        ASSERT_EQ(routine.onB.y, plain.onB.y) << "trial " << trial;
    }
}
