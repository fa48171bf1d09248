// Splitting edges where they cross: a plane sweep in y over the edges sorted
// by their lower ends.
#include <algorithm>

#include "planar/line2d.h"
#include "vu/vu_merge_steps.h"

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

// What the scan reads of every edge, side by side, so that the pairs it
// passes over cost a few loads each.
void measureSpans(const std::vector<VuMergeSweepEdge>& edges, std::vector<VuMergeSweepSpan>& spans) {
    spans.resize(edges.size());
    for (size_t i = 0; i < edges.size(); ++i) {
        const VuMergeSweepEdge& e = edges[i];
        spans[i] = {e.start.y, std::min(e.start.x, e.end.x), std::max(e.start.x, e.end.x)};
    }
}

void findCrossings(const std::vector<VuMergeSweepEdge>& edges, std::vector<VuMergeSweepSpan>& spans,
                   std::vector<VuMergeCrossing>& crossings) {
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
            if (crossLines(a, edges[j], &sa, &sb) && isInsideOpenUnit(sa) && isInsideOpenUnit(sb)) {
                crossings.push_back({i, sa});
                crossings.push_back({j, sb});
            }
        }
    }
}

}  // namespace

int vumerge_splitEdgesAtCrossings(VuSet* set, double tol, VuMergeWorkspace& work) {
    findCrossings(work.edges, work.spans, work.crossings);
    std::sort(work.crossings.begin(), work.crossings.end(),
              [](const VuMergeCrossing& a, const VuMergeCrossing& b) {
                  return a.edge != b.edge ? a.edge < b.edge : a.parameter < b.parameter;
              });
    const size_t count = work.crossings.size();
    int splitCount = 0;
    for (size_t i = 0; i < count;) {
        const int edge = work.crossings[i].edge;
        work.parameters.clear();
        for (; i < count && work.crossings[i].edge == edge; ++i)
            work.parameters.push_back(work.crossings[i].parameter);
        splitCount += vumerge_splitEdgeAtParameters(set, work.edges[edge], work.parameters, tol, work.splits);
    }
    return splitCount;
}

}  // namespace Korvex
