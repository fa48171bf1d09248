#include "planar/planar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

using namespace Korvex;

namespace {

DSegment3d segment(DPoint3d a, DPoint3d b) {
    DSegment3d s;
    tgxDSegment3d_initFromDPoint3d(&s, &a, &b);
    return s;
}

void expectPoint(const DPoint3d& p, double x, double y, double z) {
    EXPECT_DOUBLE_EQ(p.x, x);
    EXPECT_DOUBLE_EQ(p.y, y);
    EXPECT_DOUBLE_EQ(p.z, z);
}

}  // namespace

TEST(PointVector, DistancesDifferencesRotationsAndAngles) {
    const DPoint3d a{1, 2, 3}, b{4, 6, 15};
    EXPECT_EQ(tgxDPoint3d_distanceSquared(&a, &b), 169.0);
    EXPECT_EQ(tgxDPoint3d_distance(&a, &b), 13.0);
    const DPoint2d p{1, 2}, q{4, 6};
    EXPECT_EQ(tgxDPoint2d_distanceSquared(&p, &q), 25.0);
    DPoint2d d;
    tgxDPoint2d_subtractDPoint2dDPoint2d(&d, &p, &q);
    EXPECT_EQ(d.x, -3.0);
    EXPECT_EQ(d.y, -4.0);

    // Rotation is clockwise, and may work in place.
    const DPoint2d east{1, 0};
    DPoint2d turned;
    tgxDPoint2d_rotate(&turned, &east, std::numbers::pi / 2);
    EXPECT_NEAR(turned.x, 0, 1e-15);
    EXPECT_DOUBLE_EQ(turned.y, -1);
    DPoint2d inPlace = east;
    tgxDPoint2d_rotate(&inPlace, &inPlace, std::numbers::pi / 2);
    EXPECT_EQ(inPlace.x, turned.x);
    EXPECT_EQ(inPlace.y, turned.y);

    const DPoint2d north{0, 1}, south{0, -1}, west{-1, 0}, zero{0, 0};
    EXPECT_DOUBLE_EQ(tgxDPoint2d_angleBetweenVectors(&east, &north), std::numbers::pi / 2);
    EXPECT_DOUBLE_EQ(tgxDPoint2d_angleBetweenVectors(&east, &south), -std::numbers::pi / 2);
    EXPECT_DOUBLE_EQ(tgxDPoint2d_angleBetweenVectors(&east, &west), std::numbers::pi);
    // Antiparallel the other way round still gives +pi (the cross product is -0 here).
    EXPECT_DOUBLE_EQ(tgxDPoint2d_angleBetweenVectors(&west, &east), std::numbers::pi);
    EXPECT_EQ(tgxDPoint2d_angleBetweenVectors(&zero, &north), 0.0);
    EXPECT_EQ(tgxDPoint2d_angleBetweenVectors(&west, &zero), 0.0);
}

TEST(SegmentProjection, FractionIsNotClampedAndZIsTheSegments) {
    const DSegment3d s = segment({0, 0, 0}, {10, 0, 2});
    DPoint3d on;
    double f = -1;
    const DPoint3d mid{5, 5, 7};
    EXPECT_TRUE(tgxDSegment3d_projectPointXY(&s, &on, &f, &mid));
    EXPECT_EQ(f, 0.5);
    expectPoint(on, 5, 0, 1);
    const DPoint3d beyond{20, 1, 0};
    EXPECT_TRUE(tgxDSegment3d_projectPointXY(&s, &on, &f, &beyond));
    EXPECT_EQ(f, 2.0);
    expectPoint(on, 20, 0, 4);
    const DPoint3d behind{-5, 3, 0};
    EXPECT_TRUE(tgxDSegment3d_projectPointXY(&s, nullptr, &f, &behind));
    EXPECT_EQ(f, -0.5);
}

TEST(SegmentProjection, NoXYLengthGivesStartAndZeroFraction) {
    const DSegment3d vertical = segment({3, 4, 0}, {3, 4, 9});
    DPoint3d on{7, 7, 7};
    double f = 7;
    const DPoint3d q{5, 5, 5};
    EXPECT_FALSE(tgxDSegment3d_projectPointXY(&vertical, &on, &f, &q));
    EXPECT_EQ(f, 0.0);
    expectPoint(on, 3, 4, 0);
    // The query sitting on the start still fails: 0/0 is no division.
    const DPoint3d atStart{3, 4, 0};
    EXPECT_FALSE(tgxDSegment3d_projectPointXY(&vertical, nullptr, nullptr, &atStart));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const DPoint3d bad{nan, 0, 0};
    const DSegment3d s = segment({0, 0, 0}, {1, 0, 0});
    EXPECT_FALSE(tgxDSegment3d_projectPointXY(&s, &on, &f, &bad));
    expectPoint(on, 0, 0, 0);
}

TEST(SegmentIntersection, FractionsOutsideTheSegmentsAreReported) {
    DPoint3d pa, pb;
    double fa = 0, fb = 0;
    const DSegment3d rising = segment({0, 0, 0}, {2, 2, 2});
    const DSegment3d falling = segment({0, 2, 10}, {2, 0, 10});
    EXPECT_TRUE(tgxGeom_intersectXYDSegment3dDSegment3d(&pa, &fa, &pb, &fb, &rising, &falling));
    EXPECT_DOUBLE_EQ(fa, 0.5);
    EXPECT_DOUBLE_EQ(fb, 0.5);
    expectPoint(pa, 1, 1, 1);  // same XY, each segment's own z
    expectPoint(pb, 1, 1, 10);

    const DSegment3d base = segment({0, 0, 0}, {1, 0, 0});
    const DSegment3d post = segment({2, -1, 0}, {2, 1, 0});
    EXPECT_TRUE(tgxGeom_intersectXYDSegment3dDSegment3d(nullptr, &fa, nullptr, &fb, &base, &post));
    EXPECT_DOUBLE_EQ(fa, 2.0);
    EXPECT_DOUBLE_EQ(fb, 0.5);
}

TEST(SegmentIntersection, ParallelAndDegenerateWriteNothing) {
    DPoint3d pa{7, 7, 7}, pb{7, 7, 7};
    double fa = 7, fb = 7;
    const DSegment3d lower = segment({0, 0, 0}, {1, 0, 0});
    const DSegment3d upper = segment({0, 1, 0}, {1, 1, 0});
    const DSegment3d collinear = segment({2, 0, 0}, {3, 0, 0});
    const DSegment3d dot = segment({0, 5, 0}, {0, 5, 3});
    for (const DSegment3d* other : {&upper, &collinear, &dot}) {
        EXPECT_FALSE(tgxGeom_intersectXYDSegment3dDSegment3d(&pa, &fa, &pb, &fb, &lower, other));
        expectPoint(pa, 7, 7, 7);
        expectPoint(pb, 7, 7, 7);
        EXPECT_EQ(fa, 7);
        EXPECT_EQ(fb, 7);
    }
    const double inf = std::numeric_limits<double>::infinity();
    const DSegment3d wild = segment({0, 0, 0}, {inf, 1, 0});
    EXPECT_FALSE(tgxGeom_intersectXYDSegment3dDSegment3d(&pa, &fa, &pb, &fb, &lower, &wild));
}

TEST(Lines2d, IntersectionMatchesTheSegmentRoutine) {
    const DPoint2d a0{0, 0}, a1{1, 0}, b0{2, -1}, b1{2, 1};
    DPoint2d p{7, 7};
    double fa = 7, fb = 7;
    EXPECT_TRUE(tgxVector2d_intersectLines(&p, &fa, &fb, &a0, &a1, &b0, &b1));
    EXPECT_DOUBLE_EQ(fa, 2.0);
    EXPECT_DOUBLE_EQ(fb, 0.5);
    EXPECT_DOUBLE_EQ(p.x, 2);
    EXPECT_DOUBLE_EQ(p.y, 0);
    const DPoint2d c0{0, 1}, c1{5, 1};
    p = {7, 7};
    fa = fb = 7;
    EXPECT_FALSE(tgxVector2d_intersectLines(&p, &fa, &fb, &a0, &a1, &c0, &c1));
    EXPECT_EQ(p.x, 7);
    EXPECT_EQ(fa, 7);
    EXPECT_EQ(fb, 7);
}

TEST(Lines2d, ProjectionFailsOnlyForAFractionBeyondTheBound) {
    const DPoint2d start{1, 1}, end{3, 1};
    DPoint2d p;
    double f = 7;
    const DPoint2d behind{-3, 5};
    EXPECT_TRUE(tgxVector2d_projectPointToLine(&p, &f, &behind, &start, &end));
    EXPECT_EQ(f, -2.0);
    EXPECT_EQ(p.x, -3.0);
    EXPECT_EQ(p.y, 1.0);
    // A zero-length line fails with fraction 0 and the start point.
    EXPECT_FALSE(tgxVector2d_projectPointToLine(&p, &f, &behind, &start, &start));
    EXPECT_EQ(f, 0.0);
    EXPECT_EQ(p.x, 1.0);
    EXPECT_EQ(p.y, 1.0);
    // A fraction of 1e14 or more is refused; below it is accepted (powers of
    // two keep the fractions exact: 2^47 > 1e14 > 2^46).
    const DPoint2d origin{0, 1}, tinyEnd{std::ldexp(1.0, -20), 1};
    const DPoint2d far{std::ldexp(1.0, 27), 0};
    EXPECT_FALSE(tgxVector2d_projectPointToLine(&p, &f, &far, &origin, &tinyEnd));
    EXPECT_EQ(f, 0.0);
    const DPoint2d nearer{std::ldexp(1.0, 26), 0};
    EXPECT_TRUE(tgxVector2d_projectPointToLine(&p, &f, &nearer, &origin, &tinyEnd));
    EXPECT_EQ(f, std::ldexp(1.0, 46));
}
