#include "allocation_inputs_writer.h"

#include <fstream>

namespace allocate_bench {

namespace fs = std::filesystem;
using Norvane::Domain::DomainElementShapeType;
using Norvane::Support::FieldDataType;

namespace {

std::string nodeLabel(std::int32_t id) { return Numbered("N", static_cast<std::size_t>(id)); }

void writePipes(const allotrix_town::Town& town, std::ostream& out) {
    out << "[PIPES]\n";
    for (const auto& pipe : town.pipes)
        out << " P" << pipe.id << ' ' << nodeLabel(pipe.fromId) << ' ' << nodeLabel(pipe.toId) << " 100 8 100\n";
    out << "[VERTICES]\n";
    for (const auto& pipe : town.pipes)
        for (std::size_t k = 1; k + 1 < pipe.points.size(); ++k)
            out << " P" << pipe.id << ' ' << pipe.points[k].x << ' ' << pipe.points[k].y << '\n';
}

}  // namespace

// Appended rather than added, which GCC 12 misreads.
std::string Numbered(const char* prefix, std::size_t number) {
    std::string text = prefix;
    text += std::to_string(number);
    return text;
}

double DemandOf(std::size_t i) { return 0.05 + 0.01 * static_cast<double>(i % 97); }

void WriteTownModel(const allotrix_town::Town& town, const fs::path& path, bool withPipes) {
    std::ofstream out(path);
    out.precision(12);
    out << "[JUNCTIONS]\n";
    for (const std::int32_t id : town.nodeIds) out << ' ' << nodeLabel(id) << " 100 0\n";
    if (withPipes) writePipes(town, out);
    out << "[COORDINATES]\n";
    for (std::size_t i = 0; i < town.nodes.size(); ++i)
        out << ' ' << nodeLabel(town.nodeIds[i]) << ' ' << town.nodes[i].x << ' ' << town.nodes[i].y << '\n';
    out << "[OPTIONS]\n Units GPM\n[END]\n";
}

void WriteMeters(Norvane::Allotrix::Calculations::IDataTools& tools, const fs::path& path,
                 const std::vector<Norvane::Support::GeometryPoint>& points) {
    Allotrix::Allocate::WriteNewShapefile(
        tools, path.string(), DomainElementShapeType::Point,
        {{"METER_ID", FieldDataType::Text}, {"DEMAND", FieldDataType::Real}}, [&](auto& edit) {
            for (std::size_t i = 0; i < points.size(); ++i)
                edit.AddNew(points[i], {{"METER_ID", Numbered("M", i + 1)}, {"DEMAND", DemandOf(i)}});
        });
}

}  // namespace allocate_bench
