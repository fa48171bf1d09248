// Rectangles, point and vector helpers, segments, 2D lines and the polyline clash.
#include "polygon_fixtures.h"

#include <cmath>
#include <numbers>
#include <random>
#include <utility>

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
                orientation(q0, q1, p0) * orientation(q0, q1, p1) <= 0) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

TEST(DRange2d, ExtendReportsChangeTouchingIntersectsHugeIsNull) {
    auto box = [](double x0, double y0, double x1, double y1) {
        DRange2d r;
        r.initFrom(x0, y0, x1, y1);
        return r;
    };
    DRange2d r;
    r.init();
    EXPECT_TRUE(r.isNull());
    const DRange2d corners = box(3, 4, 1, 2), unit = box(0, 0, 1, 1);
    EXPECT_TRUE(corners.low.x == 1 && corners.high.y == 4);
    EXPECT_TRUE(r.extend(corners));
    EXPECT_TRUE(!r.isNull() && corners.isContained(r));
    EXPECT_FALSE(r.extend(corners));  // nothing moves a second time
    EXPECT_TRUE(unit.intersectsWith(box(1, 1, 2, 2)));  // touching corners
    EXPECT_FALSE(unit.intersectsWith(box(1.0000001, 0, 2, 1)));
    EXPECT_TRUE(box(0, 0, 1e100, 1).isNull());
    EXPECT_FALSE(box(0, 0, 9.9e99, 1).isNull());
}

TEST(PointVector, RotationIsClockwiseAnglesAreSignedAndDistances) {
    const double pi = std::numbers::pi;
    const DPoint2d east{1, 0}, north{0, 1}, south{0, -1}, west{-1, 0}, zero{0, 0};
    DPoint2d turned, inPlace = east;
    tgxDPoint2d_rotate(&turned, &east, pi / 2);
    tgxDPoint2d_rotate(&inPlace, &inPlace, pi / 2);
    EXPECT_NEAR(turned.x, 0, 1e-15);
    EXPECT_DOUBLE_EQ(turned.y, -1);
    EXPECT_TRUE(inPlace.x == turned.x && inPlace.y == turned.y);
    // West to east is antiparallel with a cross product of -0: still +pi.
    const struct { DPoint2d u, v; double angle; } angles[] = {
        {east, north, pi / 2}, {east, south, -pi / 2}, {east, west, pi},
        {west, east, pi},      {zero, north, 0},       {west, zero, 0}};
    for (const auto& c : angles) {
        EXPECT_DOUBLE_EQ(tgxDPoint2d_angleBetweenVectors(&c.u, &c.v), c.angle)
            << c.u.x << "," << c.u.y << " to " << c.v.x << "," << c.v.y;
    }
    const DPoint3d a{1, 2, 3}, b{4, 6, 15};
    const DPoint2d p{1, 2}, q{4, 6};
    DPoint2d d;
    tgxDPoint2d_subtractDPoint2dDPoint2d(&d, &p, &q);
    EXPECT_TRUE(d.x == -3 && d.y == -4 && tgxDPoint2d_distanceSquared(&p, &q) == 25);
    EXPECT_TRUE(tgxDPoint3d_distance(&a, &b) == 13 && tgxDPoint3d_distanceSquared(&a, &b) == 169);
}

TEST(SegmentProjection, FractionUnclampedZFromTheSegmentAndNoXYLengthFails) {
    const DSegment3d s = segment({0, 0, 0}, {10, 0, 2});
    const struct { DPoint3d q; double f; DPoint3d on; } cases[] = {
        {{5, 5, 7}, 0.5, {5, 0, 1}}, {{20, 1, 0}, 2, {20, 0, 4}}, {{-5, 3, 0}, -0.5, {-5, 0, -1}}};
    for (const auto& c : cases) {
        DPoint3d on;
        double f = 7;
        EXPECT_TRUE(tgxDSegment3d_projectPointXY(&s, &on, &f, &c.q));
        EXPECT_EQ(f, c.f);
        expectPoint(on, c.on);
    }
    EXPECT_TRUE(tgxDSegment3d_projectPointXY(&s, nullptr, nullptr, &cases[0].q));
    // No XY length: false, fraction 0 and the start, even for a query on the start.
    const DSegment3d vertical = segment({3, 4, 0}, {3, 4, 9});
    const DPoint3d q{5, 5, 5}, atStart{3, 4, 0};
    DPoint3d on{7, 7, 7};
    double f = 7;
    EXPECT_FALSE(tgxDSegment3d_projectPointXY(&vertical, &on, &f, &q));
    EXPECT_EQ(f, 0.0);
    expectPoint(on, {3, 4, 0});
    EXPECT_FALSE(tgxDSegment3d_projectPointXY(&vertical, nullptr, nullptr, &atStart));
}

TEST(SegmentIntersection, FractionsOutsideTheSegmentsAndParallelWritesNothing) {
    DPoint3d pa, pb;
    double fa = 0, fb = 0;
    const DSegment3d rising = segment({0, 0, 0}, {2, 2, 2});
    const DSegment3d falling = segment({0, 2, 10}, {2, 0, 10});
    EXPECT_TRUE(tgxGeom_intersectXYDSegment3dDSegment3d(&pa, &fa, &pb, &fb, &rising, &falling));
    EXPECT_DOUBLE_EQ(fa, 0.5);
    EXPECT_DOUBLE_EQ(fb, 0.5);
    expectPoint(pa, {1, 1, 1}, 4e-16);  // same XY, each segment's own z
    expectPoint(pb, {1, 1, 10}, 4e-16);
    const DSegment3d base = segment({0, 0, 0}, {1, 0, 0}), post = segment({2, -1, 0}, {2, 1, 0});
    EXPECT_TRUE(tgxGeom_intersectXYDSegment3dDSegment3d(nullptr, &fa, nullptr, &fb, &base, &post));
    EXPECT_DOUBLE_EQ(fa, 2.0);
    EXPECT_DOUBLE_EQ(fb, 0.5);
    for (const DSegment3d& other : {segment({0, 1, 0}, {1, 1, 0}), segment({2, 0, 0}, {3, 0, 0}),
                                    segment({0, 5, 0}, {0, 5, 3})}) {
        DPoint3d qa{7, 7, 7}, qb{7, 7, 7};
        double ga = 7, gb = 7;
        EXPECT_FALSE(tgxGeom_intersectXYDSegment3dDSegment3d(&qa, &ga, &qb, &gb, &base, &other));
        expectPoint(qa, {7, 7, 7});
        expectPoint(qb, {7, 7, 7});
        EXPECT_TRUE(ga == 7 && gb == 7);
    }
}

TEST(Lines2d, IntersectionAndProjectionUpToTheFractionBound) {
    const DPoint2d a0{0, 0}, a1{1, 0}, b0{2, -1}, b1{2, 1}, c0{0, 1}, c1{5, 1};
    DPoint2d p{7, 7};
    double fa = 7, fb = 7;
    EXPECT_TRUE(tgxVector2d_intersectLines(&p, &fa, &fb, &a0, &a1, &b0, &b1));
    EXPECT_DOUBLE_EQ(fa, 2.0);
    EXPECT_DOUBLE_EQ(fb, 0.5);
    EXPECT_DOUBLE_EQ(p.x, 2);
    EXPECT_DOUBLE_EQ(p.y, 0);
    p = {7, 7};
    fa = fb = 7;
    EXPECT_FALSE(tgxVector2d_intersectLines(&p, &fa, &fb, &a0, &a1, &c0, &c1));
    EXPECT_TRUE(p.x == 7 && fa == 7 && fb == 7);  // parallel: nothing written

    const DPoint2d start{1, 1}, end{3, 1}, behind{-3, 5};
    EXPECT_TRUE(tgxVector2d_projectPointToLine(&p, &fa, &behind, &start, &end));
    EXPECT_TRUE(fa == -2 && p.x == -3 && p.y == 1);
    // A zero-length line fails with fraction 0 and the start point.
    EXPECT_FALSE(tgxVector2d_projectPointToLine(&p, &fa, &behind, &start, &start));
    EXPECT_TRUE(fa == 0 && p.x == 1 && p.y == 1);
    // A fraction of 1e14 or more is refused; below it is accepted (powers of
    // two keep the fractions exact: 2^47 > 1e14 > 2^46).
    const DPoint2d origin{0, 1}, tinyEnd{std::ldexp(1.0, -20), 1}, far{std::ldexp(1.0, 27), 0},
        nearer{std::ldexp(1.0, 26), 0};
    EXPECT_FALSE(tgxVector2d_projectPointToLine(&p, &fa, &far, &origin, &tinyEnd));
    EXPECT_EQ(fa, 0.0);
    EXPECT_TRUE(tgxVector2d_projectPointToLine(&p, &fa, &nearer, &origin, &tinyEnd));
    EXPECT_EQ(fa, std::ldexp(1.0, 46));
}

TEST(PolylineClash, PinnedCases) {
    const Polygon a{{0, 0, 0}, {1, 1, 0}}, base{{0, 0, 0}, {1, 0, 0}};
    const Polygon triangle{{0, 0, 0}, {4, 0, 0}, {4, 4, 0}}, across{{3, 1, 0}, {1, 3, 0}};
    const struct { Polygon a; bool closedA; Polygon b; bool closedB, expected; } cases[] = {
        {a, false, {{1, 1, 0}, {2, 0, 0}}, false, true},      // touching at the ends
        {a, false, {{0.5, 0.5, 0}, {0, 5, 0}}, false, true},  // T junction
        {a, false, {{0.5, 0.5, 0}, {3, 3, 0}}, false, false}, // collinear overlap
        {a, false, {{0, 1, 0}, {0.4, 0.6, 0}}, false, false}, // apart
        {a, false, {{0, 1, 5}, {1, 0, -5}}, false, true},     // only XY counts
        {triangle, false, across, false, false},              // the closing edge is missing
        {triangle, true, across, false, true},
        {across, false, triangle, true, true},
        {closedRing(triangle), false, across, false, true},   // a repeated first point closes
        {{{2, 2, 0}}, true, triangle, true, false},           // a single point has no edges
        {{}, true, triangle, true, false},
        {base, false, {{0.5, 1, 0}, {0.5, 1e-13, 0}}, false, true},  // fraction -1e-13 on the post
        {base, false, {{0.5, 1, 0}, {0.5, 1e-11, 0}}, false, false}, // fraction -1e-11
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        EXPECT_EQ(clash(c.a, c.closedA, c.b, c.closedB), c.expected) << "case " << i;
    }
}

TEST(PolylineClash, AgreesWithExactOrientationBruteForce) {
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
        const bool closedA = flag(rng) == 1, closedB = flag(rng) == 1;
        const bool expected = bruteForceClash(a, closedA, b, closedB);
        ASSERT_EQ(clash(a, closedA, b, closedB), expected) << "trial " << trial;
        clashes += expected;
    }
    // Both outcomes must be well represented for the comparison to mean anything.
    EXPECT_GT(clashes, 100 * kRandomScale);
    EXPECT_LT(clashes, 300 * kRandomScale);
}
