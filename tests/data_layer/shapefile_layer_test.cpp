#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <set>
#include <string>

#include "data/shapefile/n_shp_data_layer.h"
#include "host/support/exceptions.h"

using namespace Norvane::Allotrix::Calculations;
using Data::Shapefile::NShpDataLayer;
using Norvane::Support::FieldDataType;
using Norvane::Support::FieldValue;

namespace {

std::string fixture(const std::string& name) { return std::string(ALLOTRIX_TEST_DATA) + "/shapefiles/" + name; }

// A layer on the fixture, standing on record `record` (0-based).
std::unique_ptr<NShpDataLayer> openAt(const std::string& name, int record) {
    auto layer = std::make_unique<NShpDataLayer>();
    layer->Open(fixture(name));
    for (int i = 0; i <= record; ++i) EXPECT_TRUE(layer->MoveNext());
    return layer;
}

std::vector<int> walkInt32(IDataLayer& layer, const std::string& field) {
    std::vector<int> values;
    while (layer.MoveNext()) values.push_back(layer.GetInt32Value(field));
    return values;
}

// The mouth polygon (record 2) holds points 4 to 9.
const std::vector<int> kPointsInMouth = {4, 5, 6, 7, 8, 9};

}  // namespace

TEST(ShapefileLayer, ValuesFollowTheirSentinelRulesAndTypes) {
    auto points = openAt("Point.shp", 1);
    EXPECT_EQ(points->GetInt32Value("Name"), INT_MIN);
    EXPECT_TRUE(std::isnan(points->GetDoubleValue("Name")));
    EXPECT_EQ(points->GetInt32Value("IValue"), 2);
    EXPECT_EQ(points->GetDoubleValue("IValue"), 2.0);
    EXPECT_DOUBLE_EQ(points->GetDoubleValue("FValue"), 2.2);
    EXPECT_EQ(points->GetObjectValue("Name"), FieldValue(std::string("Two")));
    EXPECT_EQ(points->GetFieldDataType("Name"), FieldDataType::Text);
    EXPECT_EQ(points->GetFieldDataType("IValue"), FieldDataType::Integer);
    EXPECT_EQ(points->GetFieldDataType("FValue"), FieldDataType::Real);
    EXPECT_EQ(points->GetFieldDataType("ElementID"), FieldDataType::Integer);  // whatever the file holds
    EXPECT_THROW(points->GetFieldDataType("Missing"), Norvane::Support::ArgumentException);
    EXPECT_FALSE(points->FieldExists("Missing"));
    EXPECT_EQ(points->GetFieldNames(), (std::vector<std::string>{"Name", "IValue", "FValue"}));
    EXPECT_EQ(points->FeatureCount(), 9);
    EXPECT_EQ(points->Name(), fixture("Point.shp"));
    EXPECT_EQ(points->SpatialReferenceName(), "ReferenceName");

    const auto unique = points->GetUniqueValues("IValue");
    EXPECT_EQ(std::set<FieldValue>(unique.begin(), unique.end()).size(), 9u);
    EXPECT_EQ(points->GetInt32Value("IValue"), 2);  // the cursor stayed on record 2
    EXPECT_TRUE(points->MoveNext());
    EXPECT_EQ(points->GetInt32Value("IValue"), 3);

    try {
        NShpDataLayer missing;
        missing.Open(fixture("Nowhere.shp"));
        FAIL();
    } catch (const Norvane::Support::FileNotFoundException& e) {
        EXPECT_EQ(std::string(e.what()), "File not found: " + fixture("Nowhere.shp") + ".");
    }
}

TEST(ShapefileLayer, CachedFiltersReplayAndForwardOnlyFiltersCannotRestart) {
    auto mouth = openAt("Polygon.shp", 2);
    NShpDataLayer points;
    points.Open(fixture("Point.shp"));
    SpatialFilterContext inside;
    inside.RelationType = SpatialFilterRelationType::PointInPolygon;
    inside.ReferencedLayer = mouth.get();

    points.BeginFilter(inside, true);
    EXPECT_EQ(points.FeatureCount(), 6);  // walks once, caching the matches
    EXPECT_EQ(walkInt32(points, "IValue"), kPointsInMouth);
    EXPECT_THROW(points.MoveNext(), Norvane::Support::IndexOutOfRangeException);  // needs Reset
    points.Reset();
    EXPECT_EQ(walkInt32(points, "IValue"), kPointsInMouth);
    points.EndFilter();

    points.BeginFilter(inside, true);
    EXPECT_TRUE(points.MoveNext());
    EXPECT_THROW(points.Reset(), Norvane::Support::InvalidOperationException);
    points.EndFilter();

    points.BeginFilter(inside, false);
    EXPECT_EQ(walkInt32(points, "IValue"), kPointsInMouth);
    points.Reset();
    EXPECT_EQ(walkInt32(points, "IValue"), kPointsInMouth);
    points.EndFilter();
    EXPECT_EQ(points.FeatureCount(), 9);

    SpatialFilterContext nearest = inside;
    nearest.RelationType = SpatialFilterRelationType::Nearest;
    points.BeginFilter(nearest, false);
    EXPECT_THROW(points.MoveNext(), Norvane::Support::NotSupportedException);
    points.EndFilter();
}

TEST(ShapefileLayer, PointInPolygonModeWalksTheRowsOfThePointsInside) {
    auto polygons = openAt("Polygon.shp", 0);
    NShpDataLayer points;
    points.Open(fixture("Point.shp"));
    SpatialFilterContext context;
    context.RelationType = SpatialFilterRelationType::PointInPolygon;
    context.ReferencedLayer = polygons.get();
    context.ListRangeTreePointValueField = std::vector<std::string>{"IValue", "Name"};
    std::vector<std::multiset<int>> found;
    do {
        points.BeginFilter(context, true);
        const int count = points.FeatureCount();
        const auto values = walkInt32(points, "IValue");
        EXPECT_EQ(static_cast<int>(values.size()), count);
        found.emplace_back(values.begin(), values.end());
        points.EndFilter();
    } while (polygons->MoveNext());
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0], (std::multiset<int>{1}));  // the first ring (eye) of the first polygon
    EXPECT_EQ(found[1], (std::multiset<int>{3}));
    EXPECT_EQ(found[2], std::multiset<int>(kPointsInMouth.begin(), kPointsInMouth.end()));

    auto eyes = openAt("Polygon.shp", 0);
    context.ReferencedLayer = eyes.get();
    context.RingIndex = 1;
    points.BeginFilter(context, true);
    EXPECT_EQ(walkInt32(points, "Name"), (std::vector<int>{INT_MIN}));  // text: the sentinel
    points.EndFilter();
}

TEST(ShapefileLayer, IntersectionAreasOfPolygons) {
    auto eyes = openAt("Polygon.shp", 0);
    auto nose = openAt("Polygon.shp", 1);
    auto eyesAgain = openAt("Polygon.shp", 0);
    EXPECT_EQ(eyes->GetIntersectionAreaWith(*nose), 0.0);
    EXPECT_NEAR(eyes->GetIntersectionAreaWith(*eyesAgain), eyes->GetFeatureArea(), 1e-15);
    EXPECT_GT(eyes->GetFeatureArea(), 0.0);
    EXPECT_NEAR(eyes->GetIntersectionAreaWith(*eyesAgain, *eyesAgain), eyes->GetFeatureArea(), 1e-15);

    auto points = openAt("Point.shp", 0);
    EXPECT_EQ(points->GetFeatureArea(), 0.0);
    auto lines = openAt("Line.shp", 0);
    EXPECT_EQ(lines->GetFeatureArea(), 0.0);
    EXPECT_GT(lines->GetFeatureLength(), 0.0);
}
