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
// Counters give each stage's time in milliseconds (read: the model; allocate:
// opening the layers, building their indexes and allocating; write: model,
// tables, connector shapefile and map page) and the peak resident memory.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>

#include "allocate/allocate.h"
#include "data/data.h"
#include "host/host.h"
#include "host/registry/registry_store.h"
#include "town/town.h"

namespace allocate_bench {
namespace {

namespace fs = std::filesystem;
using namespace Allotrix::Allocate;
using Norvane::Domain::DomainElementShapeType;
using Norvane::Support::FieldDataType;
using Norvane::Support::FieldValue;

using NoRegistry = Norvane::Support::EmptyRegistryStore;

class Scratch {
public:
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "allotrix-allocate-bench-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
    }
    ~Scratch() { fs::remove_all(m_path); }
    fs::path File(const std::string& name) const { return m_path / name; }

private:
    fs::path m_path;
};

// "N1", "M12", ...; appended rather than added, which GCC 12 misreads.
std::string numbered(const char* prefix, std::size_t number) {
    std::string text = prefix;
    text += std::to_string(number);
    return text;
}

std::string label(std::size_t node) { return numbered("N", node + 1); }

// The town's junctions as a network file (no links: the polygon methods
// need only the junctions and their coordinates).
void WriteModel(const allotrix_town::Town& town, const fs::path& path) {
    std::ofstream out(path);
    out << "[JUNCTIONS]\n";
    for (std::size_t i = 0; i < town.nodes.size(); ++i) out << ' ' << label(i) << " 100 0\n";
    out << "[COORDINATES]\n";
    for (std::size_t i = 0; i < town.nodes.size(); ++i)
        out << ' ' << label(i) << ' ' << town.nodes[i].x << ' ' << town.nodes[i].y << '\n';
    out << "[OPTIONS]\n Units GPM\n[END]\n";
}

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

template <typename Fill>
void WriteLayer(Norvane::Allotrix::Calculations::IDataTools& tools, const fs::path& path, DomainElementShapeType type,
                const std::vector<std::pair<std::string, FieldDataType>>& fields, Fill&& fill) {
    tools.CreateLayer(path.string(), type, nullptr);
    auto layer = tools.OpenLayer(path.string());
    auto& edit = dynamic_cast<Norvane::Allotrix::Calculations::IEditDataLayer&>(*layer);
    for (const auto& [name, kind] : fields) edit.CreateField(name, kind);
    edit.BeginUpdate();
    fill(edit);
    edit.EndUpdate();
}

double demandOf(std::size_t i) { return 0.05 + 0.01 * static_cast<double>(i % 97); }

struct Files {
    Scratch scratch;
    fs::path model, services, meters, parcels;
};

const Files& TheFiles() {
    static const Files files = [] {
        Files f;
        const auto town = allotrix_town::MakeTown(allotrix_town::FullTownSize(), 20261206);
        f.model = f.scratch.File("town.inp");
        f.services = f.scratch.File("services.shp");
        f.meters = f.scratch.File("meters.shp");
        f.parcels = f.scratch.File("parcels.shp");
        WriteModel(town, f.model);
        Norvane::Allotrix::Calculations::AllotrixLibrary library;
        NoRegistry registry;
        Norvane::Allotrix::Calculations::Data::StandardDataTools tools(library, registry);
        WriteLayer(tools, f.services, DomainElementShapeType::Polygon, {{"NODE", FieldDataType::Text}}, [&](auto& edit) {
            for (std::size_t i = 0; i < town.serviceAreas.size(); ++i)
                edit.AddNew(RingsOf(town.serviceAreas[i]), {{"NODE", label(i)}});
        });
        WriteLayer(tools, f.meters, DomainElementShapeType::Point,
                   {{"METER_ID", FieldDataType::Text}, {"DEMAND", FieldDataType::Real}}, [&](auto& edit) {
                       for (std::size_t i = 0; i < town.meters.size(); ++i)
                           edit.AddNew(Norvane::Support::GeometryPoint{town.meters[i].x, town.meters[i].y},
                                       {{"METER_ID", numbered("M", i + 1)}, {"DEMAND", demandOf(i)}});
                   });
        WriteLayer(tools, f.parcels, DomainElementShapeType::Polygon, {{"DEMAND", FieldDataType::Real}}, [&](auto& edit) {
            for (std::size_t i = 0; i < town.parcels.size(); ++i)
                edit.AddNew(RingsOf(town.parcels[i]), {{"DEMAND", demandOf(i) * 10.0}});
        });
        return f;
    }();
    return files;
}

struct NetworkFiles {
    Scratch scratch;
    fs::path model = fs::path(ALLOTRIX_TEST_DATA) / "BWSN_Network_2.inp";
    fs::path meters;
};

const NetworkFiles& TheNetworkFiles() {
    static const NetworkFiles files = [] {
        NetworkFiles f;
        f.meters = f.scratch.File("meters.shp");
        const auto model = Norvane::Domain::InpModel::Load(f.model);
        const auto& network = model->Model();
        std::vector<Norvane::Support::PointArray> pipes;
        for (std::int32_t id = 1; id <= static_cast<std::int32_t>(network.ElementCount()); ++id)
            if (network.IsOfType(id, static_cast<int>(Norvane::Domain::NetworkElementType::Pipe)) &&
                network.PointsOf(id).size() >= 2)
                pipes.push_back(network.PointsOf(id));
        std::mt19937 random(20261206);
        std::uniform_int_distribution<std::size_t> pick(0, pipes.size() - 1);
        std::uniform_real_distribution<double> along(0.0, 1.0), offset(-80.0, 80.0);
        Norvane::Allotrix::Calculations::AllotrixLibrary library;
        NoRegistry registry;
        Norvane::Allotrix::Calculations::Data::StandardDataTools tools(library, registry);
        WriteLayer(tools, f.meters, DomainElementShapeType::Point,
                   {{"METER_ID", FieldDataType::Text}, {"DEMAND", FieldDataType::Real}}, [&](auto& edit) {
                       for (std::size_t i = 0; i < 100000; ++i) {
                           const auto& pipe = pipes[pick(random)];
                           const auto& a = pipe.front();
                           const auto& b = pipe.back();
                           const double t = along(random);
                           const Norvane::Support::GeometryPoint meter{a.X + t * (b.X - a.X) + offset(random),
                                                                       a.Y + t * (b.Y - a.Y) + offset(random)};
                           edit.AddNew(meter, {{"METER_ID", numbered("M", i + 1)}, {"DEMAND", demandOf(i)}});
                       }
                   });
        return f;
    }();
    return files;
}

double millisecondsSince(std::chrono::steady_clock::time_point& last) {
    const auto now = std::chrono::steady_clock::now();
    const double ms = std::chrono::duration<double, std::milli>(now - last).count();
    last = now;
    return ms;
}

struct Job {
    bool onTown;
    fs::path model, services, sources, output;
};

Job JobFor(AllocationMethod method) {
    if (method == AllocationMethod::ServiceArea || method == AllocationMethod::AreaProportional) {
        const Files& town = TheFiles();
        return {true, town.model, town.services,
                method == AllocationMethod::ServiceArea ? town.meters : town.parcels, town.scratch.File("out")};
    }
    const NetworkFiles& network = TheNetworkFiles();
    return {false, network.model, {}, network.meters, network.scratch.File("out")};
}

void WholeAllocation(benchmark::State& state, AllocationMethod method) {
    const Job job = JobFor(method);
    const bool onTown = job.onTown;
    const fs::path &model = job.model, &services = job.services, &sources = job.sources, &output = job.output;
    AllocationOptions options;
    options.method = method;
    options.demandField = "DEMAND";
    options.nodeField = "NODE";
    options.split = PipeSplit::ByPosition;
    if (method != AllocationMethod::AreaProportional) options.idField = "METER_ID";
    double read = 0, allocate = 0, write = 0;
    std::int64_t allocated = 0;
    for (auto _ : state) {
        auto last = std::chrono::steady_clock::now();
        const auto network = Norvane::Domain::InpModel::Load(model);
        Norvane::Allotrix::Calculations::AllotrixLibrary library;
        library.ActiveDomainDataSet = &network->Model();
        library.DisplayLengthUnit = network->LengthUnit();
        NoRegistry registry;
        Norvane::Allotrix::Calculations::Data::StandardDataTools tools(library, registry);
        if (!onTown && !tools.LayerExists(kDefaultNodeLayer)) {
            state.SkipWithError("model-element layers are not in this build");
            return;
        }
        read += millisecondsSince(last);
        const AllocationResult result =
            RunAllocation({*network, model.string(), tools, tools, sources.string(), services.string()}, options);
        allocate += millisecondsSince(last);
        ResultStaging staging(ResultFiles::ForPrefix(output), true);
        WriteResultFiles(staging.Staged(), *network, model.filename().string(), result, {}, tools);
        staging.Commit();
        write += millisecondsSince(last);
        allocated = result.ledger.Allocated();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["read_ms"] = read / n;
    state.counters["allocate_ms"] = allocate / n;
    state.counters["write_ms"] = write / n;
    state.counters["allocated_units"] = static_cast<double>(allocated);
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

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
