// The shapefile layer as a host drives it, side by side with the fastest
// direct use of the engine and with the reference libraries, on the
// synthetic town written out as shapefiles:
//  - areas: walk the parcels, filter the service areas by overlap with each
//    parcel, and measure each overlap through the layer API; against the
//    native intersections of the same candidate pairs (boxes that meet) on
//    a kept classifier, and GEOS. Items are candidate pairs.
//  - points_in_polygons: the meters inside every service area through the
//    point-in-polygon mode; against GEOS prepared polygons over an STRtree
//    and a Boost.Geometry R-tree. Items are service areas.
//  - write: 100,000 meters with three fields through CreateLayer,
//    CreateField, BeginUpdate, AddNew and EndUpdate; against OGR writing the
//    same file. Items are records.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>

#include "scratch_folder.h"

#include "data/data.h"
#include "host/host.h"
#include "host/points_in_polygons_references.h"
#include "host/shapefile_references.h"
#include "native/area_references.h"
#include "town/town.h"

namespace data_layer_bench {
namespace {

using namespace Norvane::Allotrix::Calculations;
using Data::Shapefile::NShpDataLayer;
using Norvane::Domain::DomainElementShapeType;
using Norvane::Support::FieldDataType;
using Norvane::Support::PointArray;
using Norvane::Support::PointArrayList;

const allotrix_town::Town& TheTown() {
    static const auto town = allotrix_town::MakeTown(allotrix_town::FullTownSize(), 20261205);
    return town;
}

using NoRegistry = Norvane::Support::EmptyRegistryStore;

using allotrix_bench::TheScratch;

Data::StandardDataTools& TheTools() {
    static AllotrixLibrary library;
    static NoRegistry registry;
    static Data::StandardDataTools tools(library, registry);
    return tools;
}

PointArrayList ringsOf(const allotrix_town::Polygon& polygon) {
    PointArrayList rings;
    for (const auto& ring : polygon.rings) {
        PointArray points;
        // Shapefiles store outer rings clockwise, holes anticlockwise.
        for (auto p = ring.rbegin(); p != ring.rend(); ++p) points.push_back({p->x, p->y});
        rings.push_back(std::move(points));
    }
    return rings;
}

std::string WritePolygons(const std::string& name, const std::vector<allotrix_town::Polygon>& polygons) {
    const std::string path = TheScratch().File(name);
    TheTools().CreateLayer(path, DomainElementShapeType::Polygon, nullptr);
    NShpDataLayer layer;
    layer.Open(path);
    layer.BeginUpdate();
    for (std::size_t i = 0; i < polygons.size(); ++i) layer.AddNew(ringsOf(polygons[i]), {{"Id", std::int32_t(i % 100000)}});
    layer.EndUpdate();
    return path;
}

void WriteMeters(const std::string& path, const std::vector<shapefile_bench::Meter>& meters) {
    TheTools().CreateLayer(path, DomainElementShapeType::Point, nullptr);
    NShpDataLayer layer;
    layer.Open(path);
    layer.CreateField("METER_ID", FieldDataType::Integer);
    layer.CreateField("DEMAND", FieldDataType::Real);
    layer.CreateField("LABEL", FieldDataType::Text);
    layer.BeginUpdate();
    for (const auto& meter : meters)
        layer.AddNew(Norvane::Support::GeometryPoint{meter.x, meter.y},
                     {{"METER_ID", meter.id}, {"DEMAND", meter.demand}, {"LABEL", meter.label}});
    layer.EndUpdate();
}

const std::vector<shapefile_bench::Meter>& TheMeters() {
    static const auto meters = shapefile_bench::TownMeters();
    return meters;
}

const std::string& ParcelsFile() {
    static const std::string path = WritePolygons("parcels.shp", TheTown().parcels);
    return path;
}
const std::string& ServicesFile() {
    static const std::string path = WritePolygons("services.shp", TheTown().serviceAreas);
    return path;
}
const std::string& MetersFile() {
    static const std::string path = [] {
        const std::string file = TheScratch().File("meters.shp");
        WriteMeters(file, TheMeters());
        return file;
    }();
    return path;
}

// --- Areas ---------------------------------------------------------------------

void AreasThroughLayers(benchmark::State& state) {
    NShpDataLayer parcels, services;
    parcels.Open(ParcelsFile());
    services.Open(ServicesFile());
    SpatialFilterContext overlap;
    overlap.RelationType = SpatialFilterRelationType::PolygonsIntersect;
    overlap.ReferencedLayer = &parcels;
    std::int64_t matches = 0;
    for (auto _ : state) {
        double total = 0.0;
        matches = 0;
        parcels.Reset();
        while (parcels.MoveNext()) {
            services.BeginFilter(overlap, true);
            while (services.MoveNext()) {
                total += parcels.GetIntersectionAreaWith(services);
                ++matches;
            }
            services.EndFilter();
        }
        benchmark::DoNotOptimize(total);
    }
    const auto pairs = area_bench::OverlappingPairs(TheTown()).size();
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(pairs));
    state.counters["matches"] = static_cast<double>(matches);
}

void AreasDirect(benchmark::State& state, std::unique_ptr<area_bench::IntersectionArea> (*make)(const allotrix_town::Town&)) {
    const auto areas = make(TheTown());
    const auto pairs = area_bench::OverlappingPairs(TheTown());
    for (auto _ : state) {
        double total = 0.0;
        for (const auto& pair : pairs) total += areas->Area(pair);
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(pairs.size()));
}

BENCHMARK(AreasThroughLayers)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AreasDirect, native_reused, area_bench::MakeNativeReusedArea)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AreasDirect, geos, area_bench::MakeGeosArea)->Unit(benchmark::kMillisecond);

// --- Points in polygons -------------------------------------------------------

void PointsInPolygonsThroughLayers(benchmark::State& state) {
    NShpDataLayer services, meters;
    services.Open(ServicesFile());
    meters.Open(MetersFile());
    SpatialFilterContext inside;
    inside.RelationType = SpatialFilterRelationType::PointInPolygon;
    inside.ReferencedLayer = &services;
    inside.ListRangeTreePointValueField = std::vector<std::string>{"METER_ID"};
    services.MoveNext();
    meters.BeginFilter(inside, true);  // the index is built once, outside the timing
    meters.EndFilter();
    std::int64_t found = 0;
    for (auto _ : state) {
        found = 0;
        services.Reset();
        while (services.MoveNext()) {
            meters.BeginFilter(inside, true);
            while (meters.MoveNext()) found += meters.GetInt32Value("METER_ID") >= 0;
            meters.EndFilter();
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(TheTown().serviceAreas.size()));
    state.counters["meters"] = static_cast<double>(found);
}

void PointsInPolygonsDirect(benchmark::State& state,
                            std::unique_ptr<points_in_polygons_bench::MetersIndex> (*make)(const allotrix_town::Town&)) {
    const auto index = make(TheTown());
    std::vector<int> inside;
    std::int64_t found = 0;
    for (auto _ : state) {
        found = 0;
        for (std::size_t area = 0; area < TheTown().serviceAreas.size(); ++area) {
            inside.clear();
            index->MetersInside(area, inside);
            found += static_cast<std::int64_t>(inside.size());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(TheTown().serviceAreas.size()));
    state.counters["meters"] = static_cast<double>(found);
}

BENCHMARK(PointsInPolygonsThroughLayers)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PointsInPolygonsDirect, geos, points_in_polygons_bench::MakeGeosIndex)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PointsInPolygonsDirect, boost, points_in_polygons_bench::MakeBoostIndex)->Unit(benchmark::kMillisecond);

// --- Writing a result shapefile -------------------------------------------------

void WriteThroughLayer(benchmark::State& state) {
    const std::string path = TheScratch().File("written.shp");
    for (auto _ : state) WriteMeters(path, TheMeters());
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(TheMeters().size()));
}

void WriteWithOgr(benchmark::State& state) {
    const std::string base = TheScratch().File("ogr_written");
    for (auto _ : state) {
        state.PauseTiming();
        for (const char* extension : {".shp", ".shx", ".dbf", ".cpg", ".prj"}) std::filesystem::remove(base + extension);
        state.ResumeTiming();
        shapefile_bench::WriteWithOgr(base, TheMeters());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(TheMeters().size()));
}

BENCHMARK(WriteThroughLayer)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteWithOgr)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace data_layer_bench

BENCHMARK_MAIN();
