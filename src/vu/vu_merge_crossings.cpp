// Splitting edges where they cross: a plane sweep in y over the edges sorted
// by their lower ends.
#include <algorithm>
#include <cmath>
#include <vector>

#include "planar/line2d.h"
#include "vu/vu_graph.h"
#include "vu/vu_merge_steps.h"
#include "vu/vu_node.h"

namespace Korvex {

namespace {

// Crossings this close to an edge's end are left to the vertex clustering.
constexpr double kEndParameterMargin = 1.0e-13;

bool isInsideOpenUnit(double s) {
    return kEndParameterMargin < s && s < 1.0 - kEndParameterMargin;
}

// Parameters of the crossing of the two edges' lines; false for (nearly)
// parallel lines. For nearly parallel lines the solved parameters drift far
// along the lines, each in its own way; so the crossing is taken on a's line
// and b's parameter is its projection on b. The two split points then stay as
// close as the lines are, and the clustering joins them.
bool crossLines(const VuMergeSweepEdge& a, const VuMergeSweepEdge& b, double* sa, double* sb) {
    DPoint2d crossing;
    if (!tgxVector2d_intersectLines(&crossing, sa, nullptr, &a.start, &a.end, &b.start, &b.end))
        return false;
    const double vx = b.end.x - b.start.x, vy = b.end.y - b.start.y;
    *sb = ((crossing.x - b.start.x) * vx + (crossing.y - b.start.y) * vy) / (vx * vx + vy * vy);
    return true;
}

// The side of p from the line a->b: +1 left, -1 right, 0 on it or within
// the rounding of the measure (three times the usual bound of a computed
// orientation).
int sideOf(const DPoint2d& a, const DPoint2d& b, const DPoint2d& p) {
    const double left = (b.x - a.x) * (p.y - a.y), right = (b.y - a.y) * (p.x - a.x);
    const double doubt = 1e-15 * (std::fabs(left) + std::fabs(right));
    return (left - right > doubt) - (right - left > doubt);
}

// Each edge has its ends on both sides of the other's line, beyond doubt.
// Edges that share an end never cross, however nearly parallel they run
// (where solving for their lines' crossing may land anywhere).
bool crossCertainly(const VuMergeSweepEdge& a, const VuMergeSweepEdge& b) {
    return sideOf(a.start, a.end, b.start) * sideOf(a.start, a.end, b.end) < 0 &&
           sideOf(b.start, b.end, a.start) * sideOf(b.start, b.end, a.end) < 0;
}

// The crossings the crossing step splits at: where the lines cross away
// from both edges' ends. (Function objects, so that the search inlines them.)
struct CrossAwayFromEnds {
    bool operator()(const VuMergeSweepEdge& a, const VuMergeSweepEdge& b, double* sa, double* sb) const {
        return crossLines(a, b, sa, sb) && isInsideOpenUnit(*sa) && isInsideOpenUnit(*sb);
    }
};

// The crossings the repair splits at: certain ones, where the solved
// parameters lie inside both edges.
struct CrossForCertain {
    bool operator()(const VuMergeSweepEdge& a, const VuMergeSweepEdge& b, double* sa, double* sb) const {
        return crossCertainly(a, b) && crossLines(a, b, sa, sb) && 0.0 < *sa && *sa < 1.0 &&
               0.0 < *sb && *sb < 1.0;
    }
};

// What the scan reads of every edge, side by side, so that the pairs it
// passes over cost a few loads each.
void measureSpans(const std::vector<VuMergeSweepEdge>& edges, std::vector<VuMergeSweepSpan>& spans) {
    spans.resize(edges.size());
    for (size_t i = 0; i < edges.size(); ++i) {
        const VuMergeSweepEdge& e = edges[i];
        spans[i] = {e.start.y, std::min(e.start.x, e.end.x), std::max(e.start.x, e.end.x)};
    }
}

template <class Cross>
void findCrossings(const std::vector<VuMergeSweepEdge>& edges, std::vector<VuMergeSweepSpan>& spans,
                   std::vector<VuMergeCrossing>& crossings, Cross cross) {
    crossings.clear();
    measureSpans(edges, spans);
    const int count = static_cast<int>(edges.size());
    for (int i = 0; i < count; ++i) {
        const VuMergeSweepEdge& a = edges[i];
        const double aLow = spans[i].lowX, aHigh = spans[i].highX, aEndY = a.end.y;
        for (int j = i + 1; j < count; ++j) {
            const VuMergeSweepSpan& b = spans[j];
            // Later edges start no lower, so none of them reaches a's span.
            if (aEndY <= b.startY) break;
            // The x ranges must overlap strictly.
            if (!(aLow < b.highX && b.lowX < aHigh)) continue;
            double sa, sb;
            if (cross(a, edges[j], &sa, &sb)) {
                crossings.push_back({i, sa});
                crossings.push_back({j, sb});
            }
        }
    }
}

// Splits every edge of work.edges at its crossings in work.crossings,
// filtered by tol. With `placed` given, appends to it every new vertex at
// the place where it was made. Returns the number of splits; *exact tells
// whether every crossing got a split of its own, exactly where it was found.
int splitAtCrossings(VuSet* set, double tol, VuMergeWorkspace& work,
                     std::vector<VuMergeVertexRecord>* placed, bool* exact) {
    std::sort(work.crossings.begin(), work.crossings.end(),
              [](const VuMergeCrossing& a, const VuMergeCrossing& b) {
                  return a.edge != b.edge ? a.edge < b.edge : a.parameter < b.parameter;
              });
    const size_t count = work.crossings.size();
    int splitCount = 0;
    *exact = true;
    for (size_t i = 0; i < count;) {
        const int edge = work.crossings[i].edge;
        work.parameters.clear();
        for (; i < count && work.crossings[i].edge == edge; ++i)
            work.parameters.push_back(work.crossings[i].parameter);
        const int splits = vumerge_splitEdgeAtParameters(set, work.edges[edge], work.parameters, tol, work.splits);
        splitCount += splits;
        *exact = *exact && splits == static_cast<int>(work.parameters.size()) &&
                 work.splits == work.parameters;
        // The new vertices follow the edge's start along its face.
        VuNode* node = work.edges[edge].node;
        for (int k = 0; placed && k < splits; ++k) {
            node = vu_fsucc(node);
            placed->push_back({node, -1, 0.0, vu_getX(node), vu_getY(node)});
        }
    }
    return splitCount;
}

// The largest squared distance by which a vertex moved from where it was
// placed; a vertex with a NaN counts as unmoved.
double largestMoveSquared(const std::vector<VuMergeVertexRecord>& placed) {
    double largest = 0.0;
    for (const VuMergeVertexRecord& vertex : placed) {
        const double dx = vu_getX(vertex.node) - vertex.x, dy = vu_getY(vertex.node) - vertex.y;
        largest = std::max(largest, dx * dx + dy * dy);  // a NaN never replaces it
    }
    return largest;
}

// Far more rounds than any input short of a contrived one needs; the cap
// only bounds the work on hostile input.
constexpr int kMaxRepairRounds = 8;

// While edges cross, splits each exactly at its crossings (a tolerance of
// zero splits however near an end) and clusters again.
int splitUntilNoneCross(VuSet* set, double tol, int clusterCount, VuMergeWorkspace& work) {
    bool exact = true;
    for (int round = 0; round < kMaxRepairRounds; ++round) {
        vumerge_collectSweepEdges(set, work.edges);
        findCrossings(work.edges, work.spans, work.crossings, CrossForCertain());
        if (splitAtCrossings(set, 0.0, work, nullptr, &exact) == 0) break;
        clusterCount = vumerge_clusterVertices(set, tol, work.vertices);
    }
    return clusterCount;
}

}  // namespace

int vumerge_splitCrossingEdges(VuSet* set, double tol, int clusterCount, VuMergeWorkspace& work) {
    findCrossings(work.edges, work.spans, work.crossings, CrossAwayFromEnds());
    if (work.crossings.empty()) return clusterCount;
    work.placed = work.vertices;  // where every vertex stands before the splits
    bool exact = true;
    if (splitAtCrossings(set, tol, work, &work.placed, &exact) > 0)
        clusterCount = vumerge_clusterVertices(set, tol, work.vertices);
    // When every crossing was split where it lies and the clustering moved
    // no vertex farther than rounding (a crossing's two new vertices onto
    // each other), the pieces of each crossing pair meet at one vertex and
    // nothing else moved: no edges cross. Otherwise search again.
    const double rounding = 1e-4 * tol;
    if (exact && largestMoveSquared(work.placed) <= rounding * rounding) return clusterCount;
    return splitUntilNoneCross(set, tol, clusterCount, work);
}

}  // namespace Korvex
