#include "polygon_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>

using namespace Korvex;
using namespace planar_test;

namespace {

int parity(double x, double y, const Polygon& p, double tolerance = 0.0) {
    const DPoint3d q{x, y, 0};
    return tgxGeom_XYPolygonParity(&q, p.data(), count(p), tolerance);
}

// The textbook shoelace sum of one closed ring, in long double.
long double shoelace(const Polygon& ring) {
    long double sum = 0;
    for (size_t i = 0; i < ring.size(); ++i) {
        const DPoint3d& a = ring[i];
        const DPoint3d& b = ring[(i + 1) % ring.size()];
        sum += static_cast<long double>(a.x) * b.y - static_cast<long double>(b.x) * a.y;
    }
    return sum / 2;
}

Polygon moved(const Polygon& ring, double angle, double dx, double dy) {
    const double c = std::cos(angle), s = std::sin(angle);
    Polygon out;
    for (const DPoint3d& p : ring)
        out.push_back({c * p.x - s * p.y + dx, s * p.x + c * p.y + dy, p.z});
    return out;
}

// Winding number of the closed ring around (x, y); exact for the small
// integer coordinates used below.
int windingNumber(const Polygon& ring, double x, double y) {
    int winding = 0;
    for (size_t i = 0; i < ring.size(); ++i) {
        const DPoint3d& a = ring[i];
        const DPoint3d& b = ring[(i + 1) % ring.size()];
        const double side = (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y);
        if (a.y <= y) {
            if (b.y > y && side > 0) ++winding;
        } else if (b.y <= y && side < 0) {
            --winding;
        }
    }
    return winding;
}

bool onSegment(const DPoint3d& a, const DPoint3d& b, double x, double y) {
    const double side = (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y);
    return side == 0 && std::min(a.x, b.x) <= x && x <= std::max(a.x, b.x) &&
           std::min(a.y, b.y) <= y && y <= std::max(a.y, b.y);
}

bool onBoundary(const Polygon& ring, double x, double y) {
    for (size_t i = 0; i < ring.size(); ++i) {
        if (onSegment(ring[i], ring[(i + 1) % ring.size()], x, y)) return true;
    }
    return false;
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

TEST(XYPolygonParity, UndecidedWhenEveryLineMeetsAVertexAndPropagates) {
    // A 12-gon of radius 1.5 around the query with tolerance 1: every line
    // through the query passes within 1 of some vertex, yet no vertex lies
    // within 1 of it in both x and y.
    Polygon dodecagon;
    for (int i = 0; i < 12; ++i) {
        const double angle = i * std::numbers::pi / 6;
        dodecagon.push_back({1.5 * std::cos(angle), 1.5 * std::sin(angle), 0});
    }
    EXPECT_EQ(parity(0, 0, dodecagon, 1.0), -2);
    // An undecided loop decides the whole array, whatever the other loops say.
    const Polygon both = joinRings({rectangle(-10, -10, 10, 10), dodecagon});
    EXPECT_EQ(parity(0, 0, both, 1.0), -2);
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

TEST(XYPolygonArea, MatchesTheShoelaceSumUnderRotationAndTranslation) {
    std::mt19937 rng(1234);
    std::uniform_real_distribution<double> coordinate(-50, 50), angle(0, 2 * std::numbers::pi),
        shift(-1e5, 1e5);
    std::uniform_int_distribution<int> vertices(3, 40);
    for (int trial = 0; trial < 300 * kRandomScale; ++trial) {
        Polygon ring(vertices(rng));
        for (DPoint3d& p : ring) p = {coordinate(rng), coordinate(rng), coordinate(rng)};
        const double area = tgxGeom_getXYPolygonArea(ring.data(), count(ring));
        ASSERT_NEAR(area, static_cast<double>(shoelace(ring)), 1e-9);
        // Rigid motions keep the area; fanning from the first point keeps the
        // error relative to the ring's size, not to its distance from the origin.
        const Polygon other = moved(ring, angle(rng), shift(rng), shift(rng));
        ASSERT_NEAR(tgxGeom_getXYPolygonArea(other.data(), count(other)), area, 1e-7);
    }
}

TEST(XYPolygonParity, AgreesWithTheWindingNumberAwayFromBoundaries) {
    // Integer coordinates on a small grid put many queries level with or
    // plumb below vertices, so the vertical and rotated lines get exercised.
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> coordinate(0, 12), vertices(3, 9), loops(1, 3);
    int inside = 0, queries = 0;
    for (int trial = 0; trial < 300 * kRandomScale; ++trial) {
        std::vector<Polygon> rings(loops(rng));
        Polygon all;
        for (Polygon& ring : rings) {
            ring.resize(vertices(rng));
            for (DPoint3d& p : ring) p = {double(coordinate(rng)), double(coordinate(rng)), 0};
            if (!all.empty()) all.push_back(disconnect());
            all.insert(all.end(), ring.begin(), ring.end());
        }
        for (int q = 0; q < 10; ++q) {
            const double x = coordinate(rng) + 0.5 * (q % 2), y = coordinate(rng);
            bool boundary = false;
            int winding = 0;
            for (const Polygon& ring : rings) {
                boundary = boundary || onBoundary(ring, x, y);
                winding += windingNumber(ring, x, y);
            }
            if (boundary) continue;
            const int expected = winding % 2 != 0 ? 1 : -1;
            ASSERT_EQ(parity(x, y, all), expected)
                << "trial " << trial << " query " << x << "," << y;
            inside += expected == 1;
            ++queries;
        }
    }
    EXPECT_GT(inside, queries / 10);
}
