#include "polygon_fixtures.h"

#include <gtest/gtest.h>

#include <random>

using namespace Korvex;
using namespace planar_test;

namespace {

bool clash(const Polygon& a, bool closedA, const Polygon& b, bool closedB) {
    return tgxDPoint3dArray_polylineClashXY(a.data(), count(a), closedA, b.data(), count(b),
                                            closedB);
}

// Exact on small integer coordinates.
double orientation(const DPoint3d& a, const DPoint3d& b, const DPoint3d& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

Polygon edgeEnds(const Polygon& p, bool closed) {
    Polygon ends;
    for (size_t i = 0; i + 1 < p.size(); ++i) ends.insert(ends.end(), {p[i], p[i + 1]});
    const DPoint3d& f = p.front();
    const DPoint3d& l = p.back();
    if (closed && !(f.x == l.x && f.y == l.y && f.z == l.z)) ends.insert(ends.end(), {f, l});
    return ends;
}

// Non-parallel edges that meet, end points included, by orientation signs.
bool bruteForceClash(const Polygon& a, bool closedA, const Polygon& b, bool closedB) {
    const Polygon ea = edgeEnds(a, closedA), eb = edgeEnds(b, closedB);
    for (size_t i = 0; i < ea.size(); i += 2) {
        for (size_t j = 0; j < eb.size(); j += 2) {
            const DPoint3d &p0 = ea[i], &p1 = ea[i + 1], &q0 = eb[j], &q1 = eb[j + 1];
            const DPoint3d u{p1.x - p0.x, p1.y - p0.y, 0}, v{q1.x - q0.x, q1.y - q0.y, 0};
            if (u.x * v.y - u.y * v.x == 0) continue;
            if (orientation(p0, p1, q0) * orientation(p0, p1, q1) <= 0 &&
                orientation(q0, q1, p0) * orientation(q0, q1, p1) <= 0) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

TEST(PolylineClash, TouchingCountsOverlappingCollinearDoesNot) {
    const Polygon a{{0, 0, 0}, {1, 1, 0}};
    const Polygon touching{{1, 1, 0}, {2, 0, 0}};
    EXPECT_TRUE(clash(a, false, touching, false));
    const Polygon tJunction{{0.5, 0.5, 0}, {0, 5, 0}};
    EXPECT_TRUE(clash(a, false, tJunction, false));
    const Polygon overlap{{0.5, 0.5, 0}, {3, 3, 0}};
    EXPECT_FALSE(clash(a, false, overlap, false));
    const Polygon apart{{0, 1, 0}, {0.4, 0.6, 0}};
    EXPECT_FALSE(clash(a, false, apart, false));
    // Only the XY plane counts.
    const Polygon above{{0, 1, 5}, {1, 0, -5}};
    EXPECT_TRUE(clash(a, false, above, false));
}

TEST(PolylineClash, ClosingEdgeOnlyWhenFlaggedAndEndsDiffer) {
    const Polygon openTriangle{{0, 0, 0}, {4, 0, 0}, {4, 4, 0}};
    const Polygon acrossMissingEdge{{3, 1, 0}, {1, 3, 0}};
    EXPECT_FALSE(clash(openTriangle, false, acrossMissingEdge, false));
    EXPECT_TRUE(clash(openTriangle, true, acrossMissingEdge, false));
    EXPECT_TRUE(clash(acrossMissingEdge, false, openTriangle, true));
    // A repeated first point already closes it: no second closing edge needed.
    Polygon closedTriangle = openTriangle;
    closedTriangle.push_back(openTriangle[0]);
    EXPECT_TRUE(clash(closedTriangle, false, acrossMissingEdge, false));
    // A single point has no edges.
    const Polygon dot{{2, 2, 0}};
    EXPECT_FALSE(clash(dot, true, openTriangle, true));
    EXPECT_FALSE(clash(Polygon{}, true, openTriangle, true));
}

TEST(PolylineClash, NearTouchingWithinRelativeTolerance) {
    const Polygon base{{0, 0, 0}, {1, 0, 0}};
    const Polygon justShort{{0.5, 1, 0}, {0.5, 1e-13, 0}};  // fraction -1e-13 on the post
    EXPECT_TRUE(clash(base, false, justShort, false));
    const Polygon tooShort{{0.5, 1, 0}, {0.5, 1e-11, 0}};
    EXPECT_FALSE(clash(base, false, tooShort, false));
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
