// Whole allocations as a user runs them, from reading the files to writing
// every output:
//  - on the synthetic town (about 10,000 junctions, each with its Thiessen
//    polygon as service area, 100,000 meters and 20,000 parcels):
//    service_area, the meters onto the service areas (point-in-polygon
//    mode), and area_proportional, the parcels shared among the service
//    areas they overlap (overlap filter and intersection areas);
//  - on BWSN_Network_2 (12,527 nodes, 14,831 links) with 100,000 meters
//    scattered beside its pipes: nearest_node and nearest_pipe (split by
//    position), through the model-element layers.
// Counters give each stage's time in milliseconds (see whole_allocation.h)
// and the peak resident memory.
#include <benchmark/benchmark.h>

#include <random>

#include "allocation_inputs_writer.h"
#include "host/registry/registry_store.h"
#include "scratch_folder.h"
#include "whole_allocation.h"

namespace allocate_bench {
namespace {

namespace fs = std::filesystem;
using namespace Allotrix::Allocate;
using Norvane::Domain::DomainElementShapeType;
using Norvane::Support::FieldDataType;

// Data tools over no model, for writing shapefiles.
struct ShapefileTools {
    Norvane::Allotrix::Calculations::AllotrixLibrary library;
    Norvane::Support::EmptyRegistryStore registry;
    Norvane::Allotrix::Calculations::Data::StandardDataTools tools{library, registry};
};

// Shapefiles turn outer rings clockwise and holes the other way: the town's
// rings reversed.
Norvane::Support::PointArrayList RingsOf(const allotrix_town::Polygon& polygon) {
    Norvane::Support::PointArrayList rings;
    for (const auto& ring : polygon.rings) {
        rings.emplace_back();
        for (auto p = ring.rbegin(); p != ring.rend(); ++p) rings.back().push_back({p->x, p->y});
    }
    return rings;
}

struct TownFiles {
    fs::path model, services, meters, parcels;
};

// The town's junctions (the polygon methods need no pipes), service areas,
// meters and parcels.
const TownFiles& TheTownFiles() {
    static const TownFiles files = [] {
        const auto& scratch = allotrix_bench::TheScratch();
        const TownFiles f{scratch.File("town.inp"), scratch.File("services.shp"), scratch.File("town-meters.shp"),
                          scratch.File("parcels.shp")};
        const auto town = allotrix_town::MakeTown(allotrix_town::FullTownSize(), 20261206);
        WriteTownModel(town, f.model, false);
        ShapefileTools writer;
        WriteNewShapefile(writer.tools, f.services.string(), DomainElementShapeType::Polygon,
                          {{"NODE", FieldDataType::Text}}, [&](auto& edit) {
                              for (std::size_t i = 0; i < town.serviceAreas.size(); ++i)
                                  edit.AddNew(RingsOf(town.serviceAreas[i]), {{"NODE", Numbered("N", i + 1)}});
                          });
        std::vector<Norvane::Support::GeometryPoint> meters;
        for (const auto& meter : town.meters) meters.push_back({meter.x, meter.y});
        WriteMeters(writer.tools, f.meters, meters);
        WriteNewShapefile(writer.tools, f.parcels.string(), DomainElementShapeType::Polygon,
                          {{"DEMAND", FieldDataType::Real}}, [&](auto& edit) {
                              for (std::size_t i = 0; i < town.parcels.size(); ++i)
                                  edit.AddNew(RingsOf(town.parcels[i]), {{"DEMAND", DemandOf(i) * 10.0}});
                          });
        return f;
    }();
    return files;
}

// 100,000 meters within 80 ft of a random pipe's chord.
std::vector<Norvane::Support::GeometryPoint> MetersBesidePipes(const Norvane::Domain::DomainModel& network) {
    std::vector<Norvane::Support::PointArray> pipes;
    for (std::int32_t id = 1; id <= static_cast<std::int32_t>(network.ElementCount()); ++id)
        if (network.IsOfType(id, static_cast<int>(Norvane::Domain::NetworkElementType::Pipe)) &&
            network.PointsOf(id).size() >= 2)
            pipes.push_back(network.PointsOf(id));
    std::mt19937 random(20261206);
    std::uniform_int_distribution<std::size_t> pick(0, pipes.size() - 1);
    std::uniform_real_distribution<double> along(0.0, 1.0), offset(-80.0, 80.0);
    std::vector<Norvane::Support::GeometryPoint> meters;
    for (std::size_t i = 0; i < 100000; ++i) {
        const auto& pipe = pipes[pick(random)];
        const auto& a = pipe.front();
        const auto& b = pipe.back();
        const double t = along(random);
        meters.push_back({a.X + t * (b.X - a.X) + offset(random), a.Y + t * (b.Y - a.Y) + offset(random)});
    }
    return meters;
}

struct NetworkFiles {
    fs::path model = fs::path(ALLOTRIX_TEST_DATA) / "BWSN_Network_2.inp";
    fs::path meters = allotrix_bench::TheScratch().File("network-meters.shp");
};

const NetworkFiles& TheNetworkFiles() {
    static const NetworkFiles files = [] {
        NetworkFiles f;
        const auto model = Norvane::Domain::InpModel::Load(f.model);
        ShapefileTools writer;
        WriteMeters(writer.tools, f.meters, MetersBesidePipes(model->Model()));
        return f;
    }();
    return files;
}

AllocationJob JobFor(AllocationMethod method) {
    AllocationJob job;
    job.options.method = method;
    job.options.demandField = "DEMAND";
    job.options.nodeField = "NODE";
    job.options.split = PipeSplit::ByPosition;
    if (method != AllocationMethod::AreaProportional) job.options.idField = "METER_ID";
    job.outputPrefix = allotrix_bench::TheScratch().File("out");
    if (method == AllocationMethod::ServiceArea || method == AllocationMethod::AreaProportional) {
        const TownFiles& town = TheTownFiles();
        job.model = town.model;
        job.services = town.services;
        job.sources = method == AllocationMethod::ServiceArea ? town.meters : town.parcels;
    } else {
        job.model = TheNetworkFiles().model;
        job.sources = TheNetworkFiles().meters;
    }
    return job;
}

void WholeAllocation(benchmark::State& state, AllocationMethod method) { TimeWholeAllocation(state, JobFor(method)); }

BENCHMARK_CAPTURE(WholeAllocation, service_area, AllocationMethod::ServiceArea)
    ->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(WholeAllocation, area_proportional, AllocationMethod::AreaProportional)
    ->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(WholeAllocation, nearest_node, AllocationMethod::NearestNode)
    ->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(WholeAllocation, nearest_pipe, AllocationMethod::NearestPipe)
    ->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace allocate_bench

BENCHMARK_MAIN();
