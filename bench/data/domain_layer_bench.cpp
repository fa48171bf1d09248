// The nearest node and the nearest pipe to 100,000 meters on the largest
// test network (BWSN_Network_2: 12,527 nodes, 14,831 links), asked the way a
// host asks: walking a meter shapefile and, for each meter, one nearest
// filter on a model-element layer (BeginFilter, MoveNext, GetInt32Value,
// EndFilter). Beside it, the native searchers the layer uses, called
// directly on the same points. Items are meters; the layer builds its index
// once, before the timing, as the native side does.
// "differ" counts meters whose answer through the layer is not the native one.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <random>

#include "data/data.h"
#include "host/host.h"
#include "native/native.h"

namespace domain_layer_bench {
namespace {

using namespace Norvane::Allotrix::Calculations;
using Data::Shapefile::NShpDataLayer;
using Korvex::CStandAloneDataTools;
using Norvane::Domain::DomainElementShapeType;
using Norvane::Support::GeometryPoint;

constexpr std::size_t kMeters = 100000;

using NoRegistry = Norvane::Support::EmptyRegistryStore;

// The network, the meters as points and as a shapefile, and a scratch folder.
class Setting {
public:
    Setting() : m_network(Norvane::Domain::InpModel::Load(ALLOTRIX_TEST_DATA "/BWSN_Network_2.inp")) {
        m_library.ActiveDomainDataSet = &m_network->Model();
        m_library.DisplayLengthUnit = m_network->LengthUnit();
        std::string pattern = (std::filesystem::temp_directory_path() / "allotrix-bench-XXXXXX").string();
        m_folder = ::mkdtemp(pattern.data());
        MakeMeters();
    }
    ~Setting() { std::filesystem::remove_all(m_folder); }

    const AllotrixLibrary& Library() const { return m_library; }
    const std::vector<GeometryPoint>& Meters() const { return m_meters; }
    std::string MetersFile() const { return (m_folder / "meters.shp").string(); }
    std::unique_ptr<IDataLayer> Layer(const std::string& path) const {
        return Data::Domain::DomainDataTools::OpenActiveModelLayer(&m_library, path);
    }

private:
    // Seeded points over the box of the nodes, written through the layer API.
    void MakeMeters() {
        auto nodes = Layer("Node\\All Elements");
        double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
        while (nodes->MoveNext()) {
            const GeometryPoint p = nodes->GetCentroid();
            minX = std::min(minX, p.X), minY = std::min(minY, p.Y), maxX = std::max(maxX, p.X), maxY = std::max(maxY, p.Y);
        }
        std::mt19937_64 random(20261205);
        std::uniform_real_distribution<double> x(minX, maxX), y(minY, maxY);
        for (std::size_t i = 0; i < kMeters; ++i) m_meters.push_back({x(random), y(random)});
        NoRegistry registry;
        Data::StandardDataTools(m_library, registry).CreateLayer(MetersFile(), DomainElementShapeType::Point, nullptr);
        NShpDataLayer layer;
        layer.Open(MetersFile());
        layer.BeginUpdate();
        for (std::size_t i = 0; i < m_meters.size(); ++i) layer.AddNew(m_meters[i], {{"Id", std::int32_t(i % 100000)}});
        layer.EndUpdate();
    }

    std::unique_ptr<Norvane::Domain::InpModel> m_network;
    AllotrixLibrary m_library;
    std::filesystem::path m_folder;
    std::vector<GeometryPoint> m_meters;
};

const Setting& TheSetting() {
    static const Setting setting;
    return setting;
}

// The answer for every meter, in meter order, through the layer API.
template <class Record>
void WalkMeters(IDataLayer& elements, NShpDataLayer& meters, Record record) {
    SpatialFilterContext nearest;
    nearest.RelationType = SpatialFilterRelationType::Nearest;
    nearest.ReferencedLayer = &meters;
    meters.Reset();
    while (meters.MoveNext()) {
        elements.BeginFilter(nearest, true);
        record(elements.MoveNext() ? elements.GetInt32Value("ElementID") : 0);
        elements.EndFilter();
    }
}

void ThroughLayer(benchmark::State& state, const char* path, std::vector<std::int32_t> (*native)()) {
    const auto elements = TheSetting().Layer(path);
    NShpDataLayer meters;
    meters.Open(TheSetting().MetersFile());
    std::vector<std::int32_t> answers;
    WalkMeters(*elements, meters, [&](std::int32_t id) { answers.push_back(id); });  // builds the index
    for (auto _ : state) {
        std::int64_t sum = 0;
        WalkMeters(*elements, meters, [&](std::int32_t id) { sum += id; });
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kMeters));
    const std::vector<std::int32_t> expected = native();
    std::int64_t differ = 0;
    for (std::size_t i = 0; i < answers.size(); ++i) differ += answers[i] != expected[i];
    state.counters["differ"] = static_cast<double>(differ);
}

// --- The native searchers, fed from the model as the layer feeds them --------

struct Nodes {
    std::vector<std::int32_t> ids;
    std::vector<GeometryPoint> points;
};

Nodes TheNodes() {
    Nodes nodes;
    auto layer = TheSetting().Layer("Node\\All Elements");
    while (layer->MoveNext()) {
        nodes.ids.push_back(layer->GetInt32Value("ElementID"));
        nodes.points.push_back(layer->GetCentroid());
    }
    return nodes;
}

class NativeNodes {
public:
    NativeNodes() : m_nodes(TheNodes()) {
        for (std::size_t i = 0; i < m_nodes.ids.size(); ++i) {
            const Korvex::NativeGeometryPoint p{m_nodes.points[i].X, m_nodes.points[i].Y, 0.0};
            m_searcher = CStandAloneDataTools::InitializePointSearcher(m_searcher, &p, &m_nodes.ids[i]);
        }
    }
    ~NativeNodes() { CStandAloneDataTools::DisposePointSearcher(m_searcher); }
    std::int32_t Nearest(const GeometryPoint& meter) const {
        const Korvex::NativeGeometryPoint query{meter.X, meter.Y, 0.0};
        std::int32_t id = 0;
        CStandAloneDataTools::SearchNearestPoint(m_searcher, &query, &id);
        return id;
    }

private:
    Nodes m_nodes;
    Korvex::Geom::XYPointSearcher* m_searcher = nullptr;
};

class NativePipes {
public:
    NativePipes() : m_tree(CStandAloneDataTools::NewXYRangeTree()) {
        auto layer = TheSetting().Layer("Pipe\\All Elements");
        double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
        while (layer->MoveNext()) {
            const auto vertices = std::get<Norvane::Support::PointArray>(layer->GetGeometryShape());
            std::vector<Korvex::DPoint2d> points;
            for (const GeometryPoint& v : vertices) points.push_back({v.X, v.Y});
            double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
            CStandAloneDataTools::InitializeRangeTree(m_tree, points.data(), static_cast<int>(points.size()),
                                                      layer->GetInt32Value("ElementID"), &m_records.emplace_back(), &x0,
                                                      &y0, &x1, &y1);
            minX = std::min(minX, x0), minY = std::min(minY, y0), maxX = std::max(maxX, x1), maxY = std::max(maxY, y1);
        }
        m_radius = 10.0 * std::hypot(maxX - minX, maxY - minY);
    }
    ~NativePipes() {
        CStandAloneDataTools::DisposeRangeTreeAndSearcher(m_tree, m_searcher);
        for (Korvex::PlexPolyline* record : m_records) CStandAloneDataTools::DisposePlexPolylineBuffer(record);
    }
    std::int32_t Nearest(const GeometryPoint& meter) const {
        const Korvex::NativeGeometryPoint query{meter.X, meter.Y, 0.0};
        std::int32_t id = 0;
        CStandAloneDataTools::SearchRangeTree(m_tree, m_searcher, &query, m_radius, &id);
        return id;
    }

private:
    Korvex::Geom::XYRangeTreeRoot* m_tree;
    Korvex::Geom::PolylineRangeTreeClosestPointSearcher* m_searcher =
        CStandAloneDataTools::NewPolylineRangeTreeClosestPointSearcher();
    std::vector<Korvex::PlexPolyline*> m_records;
    double m_radius = 0.0;
};

template <class Native>
std::vector<std::int32_t> NativeAnswers() {
    const Native native;
    std::vector<std::int32_t> answers;
    for (const GeometryPoint& meter : TheSetting().Meters()) answers.push_back(native.Nearest(meter));
    return answers;
}

template <class Native>
void Direct(benchmark::State& state) {
    const Native native;
    const auto& meters = TheSetting().Meters();
    for (auto _ : state) {
        std::int64_t sum = 0;
        for (const GeometryPoint& meter : meters) sum += native.Nearest(meter);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(meters.size()));
}

BENCHMARK_CAPTURE(ThroughLayer, nearest_node, "Node\\All Elements", NativeAnswers<NativeNodes>)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Direct, NativeNodes)->Name("Direct/nearest_node_native")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ThroughLayer, nearest_pipe, "Pipe\\All Elements", NativeAnswers<NativePipes>)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Direct, NativePipes)->Name("Direct/nearest_pipe_native")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace domain_layer_bench

BENCHMARK_MAIN();
