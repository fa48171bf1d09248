#include "demo.h"

#include <cmath>
#include <map>
#include <random>

#include "allocate/writers/new_shapefile.h"
#include "allocate_command.h"
#include "data/data.h"
#include "host/domain/inp/inp_model.h"
#include "host/domain/network_element_types.h"
#include "host/registry/default_registry_store.h"

namespace AllotrixApp {

namespace fs = std::filesystem;
using Norvane::Domain::DomainElementShapeType;
using Norvane::Domain::DomainModel;
using Norvane::Domain::NetworkElementType;
using Norvane::Support::FieldDataType;
using Norvane::Support::FieldValue;
using Norvane::Support::GeometryPoint;
using Norvane::Support::PointArray;

namespace {

constexpr double kMeterSpacing = 400.0;
constexpr double kCellSize = 1500.0;
constexpr double kCellReach = 5000.0;  // cells whose centre is farther from every junction serve no one

struct DemoMeter {
    GeometryPoint point;
    std::optional<double> demand;
};

GeometryPoint pointAlong(const PointArray& line, double distance, double offset) {
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        const double dx = line[i + 1].X - line[i].X, dy = line[i + 1].Y - line[i].Y;
        const double length = std::hypot(dx, dy);
        if (distance > length && i + 2 < line.size()) {
            distance -= length;
            continue;
        }
        const double t = length > 0.0 ? std::min(distance / length, 1.0) : 0.0;
        const double nx = length > 0.0 ? -dy / length : 0.0, ny = length > 0.0 ? dx / length : 0.0;
        return {line[i].X + t * dx + offset * nx, line[i].Y + t * dy + offset * ny};
    }
    return line.front();
}

double lengthOf(const PointArray& line) {
    double length = 0.0;
    for (std::size_t i = 0; i + 1 < line.size(); ++i) length += std::hypot(line[i + 1].X - line[i].X, line[i + 1].Y - line[i].Y);
    return length;
}

std::vector<DemoMeter> scatterMeters(const DomainModel& model, std::mt19937& random) {
    std::uniform_real_distribution<double> unit(0.0, 1.0), offset(15.0, 60.0);
    std::vector<DemoMeter> meters;
    for (std::int32_t id = 1; id <= static_cast<std::int32_t>(model.ElementCount()); ++id) {
        if (!model.IsOfType(id, static_cast<int>(NetworkElementType::Pipe))) continue;
        const PointArray line = model.PointsOf(id);
        if (line.size() < 2) continue;
        const double length = lengthOf(line);
        const int count = static_cast<int>(length / kMeterSpacing + unit(random));
        for (int i = 0; i < count; ++i) {
            const double side = unit(random) < 0.5 ? -1.0 : 1.0;
            DemoMeter meter{pointAlong(line, unit(random) * length, side * offset(random)), {}};
            // Gallons per minute to three decimals; one in a hundred has none.
            if (unit(random) >= 0.01) meter.demand = std::round((0.05 + 1.5 * unit(random) * unit(random)) * 1000.0) / 1000.0;
            meters.push_back(meter);
        }
    }
    return meters;
}

struct Cell {
    long column, row;
    friend auto operator<=>(const Cell&, const Cell&) = default;
};

// Each cell holding a meter, served by the junction nearest its centre when
// that junction is within reach.
std::map<Cell, std::string> serviceCells(const DomainModel& model, const std::vector<DemoMeter>& meters) {
    std::vector<std::pair<GeometryPoint, std::string>> junctions;
    for (std::int32_t id = 1; id <= static_cast<std::int32_t>(model.ElementCount()); ++id)
        if (model.IsOfType(id, static_cast<int>(NetworkElementType::Junction)) && !model.PointOf(id).IsEmpty())
            junctions.emplace_back(model.PointOf(id), model.FindElement(id)->Label());
    std::map<Cell, std::string> cells;
    for (const DemoMeter& meter : meters) {
        const Cell cell{std::lround(std::floor(meter.point.X / kCellSize)), std::lround(std::floor(meter.point.Y / kCellSize))};
        if (cells.count(cell)) continue;
        const double cx = (static_cast<double>(cell.column) + 0.5) * kCellSize, cy = (static_cast<double>(cell.row) + 0.5) * kCellSize;
        double best = kCellReach;
        std::string node;
        for (const auto& [point, label] : junctions) {
            const double distance = std::hypot(point.X - cx, point.Y - cy);
            if (distance < best) best = distance, node = label;
        }
        cells.emplace(cell, node);
    }
    std::erase_if(cells, [](const auto& cell) { return cell.second.empty(); });
    return cells;
}

}  // namespace

DemoInputs WriteDemoInputs(const Norvane::Domain::InpModel& model, Norvane::Allotrix::Calculations::IDataTools& tools,
                           const fs::path& folder, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<DemoMeter> meters = scatterMeters(model.Model(), random);
    if (!meters.empty())
        for (int i = 1; i <= 3; ++i)  // customers beyond the network's reach
            meters.push_back({{meters.front().point.X - 8000.0 * i, meters.front().point.Y - 6000.0}, 0.75});

    const DemoInputs inputs{(folder / "demo-meters.shp").string(), (folder / "demo-services.shp").string()};
    using Allotrix::Allocate::WriteNewShapefile;
    const Allotrix::Allocate::FieldList meterFields{{"METER_ID", FieldDataType::Text}, {"DEMAND", FieldDataType::Real}};
    WriteNewShapefile(tools, inputs.meters, DomainElementShapeType::Point, meterFields, [&](auto& edit) {
        for (std::size_t i = 0; i < meters.size(); ++i)
            edit.AddNew(meters[i].point, {{"METER_ID", "MTR-" + std::to_string(100001 + i)},
                                          {"DEMAND", meters[i].demand ? FieldValue(*meters[i].demand) : FieldValue{}}});
    });
    WriteNewShapefile(tools, inputs.services, DomainElementShapeType::Polygon, {{"NODE", FieldDataType::Text}},
                      [&](auto& edit) {
                          for (const auto& [cell, node] : serviceCells(model.Model(), meters)) {
                              const double x0 = static_cast<double>(cell.column) * kCellSize;
                              const double y0 = static_cast<double>(cell.row) * kCellSize, x1 = x0 + kCellSize,
                                           y1 = y0 + kCellSize;
                              edit.AddNew(PointArray{{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}, {x0, y0}}, {{"NODE", node}});
                          }
                      });
    return inputs;
}

fs::path DemoModelPath() {
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    return executable.parent_path() / "data" / "ky10.inp";
}

int RunDemo(const fs::path& outputFolder, bool force, bool json, std::ostream& out, std::ostream& err,
            bool progressOnTerminal) {
    const fs::path model = DemoModelPath();
    std::error_code error;
    fs::create_directories(outputFolder, error);
    DemoInputs inputs;
    bool havePipeLayers = false;
    try {
        const auto network = Norvane::Domain::InpModel::Load(model);
        Norvane::Allotrix::Calculations::AllotrixLibrary library{&network->Model(), network->LengthUnit()};
        const auto registry = Norvane::Support::OpenDefaultRegistryStore();
        Norvane::Allotrix::Calculations::Data::StandardDataTools tools(library, *registry);
        inputs = WriteDemoInputs(*network, tools, outputFolder, 20261206);
        havePipeLayers = tools.LayerExists(Allotrix::Allocate::kDefaultPipeLayer);
    } catch (const std::exception& failure) {
        err << "allotrix: the demo cannot start: " << failure.what() << "\n";
        return kExitInternal;
    }
    AllocateRequest request;
    request.model = model.string();
    request.sources = inputs.meters;
    request.services = inputs.services;
    // By nearest pipe, split by position, where the build has model-element
    // layers; by service area otherwise.
    request.methodName = havePipeLayers ? "nearest-pipe" : "service-area";
    request.options.method = havePipeLayers ? Allotrix::Allocate::AllocationMethod::NearestPipe
                                            : Allotrix::Allocate::AllocationMethod::ServiceArea;
    request.options.split = Allotrix::Allocate::PipeSplit::ByPosition;
    request.options.maxDistance = 300.0;
    request.options.demandField = "DEMAND";
    request.options.idField = "METER_ID";
    request.options.nodeField = "NODE";
    request.write = {Allotrix::Allocate::DemandMode::Add, "", "Demo meters"};
    request.outputPrefix = (outputFolder / "ky10-allocated").string();
    request.force = force;
    request.json = json;
    if (!json)
        out << "Demo: KY10 (Kentucky network 10) with " << inputs.meters << " and " << inputs.services
            << ", written for this run\n";
    return RunAllocate(request, out, err, progressOnTerminal);
}

}  // namespace AllotrixApp
