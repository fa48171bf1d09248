#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "native_test_support.h"

using namespace native_test;
using Korvex::CStandAloneDataTools;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

NativeGeometry* Point(double x, double y) {
    return new NativeGeometry(x, y, 0.0);
}

}  // namespace

TEST(GetSignedPolygonArea, OrientationGivesSignAndRingsCombine) {
    Chain ccw = Link({Square(0, 0, 1)});
    Chain cw = Link({Square(0, 0, 1, true)});
    EXPECT_DOUBLE_EQ(CStandAloneDataTools::GetSignedPolygonArea(ccw.get()), 1.0);
    EXPECT_DOUBLE_EQ(CStandAloneDataTools::GetSignedPolygonArea(cw.get()), -1.0);

    Chain withHole = Link({Square(0, 0, 2), Square(0.5, 0.5, 1, true)});
    EXPECT_DOUBLE_EQ(CStandAloneDataTools::GetSignedPolygonArea(withHole.get(), true, true), 3.0);
    EXPECT_DOUBLE_EQ(CStandAloneDataTools::GetSignedPolygonArea(withHole.get(), false, true), 3.0);
    EXPECT_DOUBLE_EQ(CStandAloneDataTools::GetSignedPolygonArea(withHole.get(), false, false), 4.0);
    EXPECT_EQ(CStandAloneDataTools::GetSignedPolygonArea(nullptr, true, true), 0.0);
}

TEST(GetSignedPolygonArea, OversizedOperandCountsAsEmptyButRingsAloneStillSum) {
    // Two rings that fit alone but not together (2500 + 1 + 2500 points).
    Chain big = Link({PointsRecord(2500), PointsRecord(2500)});
    EXPECT_EQ(CStandAloneDataTools::GetSignedPolygonArea(big.get()), 0.0);
    const double firstAlone = CStandAloneDataTools::GetSignedPolygonArea(big.get(), false, false);
    EXPECT_NE(firstAlone, 0.0);
    EXPECT_DOUBLE_EQ(CStandAloneDataTools::GetSignedPolygonArea(big.get(), true, true),
                     2.0 * firstAlone);
}

TEST(IsPointInPolygon, BoundaryCountsAsInsideAndHolesExclude) {
    Chain polygon = Link({Square(0, 0, 4), Square(1, 1, 2, true)});
    Chain inside = Link({Point(0.5, 0.5)});
    Chain onEdge = Link({Point(4.0, 2.0)});
    Chain inHole = Link({Point(2.0, 2.0)});
    Chain outside = Link({Point(5.0, 2.0)});
    EXPECT_TRUE(CStandAloneDataTools::IsPointInPolygon(polygon.get(), inside.get()));
    EXPECT_TRUE(CStandAloneDataTools::IsPointInPolygon(polygon.get(), onEdge.get()));
    EXPECT_FALSE(CStandAloneDataTools::IsPointInPolygon(polygon.get(), inHole.get()));
    EXPECT_FALSE(CStandAloneDataTools::IsPointInPolygon(polygon.get(), outside.get()));

    Chain oversized = Link({PointsRecord(5000)});
    EXPECT_FALSE(CStandAloneDataTools::IsPointInPolygon(oversized.get(), inside.get()));
}

TEST(DoPolylinesIntersect, EndPointTouchCountsAndOnlyFirstRingsTakePart) {
    Chain a = Link({Ring({{0, 0}, {2, 0}})});
    Chain touching = Link({Ring({{2, 0}, {3, 5}})});
    Chain apart = Link({Ring({{2.5, 0}, {3, 5}}), Ring({{1, -1}, {1, 1}})});
    EXPECT_TRUE(CStandAloneDataTools::DoPolylinesIntersect(a.get(), touching.get()));
    EXPECT_FALSE(CStandAloneDataTools::DoPolylinesIntersect(a.get(), apart.get()));

    Chain onePoint = Link({Ring({{1, 0}})});
    EXPECT_FALSE(CStandAloneDataTools::DoPolylinesIntersect(onePoint.get(), a.get()));
    EXPECT_FALSE(CStandAloneDataTools::DoPolylinesIntersect(a.get(), onePoint.get()));
}

TEST(GetNearestPointOnPolyline, EarlierSegmentWinsATieAndMissesLeaveOutputs) {
    Chain corner = Link({Ring({{0, 0}, {10, 0}, {10, 10}})});
    const NativeGeometryPoint query{5, 5, 3};  // z is ignored
    NativeGeometryPoint nearest{};
    double distance = 0;
    ASSERT_TRUE(
        CStandAloneDataTools::GetNearestPointOnPolyline(corner.get(), &query, &nearest, &distance));
    EXPECT_EQ(nearest.x, 5.0);
    EXPECT_EQ(nearest.y, 0.0);
    EXPECT_DOUBLE_EQ(distance, 5.0);

    // Beyond both ends of the only segment: nothing found, outputs untouched.
    Chain segment = Link({Ring({{0, 0}, {1, 0}})});
    const NativeGeometryPoint beyond{3, 1, 0};
    NativeGeometryPoint untouched{7, 7, 7};
    double keep = -1;
    EXPECT_FALSE(
        CStandAloneDataTools::GetNearestPointOnPolyline(segment.get(), &beyond, &untouched, &keep));
    EXPECT_EQ(untouched.x, 7.0);
    EXPECT_EQ(keep, -1.0);

    Chain onePoint = Link({Ring({{0, 0}})});
    EXPECT_FALSE(
        CStandAloneDataTools::GetNearestPointOnPolyline(onePoint.get(), &query, &untouched, &keep));
}

TEST(GetPolygonCentroidAndArea, CentroidOrFallbacks) {
    Chain square = Link({Square(0, 0, 1)});
    NativeGeometryPoint centroid{-1, -1, -1};
    double area = -1;
    CStandAloneDataTools::GetPolygonCentroidAndArea(square.get(), &centroid, &area);
    EXPECT_DOUBLE_EQ(centroid.x, 0.5);
    EXPECT_DOUBLE_EQ(centroid.y, 0.5);
    EXPECT_DOUBLE_EQ(area, 1.0);

    Chain flat = Link({Ring({{3, 1}, {4, 1}, {5, 1}})});
    CStandAloneDataTools::GetPolygonCentroidAndArea(flat.get(), &centroid, &area);
    EXPECT_EQ(area, 0.0);
    EXPECT_EQ(centroid.x, 3.0);  // the first point

    Chain oversized = Link({PointsRecord(5000)});
    centroid = {-1, -1, -1};
    area = -1;
    CStandAloneDataTools::GetPolygonCentroidAndArea(oversized.get(), &centroid, &area);
    EXPECT_EQ(area, 0.0);
    EXPECT_EQ(centroid.x, -1.0);  // untouched
}

TEST(GetClosestDistanceSquaredBetweenPolygons, SeparatedSquaresAndEmptyOperand) {
    Chain a = Link({Square(0, 0, 1)});
    Chain b = Link({Square(3, 0, 1)});
    EXPECT_DOUBLE_EQ(CStandAloneDataTools::GetClosestDistanceSquaredBetweenPolygons(a.get(), b.get()),
                     4.0);
    Chain empty = Link({Ring({})});
    EXPECT_EQ(CStandAloneDataTools::GetClosestDistanceSquaredBetweenPolygons(a.get(), empty.get()),
              std::numeric_limits<double>::max());
}

TEST(NativeMeasures, HostileCoordinatesNeverCrash) {
    for (double bad : {kNaN, kInf, -kInf, std::numeric_limits<double>::max()}) {
        Chain polygon = Link({Ring({{0, 0}, {bad, 0}, {1, bad}, {0, 1}}), Ring({{bad, bad}}), Ring({})});
        Chain point = Link({Point(bad, 0.5)});
        const NativeGeometryPoint query{0.5, bad, 0};
        NativeGeometryPoint out{};
        double value = 0;
        CStandAloneDataTools::GetSignedPolygonArea(polygon.get());
        CStandAloneDataTools::GetSignedPolygonArea(polygon.get(), true, true);
        CStandAloneDataTools::IsPointInPolygon(polygon.get(), point.get());
        CStandAloneDataTools::DoPolylinesIntersect(polygon.get(), polygon.get());
        CStandAloneDataTools::GetNearestPointOnPolyline(polygon.get(), &query, &out, &value);
        CStandAloneDataTools::GetPolygonCentroidAndArea(polygon.get(), &out, &value);
        CStandAloneDataTools::GetClosestDistanceSquaredBetweenPolygons(polygon.get(), point.get());
    }
    CStandAloneDataTools::DisposePlexPolylineBuffer(nullptr);
    EXPECT_FALSE(CStandAloneDataTools::IsPointInPolygon(nullptr, nullptr));
}
