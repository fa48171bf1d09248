// Splitting edges: at a list of parameters, and at the vertices that lie on
// them, found by a plane sweep in y.
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

// Sorts points by y. They come in the order of the clustering key, which
// is nearly y, so an insertion sort has little to move; a budget of moves
// guards against inputs where it is not.
void sortByY(std::vector<VuMergeSweepPoint>& points) {
    const auto byY = [](const VuMergeSweepPoint& a, const VuMergeSweepPoint& b) { return a.y < b.y; };
    size_t budget = 8 * points.size();
    for (size_t i = 1; i < points.size(); ++i) {
        const VuMergeSweepPoint point = points[i];
        size_t j = i;
        for (; j > 0 && byY(point, points[j - 1]); --j) points[j] = points[j - 1];
        points[j] = point;
        const size_t moves = i - j;
        if (moves > budget) {
            std::sort(points.begin(), points.end(), byY);
            return;
        }
        budget -= moves;
    }
}

// The vertices that may split edges, sorted by y: those of the clustered
// vertex loops with a node outside the exterior. The records hold one node of
// every vertex loop of the graph as it is. A point with a NaN could split
// nothing and is left out. The sweep gathers every point of a y range and
// sorts what it finds, so the order among points of equal y does not matter.
void collectSweepPoints(const std::vector<VuMergeVertexRecord>& vertices,
                        std::vector<VuMergeSweepPoint>& points) {
    points.clear();
    for (const VuMergeVertexRecord& vertex : vertices) {
        const VuNode* inside = vu_findUnmaskedAroundVertex(vertex.node, VU_EXTERIOR_EDGE);
        if (!inside) continue;
        const VuMergeSweepPoint point = {vu_getX(inside), vu_getY(inside)};
        if (!std::isnan(point.x) && !std::isnan(point.y)) points.push_back(point);
    }
    sortByY(points);
}

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
        // Edges with a non-finite end can be neither split nor sorted.
        if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
            continue;
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
    const double tol2 = tol * tol;
    const size_t pointCount = work.points.size();
    // Edges come in order of their lower y, so the first vertex that can lie
    // in an edge's box only moves forward.
    size_t sweep = 0;
    int splitCount = 0;
    for (const VuMergeSweepEdge& edge : work.edges) {
        const double length = xyLength(edge.start, edge.end);
        if (!(length > tol && length >= 2.0 * tol)) continue;
        DRange2d box;
        box.initFrom(edge.start.x, edge.start.y, edge.end.x, edge.end.y);
        box.extend(tol);
        while (sweep < pointCount && work.points[sweep].y < box.low.y) ++sweep;
        work.parameters.clear();
        for (size_t k = sweep; k < pointCount && work.points[k].y <= box.high.y; ++k) {
            const VuMergeSweepPoint& point = work.points[k];
            double s;
            if (box.low.x <= point.x && point.x <= box.high.x &&
                interiorParameter(edge, point, tol2, &s))
                work.parameters.push_back(s);
        }
        if (!work.parameters.empty())
            splitCount += vumerge_splitEdgeAtParameters(set, edge, work.parameters, tol, work.splits);
    }
    return splitCount;
}

}  // namespace Korvex
