#include <gtest/gtest.h>

#include <random>
#include <string>

#include "data/data.h"
#include "host/host.h"
#include "host/registry/registry_store.h"
#include "host/shapefile/shapefile_test_support.h"
#include "native/native.h"

using namespace Norvane::Allotrix::Calculations;
using Data::StandardDataTools;
using Data::Shapefile::NShpDataLayer;
using Norvane::Domain::DomainElementShapeType;
using Norvane::Support::FieldDataType;
using Norvane::Support::FieldValue;
using Norvane::Support::GeometryPoint;
using Norvane::Support::PointArray;
using Norvane::Support::PointArrayList;

namespace {

using NoRegistry = Norvane::Support::EmptyRegistryStore;

struct Tools {
    AllotrixLibrary library;
    NoRegistry registry;
    StandardDataTools tools{library, registry};
};

PointArray square(double x, double y, double side) {
    return {{x, y}, {x, y + side}, {x + side, y + side}, {x + side, y}, {x, y}};
}

// Creates a polygon layer of the rings at `path` through the layer API.
std::unique_ptr<NShpDataLayer> polygonLayer(StandardDataTools& tools, const std::string& path,
                                            const std::vector<PointArray>& rings) {
    tools.CreateLayer(path, DomainElementShapeType::Polygon, nullptr);
    auto layer = std::make_unique<NShpDataLayer>();
    layer->Open(path);
    layer->BeginUpdate();
    for (std::size_t i = 0; i < rings.size(); ++i) layer->AddNew(rings[i], {{"Id", std::int32_t(i)}});
    layer->EndUpdate();
    layer->Open(path);
    return layer;
}

}  // namespace

TEST(ResultShapefile, CreatedFilledAndReadBackByUsOgrinfoAndPyshp) {
    shapefile_test::ScratchFolder folder;
    Tools t;
    const std::string path = folder.File("connectors.shp");
    t.tools.CreateLayer(path, DomainElementShapeType::Point, nullptr);
    NShpDataLayer layer;
    layer.Open(path);
    layer.CreateField("NODE", FieldDataType::Text);
    layer.CreateField("DEMAND", FieldDataType::Real);
    layer.CreateField("METER", FieldDataType::Integer);
    EXPECT_THROW(layer.CreateField("BAD", static_cast<FieldDataType>(9)), Norvane::Support::IndexOutOfRangeException);
    layer.BeginUpdate();
    for (int i = 0; i < 3; ++i)
        layer.AddNew(GeometryPoint{1000.5 + i, 0.0 - 20.25 * i},
                     {{"NODE", std::string(i == 1 ? "Lähde" : "J" + std::to_string(i))},
                      {"DEMAND", 0.5 * i},
                      {"METER", std::int32_t(100 + i)}});
    layer.EndUpdate();

    NShpDataLayer back;
    back.Open(path);
    ASSERT_EQ(back.FeatureCount(), 3);
    ASSERT_TRUE(back.MoveNext());
    ASSERT_TRUE(back.MoveNext());
    EXPECT_EQ(back.GetObjectValue("NODE"), FieldValue(std::string("Lähde")));
    EXPECT_EQ(back.GetInt32Value("METER"), 101);
    EXPECT_EQ(back.GetDoubleValue("DEMAND"), 0.5);
    EXPECT_EQ(back.GetCentroid(), (GeometryPoint{1001.5, -20.25}));

    if (shapefile_test::HaveOgrinfo()) {
        const auto ogr = shapefile_test::Output("ogrinfo -q -al " + path);
        ASSERT_TRUE(ogr);
        EXPECT_NE(ogr->find("NODE (String) = Lähde"), std::string::npos) << *ogr;
        EXPECT_NE(ogr->find("METER (Integer) = 102"), std::string::npos) << *ogr;
        EXPECT_NE(ogr->find("POINT (1002.5 -40.5)"), std::string::npos) << *ogr;
    }
    if (const auto python = shapefile_test::PyshpPython()) {
        const auto records = shapefile_test::Output(
            *python + " -c \"import shapefile; r = shapefile.Reader('" + path +
            "'); print([(s.points[0], list(rec)[2:]) for s, rec in zip(r.shapes(), r.records())])\"");
        ASSERT_TRUE(records);
        EXPECT_EQ(*records, "[([1000.5, 0.0], ['J0', 0.0, 100]), ([1001.5, -20.25], ['Lähde', 0.5, 101]), "
                            "([1002.5, -40.5], ['J2', 1.0, 102])]\n");
    }
}

TEST(ResultShapefile, NativeGeometryIsWrittenOnlyWhenEveryRingHasThreePoints) {
    shapefile_test::ScratchFolder folder;
    Tools t;
    const std::string path = folder.File("areas.shp");
    auto layer = polygonLayer(t.tools, path, {square(0, 0, 10), square(20, 0, 10)});
    layer->BeginUpdate();
    const std::intptr_t good = Data::MapObjectsLT::MapObjectsLTDataTools::GetGeometryNative(
        PointArrayList{square(0, 0, 4), square(1, 1, 1)});
    const std::intptr_t bad = Data::MapObjectsLT::MapObjectsLTDataTools::GetGeometryNative(
        PointArrayList{square(0, 0, 4), {{1, 1}, {2, 2}}});
    ASSERT_TRUE(layer->MoveNext());
    layer->SetGeometryNative(good);
    ASSERT_TRUE(layer->MoveNext());
    layer->SetGeometryNative(bad);
    layer->EndUpdate();
    Data::MapObjectsLT::MapObjectsLTDataTools::FreeGeometryStatic(good);
    Data::MapObjectsLT::MapObjectsLTDataTools::FreeGeometryStatic(bad);
    layer->Open(path);
    ASSERT_TRUE(layer->MoveNext());
    EXPECT_EQ(std::get<PointArrayList>(layer->GetGeometryShape()).size(), 2u);
    ASSERT_TRUE(layer->MoveNext());
    EXPECT_EQ(std::get<PointArrayList>(layer->GetGeometryShape()), PointArrayList{square(20, 0, 10)});
}

// The overlap filter reads only the records whose box meets the filter's, and
// must match what testing every record gives, boxes that only touch included.
TEST(ResultShapefile, OverlapFilterEqualsTestingEveryRecord) {
    shapefile_test::ScratchFolder folder;
    Tools t;
    std::mt19937 random(11);
    std::uniform_int_distribution<int> corner(0, 40), side(1, 6);
    std::vector<PointArray> rings(300);
    for (auto& ring : rings) ring = square(corner(random), corner(random), side(random));
    auto layer = polygonLayer(t.tools, folder.File("parcels.shp"), rings);
    auto reference = polygonLayer(t.tools, folder.File("zones.shp"), {square(10, 10, 5), square(30, 20, 1)});
    while (reference->MoveNext()) {
        SpatialFilterContext overlap;
        overlap.RelationType = SpatialFilterRelationType::PolygonsIntersect;
        overlap.ReferencedLayer = reference.get();
        layer->BeginFilter(overlap, false);
        std::vector<int> found;
        while (layer->MoveNext()) {
            found.push_back(layer->GetInt32Value("Id"));
            EXPECT_EQ(layer->GetIntersectionAreaWith(*reference), reference->GetIntersectionAreaWith(*layer));
        }
        layer->EndFilter();

        std::vector<int> expected;
        const std::unique_ptr<Korvex::NativeGeometry> zone(Korvex::FromHandle(reference->GetGeometryShapeNative()));
        for (std::size_t i = 0; i < rings.size(); ++i) {
            const std::unique_ptr<Korvex::NativeGeometry> parcel(Korvex::FromHandle(
                Data::MapObjectsLT::MapObjectsLTDataTools::GetGeometryNative(rings[i])));
            const std::unique_ptr<Korvex::NativeGeometry> common(
                Korvex::CStandAloneDataTools::GetPolygonIntersection(parcel.get(), zone.get()));
            if (common->count > 0) expected.push_back(static_cast<int>(i));
        }
        EXPECT_EQ(found, expected);
        EXPECT_FALSE(found.empty());
    }
}
