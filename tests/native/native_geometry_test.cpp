#include <gtest/gtest.h>

#include <tuple>

#include "native_test_support.h"
#include "planar/planar.h"

using namespace native_test;
using Korvex::tgxDPoint3d_isDisconnect;

namespace {

// The filled length, with whether the geometry fitted.
std::pair<int, bool> Fill(const NativeGeometry* g, bool allRings = true) {
    Korvex::PointBuffer buffer;
    int count = -1;
    const bool fits = Tools::CopyToPointBuffer(buffer.data(), &count, g, allRings);
    return {count, fits};
}

NativeGeometry* Point(double x, double y) { return new NativeGeometry(x, y, 0.0); }

}  // namespace

TEST(NativeGeometry, ConstructorsCopyPointsAndTheFirstRecordOwnsTheChain) {
    const NativeGeometry empty(nullptr, 7);
    EXPECT_TRUE(empty.count == 0 && empty.points == nullptr);
    NativeGeometryPoint source[2] = {{1, 1, 0}, {2, 2, 0}};
    const NativeGeometry copy(source, 2);
    source[0].x = 99;
    EXPECT_EQ(copy.points[0].x, 1.0);  // a copy, not a view
    // A long chain is freed without recursion; the sanitizer build checks
    // that nothing leaks.
    auto* first = new NativeGeometry(0, 0, 0);
    NativeGeometry* last = first;
    for (int i = 0; i < 200000; ++i) last = last->next = new NativeGeometry(i, i, 0);
    delete first;
}

TEST(CopyToPointBuffer, HoldsAt4999PointsCountingOneDisconnectBetweenRings) {
    const std::pair<int, bool> none{0, false};
    EXPECT_EQ(Fill(Link({PointsRecord(4999)}).get()), std::make_pair(4999, true));
    EXPECT_EQ(Fill(Link({PointsRecord(5000)}).get()), none);
    const Chain tooMany = Link({PointsRecord(2500), PointsRecord(2499)});  // 2500 + 1 + 2499
    EXPECT_EQ(Fill(tooMany.get()), none);
    EXPECT_EQ(Fill(tooMany.get(), false), std::make_pair(2500, true));  // the first ring alone
    EXPECT_EQ(Fill(Link({PointsRecord(2500), PointsRecord(2498)}).get()),
              std::make_pair(4999, true));
    EXPECT_EQ(Fill(nullptr), std::make_pair(0, true));
    // Malformed records never fit.
    Chain negative = Link({Square(0, 0, 1)});
    negative->count = -3;
    EXPECT_EQ(Fill(negative.get()), none);
    negative->count = 4;
    NativeGeometry missingPoints(nullptr, 0);
    missingPoints.count = 12;
    EXPECT_EQ(Fill(&missingPoints), none);
    missingPoints.count = 0;
    // An empty ring keeps its separator.
    const Chain chain = Link({Square(0, 0, 1), Ring({}), Square(5, 5, 1)});
    Korvex::PointBuffer buffer;
    int count = 0;
    ASSERT_TRUE(Tools::CopyToPointBuffer(buffer.data(), &count, chain.get(), true));
    ASSERT_EQ(count, 4 + 1 + 0 + 1 + 4);
    EXPECT_TRUE(tgxDPoint3d_isDisconnect(&buffer[4]) && tgxDPoint3d_isDisconnect(&buffer[5]));
    EXPECT_TRUE(buffer[6].x == 5.0 && !tgxDPoint3d_isDisconnect(&buffer[count - 1]));
}

TEST(NativeMeasures, AreaCentroidPointInPolygonAndOversizedOperands) {
    const Chain withHole = Link({Square(0, 0, 2), Square(0.5, 0.5, 1, true)});
    EXPECT_DOUBLE_EQ(Tools::GetSignedPolygonArea(Link({Square(0, 0, 1, true)}).get()), -1.0);
    EXPECT_DOUBLE_EQ(Tools::GetSignedPolygonArea(withHole.get(), true, true), 3.0);
    EXPECT_DOUBLE_EQ(Tools::GetSignedPolygonArea(withHole.get(), false, true), 3.0);
    EXPECT_DOUBLE_EQ(Tools::GetSignedPolygonArea(withHole.get(), false, false), 4.0);
    EXPECT_EQ(Tools::GetSignedPolygonArea(nullptr, true, true), 0.0);
    // Two rings that fit alone but not together (2500 + 1 + 2500 points):
    // empty as one buffer, the sum of both when measured ring by ring.
    const Chain big = Link({PointsRecord(2500), PointsRecord(2500)});
    EXPECT_EQ(Tools::GetSignedPolygonArea(big.get()), 0.0);
    const double firstAlone = Tools::GetSignedPolygonArea(big.get(), false, false);
    EXPECT_NE(firstAlone, 0.0);
    EXPECT_DOUBLE_EQ(Tools::GetSignedPolygonArea(big.get(), true, true), 2.0 * firstAlone);

    // The boundary counts as inside, a hole as outside.
    const Chain polygon = Link({Square(0, 0, 4), Square(1, 1, 2, true)});
    for (const auto& [x, y, inside] :
         {std::tuple{0.5, 0.5, true}, {4.0, 2.0, true}, {2.0, 2.0, false}, {5.0, 2.0, false}}) {
        const Chain point(Point(x, y));
        EXPECT_EQ(Tools::IsPointInPolygon(polygon.get(), point.get()), inside) << x;
    }
    const Chain inside = Link({Point(0.5, 0.5)});
    EXPECT_FALSE(Tools::IsPointInPolygon(Link({PointsRecord(5000)}).get(), inside.get()));
    EXPECT_FALSE(Tools::IsPointInPolygon(nullptr, nullptr));

    NativeGeometryPoint centroid{-1, -1, -1};
    double area = -1;
    Tools::GetPolygonCentroidAndArea(Link({PointsRecord(5000)}).get(), &centroid, &area);
    EXPECT_TRUE(area == 0.0 && centroid.x == -1.0);  // oversized: untouched
    Tools::GetPolygonCentroidAndArea(Link({Square(0, 0, 1)}).get(), &centroid, &area);
    EXPECT_TRUE(centroid.x == 0.5 && centroid.y == 0.5 && area == 1.0);
    Tools::GetPolygonCentroidAndArea(Link({Ring({{3, 1}, {4, 1}, {5, 1}})}).get(), &centroid,
                                     &area);
    EXPECT_TRUE(area == 0.0 && centroid.x == 3.0);  // flat: the first point
}

TEST(NativeMeasures, PolylineClashNearestPointAndClosestDistance) {
    // Clashes count end points and only first rings.
    const Chain a = Link({Ring({{0, 0}, {2, 0}})}), onePoint = Link({Ring({{1, 0}})});
    EXPECT_TRUE(Tools::DoPolylinesIntersect(a.get(), Link({Ring({{2, 0}, {3, 5}})}).get()));
    EXPECT_FALSE(Tools::DoPolylinesIntersect(
        a.get(), Link({Ring({{2.5, 0}, {3, 5}}), Ring({{1, -1}, {1, 1}})}).get()));
    EXPECT_FALSE(Tools::DoPolylinesIntersect(onePoint.get(), a.get()) ||
                 Tools::DoPolylinesIntersect(a.get(), onePoint.get()));

    const NativeGeometryPoint query{5, 5, 3}, beyond{3, 1, 0};  // z is ignored
    NativeGeometryPoint nearest{7, 7, 7};
    double distance = -1;
    const auto nearestOn = [&](const Chain& polyline, const NativeGeometryPoint& at) {
        return Tools::GetNearestPointOnPolyline(polyline.get(), &at, &nearest, &distance);
    };
    // Beyond both ends of the only segment, or no segment: outputs untouched.
    EXPECT_FALSE(nearestOn(Link({Ring({{0, 0}, {1, 0}})}), beyond) ||
                 nearestOn(Link({Ring({{0, 0}})}), query));
    EXPECT_TRUE(nearest.x == 7.0 && distance == -1.0);
    // Both segments lie 5 away: the first one gives the foot.
    ASSERT_TRUE(nearestOn(Link({Ring({{0, 0}, {10, 0}, {10, 10}})}), query));
    EXPECT_TRUE(nearest.x == 5.0 && nearest.y == 0.0);
    EXPECT_DOUBLE_EQ(distance, 5.0);

    const Chain square = Link({Square(0, 0, 1)});
    const auto closest = [&](const Chain& other) {
        return Tools::GetClosestDistanceSquaredBetweenPolygons(square.get(), other.get());
    };
    EXPECT_DOUBLE_EQ(closest(Link({Square(3, 0, 1)})), 4.0);
    EXPECT_EQ(closest(Link({Ring({})})), std::numeric_limits<double>::max());
}

TEST(NativeMeasures, HostileCoordinatesNeverCrash) {
    for (double bad : {kNaN, kInf, -kInf, std::numeric_limits<double>::max()}) {
        const Chain polygon =
            Link({Ring({{0, 0}, {bad, 0}, {1, bad}, {0, 1}}), Ring({{bad, bad}}), Ring({})});
        const Chain point = Link({Point(bad, 0.5)});
        const NativeGeometryPoint query{0.5, bad, 0};
        NativeGeometryPoint out{};
        double value = 0;
        Tools::GetSignedPolygonArea(polygon.get());
        Tools::GetSignedPolygonArea(polygon.get(), true, true);
        Tools::IsPointInPolygon(polygon.get(), point.get());
        Tools::DoPolylinesIntersect(polygon.get(), polygon.get());
        Tools::GetNearestPointOnPolyline(polygon.get(), &query, &out, &value);
        Tools::GetPolygonCentroidAndArea(polygon.get(), &out, &value);
        Tools::GetClosestDistanceSquaredBetweenPolygons(polygon.get(), point.get());
    }
    Tools::DisposePlexPolylineBuffer(nullptr);
}
