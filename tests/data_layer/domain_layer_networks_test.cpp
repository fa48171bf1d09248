// The nearest node and nearest pipe that a model-element layer answers on
// real networks, against brute force over every element.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "data_layer/domain_layer_fixtures.h"

using namespace domain_test;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kQueries = 300;
#else
constexpr int kQueries = 3000;
#endif

// Distance to a node's point or a pipe's nearest segment; segments of no
// length are never nearest, as for the native searcher.
double distanceTo(const GeometryPoint& q, const PointArray& points) {
    if (points.size() == 1) return std::hypot(q.X - points[0].X, q.Y - points[0].Y);
    double best = INFINITY;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const GeometryPoint a = points[i], b = points[i + 1];
        const double dx = b.X - a.X, dy = b.Y - a.Y, length2 = dx * dx + dy * dy;
        if (length2 == 0.0) continue;
        const double t = std::clamp(((q.X - a.X) * dx + (q.Y - a.Y) * dy) / length2, 0.0, 1.0);
        best = std::min(best, std::hypot(q.X - (a.X + t * dx), q.Y - (a.Y + t * dy)));
    }
    return best;
}

// Asks the layer for every query point and compares with the nearest of all
// its elements (read through the layer); answers may differ only in a tie.
void expectNearestMatchesBruteForce(IDataLayer& layer, const std::vector<GeometryPoint>& queries) {
    std::unordered_map<std::int32_t, PointArray> elements;
    while (layer.MoveNext()) {
        const GeometryObject geometry = layer.GetGeometryShape();
        if (const auto* point = std::get_if<GeometryPoint>(&geometry)) elements[layer.GetInt32Value("ElementID")] = {*point};
        if (const auto* points = std::get_if<PointArray>(&geometry)) elements[layer.GetInt32Value("ElementID")] = *points;
    }
    ASSERT_FALSE(elements.empty());
    auto probe = FeatureProbe::Point(0, 0);
    const SpatialFilterContext context = Against(probe, SpatialFilterRelationType::Nearest);
    int differ = 0;
    for (const GeometryPoint& query : queries) {
        double best = INFINITY;
        for (const auto& [id, points] : elements) best = std::min(best, distanceTo(query, points));
        probe.MoveTo(query);
        layer.BeginFilter(context, true);
        ASSERT_TRUE(layer.MoveNext());
        const double found = distanceTo(query, elements.at(layer.GetInt32Value("ElementID")));
        layer.EndFilter();
        differ += std::fabs(found - best) > 1e-9 * std::max(1.0, best);
    }
    EXPECT_EQ(differ, 0) << layer.Name();
}

}  // namespace

TEST(DomainLayerNetworks, NearestNodeAndPipeEqualBruteForce) {
    for (const char* network : {"Net1.inp", "Net3.inp", "ky10.inp"}) {
        SCOPED_TRACE(network);
        auto inp = InpModel::Load(std::string(ALLOTRIX_TEST_DATA) + "/" + network);
        AllotrixLibrary library{&inp->Model(), inp->LengthUnit()};
        auto nodes = Data::Domain::DomainDataTools::OpenActiveModelLayer(&library, "Node\\All Elements");
        auto pipes = Data::Domain::DomainDataTools::OpenActiveModelLayer(&library, "Pipe\\All Elements");

        // Seeded points over the network's box and a margin around it.
        double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
        while (nodes->MoveNext()) {
            const GeometryPoint p = nodes->GetCentroid();
            minX = std::min(minX, p.X), minY = std::min(minY, p.Y), maxX = std::max(maxX, p.X), maxY = std::max(maxY, p.Y);
        }
        nodes->Reset();
        const double marginX = 0.1 * (maxX - minX), marginY = 0.1 * (maxY - minY);
        std::mt19937_64 random(20261205);
        std::uniform_real_distribution<double> x(minX - marginX, maxX + marginX), y(minY - marginY, maxY + marginY);
        std::vector<GeometryPoint> queries(kQueries);
        for (GeometryPoint& q : queries) q = {x(random), y(random)};

        expectNearestMatchesBruteForce(*nodes, queries);
        expectNearestMatchesBruteForce(*pipes, queries);
    }
}
