#include "polygon_fixtures.h"

#include "planar/numerics.h"
#include "planar/vector_ops.h"

#include <array>

using namespace Korvex;
using namespace planar_test;

namespace {

struct Approach {
    DPoint3d onA, onB;
    double distanceSquared() const { return tgxDPoint3d_distanceSquared(&onA, &onB); }
    std::array<double, 4> xy() const { return {onA.x, onA.y, onB.x, onB.y}; }
};

// The routine's points, which it must find for non-empty polygons.
Approach approach(const Polygon& a, const Polygon& b) {
    Approach r{};
    EXPECT_TRUE(tgxPolygon_closestApproachBetweenPolygons(&r.onA, &r.onB, a.data(), count(a),
                                                          b.data(), count(b)));
    return r;
}

// The true minimum XY distance between two closed boundaries, squared; 0
// where they cross. A one-point "boundary" gives the distance of that point
// to the other boundary.
double boundaryDistance(const Polygon& a, const Polygon& b) {
    auto toSegment = [](const DPoint3d& p, const DPoint3d& s0, const DPoint3d& s1) {
        const double ux = s1.x - s0.x, uy = s1.y - s0.y, wx = p.x - s0.x, wy = p.y - s0.y,
                     uu = ux * ux + uy * uy,
                     t = uu > 0 ? std::clamp((ux * wx + uy * wy) / uu, 0.0, 1.0) : 0.0;
        return (wx - t * ux) * (wx - t * ux) + (wy - t * uy) * (wy - t * uy);
    };
    double squared = kInf;
    for (size_t i = 0; i < a.size(); ++i) {
        const DPoint3d &a0 = a[i], &a1 = a[(i + 1) % a.size()];
        for (size_t j = 0; j < b.size(); ++j) {
            const DPoint3d &b0 = b[j], &b1 = b[(j + 1) % b.size()];
            const bool crossing = orientation(a0, a1, b0) * orientation(a0, a1, b1) < 0 &&
                                  orientation(b0, b1, a0) * orientation(b0, b1, a1) < 0;
            squared = std::min({squared, crossing ? 0 : kInf, toSegment(a0, b0, b1),
                                toSegment(a1, b0, b1), toSegment(b0, a0, a1),
                                toSegment(b1, a0, a1)});
        }
    }
    return squared;
}

// A star-shaped simple polygon of n vertices (3 to 12 for n = 0) around a
// random centre in [-30, 30]² with a radius of 1 to 15.
Polygon randomStar(std::mt19937& rng, int n) {
    using Real = std::uniform_real_distribution<double>;
    const double cx = Real(-30, 30)(rng), cy = Real(-30, 30)(rng), radius = Real(1, 15)(rng);
    n = n ? n : std::uniform_int_distribution<int>(3, 12)(rng);
    Real r(0.3 * radius, radius), jitter(0.0, 0.9);
    Polygon p;
    for (int i = 0; i < n; ++i) {
        const double angle = 2 * std::numbers::pi * (i + jitter(rng)) / n, rho = r(rng);
        p.push_back({cx + rho * std::cos(angle), cy + rho * std::sin(angle), 0});
    }
    return p;
}

// Every edge pair of two one-ring polygons in one plane, nothing skipped:
// what the routine must reproduce bit for bit.
std::array<double, 4> plainEdgePairs(const Polygon& a, const Polygon& b) {
    using namespace detail;
    Approach best{a[0], b[0]};
    for (size_t i = 0, j; i < a.size(); ++i) {
        const DPoint3d a0 = a[(i + a.size() - 1) % a.size()], ua = sub(a[i], a0);
        const DPoint3d na = scale(ua, 1 / magnitude(ua));
        for (j = 0; j < b.size(); ++j) {
            const DPoint3d b0 = b[(j + b.size() - 1) % b.size()], ub = sub(b[j], b0),
                           nb = scale(ub, 1 / magnitude(ub)), w = sub(b0, a0);
            double fa = 0, fb = 0;
            if (!solveColumnScaled2x2(fa, fb, dot(ua, na), -dot(ub, na), dot(ua, nb),
                                      -dot(ub, nb), dot(w, na), dot(w, nb)))
                continue;
            const Approach r{fa < 0 ? a0 : fa > 1 ? a[i] : add(a0, scale(ua, fa)),
                       fb < 0 ? b0 : fb > 1 ? b[j] : add(b0, scale(ub, fb))};
            if (r.distanceSquared() < best.distanceSquared()) best = r;
        }
    }
    return best.xy();
}

}  // namespace

TEST(ClosestApproach, PinnedCasesAndTooManyPlaneCrossingsForTheScratchSpace) {
    const Polygon unit = rectangle(0, 0, 1, 1), right = rectangle(3, 0, 4, 1),
                  flat = rectangle(0, 0, 2, 2), small = rectangle(9, 6, 11, 8);
    // A courtyard: the small square's nearest boundary is the hole's, at 1
    // (the outer boundary lies 6 away).
    const Polygon courtyard =
        joinRings({rectangle(0, 0, 20, 20), reversed(rectangle(5, 5, 15, 15))});
    // Expected points on A and B, when pinned; both ways runs B against A too.
    const struct { Polygon a, b; double squared, tol; Polygon points; bool bothWays; } cases[] = {
        {unit, right, 4, 0, {{1, 0, 0}, {3, 0, 0}}, false},  // corner via perpendicular edge lines
        // A's right edge is the first to cross one of B's edges (B's bottom).
        {flat, rectangle(1, 1, 3, 3), 0, 0, {{2, 1, 0}, {2, 1, 0}}, false},
        {rectangle(4, 4, 6, 6), rectangle(0, 0, 10, 10), 16, 0, {}, true},  // nested
        {{{-1, 2, 0}, {0, 1, 0}, {1, 2, 0}}, rectangle(-5, -2, 5, 0), 2, 1e-12, {}, true},  // apex
        {small, courtyard, 1, 1e-12, {}, false},
        {{{1, 2, 3}}, {{4, 5, 6}}, 27, 0, {{1, 2, 3}, {4, 5, 6}}, false},
        // A lone point has no face and only a zero-length edge, which never pairs:
        // in the square's plane it keeps the first points, above it meets the foot.
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
    for (const auto& c : cases) {
        for (bool swap : {false, true}) {
            if (swap && !c.bothWays) continue;
            SCOPED_TRACE(testing::Message() << "case " << &c - cases << (swap ? " swapped" : ""));
            const Approach r = swap ? approach(c.b, c.a) : approach(c.a, c.b);
            EXPECT_NEAR(r.distanceSquared(), c.squared, c.tol);
            if (c.points.empty()) continue;
            expectPoint(swap ? r.onB : r.onA, c.points[0], c.tol);
            expectPoint(swap ? r.onA : r.onB, c.points[1], c.tol);
        }
    }
    // No points on either side: false, outputs untouched.
    DPoint3d pa{7, 7, 7}, pb{7, 7, 7};
    EXPECT_FALSE(tgxPolygon_closestApproachBetweenPolygons(&pa, &pb, unit.data(), 0, &pa, 1) ||
                 tgxPolygon_closestApproachBetweenPolygons(&pa, &pb, &pa, 1, nullptr, 1));
    expectPoint(pa, {7, 7, 7});
    expectPoint(pb, {7, 7, 7});
}

TEST(ClosestApproach, NeverBelowTheTrueDistanceAndSkipsOnlyPairsThatCannotWin) {
    std::mt19937 rng(5150);
    int crossings = 0;
    for (int trial = 0; trial < 200 * kRandomScale; ++trial) {
        // A few polygons are large enough for long runs of skipped edges.
        const int n = trial % 1000 == 1 ? 2800 : 0;
        const Polygon a = randomStar(rng, n), b = randomStar(rng, n);
        const Approach r = approach(a, b);
        const double truth = boundaryDistance(a, b);
        SCOPED_TRACE(trial);
        ASSERT_GE(r.distanceSquared(), truth - 1e-9 * (1 + truth));
        // Both points lie on their boundaries.
        ASSERT_LT(boundaryDistance({r.onA}, a), 1e-18 * (1 + r.onA.x * r.onA.x));
        ASSERT_LT(boundaryDistance({r.onB}, b), 1e-18 * (1 + r.onB.x * r.onB.x));
        ASSERT_TRUE(truth > 0 || r.distanceSquared() < 1e-18);  // crossing boundaries
        crossings += truth == 0;
        // Skipping distant edge pairs never changes the answer, also where the
        // polygons are small against their distance from the origin.
        const double s = std::pow(10.0, trial % 6 - 2), dx = 5e6 * (trial % 3),
                     dy = 3e6 * (trial % 2);
        auto moved = [&](Polygon p) {
            for (DPoint3d& q : p) q = {q.x * s + dx, q.y * s + dy, 0};
            return p;
        };
        ASSERT_EQ(approach(moved(a), moved(b)).xy(), plainEdgePairs(moved(a), moved(b)));
    }
    EXPECT_GT(crossings, 10 * kRandomScale);
    // A flat comb's teeth cross an upright wall's plane again and again: within
    // the scratch space the planes' line is found, beyond it the tips meet the wall.
    const Polygon wall{{-1, 2, -5}, {7000, 2, -5}, {7000, 2, 5}, {-1, 2, 5}};
    for (const auto& [teeth, squared] : {std::pair{4000, 0.0}, std::pair{6000, 1.0}}) {
        Polygon comb;
        for (int i = 0; i < teeth; ++i) comb.push_back({double(i), (i % 2) ? 3.0 : 1.0, 0});
        comb.insert(comb.end(), {{double(teeth), 5, 0}, {0, 5, 0}});
        EXPECT_DOUBLE_EQ(approach(comb, wall).distanceSquared(), squared) << teeth << " teeth";
    }
}
