// The steps of the merge engine and the plain records they sort. Internal to
// the merge; callers use vu_merge.h.
#pragma once

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
    DPoint3d start;
    DPoint3d end;
};

// A vertex position for the sweep that splits edges at vertices.
struct VuMergeSweepPoint {
    double x;
    double y;
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
    double angle;  // direction of the edge from node to mate, in (-pi, pi]
};

// Working storage of one merge, kept across its steps so that the record
// vectors are allocated once.
struct VuMergeWorkspace {
    std::vector<VuMergeVertexRecord> vertices;
    std::vector<VuMergeSweepPoint> points;
    std::vector<VuMergeSweepEdge> edges;
    std::vector<double> parameters;
    std::vector<double> splits;
    std::vector<VuMergeCrossing> crossings;
    std::vector<VuMergeEdgeRecord> edgeRecords;
};

// A strict weak order on doubles that puts NaN after every number, so that
// sorting hostile coordinates stays well defined.
inline bool vumerge_less(double a, double b) {
    return a < b || (std::isnan(b) && !std::isnan(a));
}

// Lexicographic vumerge_less on (a0, a1) against (b0, b1).
inline bool vumerge_lessPair(double a0, double a1, double b0, double b1) {
    if (vumerge_less(a0, b0)) return true;
    if (vumerge_less(b0, a0)) return false;
    return vumerge_less(a1, b1);
}

// Groups the vertex loops into clusters: in order of the projection key, each
// unassigned vertex seeds a cluster that takes every later unassigned vertex
// within tol of the seed itself; members move onto the seed. The records come
// back sorted by key, each with its cluster number. Returns the cluster count.
int vumerge_clusterVertices(VuSet* set, double tol, std::vector<VuMergeVertexRecord>& records);

// Every edge once, at its lower end, sorted by y, then x, of that end; edges
// whose ends coincide are left out.
void vumerge_collectSweepEdges(VuSet* set, std::vector<VuMergeSweepEdge>& edges);

// Splits every edge at the vertices that lie within tol of its interior.
void vumerge_splitEdgesAtVertices(VuSet* set, double tol, VuMergeWorkspace& work);

// Splits every pair of edges that cross away from their ends.
void vumerge_splitEdgesAtCrossings(VuSet* set, double tol, VuMergeWorkspace& work);

// Splits edge.node's edge at the given parameters (sorted in place), after
// filtering out values within tol of the ends and merging runs closer than
// tol into one split or into evenly spaced splits.
void vumerge_splitEdgeAtParameters(VuSet* set, const VuMergeSweepEdge& edge,
                                   std::vector<double>& parameters, double tol,
                                   std::vector<double>& splits);

// The final step: clusters the vertices, deletes edges that collapse, resolves
// coincident edges by type and links every vertex loop in angular order.
void vumerge_linkVertices(VuSet* set, vumergetype type, double tol, VuMergeWorkspace& work);

}  // namespace Korvex
