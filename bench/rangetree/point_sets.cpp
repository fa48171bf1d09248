#include "point_sets.h"

#include <cmath>
#include <limits>
#include <map>
#include <numbers>
#include <random>
#include <utility>

namespace rangetree_bench {

using Korvex::DPoint2d;
using Korvex::DRange2d;

namespace {

constexpr double kOriginX = 5'709'600.0;
constexpr double kOriginY = 3'801'200.0;
constexpr double kStreetSpacing = 60.0;   // between parallel streets
constexpr double kNodeSpacing = 45.0;     // between nodes along a street
constexpr int kNodesPerNeighbourhood = 400;

// One neighbourhood: a rotated grid of streets with nodes along them, some
// missing and all slightly off their ideal place. Entry [street][along] is
// false where a node is missing.
struct Neighbourhood {
    static constexpr int kSide = 20;
    DPoint2d nodes[kSide][kSide];
    bool present[kSide][kSide];

    Neighbourhood(DPoint2d centre, std::mt19937& rng) {
        std::uniform_real_distribution<double> angle(0.0, std::numbers::pi / 2);
        std::uniform_real_distribution<double> jitter(-4.0, 4.0);
        std::bernoulli_distribution missing(0.15);
        const double a = angle(rng);
        const double c = std::cos(a);
        const double s = std::sin(a);
        for (int street = 0; street < kSide; ++street) {
            for (int along = 0; along < kSide; ++along) {
                const double u = (along - kSide / 2) * kNodeSpacing + jitter(rng);
                const double v = (street - kSide / 2) * kStreetSpacing + jitter(rng);
                nodes[street][along] = {centre.x + c * u - s * v, centre.y + s * u + c * v};
                present[street][along] = !missing(rng);
            }
        }
    }
};

// Neighbourhoods crowd towards the centre: the spread grows with the town
// so that neighbourhoods overlap a little, as suburbs do.
class TownPlan {
public:
    TownPlan(size_t nodeCount, uint32_t seed)
        : m_rng(seed), m_offset(0.0, 600.0 * std::sqrt(double(nodeCount) / kNodesPerNeighbourhood)) {}

    Neighbourhood Next() {
        return Neighbourhood({kOriginX + m_offset(m_rng), kOriginY + m_offset(m_rng)}, m_rng);
    }

private:
    std::mt19937 m_rng;
    std::normal_distribution<double> m_offset;
};

std::vector<DPoint2d> MakeTown(size_t count, uint32_t seed) {
    TownPlan plan(count, seed);
    std::vector<DPoint2d> nodes;
    nodes.reserve(count);
    while (nodes.size() < count) {
        const Neighbourhood hood = plan.Next();
        for (int street = 0; street < Neighbourhood::kSide; ++street) {
            for (int along = 0; along < Neighbourhood::kSide; ++along) {
                if (hood.present[street][along] && nodes.size() < count) {
                    nodes.push_back(hood.nodes[street][along]);
                }
            }
        }
    }
    return nodes;
}

std::vector<DPoint2d> MakeUniform(size_t count, std::mt19937& rng) {
    const double side = 50.0 * std::sqrt(double(count));
    std::uniform_real_distribution<double> place(0.0, side);
    std::vector<DPoint2d> nodes(count);
    for (DPoint2d& node : nodes) node = {kOriginX + place(rng), kOriginY + place(rng)};
    return nodes;
}

}  // namespace

const char* LayoutName(Layout layout) { return layout == Layout::Town ? "town" : "uniform"; }

std::vector<DPoint2d> MakeNodes(Layout layout, size_t count, uint32_t seed) {
    if (layout == Layout::Town) return MakeTown(count, seed);
    std::mt19937 rng(seed);
    return MakeUniform(count, rng);
}

std::vector<DPoint2d> MakeQueries(Layout layout, const std::vector<DPoint2d>& nodes,
                                  size_t count, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<DPoint2d> queries(count);
    if (layout == Layout::Town) {
        std::uniform_int_distribution<size_t> pick(0, nodes.size() - 1);
        std::uniform_real_distribution<double> near(-40.0, 40.0);
        for (DPoint2d& query : queries) {
            const DPoint2d& node = nodes[pick(rng)];
            query = {node.x + near(rng), node.y + near(rng)};
        }
        return queries;
    }
    DRange2d extent;
    extent.init();
    extent.extend(nodes.data(), static_cast<int>(nodes.size()));
    std::uniform_real_distribution<double> x(extent.low.x, extent.high.x);
    std::uniform_real_distribution<double> y(extent.low.y, extent.high.y);
    for (DPoint2d& query : queries) query = {x(rng), y(rng)};
    return queries;
}

// Pipes run between neighbouring nodes along each street, and across the
// streets at every fourth node, as mains and their cross connections do.
std::vector<DRange2d> MakePipeRanges(size_t count, uint32_t seed) {
    TownPlan plan(count, seed);
    std::vector<DRange2d> ranges;
    ranges.reserve(count);
    auto join = [&](const Neighbourhood& hood, int s0, int a0, int s1, int a1) {
        if (ranges.size() == count || !hood.present[s0][a0] || !hood.present[s1][a1]) return;
        const DPoint2d& p = hood.nodes[s0][a0];
        const DPoint2d& q = hood.nodes[s1][a1];
        DRange2d range;
        range.initFrom(p.x, p.y, q.x, q.y);
        ranges.push_back(range);
    };
    while (ranges.size() < count) {
        const Neighbourhood hood = plan.Next();
        for (int street = 0; street < Neighbourhood::kSide; ++street) {
            for (int along = 0; along < Neighbourhood::kSide; ++along) {
                if (along + 1 < Neighbourhood::kSide) join(hood, street, along, street, along + 1);
                if (street + 1 < Neighbourhood::kSide && along % 4 == 0) {
                    join(hood, street, along, street + 1, along);
                }
            }
        }
    }
    return ranges;
}

double BruteForceNearestSquared(const std::vector<DPoint2d>& points, const DPoint2d& query) {
    double best = std::numeric_limits<double>::max();
    for (const DPoint2d& point : points) {
        const double dx = point.x - query.x;
        const double dy = point.y - query.y;
        const double squared = dx * dx + dy * dy;
        if (squared < best) best = squared;
    }
    return best;
}

const PointCase& GetPointCase(Layout layout, size_t count) {
    static std::map<std::pair<Layout, size_t>, PointCase> cases;
    auto [it, inserted] = cases.try_emplace({layout, count});
    if (inserted) {
        it->second.nodes = MakeNodes(layout, count, 1234);
        it->second.queries = MakeQueries(layout, it->second.nodes, 4096, 99);
    }
    return it->second;
}

}  // namespace rangetree_bench
