// Which points of a RangeTree2D lie inside a polygon.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "host/mixed/range_tree_2d_searcher.h"
#include "host/support/geometry_point.h"
#include "planar/planar_types.h"

namespace Norvane::Support::Mixed {

// Set up with a polygon, hand to RangeTree2D::Traverse, then read the keys
// of the points inside. A point counts as inside when the XY parity test
// (tgxGeom_XYPolygonParity with tolerance 0, as the native point-in-polygon
// test uses it) finds it inside or on the boundary. Rings may be open or
// closed, and holes are rings inside rings. A polygon with a NaN
// coordinate, or one of magnitude 1e100 or more, contains nothing.
//
// Only points inside the polygon's rectangle are tested, so one search costs
// the tree walk plus one parity test per point near the polygon. That test
// first counts crossings of the horizontal line through the point over a
// table of edges made once per polygon, with the arithmetic of the parity
// test; only a point level with a vertex, or exactly on an edge, goes to the
// full parity test, so the answers are the same.
class PolygonContainsPointSearcher final : public RangeTree2DSearcher {
public:
    // Until Setup, the polygon is empty and contains nothing.
    PolygonContainsPointSearcher() { m_range.init(); }

    void Setup(const PointArray& polygon);
    void Setup(const PointArrayList& rings);

    // The keys of the points inside after the last Traverse, in the order
    // their points were added to the tree (a key added twice comes twice).
    const std::vector<int>& PolygonContainsPointResult() const { return m_result; }

    Korvex::DRange2d SearchRange() const override { return m_range; }
    void Begin() override;
    void Visit(const GeometryPoint& point, int key, std::size_t order) override;
    void End() override;

private:
    struct Edge {
        double x0, y0, x1, y1;
    };

    // False when the ring has a coordinate the search cannot use.
    bool AppendRing(const PointArray& ring);
    void FinishSetup(bool usable);
    void MakeEdges();
    // Whether the horizontal crossings decide (x, y); `inside` gets the answer.
    bool CountCrossings(double x, double y, bool& inside) const;
    bool ParityAccepts(double x, double y) const;

    std::vector<Korvex::DPoint3d> m_loops;  // rings separated by disconnect points
    std::vector<Edge> m_edges;              // every edge of every loop the parity test reads
    Korvex::DRange2d m_range;
    std::vector<std::pair<std::size_t, int>> m_found;  // (order, key)
    std::vector<int> m_result;
};

}  // namespace Norvane::Support::Mixed
