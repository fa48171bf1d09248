#include <gtest/gtest.h>

#include "data_layer/domain_layer_fixtures.h"

using namespace domain_test;
using Norvane::Support::ApplicationException;
using Norvane::Support::ArgumentException;
using Norvane::Support::InvalidOperationException;
using Relation = SpatialFilterRelationType;

namespace {

// Two junctions and a pipe between them, none with coordinates.
std::unique_ptr<DomainModel> modelWithoutCoordinates() {
    DomainModelBuilder builder(Norvane::Support::LengthUnit::Metre);
    const auto a = builder.AddNode(TypeId(NetworkElementType::Junction), "A");
    const auto b = builder.AddNode(TypeId(NetworkElementType::Junction), "B");
    builder.AddLink(TypeId(NetworkElementType::Pipe), "AB", a, b);
    return builder.Build();
}

}  // namespace

TEST(DomainLayerBadInput, PathsAndTypesTheLayerCannotServeAreClearErrors) {
    Town town;
    NoRegistry registry;
    Data::StandardDataTools tools(town.library, registry);

    // Labels that match no type: no layer exists, and the one opened anyway
    // has no elements and says why it cannot describe itself.
    EXPECT_FALSE(tools.LayerExists("Hydrant\\All Elements"));
    auto none = tools.OpenLayer("Hydrant\\All Elements");
    EXPECT_EQ(none->FeatureCount(), 0);
    EXPECT_FALSE(none->MoveNext());
    EXPECT_THROW(none->Name(), InvalidOperationException);
    auto probe = FeatureProbe::Point(0, 0);
    EXPECT_THROW(none->BeginFilter(Against(probe, Relation::Nearest), true), InvalidOperationException);

    EXPECT_THROW(tools.OpenLayer("Junction\\Pipe\\All Elements"), ArgumentException);  // points and polylines

    DomainModelBuilder builder(Norvane::Support::LengthUnit::Metre);
    builder.AddPolygon(builder.AddElementType("ZoneElement", "Zone", DomainElementShapeType::Polygon), "Z1",
                       {{0, 0}, {1, 0}, {0, 1}});
    auto zones = builder.Build();
    town.library.ActiveDomainDataSet = zones.get();
    try {
        tools.OpenLayer("zone\\All Elements");
        FAIL();
    } catch (const ArgumentException& error) {
        EXPECT_STREQ(error.what(), "The elements of type \"Zone\" are polygons, which a model-element layer does not serve.");
    }

    town.library.ActiveDomainDataSet = nullptr;
    EXPECT_FALSE(tools.LayerExists("Junction\\All Elements"));
    EXPECT_THROW(tools.OpenLayer("Junction\\All Elements"), InvalidOperationException);
}

TEST(DomainLayerBadInput, AModelWithoutCoordinatesCannotBeSearchedByPosition) {
    TemporaryFolder temporary;
    auto model = modelWithoutCoordinates();
    AllotrixLibrary library{model.get(), Norvane::Support::LengthUnit::Metre};
    auto probe = FeatureProbe::Point(0, 0);
    auto square = FeatureProbe::Polygon({{-1, -1}, {-1, 1}, {1, 1}, {1, -1}, {-1, -1}});
    for (const int type : {TypeId(NetworkElementType::Junction), TypeId(NetworkElementType::Pipe)}) {
        Data::Domain::DomainShpDataLayer layer(&library);
        layer.Open(*model, std::vector<int>{type}, 0);
        EXPECT_EQ(layer.FeatureCount(), type == TypeId(NetworkElementType::Pipe) ? 1 : 2);  // the walk needs none
        EXPECT_THROW(layer.BeginFilter(Against(probe, Relation::Nearest), true), ApplicationException);
        SpatialFilterContext inside = Against(square, Relation::PointInPolygon);
        EXPECT_THROW(layer.BeginFilter(inside, true), ApplicationException);  // through the temporary copy
        inside.ListRangeTreePointValueField = std::vector<std::string>{"ID"};
        if (type == TypeId(NetworkElementType::Junction)) {
            EXPECT_THROW(layer.BeginFilter(inside, true), ApplicationException);
            EXPECT_THROW(layer.BeginFilter(inside, true), ApplicationException);  // nothing half-built kept
        }
    }
    EXPECT_TRUE(temporary.IsEmpty());
}
