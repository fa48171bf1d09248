// Point and vector helpers, segments, 2D lines, the polyline clash, and the
// array routines on hostile input.
#include "polygon_fixtures.h"

using namespace Korvex;
using namespace planar_test;

namespace {

bool clash(const Polygon& a, bool closedA, const Polygon& b, bool closedB) {
    return tgxDPoint3dArray_polylineClashXY(a.data(), count(a), closedA, b.data(), count(b),
                                            closedB);
}

// Non-parallel edges that meet, end points included, by exact orientation
// signs; the closing edge only when flagged and the ends differ.
bool bruteForceClash(const Polygon& a, bool closedA, const Polygon& b, bool closedB) {
    auto edges = [](const Polygon& p, bool closed) {
        std::vector<std::pair<DPoint3d, DPoint3d>> e;
        for (size_t i = 0; i + 1 < p.size(); ++i) e.emplace_back(p[i], p[i + 1]);
        const DPoint3d &f = p.front(), &l = p.back();
        if (closed && !(f.x == l.x && f.y == l.y && f.z == l.z)) e.emplace_back(f, l);
        return e;
    };
    for (const auto& [p0, p1] : edges(a, closedA)) {
        for (const auto& [q0, q1] : edges(b, closedB)) {
            const bool parallel = (p1.x - p0.x) * (q1.y - q0.y) == (p1.y - p0.y) * (q1.x - q0.x);
            if (!parallel && orientation(p0, p1, q0) * orientation(p0, p1, q1) <= 0 &&
                orientation(q0, q1, p0) * orientation(q0, q1, p1) <= 0)
                return true;
        }
    }
    return false;
}

// Arrays mixing NaN, infinities, huge doubles, disconnect points and duplicates.
Polygon hostileArray(std::mt19937& rng, int size) {
    const double big = std::numeric_limits<double>::max(),
                 specials[] = {kNaN, kInf, -kInf, big, -big, 5e-324, 0.0, 1e-300, 1e300};
    std::uniform_int_distribution<int> pick(0, 19), special(0, 8);
    std::uniform_real_distribution<double> plain(-10, 10);
    auto c = [&] { return pick(rng) < 4 ? specials[special(rng)] : plain(rng); };
    Polygon p;
    for (int i = 0, kind = pick(rng); i < size; ++i, kind = pick(rng))
        p.push_back(kind == 0             ? disconnect()
                    : kind == 1 && i > 0 ? p.back() : DPoint3d{c(), c(), c()});
    return p;
}

}  // namespace

TEST(Vectors2d, RotationAnglesLineIntersectionAndProjectionUpToTheFractionBound) {
    // The sign of the angle also shows in the polygon-from-polyline walk.
    const DPoint2d east{1, 0}, west{-1, 0};
    DPoint2d turned = east;
    tgxDPoint2d_rotate(&turned, &turned, std::numbers::pi / 2);  // in place
    EXPECT_NEAR(turned.x, 0, 1e-15);
    EXPECT_DOUBLE_EQ(turned.y, -1);
    // West to east is antiparallel with a cross product of -0: still +pi.
    EXPECT_EQ(tgxDPoint2d_angleBetweenVectors(&west, &east), std::numbers::pi);
    const DPoint2d a0{0, 0}, a1{1, 0}, b0{2, -1}, b1{2, 1}, c0{0, 1}, c1{5, 1};
    DPoint2d p{7, 7};
    double fa = 7, fb = 7;
    EXPECT_FALSE(tgxVector2d_intersectLines(&p, &fa, &fb, &a0, &a1, &c0, &c1));
    EXPECT_TRUE(p.x == 7 && p.y == 7 && fa == 7 && fb == 7);  // parallel: nothing written
    EXPECT_TRUE(tgxVector2d_intersectLines(&p, &fa, &fb, &a0, &a1, &b0, &b1));
    EXPECT_TRUE(fa == 2 && fb == 0.5 && p.x == 2 && p.y == 0);
    const DPoint2d start{1, 1}, end{3, 1}, behind{-3, 5};
    EXPECT_TRUE(tgxVector2d_projectPointToLine(&p, &fa, &behind, &start, &end));
    EXPECT_TRUE(fa == -2 && p.x == -3 && p.y == 1);
    // A zero-length line fails with fraction 0 and the start point.
    EXPECT_FALSE(tgxVector2d_projectPointToLine(&p, &fa, &behind, &start, &start));
    EXPECT_TRUE(fa == 0 && p.x == 1 && p.y == 1);
    // A fraction of 1e14 or more is refused, with fraction 0; below it is
    // accepted (powers of two keep the fractions exact: 2^47 > 1e14 > 2^46).
    const DPoint2d origin{0, 1}, tinyEnd{std::ldexp(1.0, -20), 1}, far{std::ldexp(1.0, 27), 0},
        nearer{std::ldexp(1.0, 26), 0};
    EXPECT_FALSE(tgxVector2d_projectPointToLine(&p, &fa, &far, &origin, &tinyEnd) || fa != 0);
    EXPECT_TRUE(tgxVector2d_projectPointToLine(&p, &fa, &nearer, &origin, &tinyEnd));
    EXPECT_EQ(fa, std::ldexp(1.0, 46));
}

TEST(Segments, ProjectionAndIntersectionBeyondTheEndsAndWhenTheyCannotMeet) {
    const DSegment3d s = segment({0, 0, 0}, {10, 0, 2}), vertical = segment({3, 4, 0}, {3, 4, 9});
    // No XY length or a NaN query: false, fraction 0 and the start (even on the start).
    const struct { const DSegment3d& s; DPoint3d q; bool ok; double f; DPoint3d on; } cases[] = {
        {s, {5, 5, 7}, true, 0.5, {5, 0, 1}},    {s, {20, 1, 0}, true, 2, {20, 0, 4}},
        {s, {-5, 3, 0}, true, -0.5, {-5, 0, -1}}, {s, {kNaN, 0, 0}, false, 0, {0, 0, 0}},
        {vertical, {5, 5, 5}, false, 0, {3, 4, 0}}, {vertical, {3, 4, 0}, false, 0, {3, 4, 0}}};
    for (const auto& c : cases) {
        DPoint3d on{7, 7, 7};
        double f = 7;
        EXPECT_EQ(tgxDSegment3d_projectPointXY(&c.s, &on, &f, &c.q), c.ok);
        EXPECT_EQ(f, c.f);
        expectPoint(on, c.on);
    }
    EXPECT_TRUE(tgxDSegment3d_projectPointXY(&s, nullptr, nullptr, &cases[0].q));
    DPoint3d pa, pb;
    double fa = 0, fb = 0;
    const DSegment3d rising = segment({0, 0, 0}, {2, 2, 2}),
                     falling = segment({0, 2, 10}, {2, 0, 10});
    EXPECT_TRUE(tgxGeom_intersectXYDSegment3dDSegment3d(&pa, &fa, &pb, &fb, &rising, &falling));
    EXPECT_DOUBLE_EQ(fa, 0.5);
    EXPECT_DOUBLE_EQ(fb, 0.5);
    expectPoint(pa, {1, 1, 1}, 4e-16);  // same XY, each segment's own z
    expectPoint(pb, {1, 1, 10}, 4e-16);
    const DSegment3d base = segment({0, 0, 0}, {1, 0, 0}), post = segment({2, -1, 0}, {2, 1, 0});
    EXPECT_TRUE(tgxGeom_intersectXYDSegment3dDSegment3d(nullptr, &fa, nullptr, &fb, &base, &post));
    EXPECT_TRUE(fa == 2 && fb == 0.5);
    // Parallel, collinear, no XY length, an infinite end point.
    for (const DSegment3d& other : {segment({0, 1, 0}, {1, 1, 0}), segment({2, 0, 0}, {3, 0, 0}),
                                    segment({0, 5, 0}, {0, 5, 3}),
                                    segment({0, 0, 0}, {kInf, 1, 0})}) {
        DPoint3d qa{7, 7, 7}, qb{7, 7, 7};
        double ga = 7, gb = 7;
        EXPECT_FALSE(tgxGeom_intersectXYDSegment3dDSegment3d(&qa, &ga, &qb, &gb, &base, &other));
        expectPoint(qa, {7, 7, 7});
        expectPoint(qb, {7, 7, 7});
        EXPECT_TRUE(ga == 7 && gb == 7);
    }
}

TEST(PolylineClash, PinnedCasesAndExactOrientationBruteForce) {
    // The random polylines below cover touching, crossing, overlapping and closing edges.
    const Polygon diagonal{{0, 0, 0}, {1, 1, 0}}, base{{0, 0, 0}, {1, 0, 0}},
                  across{{3, 1, 0}, {1, 3, 0}};
    const struct { Polygon a; bool closedA; Polygon b; bool closedB, expected; } cases[] = {
        {diagonal, false, {{0, 1, 5}, {1, 0, -5}}, false, true},     // only XY counts
        {{{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 0, 0}}, false, across, false, true},  // closed
        {{}, true, across, true, false},
        {base, false, {{0.5, 1, 0}, {0.5, 1e-13, 0}}, false, true},  // fraction -1e-13 on the post
        {base, false, {{0.5, 1, 0}, {0.5, 1e-11, 0}}, false, false}, // fraction -1e-11
    };
    for (const auto& c : cases)
        EXPECT_EQ(clash(c.a, c.closedA, c.b, c.closedB), c.expected) << &c - cases;
    std::mt19937 rng(20241205);
    std::uniform_int_distribution<int> coordinate(0, 8), length(1, 6), flag(0, 1);
    auto randomPolyline = [&] {
        Polygon p(length(rng));
        for (DPoint3d& q : p) q = {double(coordinate(rng)), double(coordinate(rng)), 0};
        return p;
    };
    int clashes = 0;
    for (int trial = 0; trial < 400 * kRandomScale; ++trial) {
        const Polygon a = randomPolyline(), b = randomPolyline();
        const bool closedA = flag(rng), closedB = flag(rng),
                   expected = bruteForceClash(a, closedA, b, closedB);
        ASSERT_EQ(clash(a, closedA, b, closedB), expected) << "trial " << trial;
        clashes += expected;
    }
    // Both outcomes must be well represented for the comparison to mean anything.
    EXPECT_GT(clashes, 100 * kRandomScale);
    EXPECT_LT(clashes, 300 * kRandomScale);
}

// Each array routine must return (no crash, no endless loop, no read outside
// the arrays under the sanitizers) with outputs in range where a range exists.
TEST(HostileInput, EveryArrayRoutineReturns) {
    std::mt19937 rng(4242);
    std::uniform_int_distribution<int> size(0, 24);
    for (int trial = 0; trial < 300 * kRandomScale; ++trial) {
        SCOPED_TRACE(trial);
        const Polygon a = hostileArray(rng, size(rng)), b = hostileArray(rng, size(rng));
        const int na = count(a), nb = count(b);
        const DPoint3d q = hostileArray(rng, 1)[0];
        tgxGeom_getXYPolygonArea(a.data(), na);
        const int parity = tgxGeom_XYPolygonParity(&q, a.data(), na, trial % 2 ? 0.0 : 1e-9);
        ASSERT_TRUE(parity >= -2 && parity <= 1) << parity;
        DPoint3d c, n, pa, pb;
        double area, perimeter, spread;
        tgxPolygon_centroidAreaPerimeter(a.data(), na, &c, &n, &area, &perimeter, &spread);
        tgxPolygon_normalAndArea(&n, &c, a.data(), na);
        ASSERT_EQ(tgxPolygon_closestApproachBetweenPolygons(&pa, &pb, a.data(), na, b.data(), nb),
                  na > 0 && nb > 0);
        tgxDPoint3dArray_polylineClashXY(a.data(), na, trial % 2, b.data(), nb, trial % 3);
    }
}
