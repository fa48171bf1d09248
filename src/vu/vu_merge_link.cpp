// The final step of the merge: vertices of one cluster become one vertex whose
// edges are linked in counter-clockwise order, after collapsed edges are
// deleted and coincident edges resolved.
#include <algorithm>
#include <cmath>

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

// Direction from node to mate in (-pi, pi]; 0 for a zero vector.
double edgeAngle(const VuNode* node, const VuNode* mate) {
    // Adding 0.0 turns -0.0 into +0.0, which keeps atan2 away from -pi.
    const double dx = vu_getX(mate) - vu_getX(node) + 0.0;
    const double dy = vu_getY(mate) - vu_getY(node) + 0.0;
    if (dx == 0.0 && dy == 0.0) return 0.0;
    return std::atan2(dy, dx);
}

// One record per edge side; edges with both ends in one cluster are marked
// and deleted, which leaves the mark clear on every live node. The mark is
// written on every node as it is passed, so it needs no clearing beforehand:
// a collapsed edge is collapsed seen from either side.
void collectEdgeRecords(VuSet* set, std::vector<VuMergeEdgeRecord>& records, VuMask marked) {
    records.clear();
    bool anyCollapsed = false;
    for (VuNode* node = vu_firstNodeInGraph(set); node; node = vu_nextNodeInGraph(set, node)) {
        VuNode* mate = vu_edgeMate(node);
        const int cluster = vu_getAuxIndex(node);
        const int mateCluster = vu_getAuxIndex(mate);
        const bool collapsed = cluster == mateCluster;
        vu_writeMask(node, marked, collapsed);
        if (collapsed) {
            anyCollapsed = true;
        } else {
            records.push_back({cluster, mateCluster, node, mate, 0.0});
        }
    }
    if (anyCollapsed) vu_freeMarkedEdges(set, marked);
}

// Every node of the clusters to relink alone at its vertex.
void explodeVertices(VuSet* set, const std::vector<VuMergeEdgeRecord>& records,
                     const std::vector<char>& relink) {
    for (const VuMergeEdgeRecord& record : records) {
        VuNode* node = record.node;
        if (relink[record.cluster] && vu_vsucc(node) != node)
            vu_twistVertexLoops(set, node, vu_vpred(node));
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
    starts.assign(static_cast<size_t>(clusterCount) + 1, 0);
    for (const VuMergeEdgeRecord& record : records) ++starts[record.cluster + 1];
    for (int c = 0; c < clusterCount; ++c) starts[c + 1] += starts[c];
    sorted.resize(records.size());
    // Filling moves each cluster's start to its end, which is where the next
    // cluster starts; the shift puts the starts back.
    for (const VuMergeEdgeRecord& record : records) sorted[starts[record.cluster]++] = record;
    for (int c = clusterCount; c > 0; --c) starts[c] = starts[c - 1];
    starts[0] = 0;
    auto byAngle = [](const VuMergeEdgeRecord& a, const VuMergeEdgeRecord& b) {
        return a.angle < b.angle || (a.angle == b.angle && a.mateCluster < b.mateCluster);
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

// Calls visit(begin, end) for every run of two or more records, adjacent in
// the sorted order, that join the same two clusters.
template <class Visit>
void forEachCoincidentRun(const std::vector<VuMergeEdgeRecord>& records, Visit visit) {
    const VuMergeEdgeRecord* all = records.data();
    const size_t count = records.size();
    for (size_t i = 0; i < count;) {
        size_t j = i + 1;
        while (j < count && all[j].cluster == all[i].cluster && all[j].mateCluster == all[i].mateCluster)
            ++j;
        if (j - i > 1) visit(all + i, all + j);
        i = j;
    }
}

// Whether the vertex loop through the first record's node is exactly the
// records' nodes in their sorted order, which linking would rebuild.
bool isLinkedInOrder(const VuMergeEdgeRecord* begin, const VuMergeEdgeRecord* end) {
    const VuNode* node = begin->node;
    for (const VuMergeEdgeRecord* record = begin + 1; record != end; ++record) {
        node = vu_vsucc(node);
        if (node != record->node) return false;
    }
    return vu_vsucc(node) == begin->node;
}

// Which clusters linking has to rebuild: those at either end of a run of
// coincident edges, whose resolution twists and marks nodes at both ends,
// and those whose vertex loop is not already the sorted order (a cluster of
// several vertex loops, or one out of order). Leaving the others as they are
// gives the graph that exploding and relinking them would give.
void findClustersToRelink(const std::vector<VuMergeEdgeRecord>& records, int clusterCount,
                          const std::vector<int>& starts, std::vector<char>& relink) {
    relink.assign(static_cast<size_t>(clusterCount), 0);
    forEachCoincidentRun(records, [&](const VuMergeEdgeRecord* begin, const VuMergeEdgeRecord*) {
        relink[begin->cluster] = 1;
        relink[begin->mateCluster] = 1;
    });
    const VuMergeEdgeRecord* all = records.data();
    for (int c = 0; c < clusterCount; ++c) {
        if (!relink[c] && starts[c] < starts[c + 1] &&
            !isLinkedInOrder(all + starts[c], all + starts[c + 1]))
            relink[c] = 1;
    }
}

// Resolves every run of coincident edges; true when an edge is to be deleted.
bool resolveCoincidentEdges(VuSet* set, vumergetype type, const std::vector<VuMergeEdgeRecord>& records,
                            VuMask marked) {
    bool anyDeleted = false;
    forEachCoincidentRun(records, [&](const VuMergeEdgeRecord* begin, const VuMergeEdgeRecord* end) {
        anyDeleted |= resolveCoincidentRun(set, type, begin, end, marked);
    });
    return anyDeleted;
}

// Links the unmarked nodes of each cluster to relink in their sorted order,
// so that each node's vertex successor is the next one counter-clockwise.
void linkInAngularOrder(VuSet* set, const std::vector<VuMergeEdgeRecord>& records,
                        const std::vector<char>& relink, VuMask marked) {
    VuNode* previous = nullptr;
    int previousCluster = -1;
    for (const VuMergeEdgeRecord& record : records) {
        if (!relink[record.cluster] || vu_getMask(record.node, marked)) continue;
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
    collectEdgeRecords(set, work.edgeRecords, marked);
    // Sorting reads coordinates and cluster numbers only, so it can come
    // before the topology changes and tell which vertices need them.
    sortAroundVertices(work.edgeRecords, clusterCount, work.sortedEdgeRecords, work.clusterStarts);
    findClustersToRelink(work.edgeRecords, clusterCount, work.clusterStarts, work.clustersToRelink);
    explodeVertices(set, work.edgeRecords, work.clustersToRelink);
    const bool anyDeleted = resolveCoincidentEdges(set, type, work.edgeRecords, marked);
    linkInAngularOrder(set, work.edgeRecords, work.clustersToRelink, marked);
    if (anyDeleted) vu_freeMarkedEdges(set, marked);
    vu_returnMask(set, marked);
}

}  // namespace Korvex
