// Every routine on arrays mixing NaN, infinities, the largest doubles,
// disconnect points and duplicates: each must return (no crash, no endless
// loop, no read outside the arrays under the sanitizers) with outputs that
// are in range where a range exists.
#include "polygon_fixtures.h"

#include <random>

using namespace Korvex;
using namespace planar_test;

namespace {

Polygon hostileArray(std::mt19937& rng, int size) {
    const double big = std::numeric_limits<double>::max();
    const double tiny = std::numeric_limits<double>::denorm_min();
    const double specials[] = {kNaN, kInf, -kInf, big, -big, tiny, 0.0, 1e-300, 1e300};
    std::uniform_int_distribution<int> pick(0, 19), special(0, 8);
    std::uniform_real_distribution<double> plain(-10, 10);
    auto c = [&] { return pick(rng) < 4 ? specials[special(rng)] : plain(rng); };
    Polygon p;
    for (int i = 0; i < size; ++i) {
        const int kind = pick(rng);
        p.push_back(kind == 0                 ? disconnect()
                    : kind == 1 && !p.empty() ? p.back()
                                              : DPoint3d{c(), c(), c()});
    }
    return p;
}

}  // namespace

TEST(HostileInput, EveryRoutineReturns) {
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
        double area, perimeter, spread, fa, fb;
        tgxPolygon_centroidAreaPerimeter(a.data(), na, &c, &n, &area, &perimeter, &spread);
        tgxPolygon_normalAndArea(&n, &c, a.data(), na);
        ASSERT_EQ(tgxPolygon_closestApproachBetweenPolygons(&pa, &pb, a.data(), na, b.data(), nb),
                  na > 0 && nb > 0);
        tgxDPoint3dArray_polylineClashXY(a.data(), na, trial % 2, b.data(), nb, trial % 3);
        if (na < 2 || nb < 2) continue;
        const DSegment3d sa = segment(a[0], a[1]), sb = segment(b[0], b[1]);
        tgxDSegment3d_projectPointXY(&sa, &pa, &fa, &q);
        tgxGeom_intersectXYDSegment3dDSegment3d(&pa, &fa, &pb, &fb, &sa, &sb);
        const DPoint2d a0{a[0].x, a[0].y}, a1{a[1].x, a[1].y}, b0{b[0].x, b[0].y},
            b1{b[1].x, b[1].y};
        DPoint2d p;
        tgxVector2d_intersectLines(&p, &fa, &fb, &a0, &a1, &b0, &b1);
        tgxVector2d_projectPointToLine(&p, &fa, &b0, &a0, &a1);
    }
}

TEST(HostileInput, TooManyPlaneCrossingsSkipThatStageInsteadOfOverrunning) {
    // A flat comb whose teeth cross the plane of an upright wall again and
    // again, and the wall standing across it. Within the scratch space the
    // planes' line is found inside both; beyond it the stage is skipped and
    // the teeth's tips meet the wall's face at height 1.
    const Polygon wall{{-1, 2, -5}, {7000, 2, -5}, {7000, 2, 5}, {-1, 2, 5}};
    for (const auto& [teeth, squared] : {std::pair{4000, 0.0}, std::pair{6000, 1.0}}) {
        Polygon comb;
        for (int i = 0; i < teeth; ++i) comb.push_back({double(i), (i % 2) ? 3.0 : 1.0, 0});
        comb.insert(comb.end(), {{double(teeth), 5, 0}, {0, 5, 0}});
        DPoint3d pa, pb;
        ASSERT_TRUE(tgxPolygon_closestApproachBetweenPolygons(&pa, &pb, comb.data(), count(comb),
                                                              wall.data(), count(wall)));
        EXPECT_DOUBLE_EQ(tgxDPoint3d_distanceSquared(&pa, &pb), squared) << teeth << " teeth";
    }
}
