// Every routine on arrays mixing NaN, infinities, the largest doubles,
// disconnect points and duplicates: each must return (no crash, no endless
// loop, no read outside the arrays under the sanitizers) with outputs that
// are in range where a range exists.
#include "polygon_fixtures.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

using namespace Korvex;
using namespace planar_test;

namespace {

Polygon hostileArray(std::mt19937& rng, int size) {
    const double specials[] = {std::numeric_limits<double>::quiet_NaN(),
                               std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::max(),
                               -std::numeric_limits<double>::max(),
                               std::numeric_limits<double>::denorm_min(),
                               0.0,
                               1e-300,
                               1e300};
    std::uniform_int_distribution<int> pick(0, 19), special(0, 8);
    std::uniform_real_distribution<double> plain(-10, 10);
    auto coordinate = [&] { return pick(rng) < 4 ? specials[special(rng)] : plain(rng); };
    Polygon p;
    for (int i = 0; i < size; ++i) {
        const int kind = pick(rng);
        if (kind == 0) {
            p.push_back(disconnect());
        } else if (kind == 1 && !p.empty()) {
            p.push_back(p.back());
        } else {
            p.push_back({coordinate(), coordinate(), coordinate()});
        }
    }
    return p;
}

}  // namespace

TEST(HostileInput, EveryRoutineReturns) {
    std::mt19937 rng(4242);
    std::uniform_int_distribution<int> size(0, 24);
    for (int trial = 0; trial < 300 * kRandomScale; ++trial) {
        const Polygon a = hostileArray(rng, size(rng)), b = hostileArray(rng, size(rng));
        const int na = count(a), nb = count(b);
        const DPoint3d q = hostileArray(rng, 1)[0];
        tgxGeom_getXYPolygonArea(a.data(), na);
        const int parity = tgxGeom_XYPolygonParity(&q, a.data(), na, trial % 2 ? 0.0 : 1e-9);
        ASSERT_TRUE(parity >= -2 && parity <= 1);
        DPoint3d c, n;
        double area, perimeter, spread;
        tgxPolygon_centroidAreaPerimeter(a.data(), na, &c, &n, &area, &perimeter, &spread);
        tgxPolygon_normalAndArea(&n, &c, a.data(), na);
        DPoint3d pa, pb;
        const bool approached =
            tgxPolygon_closestApproachBetweenPolygons(&pa, &pb, a.data(), na, b.data(), nb);
        ASSERT_EQ(approached, na > 0 && nb > 0);
        if (na > 0 && nb > 0) {
            tgxDPoint3dArray_polylineClashXY(a.data(), na, trial % 2, b.data(), nb, trial % 3);
        }
        if (na >= 2 && nb >= 2) {
            DSegment3d sa, sb;
            tgxDSegment3d_initFromDPoint3d(&sa, &a[0], &a[1]);
            tgxDSegment3d_initFromDPoint3d(&sb, &b[0], &b[1]);
            double fa, fb;
            tgxDSegment3d_projectPointXY(&sa, &pa, &fa, &q);
            tgxGeom_intersectXYDSegment3dDSegment3d(&pa, &fa, &pb, &fb, &sa, &sb);
            const DPoint2d a0{a[0].x, a[0].y}, a1{a[1].x, a[1].y}, b0{b[0].x, b[0].y},
                b1{b[1].x, b[1].y};
            DPoint2d p;
            tgxVector2d_intersectLines(&p, &fa, &fb, &a0, &a1, &b0, &b1);
            tgxVector2d_projectPointToLine(&p, &fa, &b0, &a0, &a1);
        }
    }
}

TEST(HostileInput, TooManyPlaneCrossingsSkipThatStageInsteadOfOverrunning) {
    // A flat comb whose teeth cross the plane of an upright wall again and
    // again, and the wall standing across it.
    auto comb = [](int teeth) {
        Polygon p;
        for (int i = 0; i < teeth; ++i) p.push_back({double(i), (i % 2) ? 3.0 : 1.0, 0});
        p.push_back({double(teeth), 5, 0});
        p.push_back({0, 5, 0});
        return p;
    };
    const double far = 7000;
    const Polygon wall{{-1, 2, -5}, {far, 2, -5}, {far, 2, 5}, {-1, 2, 5}};
    DPoint3d pa, pb;
    // Within the scratch space the planes' line is found inside both.
    const Polygon fits = comb(4000);
    ASSERT_TRUE(tgxPolygon_closestApproachBetweenPolygons(&pa, &pb, fits.data(), count(fits),
                                                          wall.data(), count(wall)));
    EXPECT_EQ(tgxDPoint3d_distanceSquared(&pa, &pb), 0.0);
    // Beyond it the stage is skipped; the teeth's tips then meet the wall's
    // face at height 1.
    const Polygon overflows = comb(6000);
    ASSERT_TRUE(tgxPolygon_closestApproachBetweenPolygons(
        &pa, &pb, overflows.data(), count(overflows), wall.data(), count(wall)));
    EXPECT_DOUBLE_EQ(tgxDPoint3d_distanceSquared(&pa, &pb), 1.0);
}
