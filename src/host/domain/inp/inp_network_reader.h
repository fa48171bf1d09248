// Reads the network of an .inp document: nodes, links, coordinates,
// vertices, demand rows, link status and the flow units. A file the engine
// would reject for a reason that makes the model wrong (a duplicate ID, a
// link to a missing node, a field that is not a number) is an
// ApplicationException naming the file and line; what the engine accepts but
// a user should know (an unknown section, an element without coordinates)
// is a warning.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/domain/inp/inp_document.h"
#include "host/domain/inp/inp_network.h"
#include "host/domain/inp/inp_text.h"
#include "host/domain/network_element_types.h"

namespace Norvane::Domain {

class InpNetworkReader {
public:
    InpNetworkReader(const InpDocument& document, std::string sourceName);
    InpNetwork Read();

private:
    struct NodeDraft {
        std::string_view label;
        NetworkElementType type;
        std::size_t line;
        double elevation;
        double demand = 0.0;
        std::string_view pattern;
        Support::GeometryPoint point = Support::GeometryPoint::Empty();
    };
    struct LinkDraft {
        std::string_view label;
        NetworkElementType type;
        std::size_t line;
        std::int32_t startNode;
        std::int32_t endNode;
        Support::FieldValue length, diameter, roughness;
        const char* status;
    };
    struct VertexDraft {
        std::size_t link;  // index into m_links
        Support::GeometryPoint point;
    };

    template <typename Visit>
    void ForEachDataLine(InpSection kind, Visit&& visit);
    [[noreturn]] void Fail(std::size_t line, const std::string& message) const;
    void Warn(std::size_t line, const std::string& message);
    double Number(std::size_t line, std::string_view field, std::string_view what) const;
    void RequireFields(std::size_t line, std::size_t needed, std::string_view what) const;
    std::int32_t NodeId(std::size_t line, std::string_view label, std::string_view context) const;
    std::int32_t LinkId(std::size_t line, std::string_view label, std::string_view context) const;
    void CheckId(std::size_t line, std::string_view label);

    void ReadOptions();
    void ReadNodes(InpSection kind, NetworkElementType type);
    void ReadCoordinates();
    void ReadLinks(InpSection kind, NetworkElementType type);
    void ReadPipeFields(LinkDraft& link);
    void ReadVertices();
    void ReadDemands();
    void ReadStatus();
    void ReadPatterns();
    void WarnAboutSections();
    void WarnAboutMissingGeometry();
    void Build();

    const InpDocument& m_document;
    std::string m_sourceName;
    InpLineTokens m_tokens;
    std::size_t m_suppressedWarnings = 0;
    std::vector<NodeDraft> m_nodes;
    std::vector<LinkDraft> m_links;
    std::vector<VertexDraft> m_vertices;
    InpNetwork m_network;
};

}  // namespace Norvane::Domain
