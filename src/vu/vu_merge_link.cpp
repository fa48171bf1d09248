// The final step of the merge: vertices of one cluster become one vertex whose
// edges are linked in counter-clockwise order, after collapsed edges are
// deleted and coincident edges resolved.
#include <algorithm>
#include <cmath>

#include "vu/vu_edge_angle_order.h"
#include "vu/vu_graph.h"
#include "vu/vu_merge_steps.h"
#include "vu/vu_node.h"
#include "vu/vu_pools.h"
#include "vu/vu_topology.h"

namespace Korvex {

namespace {

void numberVertexLoops(const std::vector<VuMergeVertexRecord>& vertices) {
    for (const VuMergeVertexRecord& vertex : vertices) {
        VuNode* node = vertex.node;
        do {
            vu_setAuxIndex(node, vertex.cluster);
            node = vu_vsucc(node);
        } while (node != vertex.node);
    }
}

// The vector from node to mate. Adding 0.0 turns -0.0 into +0.0, which keeps
// atan2 away from -pi.
DPoint2d edgeDirection(const VuNode* node, const VuNode* mate) {
    return {vu_getX(mate) - vu_getX(node) + 0.0, vu_getY(mate) - vu_getY(node) + 0.0};
}

// Direction from node to mate in (-pi, pi]; 0 for a zero vector.
double edgeAngle(const VuNode* node, const VuNode* mate) {
    const DPoint2d d = edgeDirection(node, mate);
    if (d.x == 0.0 && d.y == 0.0) return 0.0;
    return std::atan2(d.y, d.x);
}

// Marks and deletes the edges with both ends in one cluster, which leaves the
// mark clear on every live node. The mark is written on every node as it is
// passed, so it needs no clearing beforehand: a collapsed edge is collapsed
// seen from either side. True when any edge was deleted.
bool deleteCollapsedEdges(VuSet* set, VuMask marked) {
    bool anyCollapsed = false;
    for (VuNode* node = vu_firstNodeInGraph(set); node; node = vu_nextNodeInGraph(set, node)) {
        const bool collapsed = vu_getAuxIndex(node) == vu_getAuxIndex(vu_edgeMate(node));
        vu_writeMask(node, marked, collapsed);
        anyCollapsed |= collapsed;
    }
    if (anyCollapsed) vu_freeMarkedEdges(set, marked);
    return anyCollapsed;
}

// The order of edges around a vertex: by angle, then by mate cluster.
bool isBefore(double angle, int mateCluster, double otherAngle, int otherMateCluster) {
    return angle < otherAngle || (angle == otherAngle && mateCluster < otherMateCluster);
}

// One record per edge side at the clusters to relink, in graph order.
void collectEdgeRecords(VuSet* set, const std::vector<char>& relink,
                        std::vector<VuMergeEdgeRecord>& records) {
    records.clear();
    for (VuNode* node = vu_firstNodeInGraph(set); node; node = vu_nextNodeInGraph(set, node)) {
        const int cluster = vu_getAuxIndex(node);
        if (!relink[cluster]) continue;
        VuNode* mate = vu_edgeMate(node);
        records.push_back({cluster, vu_getAuxIndex(mate), node, mate, 0.0});
    }
}

// Every node of the records alone at its vertex.
void explodeVertices(VuSet* set, const std::vector<VuMergeEdgeRecord>& records) {
    for (const VuMergeEdgeRecord& record : records) {
        VuNode* node = record.node;
        if (vu_vsucc(node) != node) vu_twistVertexLoops(set, node, vu_vpred(node));
    }
}

bool isAlone(const VuNode* node) { return vu_vsucc(node) == node; }

bool isFree(const VuMergeEdgeRecord& record, VuMask marked) {
    return !vu_getMask(record.node, marked) && !vu_getMask(record.mate, marked);
}

void markEdge(const VuMergeEdgeRecord& record, VuMask marked) {
    vu_setMask(record.node, marked);
    vu_setMask(record.mate, marked);
}

// Resolves the edges of records[begin, end), which all join the same two
// clusters. Marks what is to be deleted (parity, single edge) or left out of
// the angular linking (union). Returns true when an edge is to be deleted.
bool resolveCoincidentRun(VuSet* set, vumergetype type, const VuMergeEdgeRecord* begin,
                          const VuMergeEdgeRecord* end, VuMask marked) {
    bool anyDeleted = false;
    for (const VuMergeEdgeRecord* start = begin; start < end; ++start) {
        if (!isFree(*start, marked)) continue;
        VuMergeEdgeRecord kept = *start;
        const VuMergeEdgeRecord* other = start + 1;
        for (; other < end; ++other) {
            if (!isFree(*other, marked) || !isAlone(other->node) || !isAlone(other->mate)) continue;
            if (type == VU_MERGE_PARITY) {
                markEdge(kept, marked);
                markEdge(*other, marked);
                anyDeleted = true;
                break;
            }
            if (type == VU_MERGE_SINGLE_EDGE) {
                markEdge(*other, marked);
                anyDeleted = true;
                continue;
            }
            // Union: the two edges share both end vertices and enclose a
            // sliver face whose nodes stay out of the angular linking. The
            // outer sides, other's node and kept's mate, go on to the next.
            vu_twistVertexLoops(set, kept.node, other->node);
            vu_twistVertexLoops(set, other->mate, kept.mate);
            vu_setMask(kept.node, marked);
            vu_setMask(other->mate, marked);
            kept.node = other->node;
        }
        if (type != VU_MERGE_PARITY || other == end) break;
        start = other;  // a parity pair ends the run; the next record starts anew
    }
    return anyDeleted;
}

// Orders the records by cluster, then by angle, then by mate cluster. The
// cluster numbers are dense, so a counting sort places them; each cluster's
// few records are then sorted on their own, their angles computed only when
// there are three or more. Coincident edges join the same two seeds, so they
// have one angle and end up next to each other.
void sortAroundVertices(std::vector<VuMergeEdgeRecord>& records, int clusterCount,
                        std::vector<VuMergeEdgeRecord>& sorted, std::vector<int>& starts) {
    vumerge_placeInBuckets(
        records.size(), static_cast<size_t>(clusterCount),
        [&](size_t i, auto place) { place(static_cast<size_t>(records[i].cluster)); },
        [&](size_t i) { return records[i]; }, starts, sorted);
    auto byAngle = [](const VuMergeEdgeRecord& a, const VuMergeEdgeRecord& b) {
        return isBefore(a.angle, a.mateCluster, b.angle, b.mateCluster);
    };
    for (int c = 0; c < clusterCount; ++c) {
        const auto begin = sorted.begin() + starts[c], end = sorted.begin() + starts[c + 1];
        // Two edges at a vertex are in order either way round.
        if (end - begin < 3) continue;
        for (auto record = begin; record != end; ++record)
            record->angle = edgeAngle(record->node, record->mate);
        // A NaN angle (hostile coordinates) goes last, its records unordered.
        const auto numbersEnd = std::partition(begin, end, [](const VuMergeEdgeRecord& r) {
            return !std::isnan(r.angle);
        });
        std::sort(begin, numbersEnd, byAngle);
    }
    records.swap(sorted);
}

// The edges of one vertex loop, in loop order, as far as the relink check
// looks at them.
struct LoopEdges {
    static constexpr int kLongestChecked = 16;  // longer loops are simply relinked
    int count = 0;
    const VuNode* nodes[kLongestChecked];
    int mateClusters[kLongestChecked];
};

// False when the loop is longer than LoopEdges holds.
bool readLoopEdges(const VuNode* start, LoopEdges& edges) {
    const VuNode* node = start;
    do {
        if (edges.count == LoopEdges::kLongestChecked) return false;
        edges.nodes[edges.count] = node;
        edges.mateClusters[edges.count++] = vu_getAuxIndex(vu_edgeMate(node));
        node = vu_vsucc(node);
    } while (node != start);
    return true;
}

// Flags the far cluster of every two edges that go to the same cluster;
// true when there are such edges.
bool flagCoincidentEdges(const LoopEdges& edges, std::vector<char>& relink) {
    bool coincident = false;
    for (int i = 0; i < edges.count; ++i) {
        for (int j = i + 1; j < edges.count; ++j) {
            if (edges.mateClusters[i] != edges.mateClusters[j]) continue;
            relink[edges.mateClusters[i]] = 1;
            coincident = true;
        }
    }
    return coincident;
}

// How many times the loop steps back in the sorted order, by atan2 angles;
// -1 for a NaN angle, whose place sorting leaves open.
int countDescentsByAngle(const LoopEdges& edges) {
    double angles[LoopEdges::kLongestChecked];
    for (int i = 0; i < edges.count; ++i) {
        angles[i] = edgeAngle(edges.nodes[i], vu_edgeMate(edges.nodes[i]));
        if (std::isnan(angles[i])) return -1;
    }
    int descents = 0;
    for (int i = 0; i < edges.count; ++i) {
        const int next = i + 1 < edges.count ? i + 1 : 0;
        if (isBefore(angles[next], edges.mateClusters[next], angles[i], edges.mateClusters[i]))
            ++descents;
    }
    return descents;
}

// The same count from the edge directions where their order is clear, which
// spares atan2 on ordinary vertices; atan2 decides the rest.
int countDescents(const LoopEdges& edges) {
    DPoint2d directions[LoopEdges::kLongestChecked];
    for (int i = 0; i < edges.count; ++i)
        directions[i] = edgeDirection(edges.nodes[i], vu_edgeMate(edges.nodes[i]));
    int descents = 0;
    for (int i = 0; i < edges.count; ++i) {
        const int next = i + 1 < edges.count ? i + 1 : 0;
        const DPoint2d a = directions[next], b = directions[i];
        const VuAngleOrder order = vu_compareEdgeAngles(a.x, a.y, b.x, b.y);
        if (order == VuAngleOrder::Unsure) return countDescentsByAngle(edges);
        if (order == VuAngleOrder::Before ||
            (order == VuAngleOrder::Same && edges.mateClusters[next] < edges.mateClusters[i]))
            ++descents;
    }
    return descents;
}

// Whether the vertex loop from `start`, a vertex of its own cluster, needs
// relinking; flags the far clusters of coincident edges on the way. Sorting
// would order the loop's edges by angle and mate cluster: a loop that runs
// round that order once, with no two edges to one cluster (coincident edges,
// which share an angle) and no NaN angle, is what relinking would build.
bool needsRelink(const VuNode* start, std::vector<char>& relink) {
    LoopEdges edges;
    if (!readLoopEdges(start, edges) || flagCoincidentEdges(edges, relink)) return true;
    // Two edges at a vertex are in order either way round.
    if (edges.count < 3) return false;
    return countDescents(edges) != 1;
}

// Which clusters linking has to rebuild: every one after a collapsed edge was
// deleted; otherwise those of several vertex loops, those at either end of
// coincident edges, whose resolution twists and marks nodes at both ends, and
// those whose vertex loop is out of order. Leaving the others as they are
// gives the graph that exploding and relinking them would give.
void findClustersToRelink(const std::vector<VuMergeVertexRecord>& vertices, int clusterCount,
                          bool anyCollapsed, std::vector<char>& relink, std::vector<int>& loops) {
    relink.assign(static_cast<size_t>(clusterCount), anyCollapsed ? 1 : 0);
    if (anyCollapsed) return;
    loops.assign(static_cast<size_t>(clusterCount), 0);
    for (const VuMergeVertexRecord& vertex : vertices) ++loops[vertex.cluster];
    for (const VuMergeVertexRecord& vertex : vertices) {
        if (loops[vertex.cluster] > 1 || needsRelink(vertex.node, relink))
            relink[vertex.cluster] = 1;
    }
}

// Resolves every run of coincident edges; true when an edge is to be deleted.
bool resolveCoincidentEdges(VuSet* set, vumergetype type, const std::vector<VuMergeEdgeRecord>& records,
                            VuMask marked) {
    bool anyDeleted = false;
    const VuMergeEdgeRecord* all = records.data();
    const size_t count = records.size();
    for (size_t i = 0; i < count;) {
        size_t j = i + 1;
        while (j < count && all[j].cluster == all[i].cluster && all[j].mateCluster == all[i].mateCluster)
            ++j;
        if (j - i > 1) anyDeleted |= resolveCoincidentRun(set, type, all + i, all + j, marked);
        i = j;
    }
    return anyDeleted;
}

// Links the unmarked nodes of each cluster in their sorted order, so that
// each node's vertex successor is the next one counter-clockwise.
void linkInAngularOrder(VuSet* set, const std::vector<VuMergeEdgeRecord>& records, VuMask marked) {
    VuNode* previous = nullptr;
    int previousCluster = -1;
    for (const VuMergeEdgeRecord& record : records) {
        if (vu_getMask(record.node, marked)) continue;
        if (previous && record.cluster == previousCluster)
            vu_twistVertexLoops(set, record.node, previous);
        previous = record.node;
        previousCluster = record.cluster;
    }
}

}  // namespace

void vumerge_linkVertices(VuSet* set, vumergetype type, int clusterCount, VuMergeWorkspace& work) {
    numberVertexLoops(work.vertices);
    const VuMask marked = vu_grabMask(set);
    const bool anyCollapsed = deleteCollapsedEdges(set, marked);
    findClustersToRelink(work.vertices, clusterCount, anyCollapsed, work.clustersToRelink,
                         work.loopsPerCluster);
    collectEdgeRecords(set, work.clustersToRelink, work.edgeRecords);
    if (!work.edgeRecords.empty()) {
        sortAroundVertices(work.edgeRecords, clusterCount, work.sortedEdgeRecords, work.clusterStarts);
        explodeVertices(set, work.edgeRecords);
        const bool anyDeleted = resolveCoincidentEdges(set, type, work.edgeRecords, marked);
        linkInAngularOrder(set, work.edgeRecords, marked);
        if (anyDeleted) vu_freeMarkedEdges(set, marked);
    }
    vu_returnMask(set, marked);
}

}  // namespace Korvex
