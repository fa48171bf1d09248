// The element types and attribute names of a water network model. Junctions,
// reservoirs and tanks derive from Node; pipes, pumps and valves from Link,
// so that a "Node" or "Link" layer holds every element of that kind and a
// selection set opened as a Node layer keeps its junctions, reservoirs and
// tanks.
#pragma once

namespace Norvane::Domain {

enum class NetworkElementType : int {
    Node = 1,
    Junction = 2,
    Reservoir = 3,
    Tank = 4,
    Link = 5,
    Pipe = 6,
    Pump = 7,
    Valve = 8,
};

inline constexpr int TypeId(NetworkElementType type) { return static_cast<int>(type); }

// Attribute names. Label, StartNode, EndNode, StartNodeId and EndNodeId are
// served by every model; the others by network models, in the units of the
// file they came from.
namespace FieldNames {
inline constexpr const char* Label = "Label";               // text
inline constexpr const char* StartNode = "StartNode";       // text: the start node's label
inline constexpr const char* EndNode = "EndNode";           // text
inline constexpr const char* StartNodeId = "StartNodeId";   // 32-bit element ID
inline constexpr const char* EndNodeId = "EndNodeId";       // 32-bit element ID
inline constexpr const char* Elevation = "Elevation";       // nodes; a reservoir's head
inline constexpr const char* BaseDemand = "BaseDemand";     // junctions: the demand column of the junction row
inline constexpr const char* DemandPattern = "DemandPattern";  // junctions: text, null when none is named
// Junctions: the base demand the hydraulic engine uses, the sum of the
// junction's demand rows when it has any, else BaseDemand.
inline constexpr const char* TotalBaseDemand = "TotalBaseDemand";
inline constexpr const char* Length = "Length";             // pipes
inline constexpr const char* Diameter = "Diameter";         // pipes and valves
inline constexpr const char* Roughness = "Roughness";       // pipes
inline constexpr const char* Status = "Status";             // links: "Open", "Closed", "CV" or "Active"
}  // namespace FieldNames

}  // namespace Norvane::Domain
