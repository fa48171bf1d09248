#include "town/town.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace allotrix_town {

namespace {

constexpr double kNodeSpacing = 50.0;  // metres
constexpr DPoint2d kCentre{500000.0, 4000000.0};
constexpr double kPi = 3.14159265358979323846;

// A small portable generator, so that a seed names the same town with every
// standard library.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t Next() {  // splitmix64
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double Uniform(double low, double high) {
        return low + (high - low) * static_cast<double>(Next() >> 11) * 0x1.0p-53;
    }
    int Below(int bound) { return static_cast<int>(Next() % static_cast<std::uint64_t>(bound)); }
    bool Chance(double probability) { return Uniform(0.0, 1.0) < probability; }

private:
    std::uint64_t m_state;
};

DPoint2d Lerp(DPoint2d a, DPoint2d b, double f) {
    return {a.x + f * (b.x - a.x), a.y + f * (b.y - a.y)};
}

DRange2d ExtentFor(int gridSide) {
    const double half = 0.5 * kNodeSpacing * gridSide;
    DRange2d extent;
    extent.initFrom(kCentre.x - half, kCentre.y - half, kCentre.x + half, kCentre.y + half);
    return extent;
}

void MakeNodes(Town& town, int side, Random& random) {
    for (int row = 0; row < side; ++row)
        for (int column = 0; column < side; ++column) {
            const double x = town.extent.low.x + (column + 0.5) * kNodeSpacing;
            const double y = town.extent.low.y + (row + 0.5) * kNodeSpacing;
            const double jitter = 0.3 * kNodeSpacing;
            town.nodes.push_back(
                {x + random.Uniform(-jitter, jitter), y + random.Uniform(-jitter, jitter)});
            town.nodeIds.push_back(static_cast<std::int32_t>(town.nodes.size()));
        }
}

// Grid edges between horizontally and vertically neighbouring nodes.
std::vector<std::pair<int, int>> NeighbourEdges(int side) {
    std::vector<std::pair<int, int>> edges;
    for (int row = 0; row < side; ++row)
        for (int column = 0; column < side; ++column) {
            const int node = row * side + column;
            if (column + 1 < side)
                edges.emplace_back(node, node + 1);
            if (row + 1 < side)
                edges.emplace_back(node, node + side);
        }
    return edges;
}

int FindRoot(std::vector<int>& parent, int node) {
    while (parent[node] != node)
        node = parent[node] = parent[parent[node]];
    return node;
}

// A random spanning tree first (so the network is connected), then loops.
std::vector<std::pair<int, int>> ChoosePipeEdges(int side, int pipeCount, Random& random) {
    std::vector<std::pair<int, int>> edges = NeighbourEdges(side);
    for (std::size_t i = edges.size(); i > 1; --i)
        std::swap(edges[i - 1], edges[static_cast<std::size_t>(random.Below(static_cast<int>(i)))]);
    std::vector<int> parent(static_cast<std::size_t>(side) * side);
    std::iota(parent.begin(), parent.end(), 0);
    std::vector<std::pair<int, int>> chosen;
    std::vector<std::pair<int, int>> spare;
    for (const auto& edge : edges) {
        const int a = FindRoot(parent, edge.first);
        const int b = FindRoot(parent, edge.second);
        if (a != b) {
            parent[a] = b;
            chosen.push_back(edge);
        } else {
            spare.push_back(edge);
        }
    }
    for (std::size_t i = 0; i < spare.size() && static_cast<int>(chosen.size()) < pipeCount; ++i)
        chosen.push_back(spare[i]);
    // Numbered as a model lists them: pipes of nearby nodes come together.
    std::sort(chosen.begin(), chosen.end());
    return chosen;
}

std::vector<DPoint2d> PipeVertices(DPoint2d from, DPoint2d to, Random& random) {
    std::vector<DPoint2d> points{from};
    const int bends = random.Below(5);
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    for (int k = 1; k <= bends; ++k) {
        const DPoint2d onLine = Lerp(from, to, static_cast<double>(k) / (bends + 1));
        const double offset = random.Uniform(-0.1, 0.1);  // of the pipe's length
        points.push_back({onLine.x - offset * dy, onLine.y + offset * dx});
    }
    points.push_back(to);
    return points;
}

void MakePipes(Town& town, const TownSize& size, Random& random) {
    std::int32_t id = static_cast<std::int32_t>(town.nodes.size());
    for (const auto& [a, b] : ChoosePipeEdges(size.gridSide, size.pipeCount, random)) {
        const auto from = static_cast<std::size_t>(a), to = static_cast<std::size_t>(b);
        town.pipes.push_back({++id, PipeVertices(town.nodes[from], town.nodes[to], random), town.nodeIds[from],
                              town.nodeIds[to]});
    }
}

// Meters stand beside a random pipe, up to 15 m off its centre line.
void MakeMeters(Town& town, int count, Random& random) {
    for (int i = 0; i < count; ++i) {
        const Pipe& pipe = town.pipes[static_cast<std::size_t>(random.Below(static_cast<int>(town.pipes.size())))];
        const std::size_t segment = static_cast<std::size_t>(random.Below(static_cast<int>(pipe.points.size()) - 1));
        const DPoint2d a = pipe.points[segment];
        const DPoint2d b = pipe.points[segment + 1];
        const DPoint2d onPipe = Lerp(a, b, random.Uniform(0.0, 1.0));
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        const double offset = length > 0.0 ? random.Uniform(-15.0, 15.0) / length : 0.0;
        town.meters.push_back({onPipe.x - offset * (b.y - a.y), onPipe.y + offset * (b.x - a.x)});
    }
}

// A star-shaped ring around a centre; a large radial spread makes it concave.
Ring StarRing(DPoint2d centre, double radius, int vertices, double spread, bool clockwise,
              Random& random) {
    Ring ring;
    const double phase = random.Uniform(0.0, 2.0 * kPi);
    for (int k = 0; k < vertices; ++k) {
        const double turn = (clockwise ? -1.0 : 1.0) * 2.0 * kPi * k / vertices;
        const double r = radius * (1.0 - random.Uniform(0.0, spread));
        ring.push_back({centre.x + r * std::cos(phase + turn), centre.y + r * std::sin(phase + turn)});
    }
    ring.push_back(ring.front());
    return ring;
}

Polygon MakeParcel(DPoint2d centre, double spacing, Random& random) {
    const int vertices = 5 + random.Below(36);
    const bool concave = random.Chance(0.2);
    const double radius = spacing * random.Uniform(0.45, 0.6);
    Polygon parcel;
    parcel.rings.push_back(StarRing(centre, radius, vertices, concave ? 0.5 : 0.1, false, random));
    if (!concave && random.Chance(0.02))  // a courtyard
        parcel.rings.push_back(StarRing(centre, 0.3 * radius, 4 + random.Below(5), 0.0, true, random));
    return parcel;
}

void MakeParcels(Town& town, int side, Random& random) {
    const double spacing = (town.extent.high.x - town.extent.low.x) / side;
    for (int row = 0; row < side; ++row)
        for (int column = 0; column < side; ++column) {
            const double jitter = 0.15 * spacing;
            const DPoint2d centre{
                town.extent.low.x + (column + 0.5) * spacing + random.Uniform(-jitter, jitter),
                town.extent.low.y + (row + 0.5) * spacing + random.Uniform(-jitter, jitter)};
            town.parcels.push_back(MakeParcel(centre, spacing, random));
        }
}

// Keeps the part of a convex ring (open) nearer to `site` than to `other`.
std::vector<DPoint2d> ClipToBisector(const std::vector<DPoint2d>& ring, DPoint2d site,
                                     DPoint2d other) {
    const DPoint2d normal{other.x - site.x, other.y - site.y};
    const DPoint2d middle = Lerp(site, other, 0.5);
    auto side = [&](DPoint2d p) { return (p.x - middle.x) * normal.x + (p.y - middle.y) * normal.y; };
    std::vector<DPoint2d> clipped;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const DPoint2d a = ring[i];
        const DPoint2d b = ring[(i + 1) % ring.size()];
        const double sa = side(a);
        const double sb = side(b);
        if (sa <= 0.0)
            clipped.push_back(a);
        if ((sa < 0.0 && sb > 0.0) || (sa > 0.0 && sb < 0.0))
            clipped.push_back(Lerp(a, b, sa / (sa - sb)));
    }
    return clipped;
}

// With a jitter below a third of the spacing, every Voronoi neighbour of a
// node lies within two grid steps.
Polygon ThiessenCell(const Town& town, int side, int row, int column) {
    const DRange2d& e = town.extent;
    std::vector<DPoint2d> cell{{e.low.x, e.low.y}, {e.high.x, e.low.y}, {e.high.x, e.high.y}, {e.low.x, e.high.y}};
    const DPoint2d site = town.nodes[static_cast<std::size_t>(row * side + column)];
    for (int r = std::max(0, row - 2); r <= std::min(side - 1, row + 2); ++r)
        for (int c = std::max(0, column - 2); c <= std::min(side - 1, column + 2); ++c)
            if (r != row || c != column)
                cell = ClipToBisector(cell, site, town.nodes[static_cast<std::size_t>(r * side + c)]);
    cell.push_back(cell.front());
    return Polygon{{cell}};
}

void MakeServiceAreas(Town& town, int side) {
    for (int row = 0; row < side; ++row)
        for (int column = 0; column < side; ++column)
            town.serviceAreas.push_back(ThiessenCell(town, side, row, column));
}

}  // namespace

TownSize SmallTownSize() {
    return {20, 520, 2000, 28};
}

TownSize FullTownSize() {
    return {100, 13000, 100000, 141};
}

TownSize CityTownSize() {
    return {317, 130000, 1000000, 0};
}

Town InRandomOrder(Town town, std::uint64_t seed) {
    Random random(seed);
    const auto swapElements = [&](auto& first, auto&... rest) {
        for (std::size_t i = first.size(); i > 1; --i) {
            const std::size_t j = static_cast<std::size_t>(random.Below(static_cast<int>(i)));
            std::swap(first[i - 1], first[j]);
            (std::swap(rest[i - 1], rest[j]), ...);
        }
    };
    swapElements(town.nodes, town.nodeIds, town.serviceAreas);
    swapElements(town.pipes);
    return town;
}

Town MakeTown(const TownSize& size, std::uint64_t seed) {
    Random random(seed);
    Town town;
    town.extent = ExtentFor(size.gridSide);
    MakeNodes(town, size.gridSide, random);
    MakePipes(town, size, random);
    MakeMeters(town, size.meterCount, random);
    MakeParcels(town, size.parcelSide, random);
    MakeServiceAreas(town, size.gridSide);
    return town;
}

}  // namespace allotrix_town
