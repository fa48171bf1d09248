#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "data_layer/domain_layer_fixtures.h"

using namespace domain_test;
using Data::Domain::DomainShpDataLayer;
using Norvane::Support::FieldValue;
using Relation = SpatialFilterRelationType;

namespace {

constexpr int kNode = TypeId(NetworkElementType::Node);
constexpr int kJunction = TypeId(NetworkElementType::Junction);
constexpr int kPipe = TypeId(NetworkElementType::Pipe);

std::vector<std::int32_t> walk(IDataLayer& layer, const std::string& field = "ElementID") {
    std::vector<std::int32_t> ids;
    while (layer.MoveNext()) ids.push_back(layer.GetInt32Value(field));
    return ids;
}

// The ID the nearest filter answers for the probe; 0 when it finds nothing.
std::int32_t nearestTo(IDataLayer& layer, IDataLayer& probe, SpatialFilterContext context = {}) {
    context.RelationType = Relation::Nearest;
    context.ReferencedLayer = &probe;
    layer.BeginFilter(context, true);
    const std::int32_t found = layer.MoveNext() ? layer.GetInt32Value("any name") : 0;
    EXPECT_FALSE(layer.MoveNext());  // one feature at most
    layer.EndFilter();
    return found;
}

[[noreturn]] void hostFails() { throw std::runtime_error("host failure"); }

PointArray box(double x0, double y0, double x1, double y1) { return {{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}, {x0, y0}}; }

}  // namespace

TEST(DomainLayer, DescribesItselfAndWalksItsElementsInTheDisplayUnit) {
    Town town;
    auto nodes = town.Layer({kNode});
    EXPECT_EQ(nodes->Name(), "Node\\All Elements");
    EXPECT_EQ(nodes->FeatureCount(), 5);
    EXPECT_EQ(walk(*nodes), (std::vector<std::int32_t>{town.j1, town.j2, town.j3, town.t1, town.r1}));
    nodes->Reset();
    ASSERT_TRUE(nodes->MoveNext() && nodes->MoveNext());
    EXPECT_EQ(nodes->GetObjectValue("Label"), FieldValue(std::string("J2")));
    EXPECT_EQ(nodes->GetGeometryShape(), GeometryObject(GeometryPoint{100, 0}));
    EXPECT_THROW(nodes->GetObjectValue("NoSuchField"), Norvane::Support::ArgumentException);

    // A selection set keeps the elements of the layer's types and their
    // sub-types, in the set's order.
    EXPECT_EQ(walk(*town.Layer({kNode}, town.north)), (std::vector<std::int32_t>{town.j3, town.t1}));
    auto northPipes = town.Layer({kPipe}, town.north);
    EXPECT_EQ(northPipes->Name(), "Pipe\\North");
    ASSERT_TRUE(northPipes->MoveNext());
    EXPECT_EQ(northPipes->GetDoubleValue("Diameter"), 150.0);
    ASSERT_TRUE(northPipes->MoveNext());
    EXPECT_EQ(northPipes->GetInt32Value("ElementID"), town.p3);
    EXPECT_NEAR(northPipes->GetFeatureLength(), 100 * std::sqrt(2.0), 1e-9);
    EXPECT_TRUE(std::isnan(northPipes->GetDoubleValue("Diameter")));  // P3 has none

    EXPECT_EQ(town.Layer({kJunction, kNode})->FeatureCount(), 5);  // an element met twice is walked once

    town.library.DisplayLengthUnit = Norvane::Support::LengthUnit::Foot;
    auto inFeet = town.Layer({kJunction});
    ASSERT_TRUE(inFeet->MoveNext() && inFeet->MoveNext());
    EXPECT_NEAR(inFeet->GetCentroid().X, 100 / 0.3048, 1e-9);
}

TEST(DomainLayer, NearestNodeYieldsOneFeatureAndNothingForPointsThatAreNotFinite) {
    Town town;
    auto nodes = town.Layer({kNode});
    auto probe = FeatureProbe::Point(90, 10);
    EXPECT_EQ(nearestTo(*nodes, probe), town.j2);
    probe.MoveTo({-60, 5});
    EXPECT_EQ(nearestTo(*nodes, probe), town.r1);
    auto polygon = FeatureProbe::Polygon(box(80, 80, 110, 110));
    EXPECT_EQ(nearestTo(*nodes, polygon), town.j3);  // from the polygon's centroid

    constexpr double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    for (const GeometryPoint bad : {GeometryPoint{nan, 0}, GeometryPoint{0, inf}, GeometryPoint::Empty()}) {
        probe.MoveTo(bad);
        EXPECT_EQ(nearestTo(*nodes, probe), 0);
    }

    // After the filter the layer walks its elements again.
    EXPECT_EQ(nodes->FeatureCount(), 5);
    EXPECT_EQ(walk(*nodes).size(), 5u);

    // One reservoir is the answer from anywhere, without a searcher.
    probe.MoveTo({1e9, -1e9});
    EXPECT_EQ(nearestTo(*town.Layer({TypeId(NetworkElementType::Reservoir)}), probe), town.r1);

    auto line = FeatureProbe::Polyline({{0, 0}, {1, 1}});
    EXPECT_THROW(nearestTo(*nodes, line), Norvane::Support::NotSupportedException);
}

TEST(DomainLayer, NearestPipeToPointsAndPolylinesLeavesOutRejectedPipes) {
    Town town;
    auto pipes = town.Layer({kPipe});
    auto probe = FeatureProbe::Point(30, 10);
    EXPECT_EQ(nearestTo(*pipes, probe), town.p1);
    probe.MoveTo({60, 140});
    EXPECT_EQ(nearestTo(*pipes, probe), town.p3);
    probe.MoveTo({1e5, 0});  // beyond ten times the extent of the pipes
    EXPECT_EQ(nearestTo(*pipes, probe), 0);
    auto crossing = FeatureProbe::Polyline({{90, 50}, {110, 50}});
    EXPECT_EQ(nearestTo(*pipes, crossing), town.p2);

    SpatialFilterContext noMains;
    noMains.IsValidID = [&](std::int32_t id) { return id != town.p1; };
    auto smallPipes = town.Layer({kPipe});
    probe.MoveTo({30, 10});
    EXPECT_EQ(nearestTo(*smallPipes, probe, noMains), town.p4);
    EXPECT_EQ(nearestTo(*smallPipes, crossing), town.p2);  // the index keeps its first rule
}

TEST(DomainLayer, NodesInsideAPolygonComeFromTheModel) {
    Town town;
    auto nodes = town.Layer({kNode});
    auto area = FeatureProbe::Polygon(box(-10, -10, 110, 50));
    SpatialFilterContext context = Against(area, Relation::PointInPolygon);
    context.ListRangeTreePointValueField = std::vector<std::string>{"NodeID"};
    nodes->BeginFilter(context, true);
    EXPECT_EQ(nodes->FeatureCount(), 2);
    ASSERT_TRUE(nodes->MoveNext());
    EXPECT_EQ(nodes->GetInt32Value("NodeID"), town.j1);
    EXPECT_EQ(nodes->GetGeometryShape(), GeometryObject(GeometryPoint{0, 0}));
    EXPECT_EQ(nodes->GetObjectValue("Label"), FieldValue(std::string("J1")));
    ASSERT_TRUE(nodes->MoveNext());
    EXPECT_EQ(nodes->GetInt32Value("NodeID"), town.j2);
    EXPECT_FALSE(nodes->MoveNext());
    nodes->EndFilter();

    area.MoveTo(PointArrayList{box(-150, 50, 10, 150)});
    nodes->BeginFilter(context, true);
    EXPECT_EQ(walk(*nodes, "NodeID"), (std::vector<std::int32_t>{town.t1}));
    nodes->EndFilter();
    EXPECT_EQ(walk(*nodes).size(), 5u);

    nodes->BeginFilter(context, true);
    nodes->Dispose();  // in the middle of the filter: the layer walks its elements again
    EXPECT_EQ(walk(*nodes).size(), 5u);
}

TEST(DomainLayer, OtherFiltersRunOnATemporaryCopyThatLeavesNoFileBehind) {
    TemporaryFolder temporary;
    Town town;
    auto nodes = town.Layer({kNode});
    auto area = FeatureProbe::Polygon(box(-10, -10, 110, 50));
    nodes->BeginFilter(Against(area, Relation::PointInPolygon), false);  // no field list: record by record
    EXPECT_TRUE(temporary.IsEmpty());  // the copy is read into memory and removed at once
    EXPECT_EQ(walk(*nodes), (std::vector<std::int32_t>{town.j1, town.j2}));
    nodes->Reset();
    ASSERT_TRUE(nodes->MoveNext());
    EXPECT_EQ(nodes->GetObjectValue("Label"), FieldValue(std::string("J1")));
    nodes->EndFilter();
    // The unfiltered walk now reads the copy: the same elements in order.
    EXPECT_EQ(walk(*nodes), (std::vector<std::int32_t>{town.j1, town.j2, town.j3, town.t1, town.r1}));
    auto probe = FeatureProbe::Point(95, 95);
    EXPECT_EQ(nearestTo(*nodes, probe), town.j3);
    nodes->Dispose();
    EXPECT_TRUE(temporary.IsEmpty());

    // Nothing is left either when the process ends through an exception
    // while a layer with a copy is alive.
    GTEST_FLAG_SET(death_test_style, "fast");  // the child runs the statement alone
    EXPECT_DEATH(
        {
            auto layer = town.Layer({kPipe});
            layer->BeginFilter(Against(area, Relation::PolygonsIntersect), true);
            (void)layer.release();
            []() noexcept { hostFails(); }();
        },
        "host failure");
    EXPECT_TRUE(temporary.IsEmpty());
}
