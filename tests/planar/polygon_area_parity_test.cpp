#include "polygon_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Korvex;
using namespace planar_test;

namespace {

int parity(double x, double y, const Polygon& p, double tolerance = 0.0) {
    const DPoint3d q{x, y, 0};
    return tgxGeom_XYPolygonParity(&q, p.data(), count(p), tolerance);
}

}  // namespace

TEST(DisconnectPoint, AnyCoordinateAtTheLargestDoubleMarksIt) {
    const DPoint3d d = disconnect();
    EXPECT_EQ(d.x, 1.7976931348623157e308);
    EXPECT_EQ(d.z, 1.7976931348623157e308);
    EXPECT_TRUE(tgxDPoint3d_isDisconnect(&d));
    const DPoint3d zOnly{0, 0, 1.7976931348623157e308};
    EXPECT_TRUE(tgxDPoint3d_isDisconnect(&zOnly));
    const DPoint3d large{1e308, 1e308, 1e308};
    EXPECT_FALSE(tgxDPoint3d_isDisconnect(&large));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const DPoint3d nanPoint{nan, nan, nan};
    EXPECT_FALSE(tgxDPoint3d_isDisconnect(&nanPoint));
}

TEST(XYPolygonArea, SignFollowsOrientationAndClosureIsOptional) {
    const Polygon square = rectangle(0, 0, 1, 1);
    EXPECT_EQ(tgxGeom_getXYPolygonArea(square.data(), 4), 1.0);
    EXPECT_EQ(tgxGeom_getXYPolygonArea(reversed(square).data(), 4), -1.0);
    Polygon closed = square;
    closed.push_back(square[0]);
    EXPECT_EQ(tgxGeom_getXYPolygonArea(closed.data(), 5), 1.0);
    EXPECT_EQ(tgxGeom_getXYPolygonArea(square.data(), 2), 0.0);
    EXPECT_EQ(tgxGeom_getXYPolygonArea(square.data(), -3), 0.0);
    EXPECT_EQ(tgxGeom_getXYPolygonArea(square.data(), 3), 0.5);
    // z never takes part.
    Polygon lifted = square;
    lifted[2].z = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(tgxGeom_getXYPolygonArea(lifted.data(), 4), 1.0);
}

TEST(XYPolygonArea, LoopsAddWithTheirSigns) {
    const Polygon outer = rectangle(0, 0, 4, 4);
    const Polygon inner = rectangle(1, 1, 3, 3);
    const Polygon hole = joinRings({outer, reversed(inner)});
    EXPECT_EQ(tgxGeom_getXYPolygonArea(hole.data(), count(hole)), 12.0);
    const Polygon same = joinRings({outer, inner});
    EXPECT_EQ(tgxGeom_getXYPolygonArea(same.data(), count(same)), 20.0);
    // Leading, trailing and doubled separators make empty loops only.
    Polygon padded{disconnect()};
    padded.insert(padded.end(), hole.begin(), hole.end());
    padded.push_back(disconnect());
    padded.push_back(disconnect());
    EXPECT_EQ(tgxGeom_getXYPolygonArea(padded.data(), count(padded)), 12.0);
}

TEST(XYPolygonParity, UnitSquareInsideOnOutside) {
    const Polygon square = rectangle(0, 0, 1, 1);
    EXPECT_EQ(parity(0.5, 0.5, square), 1);
    EXPECT_EQ(parity(2, 0.5, square), -1);
    EXPECT_EQ(parity(1, 0.5, square), 0);  // on an edge
    EXPECT_EQ(parity(1, 1, square), 0);    // on a vertex: both axis lines abandoned
    EXPECT_EQ(parity(0.5, 1, square), 0);  // horizontal line abandoned, vertical finds the edge
    EXPECT_EQ(parity(1.5, 1, square), -1);
    EXPECT_EQ(parity(0.5, 0.5, square, 0.6), 0);  // tolerance reaches the boundary
}

TEST(XYPolygonParity, CountsAndDegenerateLoops) {
    const Polygon square = rectangle(0, 0, 1, 1);
    EXPECT_EQ(parity(0.5, 0.5, Polygon{}), -1);
    const DPoint3d q{0.5, 0.5, 0};
    EXPECT_EQ(tgxGeom_XYPolygonParity(&q, square.data(), 0, 0.0), -1);
    EXPECT_EQ(tgxGeom_XYPolygonParity(&q, square.data(), -1, 0.0), -1);
    // A one-point loop is skipped, even when the query sits on it.
    const Polygon single{{0.5, 0.5, 0}};
    EXPECT_EQ(parity(0.5, 0.5, single), -1);
    // A two-point loop is a doubled segment: on it, or outside.
    const Polygon segment{{0, 0, 0}, {2, 2, 0}};
    EXPECT_EQ(parity(1, 1, segment), 0);
    EXPECT_EQ(parity(1, 0, segment), -1);
}

TEST(XYPolygonParity, NestedLoopsAlternate) {
    const Polygon nested = joinRings({rectangle(0, 0, 10, 10), rectangle(3, 3, 7, 7)});
    EXPECT_EQ(parity(5, 5, nested), -1);
    EXPECT_EQ(parity(1, 5, nested), 1);
    EXPECT_EQ(parity(3, 5, nested), 0);
    const Polygon threeDeep = joinRings({rectangle(0, 0, 10, 10), rectangle(3, 3, 7, 7),
                                         rectangle(4, 4, 6, 6)});
    EXPECT_EQ(parity(5, 5, threeDeep), 1);
}

TEST(XYPolygonParity, RotatedLineDecidesWhenBothAxisLinesHitVertices) {
    // A diamond with vertices level with and plumb above the query point (0, 0).
    const Polygon diamond{{-2, 0, 0}, {0, -2, 0}, {2, 0, 0}, {0, 2, 0}};
    EXPECT_EQ(parity(0, 0, diamond), 1);
    // The same point outside a shape whose vertices block both axis lines.
    const Polygon offCentre{{1, 0, 0}, {3, 0, 0}, {3, 3, 0}, {0, 3, 0}, {0, 1, 0}, {1, 1, 0}};
    EXPECT_EQ(parity(0, 0, offCentre), -1);
}

TEST(XYPolygonParity, HostileCoordinatesNeverHang) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Polygon square = rectangle(0, 0, 1, 1);
    const int r1 = parity(nan, 0.5, square);
    const int r2 = parity(inf, inf, square);
    const Polygon bad{{0, 0, 0}, {nan, 1, 0}, {1, inf, 0}, {0, 1, 0}};
    const int r3 = parity(0.5, 0.5, bad);
    for (int r : {r1, r2, r3}) EXPECT_TRUE(r >= -2 && r <= 1);
    // With an infinite tolerance every vertex blocks every line.
    EXPECT_EQ(parity(5, 5, square, inf), 0);
}
