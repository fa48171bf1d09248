// The steps of the merge engine and the plain records they sort. Internal to
// the merge; callers use vu_merge.h.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "vu/vu_merge.h"

namespace Korvex {

// One vertex loop taking part in clustering.
struct VuMergeVertexRecord {
    VuNode* node;  // represents the vertex loop
    int cluster;   // -1 while unassigned
    double key;    // projection on a skew direction, the sort key
    double x;
    double y;
};

// One edge seen from its lower end (lower y, then lower x): the unit of the
// plane sweeps that split edges.
struct VuMergeSweepEdge {
    VuNode* node;  // at start; its face successor is at end
    DPoint2d start;
    DPoint2d end;
};

// A vertex position for the sweep that splits edges at vertices.
struct VuMergeSweepPoint {
    double x;
    double y;
};

// An edge's lower y and x range, for the crossing scan.
struct VuMergeSweepSpan {
    double startY;
    double lowX;
    double highX;
};

// A crossing found on the edge of index edge in the sorted sweep edges.
struct VuMergeCrossing {
    int edge;
    double parameter;
};

// One edge side for the final sort around the vertices.
struct VuMergeEdgeRecord {
    int cluster;      // cluster of the node's vertex
    int mateCluster;  // cluster of the mate's vertex
    VuNode* node;
    VuNode* mate;
    double angle;  // direction from node to mate in (-pi, pi]; set where the order matters
};

// Working storage of one merge, kept across its steps so that the record
// vectors are allocated once.
struct VuMergeWorkspace {
    std::vector<VuMergeVertexRecord> vertices;
    std::vector<VuMergeSweepPoint> points;
    std::vector<VuMergeSweepPoint> stripPoints;
    std::vector<int> stripStarts;
    std::vector<VuMergeSweepEdge> edges;
    std::vector<double> parameters;
    std::vector<double> splits;
    std::vector<VuMergeSweepSpan> spans;
    std::vector<VuMergeCrossing> crossings;
    std::vector<int> columnStarts;
    std::vector<int> columnMembers;
    std::vector<int> crossingStarts;
    std::vector<VuMergeCrossing> groupedCrossings;
    std::vector<VuMergeVertexRecord> placed;  // vertices where the crossing step found or made them
    std::vector<VuMergeEdgeRecord> edgeRecords;
    std::vector<VuMergeEdgeRecord> sortedEdgeRecords;
    std::vector<int> clusterStarts;
    std::vector<char> clustersToRelink;
    std::vector<int> loopsPerCluster;

    // Room for a graph of about nodeCount nodes, so that the vectors do not
    // grow step by step. The workspace serves every merge of a graph, and a
    // Boolean merges its two operands before the larger combined graph, so
    // growing takes twice the room asked for.
    void reserve(size_t nodeCount) {
        if (vertices.capacity() >= nodeCount) return;
        const size_t room = 2 * nodeCount;
        vertices.reserve(room);
        points.reserve(room);
        edges.reserve(room);
        edgeRecords.reserve(room);
        sortedEdgeRecords.reserve(room);
    }
};

// Sorts records by less after moving those with a NaN in a sort key
// (hasNaN) to the end, where they stay in no particular order. Plain
// comparisons of the rest are then a strict weak order.
template <class Record, class HasNaN, class Less>
void vumerge_sortNaNLast(std::vector<Record>& records, HasNaN hasNaN, Less less) {
    const auto numbersEnd = std::partition(records.begin(), records.end(),
                                           [&](const Record& record) { return !hasNaN(record); });
    std::sort(records.begin(), numbersEnd, less);
}

// A stable insertion sort: the quickest for the few records, or the nearly
// sorted ones, that the merge sorts this way.
template <class Record, class Less>
void vumerge_insertionSort(std::vector<Record>& records, Less less) {
    for (size_t i = 1; i < records.size(); ++i) {
        const Record record = records[i];
        size_t j = i;
        for (; j > 0 && less(record, records[j - 1]); --j) records[j] = records[j - 1];
        records[j] = record;
    }
}

// Places items 0 .. itemCount - 1 into buckets with a counting sort:
// forEachBucket(i, place) calls place(b) for every bucket b that item i goes
// into, and bucket b ends up as placed[starts[b] .. starts[b + 1]), holding
// valueOf(i) of its items in item order.
template <class Value, class ForEachBucket, class ValueOf>
void vumerge_placeInBuckets(size_t itemCount, size_t bucketCount, ForEachBucket forEachBucket, ValueOf valueOf,
                            std::vector<int>& starts, std::vector<Value>& placed) {
    starts.assign(bucketCount + 1, 0);
    for (size_t i = 0; i < itemCount; ++i) forEachBucket(i, [&](size_t bucket) { ++starts[bucket + 1]; });
    for (size_t b = 0; b < bucketCount; ++b) starts[b + 1] += starts[b];
    placed.resize(static_cast<size_t>(starts[bucketCount]));
    // Filling moves each bucket's start to its end, which is where the next
    // bucket starts; the shift puts the starts back.
    for (size_t i = 0; i < itemCount; ++i)
        forEachBucket(i, [&](size_t bucket) { placed[static_cast<size_t>(starts[bucket]++)] = valueOf(i); });
    for (size_t b = bucketCount; b > 0; --b) starts[b] = starts[b - 1];
    starts[0] = 0;
}

// Groups the vertex loops into clusters: in order of the projection key, each
// unassigned vertex seeds a cluster that takes every later unassigned vertex
// within tol of the seed itself; members move onto the seed. The records come
// back sorted by key, each with its cluster number. Returns the cluster count.
int vumerge_clusterVertices(VuSet* set, double tol, std::vector<VuMergeVertexRecord>& records);

// Every edge once, at its lower end, sorted by y, then x, of that end; edges
// whose ends coincide are left out.
void vumerge_collectSweepEdges(VuSet* set, std::vector<VuMergeSweepEdge>& edges);

// Splits every edge of work.edges at the vertices of work.vertices that lie
// within tol of its interior (both collected from the graph as it is).
// Returns the number of splits.
int vumerge_splitEdgesAtVertices(VuSet* set, double tol, VuMergeWorkspace& work);

// The crossing step: splits every pair of edges of work.edges (collected
// from the graph as it is) that cross away from their ends, and clusters the
// vertices again. What that leaves is repaired: a crossing too near an
// edge's ends to split, whose ends lie too far apart to cluster, or a
// crossing that the clustering made by moving vertices. Edges are then split
// exactly at their crossings until none cross. Returns the cluster count.
int vumerge_splitCrossingEdges(VuSet* set, double tol, int clusterCount, VuMergeWorkspace& work);

// Splits edge.node's edge at the given parameters (sorted in place), after
// filtering out values within tol of the ends and merging runs closer than
// tol into one split or into evenly spaced splits. Returns the number of
// splits.
int vumerge_splitEdgeAtParameters(VuSet* set, const VuMergeSweepEdge& edge,
                                   std::vector<double>& parameters, double tol,
                                   std::vector<double>& splits);

// The final step, on vertices clustered into clusterCount clusters
// (work.vertices): deletes edges that collapse, resolves coincident edges by
// type and links every cluster into one vertex loop in angular order.
void vumerge_linkVertices(VuSet* set, vumergetype type, int clusterCount, VuMergeWorkspace& work);

}  // namespace Korvex
