// RangeTree2D with PolygonContainsPointSearcher against a brute-force scan
// with the parity test, and the cases a caller relies on.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "host/host.h"
#include "planar/planar.h"

namespace {

using namespace Norvane::Support;
using Norvane::Support::Mixed::PolygonContainsPointSearcher;
using Norvane::Support::Mixed::RangeTree2D;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::vector<int> Search(RangeTree2D& tree, const PointArrayList& rings) {
    PolygonContainsPointSearcher searcher;
    searcher.Setup(rings);
    tree.Traverse(searcher);
    return searcher.PolygonContainsPointResult();
}

// The contract in one place: indexable points the parity test finds inside
// or on the boundary, in the order they were added.
std::vector<int> BruteForce(const std::vector<GeometryPoint>& points, const PointArrayList& rings) {
    std::vector<Korvex::DPoint3d> loops;
    for (const PointArray& ring : rings) {
        if (ring.empty()) continue;
        if (!loops.empty()) loops.push_back({Korvex::kDisconnectCoordinate, Korvex::kDisconnectCoordinate, 0.0});
        for (const GeometryPoint& p : ring) {
            if (!(std::fabs(p.X) < 1e100 && std::fabs(p.Y) < 1e100)) return {};
            loops.push_back({p.X, p.Y, 0.0});
        }
    }
    std::vector<int> inside;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Korvex::DPoint3d q{points[i].X, points[i].Y, 0.0};
        if (!(std::fabs(q.x) < 1e100 && std::fabs(q.y) < 1e100)) continue;
        const int parity = Korvex::tgxGeom_XYPolygonParity(&q, loops.data(), static_cast<int>(loops.size()), 0.0);
        if (parity >= 0) inside.push_back(static_cast<int>(i));
    }
    return inside;
}

// A star-shaped ring of n vertices around (cx, cy), radii drawn at random:
// non-convex, with vertices on whole numbers now and then.
PointArray Star(std::mt19937& rng, double cx, double cy, int n) {
    std::uniform_real_distribution<double> radius(2.0, 20.0);
    PointArray ring;
    for (int i = 0; i < n; ++i) {
        const double angle = 2.0 * M_PI * i / n;
        double x = cx + radius(rng) * std::cos(angle), y = cy + radius(rng) * std::sin(angle);
        if (i % 3 == 0) x = std::round(x), y = std::round(y);
        ring.push_back({x, y});
    }
    return ring;
}

// Random points, plus every vertex of the rings and points along their
// edges, some of them exactly representable on the edge.
std::vector<GeometryPoint> PointsFor(std::mt19937& rng, const std::vector<PointArrayList>& polygons, int randomCount) {
    std::uniform_real_distribution<double> coordinate(0.0, 100.0);
    std::vector<GeometryPoint> points;
    for (int i = 0; i < randomCount; ++i) points.push_back({coordinate(rng), coordinate(rng)});
    for (const PointArrayList& rings : polygons)
        for (const PointArray& ring : rings)
            for (std::size_t i = 0; i < ring.size(); ++i) {
                const GeometryPoint& a = ring[i];
                const GeometryPoint& b = ring[(i + 1) % ring.size()];
                points.push_back(a);
                for (double t : {0.5, 0.25, 0.1})
                    points.push_back({a.X + t * (b.X - a.X), a.Y + t * (b.Y - a.Y)});
            }
    return points;
}

TEST(PolygonContainsPointSearcher, AgreesWithBruteForceOnRandomAndBoundaryPoints) {
    std::mt19937 rng(7);
    std::vector<PointArrayList> polygons;
    for (int i = 0; i < 30; ++i) polygons.push_back({Star(rng, 20 + (i % 6) * 12, 20 + (i / 6) * 12, 3 + i % 9)});
    polygons.push_back({{{10, 10}, {90, 10}, {90, 90}, {10, 90}}, {{30, 30}, {30, 70}, {70, 70}, {70, 30}}});  // hole
    polygons.push_back({{{0, 0}, {50, 50}}});                  // a segment
    polygons.push_back({{{0, 0}, {25, 25}, {50, 50}, {0, 0}}}); // collinear, closed
    polygons.push_back({{{40, 40}}});                          // one point
    polygons.push_back({{{5, 5}, {95, 5}, {95, 95}, {5, 5}}, {}, {{60, 20}, {80, 20}, {80, 30}}});  // an empty ring between

    std::vector<GeometryPoint> points = PointsFor(rng, polygons, 3000);
    points.push_back({kNaN, 50});
    points.push_back({50, kNaN});
    points.push_back({INFINITY, 50});
    points.push_back({1e200, 50});
    RangeTree2D tree;
    for (std::size_t i = 0; i < points.size(); ++i) tree.AddPoint(points[i], static_cast<int>(i));
    for (const PointArrayList& rings : polygons) ASSERT_EQ(Search(tree, rings), BruteForce(points, rings));

    // Points added after a search are indexed on the next one.
    const std::size_t firstBatch = points.size();
    for (int i = 0; i < 500; ++i) {
        points.push_back(points[static_cast<std::size_t>(i) * 3 % firstBatch]);
        tree.AddPoint(points.back(), static_cast<int>(points.size() - 1));
    }
    EXPECT_EQ(tree.Count(), points.size());
    for (const PointArrayList& rings : polygons) ASSERT_EQ(Search(tree, rings), BruteForce(points, rings));
}

TEST(PolygonContainsPointSearcher, PinnedCasesAndHostileInput) {
    RangeTree2D tree;
    PolygonContainsPointSearcher searcher;
    searcher.Setup(PointArray{{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    tree.Traverse(searcher);  // an empty tree finds nothing
    EXPECT_TRUE(searcher.PolygonContainsPointResult().empty());

    // Keys in the order the points were added; a key may repeat.
    tree.AddPoint({20, 20}, 1);  // outside
    tree.AddPoint({10, 10}, 2);  // vertex
    tree.AddPoint({5, 0}, 3);    // edge
    tree.AddPoint({5, 5}, 4);    // inside
    tree.AddPoint({5, 5}, 4);
    tree.AddPoint({kNaN, kNaN}, 5);
    tree.AddPoint({-1e-300, 5}, 6);  // just outside
    tree.Traverse(searcher);
    EXPECT_EQ(searcher.PolygonContainsPointResult(), (std::vector<int>{2, 3, 4, 4}));

    // The same polygon closed and reversed answers the same.
    searcher.Setup(PointArray{{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}});
    tree.Traverse(searcher);
    EXPECT_EQ(searcher.PolygonContainsPointResult(), (std::vector<int>{2, 3, 4, 4}));

    // Polygons the search cannot use contain nothing.
    for (const PointArray& bad : {PointArray{}, PointArray{{0, 0}, {kNaN, 10}, {10, 10}},
                                  PointArray{{0, 0}, {1e308, 0}, {0, 10}},
                                  PointArray{{0, 0}, {std::numeric_limits<double>::max(), 0}, {0, 10}}}) {
        searcher.Setup(bad);
        tree.Traverse(searcher);
        EXPECT_TRUE(searcher.PolygonContainsPointResult().empty());
    }
    EXPECT_TRUE(PolygonContainsPointSearcher().PolygonContainsPointResult().empty());
}

}  // namespace
