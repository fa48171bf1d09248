// Splitting edges: at a list of parameters, and at the vertices that lie on
// them, found through strips of points sorted by x.
#include <algorithm>
#include <cmath>

#include "vu/vu_graph.h"
#include "vu/vu_merge_steps.h"
#include "vu/vu_node.h"
#include "vu/vu_topology.h"

namespace Korvex {

namespace {

template <class Point>
double xyLength(const Point& a, const Point& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

DPoint3d interpolate(const DPoint3d& a, const DPoint3d& b, double s) {
    return {a.x + s * (b.x - a.x), a.y + s * (b.y - a.y), a.z + s * (b.z - a.z)};
}

// The values to split at: runs of parameters closer than width to their
// neighbour become one split at their middle, or evenly spaced splits no
// closer than width when the run is longer; values within width of either
// end are dropped.
void filterParameters(std::vector<double>& parameters, double width, std::vector<double>& splits) {
    std::sort(parameters.begin(), parameters.end());
    splits.clear();
    const double low = width;
    const double high = 1.0 - width;
    const size_t count = parameters.size();
    for (size_t i = 0; i < count;) {
        const double first = parameters[i++];
        if (!(low <= first && first <= high)) continue;
        double last = first;
        while (i < count && parameters[i] <= last + width) last = parameters[i++];
        const double span = last - first;
        if (span <= width) {
            splits.push_back(0.5 * (first + last));
            continue;
        }
        // The run holds at least span / width + 1 values, so the number of
        // steps is bounded by the number of parameters (the cap only guards
        // against rounding).
        const int steps = static_cast<int>(std::min(span / width, static_cast<double>(count)));
        const double step = span / steps;
        for (int k = 0; k < steps; ++k) splits.push_back(first + k * step);
        splits.push_back(last);
    }
}

// The vertices that may split edges: those of the clustered vertex loops
// with a node outside the exterior (the records hold one node of every vertex
// loop of the graph as it is). A point with a non-finite coordinate lies in
// no edge's box and is left out.
void collectSweepPoints(const std::vector<VuMergeVertexRecord>& vertices,
                        std::vector<VuMergeSweepPoint>& points) {
    points.clear();
    for (const VuMergeVertexRecord& vertex : vertices) {
        const VuNode* inside = vu_findUnmaskedAroundVertex(vertex.node, VU_EXTERIOR_EDGE);
        if (!inside) continue;
        const VuMergeSweepPoint point = {vu_getX(inside), vu_getY(inside)};
        if (std::isfinite(point.x) && std::isfinite(point.y)) points.push_back(point);
    }
}

// The points in horizontal strips about as high as the edges are tall, each
// strip sorted by x: an edge's box then meets a strip or two, and in each the
// points of its x range lie together. (Scanning every point of the box's y
// range instead meets all the points across the figure at that height.)
class PointStrips {
public:
    void build(const std::vector<VuMergeSweepEdge>& edges, double tol, std::vector<VuMergeSweepPoint>& points,
               std::vector<VuMergeSweepPoint>& sorted, std::vector<int>& starts) {
        m_points = &sorted;
        m_starts = &starts;
        sorted.resize(points.size());
        double lowY = 0.0, highY = 0.0;
        for (size_t i = 0; i < points.size(); ++i) {
            lowY = i == 0 || points[i].y < lowY ? points[i].y : lowY;
            highY = i == 0 || points[i].y > highY ? points[i].y : highY;
        }
        double height = 0.0;
        for (const VuMergeSweepEdge& edge : edges) height += edge.end.y - edge.start.y;
        height = 2.0 * (edges.empty() ? 0.0 : height / static_cast<double>(edges.size())) + 2.0 * tol;
        const double span = highY - lowY;
        // At most one strip per point; one strip when the extent or the
        // height gives nothing to divide.
        const double strips = height > 0.0 ? std::min(span / height, static_cast<double>(points.size())) : 0.0;
        m_count = strips >= 1.0 ? static_cast<int>(strips) + 1 : 1;
        m_lowY = lowY;
        m_scale = m_count > 1 ? m_count / span : 0.0;
        vumerge_placeInBuckets(
            points.size(), static_cast<size_t>(m_count),
            [&](size_t i, auto place) { place(static_cast<size_t>(stripOf(points[i].y))); },
            [&](size_t i) { return points[i]; }, starts, sorted);
        for (int s = 0; s < m_count; ++s)
            std::sort(sorted.begin() + starts[s], sorted.begin() + starts[s + 1],
                      [](const VuMergeSweepPoint& a, const VuMergeSweepPoint& b) { return a.x < b.x; });
    }

    // Calls visit for every point inside the box (bounds included).
    template <class Visit>
    void forEachIn(const DRange2d& box, Visit visit) const {
        const std::vector<VuMergeSweepPoint>& points = *m_points;
        const int last = stripOf(box.high.y);
        for (int s = stripOf(box.low.y); s <= last; ++s) {
            const auto end = points.begin() + (*m_starts)[static_cast<size_t>(s) + 1];
            auto point = std::lower_bound(points.begin() + (*m_starts)[static_cast<size_t>(s)], end, box.low.x,
                                          [](const VuMergeSweepPoint& p, double x) { return p.x < x; });
            for (; point != end && point->x <= box.high.x; ++point) {
                if (box.low.y <= point->y && point->y <= box.high.y) visit(*point);
            }
        }
    }

private:
    // Monotone in y, so the strips of a box's two bounds enclose every strip
    // holding a point of the box.
    int stripOf(double y) const {
        const double v = (y - m_lowY) * m_scale;
        if (!(v > 0.0)) return 0;
        return v >= m_count - 1 ? m_count - 1 : static_cast<int>(v);
    }

    const std::vector<VuMergeSweepPoint>* m_points = nullptr;
    const std::vector<int>* m_starts = nullptr;
    double m_lowY = 0.0;
    double m_scale = 0.0;
    int m_count = 1;
};

// Up to this many edge and point pairs, and this many points, a sweep in y
// finds the points near each edge.
constexpr size_t kDirectPairs = 16384;
constexpr size_t kDirectPoints = 256;

// The parameter of point on the edge when the point lies within tol of the
// edge's interior and farther than tol from both ends.
bool interiorParameter(const VuMergeSweepEdge& edge, const VuMergeSweepPoint& point, double tol2,
                       double* parameter) {
    const double ux = edge.end.x - edge.start.x;
    const double uy = edge.end.y - edge.start.y;
    const double wx = point.x - edge.start.x;
    const double wy = point.y - edge.start.y;
    const double dot = wx * ux + wy * uy;
    const double length2 = ux * ux + uy * uy;
    // Rounded division is monotone, so dot outside (0, length2) means s
    // outside (0, 1): such candidates fail without the division.
    if (!(0.0 < dot && dot < length2)) return false;
    const double s = dot / length2;
    if (!(0.0 < s && s < 1.0)) return false;
    const double ex = wx - s * ux;
    const double ey = wy - s * uy;
    const double vx = point.x - edge.end.x;
    const double vy = point.y - edge.end.y;
    if (!(ex * ex + ey * ey < tol2 && wx * wx + wy * wy > tol2 && vx * vx + vy * vy > tol2))
        return false;
    *parameter = s;
    return true;
}

}  // namespace

void vumerge_collectSweepEdges(VuSet* set, std::vector<VuMergeSweepEdge>& edges) {
    edges.clear();
    for (VuNode* node = vu_firstNodeInGraph(set); node; node = vu_nextNodeInGraph(set, node)) {
        const VuNode* next = vu_fsucc(node);
        const double x0 = vu_getX(node), y0 = vu_getY(node);
        const double x1 = vu_getX(next), y1 = vu_getY(next);
        // Edges with a non-finite end can be neither split nor sorted. (v - v
        // is 0 for a finite v and NaN otherwise: one test for all four.)
        if ((x0 - x0) + (y0 - y0) + (x1 - x1) + (y1 - y1) != 0.0) continue;
        if (y1 > y0 || (y1 == y0 && x1 > x0)) {
            edges.push_back({node, {x0, y0}, {x1, y1}});
        }
    }
    std::sort(edges.begin(), edges.end(), [](const VuMergeSweepEdge& a, const VuMergeSweepEdge& b) {
        return a.start.y < b.start.y || (a.start.y == b.start.y && a.start.x < b.start.x);
    });
}

int vumerge_splitEdgeAtParameters(VuSet* set, const VuMergeSweepEdge& edge,
                                   std::vector<double>& parameters, double tol,
                                   std::vector<double>& splits) {
    if (parameters.empty()) return 0;  // the common case: nothing to read
    DPoint3d start, end;
    vu_getDPoint3d(&start, edge.node);
    vu_getDPoint3d(&end, vu_fsucc(edge.node));
    const double length = xyLength(start, end);
    if (!(length > tol)) return 0;
    filterParameters(parameters, tol / length, splits);
    VuNode* node = edge.node;
    int count = 0;
    for (const double s : splits) {
        VuNode* first = nullptr;
        VuNode* second = nullptr;
        vu_splitEdge(set, node, &first, &second);
        if (!first || !second) break;
        const DPoint3d point = interpolate(start, end, s);
        vu_setDPoint3d(first, &point);
        vu_setDPoint3d(second, &point);
        node = first;
        ++count;
    }
    return count;
}

int vumerge_splitEdgesAtVertices(VuSet* set, double tol, VuMergeWorkspace& work) {
    collectSweepPoints(work.vertices, work.points);
    // Few edges and points are cheaper to sweep in y than to sort into strips.
    const bool direct =
        work.points.size() <= kDirectPoints && work.points.size() * work.edges.size() <= kDirectPairs;
    PointStrips strips;
    // The points come in the clustering's order, a projection close to y, so
    // they are nearly sorted by y already; the sweep is used for few points
    // only, which bounds the worst case.
    if (direct)
        vumerge_insertionSort(work.points,
                              [](const VuMergeSweepPoint& a, const VuMergeSweepPoint& b) { return a.y < b.y; });
    else
        strips.build(work.edges, tol, work.points, work.stripPoints, work.stripStarts);
    const VuMergeSweepPoint* points = work.points.data();
    const size_t pointCount = work.points.size();
    size_t sweep = 0;
    const double tol2 = tol * tol;
    int splitCount = 0;
    for (const VuMergeSweepEdge& edge : work.edges) {
        const double length = xyLength(edge.start, edge.end);
        if (!(length > tol && length >= 2.0 * tol)) continue;
        DRange2d box;
        box.initFrom(edge.start.x, edge.start.y, edge.end.x, edge.end.y);
        box.extend(tol);
        work.parameters.clear();
        const auto consider = [&](const VuMergeSweepPoint& point) {
            double s;
            if (interiorParameter(edge, point, tol2, &s)) work.parameters.push_back(s);
        };
        if (direct) {
            // The edges come in order of their lower ends, so points below
            // this box are below every later one.
            while (sweep < pointCount && points[sweep].y < box.low.y) ++sweep;
            for (size_t i = sweep; i < pointCount && points[i].y <= box.high.y; ++i)
                if (box.low.x <= points[i].x && points[i].x <= box.high.x) consider(points[i]);
        } else {
            strips.forEachIn(box, consider);
        }
        // The parameters are sorted before use, so the order in which the
        // points were met does not matter.
        if (!work.parameters.empty())
            splitCount += vumerge_splitEdgeAtParameters(set, edge, work.parameters, tol, work.splits);
    }
    return splitCount;
}

}  // namespace Korvex
