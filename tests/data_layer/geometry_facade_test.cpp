#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <optional>
#include <string>

#include "data/mapobjectslt/map_objects_lt_data_tools.h"
#include "host/registry/registry_store.h"
#include "native/native.h"

using Norvane::Allotrix::Calculations::Data::MapObjectsLT::MapObjectsLTDataTools;
using Norvane::Support::GeometryPoint;
using Norvane::Support::PointArray;
using Norvane::Support::PointArrayList;

namespace {

// A registry holding at most the touch ratio, counting its reads.
class RatioStore : public Norvane::Support::RegistryStore {
public:
    explicit RatioStore(std::optional<std::uint32_t> ratio = std::nullopt) : m_ratio(ratio) {}
    std::optional<std::uint32_t> ReadDword(std::string_view key, std::string_view name) const override {
        ++reads;
        if (key != MapObjectsLTDataTools::kRatioKey || name != MapObjectsLTDataTools::kRatioValue) return std::nullopt;
        return m_ratio;
    }
    mutable int reads = 0;

private:
    std::optional<std::uint32_t> m_ratio;
};

PointArray square(double x, double y, double side, bool clockwise = false) {
    PointArray ring = {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}, {x, y}};
    if (clockwise) std::reverse(ring.begin(), ring.end());
    return ring;
}

struct Handle {
    std::intptr_t value;
    explicit Handle(std::intptr_t v) : value(v) {}
    Handle(const Handle&) = delete;
    ~Handle() { MapObjectsLTDataTools::FreeGeometryStatic(value); }
    operator std::intptr_t() const { return value; }
};

double area(std::intptr_t h) { return Korvex::CStandAloneDataTools::GetSignedPolygonArea(Korvex::FromHandle(h)); }

}  // namespace

TEST(GeometryFacade, ConversionsRoundTripAndPointsNeedExactlyOnePoint) {
    RatioStore store;
    MapObjectsLTDataTools tools(store);
    const Handle point(tools.GetPointNative({3.5, -2.0}));
    EXPECT_EQ(tools.GetPoint(point), (GeometryPoint{3.5, -2.0}));
    const Handle line(tools.GetPolylineNative({{0, 0}, {1, 1}}));
    EXPECT_TRUE(tools.GetPoint(line).IsEmpty());
    EXPECT_TRUE(tools.GetPoint(0).IsEmpty());
    EXPECT_EQ(tools.GetPolygon(line), (PointArray{{0, 0}, {1, 1}}));
    EXPECT_TRUE(tools.GetPolygon(0).empty());
    const Handle empty(tools.GetPolylineNative({}));
    EXPECT_EQ(Korvex::FromHandle(empty)->count, 0);

    const PointArrayList rings = {square(0, 0, 10), square(2, 2, 1, true)};
    const Handle chain(MapObjectsLTDataTools::GetGeometryNative(rings));
    EXPECT_EQ(MapObjectsLTDataTools::GetGeometryPolygon(chain), rings);
    EXPECT_EQ(MapObjectsLTDataTools::GetGeometryNative(std::monostate{}), 0);
}

TEST(GeometryFacade, RingsGroupHolesUnderTheOuterRingBeforeThem) {
    RatioStore store;
    MapObjectsLTDataTools tools(store);
    const PointArrayList rings = {square(0, 0, 10), square(2, 2, 1, true), square(20, 0, 10), square(22, 2, 1, true)};
    const Handle polygon(MapObjectsLTDataTools::GetGeometryNative(rings));
    EXPECT_EQ(tools.GetPolygonRingCount(polygon), 2);
    const auto groups = tools.GetRingsFor(polygon);
    ASSERT_EQ(groups.size(), 2u);
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const Handle group(groups[i]);
        EXPECT_EQ(MapObjectsLTDataTools::GetGeometryPolygon(group),
                  (PointArrayList{rings[2 * i], rings[2 * i + 1]}));
    }
    EXPECT_EQ(MapObjectsLTDataTools::GetGeometryPolygon(polygon), rings);  // input untouched

    const Handle oneWithTwoHoles(MapObjectsLTDataTools::GetGeometryNative(
        PointArrayList{square(0, 0, 10), square(2, 2, 1, true), square(5, 5, 1, true)}));
    EXPECT_EQ(tools.GetPolygonRingCount(oneWithTwoHoles), 1);

    // The ring holding the point, a hole included; else the first ring.
    const Handle inSecond(tools.GetPointNative({25, 5}));
    EXPECT_EQ(tools.GetPolygon(polygon, inSecond), rings[2]);
    const Handle inHole(tools.GetPointNative({2.5, 2.5}));
    EXPECT_EQ(tools.GetPolygon(polygon, inHole), rings[0]);
    const Handle outside(tools.GetPointNative({100, 100}));
    EXPECT_EQ(tools.GetPolygon(polygon, outside), rings[0]);
    const Handle notAPoint(tools.GetPolylineNative({{25, 5}, {26, 5}}));
    EXPECT_EQ(tools.GetPolygon(polygon, notAPoint), rings[0]);
}

TEST(GeometryFacade, BooleansOrientInputsInPlaceAndCutWithOpenPolylines) {
    RatioStore store;
    MapObjectsLTDataTools tools(store);
    const Handle a(tools.GetPolygonNative(square(0, 0, 10, true)));
    const Handle b(tools.GetPolygonNative(square(5, 0, 10, true)));
    const Handle united(tools.GetPolygonUnion(a, b));
    EXPECT_GT(area(a), 0.0);
    EXPECT_GT(area(b), 0.0);
    EXPECT_DOUBLE_EQ(area(united), 150.0);
    const Handle common(tools.GetPolygonIntersection(a, b));
    EXPECT_DOUBLE_EQ(area(common), 50.0);
    const Handle rest(tools.SubstractVerticesMatchingPolygon(a, b));
    EXPECT_DOUBLE_EQ(area(rest), 50.0);

    // An open polyline across the square cuts it: one side remains.
    const Handle cut(tools.GetPolylineNative({{-1, 4}, {11, 4}}));
    const Handle side(tools.GetPolygonIntersection(a, cut));
    const double sideArea = area(side);
    EXPECT_TRUE(std::fabs(sideArea - 40.0) < 1e-9 || std::fabs(sideArea - 60.0) < 1e-9) << sideArea;
}

TEST(GeometryFacade, TouchUsesTheRegistryRatioReadOncePerFacade) {
    const auto touch = [](RatioStore& store, double gap) {
        MapObjectsLTDataTools tools(store);
        const Handle a(tools.GetPolygonNative(square(0, 0, 1000)));
        const Handle b(tools.GetPolygonNative(square(1000 + gap, 0, 1000)));
        const bool first = tools.DoPolygonsTouch(a, b);
        EXPECT_EQ(first, tools.DoPolygonsTouch(a, b));
        return first;
    };
    RatioStore defaults;
    EXPECT_TRUE(touch(defaults, 1.0));
    EXPECT_FALSE(touch(defaults, 2.0));
    EXPECT_EQ(defaults.reads, 2);  // once per facade
    RatioStore strict(2000);
    EXPECT_FALSE(touch(strict, 1.0));
    RatioStore zero(0);
    EXPECT_TRUE(touch(zero, 1.0));  // a stored 0 selects the default

    RatioStore untouched;
    MapObjectsLTDataTools tools(untouched);
    const Handle a(tools.GetPolygonNative(square(0, 0, 10)));
    const Handle empty(tools.GetPolygonNative({}));
    EXPECT_FALSE(tools.DoPolygonsTouch(a, empty));
    EXPECT_FALSE(tools.DoPolygonsTouch(0, a));
    EXPECT_EQ(untouched.reads, 0);
    const Handle crossing(tools.GetPolygonNative(square(5, 5, 10)));
    EXPECT_TRUE(tools.DoPolygonsTouch(a, crossing));
}
