// A synthetic water-network town for benchmarks and differential tests:
// nodes on a jittered grid, pipes between neighbouring nodes, meters near the
// pipes, parcels, and the nodes' Thiessen polygons as service areas. The
// same seed and size always give the same town.
#pragma once

#include <cstdint>
#include <vector>

#include "planar/planar_types.h"

namespace allotrix_town {

using Korvex::DPoint2d;
using Korvex::DRange2d;

// A closed ring: the first point is repeated at the end.
using Ring = std::vector<DPoint2d>;

// Outer ring counterclockwise first, then holes clockwise.
struct Polygon {
    std::vector<Ring> rings;
};

struct Pipe {
    std::int32_t id;
    std::vector<DPoint2d> points;  // end node, 0-4 bends, end node
    std::int32_t fromId = 0, toId = 0;  // element IDs of the end nodes
};

struct TownSize {
    int gridSide;      // nodes per row and per column
    int pipeCount;     // at least gridSide^2 - 1 (a spanning tree)
    int meterCount;
    int parcelSide;    // parcels per row and per column
};

// About 400 nodes: quick enough for tests, also under the sanitizers.
TownSize SmallTownSize();
// About 10,000 nodes, 13,000 pipes, 100,000 meters, 20,000 parcels.
TownSize FullTownSize();
// About 100,000 nodes, 130,000 pipes and 1,000,000 meters, no parcels: a
// city, to show that one machine allocates it.
TownSize CityTownSize();

struct Town {
    DRange2d extent;
    std::vector<DPoint2d> nodes;
    std::vector<std::int32_t> nodeIds;  // element IDs, 1-based
    std::vector<Pipe> pipes;            // IDs continue after the node IDs
    std::vector<DPoint2d> meters;
    std::vector<Polygon> parcels;
    std::vector<Polygon> serviceAreas;  // one per node, same order
};

Town MakeTown(const TownSize& size, std::uint64_t seed);

// The same town with its nodes (and their service areas) and its pipes
// listed in random order, as a model may list them; IDs stay with their
// elements.
Town InRandomOrder(Town town, std::uint64_t seed);

}  // namespace allotrix_town
