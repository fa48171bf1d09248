#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "native_test_support.h"

using namespace native_test;
using Korvex::CStandAloneDataTools;
using Korvex::MaxVerticesCountExceededException;

namespace {

double Area(const NativeGeometry* g) {
    return CStandAloneDataTools::GetSignedPolygonArea(g, true, true);
}

int RingCount(const NativeGeometry* g) {
    int rings = 0;
    for (; g != nullptr; g = g->next)
        ++rings;
    return rings;
}

void ExpectEveryRingClosed(const NativeGeometry* g) {
    for (; g != nullptr; g = g->next) {
        ASSERT_GE(g->count, 4);
        EXPECT_EQ(g->points[0].x, g->points[g->count - 1].x);
        EXPECT_EQ(g->points[0].y, g->points[g->count - 1].y);
    }
}

bool IsOneEmptyRing(const NativeGeometry* g) {
    return g != nullptr && g->next == nullptr && g->count == 0 && g->points == nullptr;
}

// A counterclockwise regular polygon of n vertices around (cx, cy).
NativeGeometry* Circle(double cx, double cy, double radius, int n) {
    std::vector<NativeGeometryPoint> points;
    for (int i = 0; i < n; ++i) {
        const double t = 2.0 * M_PI * i / n;
        points.push_back({cx + radius * std::cos(t), cy + radius * std::sin(t), 0.0});
    }
    return new NativeGeometry(points.data(), n);
}

}  // namespace

TEST(PolygonBooleans, OverlappingSquaresGiveClosedRingsOfTheRightArea) {
    Chain a = Link({Square(0, 0, 2)});
    Chain b = Link({Square(1, 1, 2)});
    Chain both = Chain(CStandAloneDataTools::GetPolygonIntersection(a.get(), b.get()));
    Chain either = Chain(CStandAloneDataTools::GetPolygonUnion(a.get(), b.get()));
    Chain aOnly = Chain(CStandAloneDataTools::GetPolygonDifference(a.get(), b.get()));
    EXPECT_NEAR(Area(both.get()), 1.0, 1e-12);
    EXPECT_NEAR(Area(either.get()), 7.0, 1e-12);
    EXPECT_NEAR(Area(aOnly.get()), 3.0, 1e-12);
    ExpectEveryRingClosed(both.get());
    ExpectEveryRingClosed(either.get());
    ExpectEveryRingClosed(aOnly.get());
}

TEST(PolygonBooleans, DisjointSquaresIntersectInOneEmptyRingAndUniteInBoth) {
    Chain a = Link({Square(0, 0, 1)});
    Chain b = Link({Square(5, 0, 1)});
    Chain both = Chain(CStandAloneDataTools::GetPolygonIntersection(a.get(), b.get()));
    EXPECT_TRUE(IsOneEmptyRing(both.get()));
    Chain either = Chain(CStandAloneDataTools::GetPolygonUnion(a.get(), b.get()));
    EXPECT_EQ(RingCount(either.get()), 2);
    EXPECT_NEAR(Area(either.get()), 2.0, 1e-12);
    ExpectEveryRingClosed(either.get());
}

TEST(PolygonBooleans, HoleSurvivesAndDegenerateRingsAreIgnored) {
    // A square with a hole, plus a 2-point ring and an empty ring.
    Chain a = Link({Square(0, 0, 4), Square(1, 1, 2, true), Ring({{9, 9}, {9, 10}}), Ring({})});
    Chain b = Link({Square(0, 0, 4)});
    Chain both = Chain(CStandAloneDataTools::GetPolygonIntersection(a.get(), b.get()));
    EXPECT_NEAR(Area(both.get()), 12.0, 1e-12);
    ExpectEveryRingClosed(both.get());
}

TEST(PolygonBooleans, OversizedOperandIsThinnedForIntersectionButEmptyForUnion) {
    Chain circle = Link({Circle(0, 0, 10, 6000)});
    Chain square = Link({Square(0, 0, 20)});
    Chain quarter = Chain(CStandAloneDataTools::GetPolygonIntersection(circle.get(), square.get()));
    EXPECT_NEAR(Area(quarter.get()), M_PI * 100 / 4, 0.01);
    ExpectEveryRingClosed(quarter.get());

    Chain either = Chain(CStandAloneDataTools::GetPolygonUnion(circle.get(), square.get()));
    EXPECT_NEAR(Area(either.get()), 400.0, 1e-9);  // only the square
}

TEST(PolygonBooleans, VertexLimitErrorWhenThinningCannotHelp) {
    // Every point of the first ring coincides: the thinning distance is 0.
    std::vector<NativeGeometryPoint> same(6000, {1.0, 1.0, 0.0});
    Chain stuck = Link({new NativeGeometry(same.data(), 6000)});
    Chain square = Link({Square(0, 0, 2)});
    EXPECT_THROW(CStandAloneDataTools::GetPolygonIntersection(stuck.get(), square.get()),
                 MaxVerticesCountExceededException);

    // 3000 triangles keep their starts: 3000 points and 2999 separators.
    NativeGeometry* first = nullptr;
    NativeGeometry** link = &first;
    for (int i = 0; i < 3000; ++i) {
        *link = Ring({{i * 3.0, 0}, {i * 3.0 + 1, 0}, {i * 3.0, 1}});
        link = &(*link)->next;
    }
    Chain manyRings(first);
    try {
        delete CStandAloneDataTools::GetPolygonIntersection(square.get(), manyRings.get());
        FAIL() << "expected the vertex-limit error";
    } catch (const MaxVerticesCountExceededException& e) {
        EXPECT_STREQ(e.TextKey(), "zor.error.ComputeVerticesLimitExceeded");
    }
}

TEST(PolygonBooleans, HostileOperandsGiveResultsNotCrashes) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    Chain square = Link({Square(0, 0, 2)});
    Chain hostile = Link({Ring({{0, 0}, {nan, 1}, {1, inf}, {2, 2}}), Ring({{1, 1}}), Ring({})});
    for (auto op : {CStandAloneDataTools::GetPolygonIntersection, CStandAloneDataTools::GetPolygonUnion,
                    CStandAloneDataTools::GetPolygonDifference}) {
        Chain r1 = Chain(op(square.get(), hostile.get()));
        Chain r2 = Chain(op(hostile.get(), square.get()));
        Chain r3 = Chain(op(nullptr, nullptr));
        EXPECT_TRUE(IsOneEmptyRing(r3.get()));
    }
}

TEST(GetPolygonFromPolyline, ClosesByChordWhenItClearsTheRing) {
    Chain polyline = Link({Ring({{0, 0}, {5, 5}, {10, 0}})});
    Chain farSquare = Link({Square(100, 100, 1)});
    Chain closed = Chain(CStandAloneDataTools::GetPolygonFromPolyline(polyline.get(), farSquare.get()));
    ASSERT_EQ(closed->count, 4);
    EXPECT_EQ(closed->points[3].x, 0.0);
    EXPECT_EQ(closed->points[1].y, 5.0);
}

TEST(GetPolygonFromPolyline, WalksThePolygonWhenTheChordCrossesIt) {
    // A cut straight up through a square closes over the square's right side.
    Chain cut = Link({Ring({{5, -1}, {5, 11}})});
    Chain square = Link({Ring({{0, 0}, {10, 0}, {10, 10}, {0, 10}})});
    Chain piece = Chain(CStandAloneDataTools::GetPolygonFromPolyline(cut.get(), square.get()));
    const std::vector<std::pair<double, double>> expected{{5, -1}, {5, 11}, {10, 10}, {10, 0}, {5, -1}};
    ASSERT_EQ(piece->count, static_cast<int>(expected.size()));
    for (int i = 0; i < piece->count; ++i) {
        EXPECT_EQ(piece->points[i].x, expected[static_cast<std::size_t>(i)].first) << i;
        EXPECT_EQ(piece->points[i].y, expected[static_cast<std::size_t>(i)].second) << i;
    }
    // The piece cuts the right part out of the square.
    Chain right = Chain(CStandAloneDataTools::GetPolygonIntersection(square.get(), piece.get()));
    EXPECT_NEAR(Area(right.get()), 50.0, 1e-9);
}

TEST(GetPolygonFromPolyline, DegenerateInputsEndTheWalk) {
    Chain onePoint = Link({Ring({{1, 1}})});
    Chain square = Link({Square(0, 0, 10)});
    EXPECT_TRUE(IsOneEmptyRing(
        Chain(CStandAloneDataTools::GetPolygonFromPolyline(onePoint.get(), square.get())).get()));
    // Every candidate coincides with the current point: the walk stops.
    Chain stuck = Link({Ring({{1, 1}, {1, 1}})});
    Chain samePoint = Link({Ring({{1, 1}}), Ring({{1, 1}})});
    Chain closed = Chain(CStandAloneDataTools::GetPolygonFromPolyline(stuck.get(), samePoint.get()));
    EXPECT_EQ(closed->count, 2);
}

TEST(GetPolygonFromPolyline, WalkStopsWhenTheBufferIsFull) {
    // A zigzag of 4999 points across a square: the first step fills the last
    // slot of the buffer, and that point is not kept.
    std::vector<NativeGeometryPoint> zigzag;
    for (int i = 0; i < 4999; ++i)
        zigzag.push_back({-1.0 + 12.0 * i / 4998.0, (i % 2 == 0) ? -1.0 : 11.0, 0.0});
    zigzag.back().y = 11.0;  // the chord crosses the square diagonally
    Chain polyline = Link({new NativeGeometry(zigzag.data(), 4999)});
    Chain square = Link({Square(0, 0, 10)});
    Chain piece = Chain(CStandAloneDataTools::GetPolygonFromPolyline(polyline.get(), square.get()));
    ASSERT_EQ(piece->count, 4999);
    EXPECT_EQ(piece->points[4998].x, zigzag.back().x);
}
