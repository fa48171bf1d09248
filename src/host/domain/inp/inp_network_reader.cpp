#include "host/domain/inp/inp_network_reader.h"

#include <algorithm>

#include "host/domain/domain_model_builder.h"
#include "host/support/exceptions.h"

namespace Norvane::Domain {
namespace {

constexpr std::size_t kMaxWarnings = 1000;
constexpr std::size_t kEngineIdLength = 31;

struct FlowUnits {
    std::string_view name;
    Support::LengthUnit length;
};

constexpr FlowUnits kFlowUnits[] = {
    {"CFS", Support::LengthUnit::Foot},  {"GPM", Support::LengthUnit::Foot},  {"MGD", Support::LengthUnit::Foot},
    {"IMGD", Support::LengthUnit::Foot}, {"AFD", Support::LengthUnit::Foot},  {"LPS", Support::LengthUnit::Metre},
    {"LPM", Support::LengthUnit::Metre}, {"MLD", Support::LengthUnit::Metre}, {"CMH", Support::LengthUnit::Metre},
    {"CMD", Support::LengthUnit::Metre}, {"CMS", Support::LengthUnit::Metre},
};

Support::LengthUnit LengthUnitOf(std::string_view flowUnits) {
    for (const FlowUnits& units : kFlowUnits)
        if (units.name == flowUnits) return units.length;
    return Support::LengthUnit::Unknown;
}

const char* TypeWord(NetworkElementType type) {
    switch (type) {
        case NetworkElementType::Junction: return "junction";
        case NetworkElementType::Reservoir: return "reservoir";
        case NetworkElementType::Tank: return "tank";
        case NetworkElementType::Pipe: return "pipe";
        case NetworkElementType::Pump: return "pump";
        case NetworkElementType::Valve: return "valve";
        default: return "element";
    }
}

// Status words the engine accepts, in the spelling the model reports.
const char* StatusWord(std::string_view field) {
    for (const char* word : {"Open", "Closed", "CV", "Active"})
        if (EqualsIgnoreCase(field, word)) return word;
    return nullptr;
}

std::string Quoted(std::string_view text) {
    constexpr std::size_t kShown = 60;  // hostile files may hold megabyte-long fields
    return std::string("\"").append(text.substr(0, kShown)).append(text.size() > kShown ? "...\"" : "\"");
}

}  // namespace

InpNetworkReader::InpNetworkReader(const InpDocument& document, std::string sourceName)
    : m_document(document), m_sourceName(std::move(sourceName)) {}

InpNetwork InpNetworkReader::Read() {
    ReadOptions();
    ReadNodes(InpSection::Junctions, NetworkElementType::Junction);
    ReadNodes(InpSection::Reservoirs, NetworkElementType::Reservoir);
    ReadNodes(InpSection::Tanks, NetworkElementType::Tank);
    ReadLinks(InpSection::Pipes, NetworkElementType::Pipe);
    ReadLinks(InpSection::Pumps, NetworkElementType::Pump);
    ReadLinks(InpSection::Valves, NetworkElementType::Valve);
    ReadCoordinates();
    ReadVertices();
    ReadDemands();
    ReadStatus();
    ReadPatterns();
    WarnAboutSections();
    WarnAboutMissingGeometry();
    Build();
    if (m_suppressedWarnings > 0)
        m_network.warnings.push_back(m_sourceName + ": " + std::to_string(m_suppressedWarnings) + " more warnings not listed");
    return std::move(m_network);
}

template <typename Visit>
void InpNetworkReader::ForEachDataLine(InpSection kind, Visit&& visit) {
    for (const InpSectionRange& section : m_document.Sections()) {
        if (section.kind != kind) continue;
        for (std::size_t line = section.firstLine; line < section.endLine; ++line) {
            m_tokens.Split(m_document.Line(line));
            if (!m_tokens.empty()) visit(line);
        }
    }
}

void InpNetworkReader::Fail(std::size_t line, const std::string& message) const {
    throw Support::ApplicationException(m_sourceName + ":" + std::to_string(line + 1) + ": " + message);
}

void InpNetworkReader::Warn(std::size_t line, const std::string& message) {
    if (m_network.warnings.size() >= kMaxWarnings) {
        ++m_suppressedWarnings;
        return;
    }
    m_network.warnings.push_back(m_sourceName + ":" + std::to_string(line + 1) + ": " + message);
}

double InpNetworkReader::Number(std::size_t line, std::string_view field, std::string_view what) const {
    const std::optional<double> value = ParseInpNumber(field);
    if (!value) Fail(line, "expected a finite number for the " + std::string(what) + ", found " + Quoted(field));
    return *value;
}

void InpNetworkReader::RequireFields(std::size_t line, std::size_t needed, std::string_view what) const {
    if (m_tokens.size() < needed) Fail(line, std::string(what) + " (found " + std::to_string(m_tokens.size()) + " fields)");
}

std::int32_t InpNetworkReader::NodeId(std::size_t line, std::string_view label, std::string_view context) const {
    const auto it = m_network.nodeIds.find(label);
    if (it == m_network.nodeIds.end()) Fail(line, std::string(context) + " names the node " + Quoted(label) + ", which is not defined");
    return it->second;
}

std::int32_t InpNetworkReader::LinkId(std::size_t line, std::string_view label, std::string_view context) const {
    const auto it = m_network.linkIds.find(label);
    if (it == m_network.linkIds.end()) Fail(line, std::string(context) + " names the link " + Quoted(label) + ", which is not defined");
    return it->second;
}

void InpNetworkReader::CheckId(std::size_t line, std::string_view label) {
    if (label.empty()) Fail(line, "an ID must not be empty");
    if (label.size() > kEngineIdLength)
        Warn(line, "the ID " + Quoted(label) + " is longer than the 31 characters the hydraulic engine accepts");
}

void InpNetworkReader::ReadOptions() {
    m_network.flowUnits = "GPM";  // the engine's default
    ForEachDataLine(InpSection::Options, [&](std::size_t line) {
        if (!EqualsIgnoreCase(m_tokens[0], "UNITS")) return;
        RequireFields(line, 2, "the UNITS option needs a value");
        std::string units(m_tokens[1]);
        std::transform(units.begin(), units.end(), units.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        if (LengthUnitOf(units) == Support::LengthUnit::Unknown) Fail(line, "unknown flow units " + Quoted(m_tokens[1]));
        m_network.flowUnits = units;
    });
}

void InpNetworkReader::ReadNodes(InpSection kind, NetworkElementType type) {
    const std::string word = TypeWord(type);
    const std::string needs = "a " + word + " needs an ID and an elevation";
    const std::string elevation = word + " elevation";
    ForEachDataLine(kind, [&](std::size_t line) {
        RequireFields(line, 2, needs);
        NodeDraft node{m_tokens[0], type, line, Number(line, m_tokens[1], elevation), 0.0, {}};
        if (type == NetworkElementType::Junction && m_tokens.size() >= 3) node.demand = Number(line, m_tokens[2], "junction demand");
        if (type == NetworkElementType::Junction && m_tokens.size() >= 4) node.pattern = m_tokens[3];
        const auto id = static_cast<std::int32_t>(m_nodes.size() + 1);
        const auto [existing, added] = m_network.nodeIds.emplace(node.label, id);
        if (!added)
            Fail(line, "the node ID " + Quoted(node.label) + " is defined twice (first on line " +
                           std::to_string(m_nodes[static_cast<std::size_t>(existing->second - 1)].line + 1) + ")");
        CheckId(line, node.label);
        m_nodes.push_back(node);
    });
}

void InpNetworkReader::ReadLinks(InpSection kind, NetworkElementType type) {
    const std::string word = TypeWord(type);
    const bool isValve = type == NetworkElementType::Valve;
    const std::string needs = "a " + word + (isValve ? " needs an ID, two nodes and a diameter" : " needs an ID and two nodes");
    const std::string context = "the " + word;
    ForEachDataLine(kind, [&](std::size_t line) {
        RequireFields(line, isValve ? 4 : 3, needs);
        LinkDraft link{m_tokens[0], type, line, NodeId(line, m_tokens[1], context), NodeId(line, m_tokens[2], context),
                       {}, {}, {}, isValve ? "Active" : "Open"};
        if (type == NetworkElementType::Pipe) ReadPipeFields(link);
        if (isValve) link.diameter = Number(line, m_tokens[3], "valve diameter");
        const auto id = static_cast<std::int32_t>(m_nodes.size() + m_links.size() + 1);
        const auto [existing, added] = m_network.linkIds.emplace(link.label, id);
        if (!added)
            Fail(line, "the link ID " + Quoted(link.label) + " is defined twice (first on line " +
                           std::to_string(m_links[static_cast<std::size_t>(existing->second) - m_nodes.size() - 1].line + 1) + ")");
        CheckId(line, link.label);
        m_links.push_back(link);
    });
}

// ID, nodes, length, diameter, roughness, then an optional minor loss and
// status; with seven fields the seventh is either.
void InpNetworkReader::ReadPipeFields(LinkDraft& link) {
    const std::size_t line = link.line;
    RequireFields(line, 6, "a pipe needs an ID, two nodes, a length, a diameter and a roughness");
    link.length = Number(line, m_tokens[3], "pipe length");
    link.diameter = Number(line, m_tokens[4], "pipe diameter");
    link.roughness = Number(line, m_tokens[5], "pipe roughness");
    std::string_view status = "Open";
    if (m_tokens.size() >= 8)
        status = m_tokens[7];
    else if (m_tokens.size() == 7 && StatusWord(m_tokens[6]) != nullptr)
        status = m_tokens[6];
    else if (m_tokens.size() == 7)
        Number(line, m_tokens[6], "pipe minor loss");
    link.status = StatusWord(status);
    if (link.status == nullptr || EqualsIgnoreCase(status, "Active")) Fail(line, "unknown pipe status " + Quoted(status));
}

void InpNetworkReader::ReadCoordinates() {
    std::vector<std::size_t> coordinateLines(m_nodes.size(), 0);
    ForEachDataLine(InpSection::Coordinates, [&](std::size_t line) {
        RequireFields(line, 3, "coordinates need a node ID, x and y");
        const std::int32_t id = NodeId(line, m_tokens[0], "the coordinates");
        const auto slot = static_cast<std::size_t>(id - 1);
        if (coordinateLines[slot] != 0)
            Warn(line, "the node " + Quoted(m_tokens[0]) + " has coordinates on line " +
                           std::to_string(coordinateLines[slot]) + " too; these are used");
        coordinateLines[slot] = line + 1;
        m_nodes[slot].point = {Number(line, m_tokens[1], "x coordinate"), Number(line, m_tokens[2], "y coordinate")};
    });
}

void InpNetworkReader::ReadVertices() {
    ForEachDataLine(InpSection::Vertices, [&](std::size_t line) {
        RequireFields(line, 3, "a vertex needs a link ID, x and y");
        const std::int32_t id = LinkId(line, m_tokens[0], "the vertex");
        m_vertices.push_back({static_cast<std::size_t>(id) - m_nodes.size() - 1,
                              {Number(line, m_tokens[1], "x coordinate"), Number(line, m_tokens[2], "y coordinate")}});
    });
    std::stable_sort(m_vertices.begin(), m_vertices.end(), [](const VertexDraft& a, const VertexDraft& b) { return a.link < b.link; });
}

void InpNetworkReader::ReadDemands() {
    ForEachDataLine(InpSection::Demands, [&](std::size_t line) {
        if (IsDemandMultiplierKeyword(m_tokens[0])) return;  // a global demand multiplier, not a row
        RequireFields(line, 2, "a demand row needs a junction ID and a demand");
        const std::int32_t id = NodeId(line, m_tokens[0], "the demand row");
        if (m_nodes[static_cast<std::size_t>(id - 1)].type != NetworkElementType::Junction)
            Fail(line, "the demand row names " + Quoted(m_tokens[0]) + ", which is not a junction");
        JunctionDemandRows& rows = m_network.demandRows[id];
        rows.lines.push_back(line);
        rows.rows.push_back({Number(line, m_tokens[1], "demand"), m_tokens.size() >= 3 ? std::string(m_tokens[2]) : std::string(),
                             std::string(m_tokens.Comment())});
    });
}

void InpNetworkReader::ReadStatus() {
    ForEachDataLine(InpSection::Status, [&](std::size_t line) {
        RequireFields(line, 2, "a status row needs a link ID and a status or setting");
        const std::int32_t id = LinkId(line, m_tokens[0], "the status row");
        LinkDraft& link = m_links[static_cast<std::size_t>(id) - m_nodes.size() - 1];
        if (const char* word = StatusWord(m_tokens[1])) {
            link.status = word;
        } else {
            Number(line, m_tokens[1], "setting");  // a pump speed or valve setting leaves the status as it is
        }
    });
}

void InpNetworkReader::ReadPatterns() {
    ForEachDataLine(InpSection::Patterns, [&](std::size_t) { m_network.patternIds.insert(m_tokens[0]); });
}

void InpNetworkReader::WarnAboutSections() {
    for (const InpSectionRange& section : m_document.Sections()) {
        if (section.kind == InpSection::Unknown)
            Warn(section.headerLine, "unknown section " + Quoted(section.header) + " is kept as it is and not read");
        if (section.kind != InpSection::Preamble) continue;
        for (std::size_t line = section.firstLine; line < section.endLine; ++line) {
            m_tokens.Split(m_document.Line(line));
            if (!m_tokens.empty()) {
                Warn(line, "text before the first section is ignored");
                break;
            }
        }
    }
}

void InpNetworkReader::WarnAboutMissingGeometry() {
    const bool anyCoordinates = std::any_of(m_nodes.begin(), m_nodes.end(), [](const NodeDraft& n) { return !n.point.IsEmpty(); });
    if (!anyCoordinates) {
        if (!m_nodes.empty()) Warn(0, "no node has coordinates, so no element has geometry");
        return;
    }
    for (const NodeDraft& node : m_nodes)
        if (node.point.IsEmpty()) Warn(node.line, "the " + std::string(TypeWord(node.type)) + " " + Quoted(node.label) + " has no coordinates");
    for (const LinkDraft& link : m_links)
        for (std::int32_t end : {link.startNode, link.endNode}) {
            const NodeDraft& node = m_nodes[static_cast<std::size_t>(end - 1)];
            if (!node.point.IsEmpty()) continue;
            Warn(link.line, "the " + std::string(TypeWord(link.type)) + " " + Quoted(link.label) +
                                " has no geometry: its node " + Quoted(node.label) + " has no coordinates");
            break;
        }
}

void InpNetworkReader::Build() {
    DomainModelBuilder builder(LengthUnitOf(m_network.flowUnits));
    const std::size_t count = m_nodes.size() + m_links.size();
    builder.Reserve(count, m_vertices.size());
    m_network.definitionLines.reserve(count);
    using Column = std::vector<Support::FieldValue>;
    Column elevation(count), baseDemand(count), pattern(count), totalBaseDemand(count), length(count), diameter(count),
        roughness(count), status(count);
    for (std::size_t i = 0; i < m_nodes.size(); ++i) {
        const NodeDraft& node = m_nodes[i];
        const std::int32_t id = builder.AddNode(TypeId(node.type), std::string(node.label), node.point);
        m_network.definitionLines.push_back(node.line);
        elevation[i] = node.elevation;
        if (node.type != NetworkElementType::Junction) continue;
        baseDemand[i] = node.demand;
        if (!node.pattern.empty()) pattern[i] = std::string(node.pattern);
        const auto rows = m_network.demandRows.find(id);
        double total = node.demand;
        if (rows != m_network.demandRows.end()) {
            total = 0.0;
            for (const DemandRow& row : rows->second.rows) total += row.BaseDemand;
        }
        totalBaseDemand[i] = total;
    }
    auto vertex = m_vertices.begin();
    Support::PointArray points;
    for (std::size_t i = 0; i < m_links.size(); ++i) {
        const LinkDraft& link = m_links[i];
        points.clear();
        for (; vertex != m_vertices.end() && vertex->link == i; ++vertex) points.push_back(vertex->point);
        builder.AddLink(TypeId(link.type), std::string(link.label), link.startNode, link.endNode, points);
        m_network.definitionLines.push_back(link.line);
        const std::size_t slot = m_nodes.size() + i;
        status[slot] = std::string(link.status);
        length[slot] = link.length;
        diameter[slot] = link.diameter;
        roughness[slot] = link.roughness;
    }
    for (auto& [name, column] : {std::pair{FieldNames::Elevation, &elevation}, {FieldNames::BaseDemand, &baseDemand},
                                 {FieldNames::DemandPattern, &pattern}, {FieldNames::TotalBaseDemand, &totalBaseDemand},
                                 {FieldNames::Length, &length}, {FieldNames::Diameter, &diameter},
                                 {FieldNames::Roughness, &roughness}, {FieldNames::Status, &status}})
        builder.SetColumn(name, std::move(*column));
    m_network.model = builder.Build();
}

}  // namespace Norvane::Domain
