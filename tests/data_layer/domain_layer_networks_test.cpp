// The nearest node and nearest pipe that a model-element layer answers on
// real networks, against brute force over every element.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "data_layer/domain_layer_fixtures.h"

using namespace domain_test;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kQueries = 300;
#else
constexpr int kQueries = 3000;
#endif

struct Element {
    std::int32_t id;
    PointArray points;  // a node's point, or a pipe's vertices
};

double segmentDistance(const GeometryPoint& q, const GeometryPoint& a, const GeometryPoint& b) {
    const double dx = b.X - a.X, dy = b.Y - a.Y, length2 = dx * dx + dy * dy;
    if (length2 == 0.0) return std::numeric_limits<double>::infinity();  // no segment to project on
    const double t = std::clamp(((q.X - a.X) * dx + (q.Y - a.Y) * dy) / length2, 0.0, 1.0);
    return std::hypot(q.X - (a.X + t * dx), q.Y - (a.Y + t * dy));
}

double distanceTo(const GeometryPoint& q, const Element& element) {
    if (element.points.size() == 1) return std::hypot(q.X - element.points[0].X, q.Y - element.points[0].Y);
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i + 1 < element.points.size(); ++i)
        best = std::min(best, segmentDistance(q, element.points[i], element.points[i + 1]));
    return best;
}

// Every element of the layer with its geometry, read through the layer.
std::vector<Element> elementsOf(IDataLayer& layer) {
    std::vector<Element> elements;
    while (layer.MoveNext()) {
        const GeometryObject geometry = layer.GetGeometryShape();
        if (const auto* point = std::get_if<GeometryPoint>(&geometry)) {
            elements.push_back({layer.GetInt32Value("ElementID"), {*point}});
        } else if (const auto* points = std::get_if<PointArray>(&geometry)) {
            elements.push_back({layer.GetInt32Value("ElementID"), *points});
        }
    }
    return elements;
}

// Checks the layer's answer for every query point against brute force; the
// answers may differ only between elements at the same distance.
void expectNearestMatchesBruteForce(IDataLayer& layer, const std::vector<GeometryPoint>& queries,
                                    const std::string& network) {
    const std::vector<Element> elements = elementsOf(layer);
    ASSERT_FALSE(elements.empty());
    std::unordered_map<std::int32_t, const Element*> byId;
    for (const Element& element : elements) byId[element.id] = &element;
    auto probe = FeatureProbe::Point(0, 0);
    SpatialFilterContext context = Against(probe, SpatialFilterRelationType::Nearest);
    int differ = 0;
    for (const GeometryPoint& query : queries) {
        double best = std::numeric_limits<double>::infinity();
        for (const Element& element : elements) best = std::min(best, distanceTo(query, element));
        probe.MoveTo(query);
        layer.BeginFilter(context, true);
        ASSERT_TRUE(layer.MoveNext());
        const double found = distanceTo(query, *byId.at(layer.GetInt32Value("ElementID")));
        layer.EndFilter();
        if (std::fabs(found - best) > 1e-9 * std::max(1.0, best)) ++differ;
    }
    EXPECT_EQ(differ, 0) << layer.Name() << " of " << network;
}

}  // namespace

TEST(DomainLayerNetworks, NearestNodeAndPipeEqualBruteForce) {
    for (const char* network : {"Net1.inp", "Net3.inp", "ky10.inp"}) {
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

        expectNearestMatchesBruteForce(*nodes, queries, network);
        expectNearestMatchesBruteForce(*pipes, queries, network);
    }
}
