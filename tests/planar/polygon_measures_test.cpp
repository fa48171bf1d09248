#include "polygon_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Korvex;
using namespace planar_test;

namespace {

struct Measures {
    bool formed;
    DPoint3d centroid, normal;
    double area, perimeter, spread;
};

Measures measure(const Polygon& p) {
    Measures m{};
    m.formed = tgxPolygon_centroidAreaPerimeter(p.data(), count(p), &m.centroid, &m.normal,
                                                &m.area, &m.perimeter, &m.spread);
    return m;
}

void expectPoint(const DPoint3d& actual, double x, double y, double z, double tol = 1e-12) {
    EXPECT_NEAR(actual.x, x, tol);
    EXPECT_NEAR(actual.y, y, tol);
    EXPECT_NEAR(actual.z, z, tol);
}

}  // namespace

TEST(PolygonNormalAndArea, OutputContract) {
    DPoint3d normal{9, 9, 9}, origin{9, 9, 9};
    EXPECT_EQ(tgxPolygon_normalAndArea(&normal, &origin, nullptr, 4), 0.0);
    expectPoint(normal, 9, 9, 9, 0);  // a null array writes nothing
    const Polygon square = rectangle(2, 3, 4, 5);
    EXPECT_EQ(tgxPolygon_normalAndArea(&normal, &origin, square.data(), 2), 0.0);
    expectPoint(normal, 0, 0, 0, 0);
    expectPoint(origin, 2, 3, 0, 0);
    EXPECT_EQ(tgxPolygon_normalAndArea(&normal, nullptr, reversed(square).data(), 4), 4.0);
    expectPoint(normal, 0, 0, -1, 0);
    EXPECT_EQ(tgxPolygon_normalAndArea(nullptr, nullptr, square.data(), 4), 4.0);
}

TEST(PolygonNormalAndArea, TrianglesInSpaceIncludingSlivers) {
    const Polygon vertical{{0, 0, 0}, {0, 2, 0}, {0, 0, 2}};
    DPoint3d normal;
    EXPECT_DOUBLE_EQ(tgxPolygon_normalAndArea(&normal, nullptr, vertical.data(), 3), 2.0);
    expectPoint(normal, 1, 0, 0);
    // Every corner choice of a long thin triangle gives the same unit normal.
    const Polygon sliver{{0, 0, 0}, {1000, 0, 0}, {500, 0.001, 0}};
    for (int shift = 0; shift < 3; ++shift) {
        const Polygon rotated{sliver[shift], sliver[(shift + 1) % 3], sliver[(shift + 2) % 3]};
        EXPECT_GT(tgxPolygon_normalAndArea(&normal, nullptr, rotated.data(), 3), 0.0);
        expectPoint(normal, 0, 0, 1);
    }
    // Collinear points have no normal.
    const Polygon collinear{{0, 0, 0}, {1, 1, 1}, {2, 2, 2}};
    EXPECT_EQ(tgxPolygon_normalAndArea(&normal, nullptr, collinear.data(), 3), 0.0);
    expectPoint(normal, 0, 0, 0, 0);
}

TEST(PolygonCentroid, UnitSquareEitherOrientation) {
    const Measures ccw = measure(rectangle(0, 0, 1, 1));
    EXPECT_TRUE(ccw.formed);
    expectPoint(ccw.centroid, 0.5, 0.5, 0);
    expectPoint(ccw.normal, 0, 0, 1);
    EXPECT_DOUBLE_EQ(ccw.area, 1);
    EXPECT_DOUBLE_EQ(ccw.perimeter, 4);
    EXPECT_EQ(ccw.spread, 0);
    const Measures cw = measure(reversed(rectangle(0, 0, 1, 1)));
    expectPoint(cw.normal, 0, 0, -1);
    EXPECT_DOUBLE_EQ(cw.area, 1);
    expectPoint(cw.centroid, 0.5, 0.5, 0);
    // A repeated first point changes nothing.
    Polygon closed = rectangle(0, 0, 1, 1);
    closed.push_back(closed[0]);
    const Measures c = measure(closed);
    EXPECT_DOUBLE_EQ(c.perimeter, 4);
    EXPECT_DOUBLE_EQ(c.area, 1);
}

TEST(PolygonCentroid, HoleMovesTheCentroidAndAddsPerimeter) {
    const Polygon hole{{0.2, 0.2, 0}, {0.2, 1.2, 0}, {1.2, 1.2, 0}, {1.2, 0.2, 0}};
    const Measures m = measure(joinRings({rectangle(0, 0, 2, 2), hole}));
    EXPECT_TRUE(m.formed);
    EXPECT_NEAR(m.area, 3, 1e-12);
    EXPECT_NEAR(m.perimeter, 12, 1e-12);
    expectPoint(m.centroid, 1.1, 1.1, 0);
}

TEST(PolygonCentroid, ZeroAreaWritesZerosAndFails) {
    for (const Polygon& p : {Polygon{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}},
                             Polygon{{5, 5, 5}, {5, 5, 5}, {5, 5, 5}, {5, 5, 5}},
                             joinRings({rectangle(0, 0, 1, 1), reversed(rectangle(0, 0, 1, 1))}),
                             Polygon{}}) {
        Measures m{true, {9, 9, 9}, {9, 9, 9}, 9, 9, 9};
        m.formed = tgxPolygon_centroidAreaPerimeter(p.data(), count(p), &m.centroid, &m.normal,
                                                    &m.area, &m.perimeter, &m.spread);
        EXPECT_FALSE(m.formed);
        expectPoint(m.centroid, 0, 0, 0, 0);
        expectPoint(m.normal, 0, 0, 0, 0);
        EXPECT_EQ(m.area, 0);
        EXPECT_EQ(m.perimeter, 0);
        EXPECT_EQ(m.spread, 0);
    }
    EXPECT_FALSE(tgxPolygon_centroidAreaPerimeter(nullptr, 3, nullptr, nullptr, nullptr, nullptr,
                                                  nullptr));
}

TEST(PolygonCentroid, TiltedPolygonInSpace) {
    // The unit square tilted about the x axis so that it rises 1 in z per unit of y.
    const Polygon tilted{{0, 0, 0}, {1, 0, 0}, {1, 1, 1}, {0, 1, 1}};
    const Measures m = measure(tilted);
    EXPECT_TRUE(m.formed);
    EXPECT_NEAR(m.area, std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(m.perimeter, 2 + 2 * std::sqrt(2.0), 1e-12);
    expectPoint(m.centroid, 0.5, 0.5, 0.5);
    expectPoint(m.normal, 0, -std::sqrt(0.5), std::sqrt(0.5));
    EXPECT_NEAR(m.spread, 0, 1e-12);
    // Lifting one corner off the plane shows up as spread.
    Polygon warped = tilted;
    warped[2].z = 1.5;
    EXPECT_GT(measure(warped).spread, 0.1);
}
