// Point sets and queries for the spatial-index benchmarks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "planar/planar_types.h"

namespace rangetree_bench {

enum class Layout : int {
    Uniform = 0,  // spread evenly over a square
    Town = 1,     // neighbourhoods of street grids around a centre, like network nodes
};

const char* LayoutName(Layout layout);

// Projected coordinates in metres, far from the origin as real ones are.
std::vector<Korvex::DPoint2d> MakeNodes(Layout layout, size_t count, uint32_t seed);

// Query points like customer meters: near nodes for a town, anywhere in the
// square for the uniform layout.
std::vector<Korvex::DPoint2d> MakeQueries(Layout layout, const std::vector<Korvex::DPoint2d>& nodes,
                                          size_t count, uint32_t seed);

// Bounding rectangles of pipes joining each town node to a neighbour along
// its street.
std::vector<Korvex::DRange2d> MakePipeRanges(size_t count, uint32_t seed);

// The least squared distance from the query to any of the points, by a scan.
double BruteForceNearestSquared(const std::vector<Korvex::DPoint2d>& points,
                                const Korvex::DPoint2d& query);

// The nodes and queries of one benchmark case, made once per process.
struct PointCase {
    std::vector<Korvex::DPoint2d> nodes;
    std::vector<Korvex::DPoint2d> queries;
};
const PointCase& GetPointCase(Layout layout, size_t count);

}  // namespace rangetree_bench
