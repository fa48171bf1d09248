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

// Below this many crossing records, insertion groups them fastest.
constexpr size_t kFewCrossings = 32;

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

// The edges in vertical columns about as wide as a few edges, each column
// listing the edges that reach into it in sweep order. Two edges whose x
// ranges overlap share a column, so the y sweep runs column by column and
// passes over the edges at the same height across the figure only in the
// column it is in. A pair sharing several columns is tried in the first.
class EdgeColumns {
public:
    void build(const std::vector<VuMergeSweepEdge>& edges, const std::vector<VuMergeSweepSpan>& spans,
               std::vector<int>& starts, std::vector<int>& members) {
        m_starts = &starts;
        m_members = &members;
        measure(edges, spans);
        if (m_count == 1) return;  // the sweep reads the edges in place
        vumerge_placeInBuckets(
            spans.size(), static_cast<size_t>(m_count),
            [&](size_t i, auto place) {
                for (int c = columnOf(spans[i].lowX); c <= columnOf(spans[i].highX); ++c) place(static_cast<size_t>(c));
            },
            [](size_t i) { return static_cast<int>(i); }, starts, members);
    }

    int count() const { return m_count; }
    const int* begin(int column) const { return m_members->data() + (*m_starts)[static_cast<size_t>(column)]; }
    const int* end(int column) const { return m_members->data() + (*m_starts)[static_cast<size_t>(column) + 1]; }

    // Monotone in x, so an x range meets the columns between those of its
    // two ends.
    int columnOf(double x) const {
        const double t = (x - m_lowX) * m_scale;
        if (!(t > 0.0)) return 0;
        return t >= m_count - 1 ? m_count - 1 : static_cast<int>(t);
    }

private:
    // Columns four mean edge widths wide, at most one per edge. A single
    // column when the plain sweep is cheap: a small graph, or edges so short
    // against the figure's height that few of them lie at any one height.
    // The sizes are estimated from a sample of the edges; any columns find
    // the same crossings.
    void measure(const std::vector<VuMergeSweepEdge>& edges, const std::vector<VuMergeSweepSpan>& spans) {
        m_count = 1;
        m_lowX = 0.0;
        m_scale = 0.0;
        if (spans.size() < kSmallestToDivide) return;
        const size_t stride = spans.size() / kSampleSize;
        double lowX = spans[0].lowX, highX = spans[0].highX, widths = 0.0, heights = 0.0;
        double lowY = edges[0].start.y, highY = edges[0].end.y;
        for (size_t i = 0; i < spans.size(); i += stride) {
            lowX = std::min(lowX, spans[i].lowX);
            highX = std::max(highX, spans[i].highX);
            widths += spans[i].highX - spans[i].lowX;
            lowY = std::min(lowY, edges[i].start.y);
            highY = std::max(highY, edges[i].end.y);
            heights += edges[i].end.y - edges[i].start.y;
        }
        const double sampled = static_cast<double>((spans.size() + stride - 1) / stride);
        // The edges that meet a line across the figure, on average.
        const double edgesAtOneHeight = heights * static_cast<double>(stride) / (highY - lowY);
        if (!(edgesAtOneHeight > kEdgesAtOneHeightToDivide)) return;
        const double width = 4.0 * widths / sampled;
        const double columns = width > 0.0 ? std::min((highX - lowX) / width, static_cast<double>(spans.size())) : 0.0;
        if (!(columns >= 2.0)) return;
        m_count = static_cast<int>(columns);
        m_lowX = lowX;
        m_scale = m_count / (highX - lowX);
    }

    static constexpr size_t kSampleSize = 256;
    static constexpr double kEdgesAtOneHeightToDivide = 32.0;
    static constexpr size_t kSmallestToDivide = 512;

    const std::vector<int>* m_starts = nullptr;
    const std::vector<int>* m_members = nullptr;
    double m_lowX = 0.0;
    double m_scale = 0.0;
    int m_count = 1;
};

// The y sweep over the edges listed[0 .. count) (indices into edges, in
// sweep order): every pair where the later one starts below the earlier
// one's top, their x ranges overlap strictly and cross accepts them. With
// columns, a pair is tried only in the first column that both reach.
template <bool kInColumns, class Cross, class Listed>
void sweepPairs(const std::vector<VuMergeSweepEdge>& edges, const std::vector<VuMergeSweepSpan>& spans,
                Listed listed, int count, const EdgeColumns* columns, int column,
                std::vector<VuMergeCrossing>& crossings, Cross cross) {
    for (int p = 0; p < count; ++p) {
        const int i = listed(p);
        const VuMergeSweepEdge& a = edges[static_cast<size_t>(i)];
        const double aLow = spans[static_cast<size_t>(i)].lowX, aHigh = spans[static_cast<size_t>(i)].highX;
        const double aEndY = a.end.y;
        const int aColumn = kInColumns ? columns->columnOf(aLow) : 0;
        for (int q = p + 1; q < count; ++q) {
            const int j = listed(q);
            const VuMergeSweepSpan& b = spans[static_cast<size_t>(j)];
            // Later edges start no lower, so none of them reaches a's span.
            if (aEndY <= b.startY) break;
            // The x ranges must overlap strictly.
            if (!(aLow < b.highX && b.lowX < aHigh)) continue;
            if (kInColumns && std::max(aColumn, columns->columnOf(b.lowX)) != column) continue;
            double sa, sb;
            if (cross(a, edges[static_cast<size_t>(j)], &sa, &sb)) {
                crossings.push_back({i, sa});
                crossings.push_back({j, sb});
            }
        }
    }
}

// Every crossing that cross accepts, in no particular order (they are
// grouped by edge before use).
template <class Cross>
void findCrossings(const std::vector<VuMergeSweepEdge>& edges, VuMergeWorkspace& work, Cross cross) {
    work.crossings.clear();
    measureSpans(edges, work.spans);
    EdgeColumns columns;
    columns.build(edges, work.spans, work.columnStarts, work.columnMembers);
    if (columns.count() == 1) {
        sweepPairs<false>(edges, work.spans, [](int p) { return p; }, static_cast<int>(edges.size()), nullptr, 0,
                   work.crossings, cross);
        return;
    }
    for (int c = 0; c < columns.count(); ++c) {
        const int* members = columns.begin(c);
        sweepPairs<true>(edges, work.spans, [members](int p) { return members[p]; },
                   static_cast<int>(columns.end(c) - members), &columns, c, work.crossings, cross);
    }
}

// Groups the crossings by edge, in edge order: a few by insertion, many
// with a counting sort (the edge indices are dense). Each edge's parameters
// are sorted when it is split, so their order within the group does not
// matter.
void groupByEdge(std::vector<VuMergeCrossing>& crossings, size_t edgeCount, std::vector<int>& starts,
                 std::vector<VuMergeCrossing>& grouped) {
    if (crossings.size() < kFewCrossings) {
        vumerge_insertionSort(crossings,
                              [](const VuMergeCrossing& a, const VuMergeCrossing& b) { return a.edge < b.edge; });
        return;
    }
    vumerge_placeInBuckets(
        crossings.size(), edgeCount, [&](size_t i, auto place) { place(static_cast<size_t>(crossings[i].edge)); },
        [&](size_t i) { return crossings[i]; }, starts, grouped);
    crossings.swap(grouped);
}

// Splits every edge of work.edges at its crossings in work.crossings,
// filtered by tol. With `placed` given, appends to it every new vertex at
// the place where it was made. Returns the number of splits; *exact tells
// whether every crossing got a split of its own, exactly where it was found.
int splitAtCrossings(VuSet* set, double tol, VuMergeWorkspace& work,
                     std::vector<VuMergeVertexRecord>* placed, bool* exact) {
    groupByEdge(work.crossings, work.edges.size(), work.crossingStarts, work.groupedCrossings);
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
        findCrossings(work.edges, work, CrossForCertain());
        if (splitAtCrossings(set, 0.0, work, nullptr, &exact) == 0) break;
        clusterCount = vumerge_clusterVertices(set, tol, work.vertices);
    }
    return clusterCount;
}

}  // namespace

int vumerge_splitCrossingEdges(VuSet* set, double tol, int clusterCount, VuMergeWorkspace& work) {
    findCrossings(work.edges, work, CrossAwayFromEnds());
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
