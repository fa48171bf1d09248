// The merge engine and the connection step that prepares a Boolean operation.
#include <algorithm>
#include <cmath>

#include "vu/vu_array.h"
#include "vu/vu_graph.h"
#include "vu/vu_merge_steps.h"
#include "vu/vu_node.h"
#include "vu/vu_pools.h"
#include "vu/vu_regularize.h"
#include "vu/vu_set.h"

namespace Korvex {

namespace {

struct GraphExtent {
    double largestCoordinate = 0.0;  // the largest finite |x| or |y|
    size_t nodeCount = 0;
};

// Non-finite coordinates are hostile input and must not blow the tolerance up.
GraphExtent measureGraph(const VuSet* set) {
    GraphExtent extent;
    for (VuNode* node = vu_firstNodeInGraph(set); node; node = vu_nextNodeInGraph(set, node)) {
        ++extent.nodeCount;
        for (const double value : {std::fabs(vu_getX(node)), std::fabs(vu_getY(node))}) {
            if (value > extent.largestCoordinate && std::isfinite(value)) extent.largestCoordinate = value;
        }
    }
    return extent;
}

double mergeTolerance(double largestCoordinate, double absTol, double relTol) {
    const double tol = std::max(absTol, relTol * largestCoordinate);
    return tol >= 0.0 ? tol : 0.0;
}

// Floods from one face across edges to the faces of the edge mates; true when
// the flood reaches every node.
bool isConnected(VuSet* set) {
    VuNode* start = vu_firstNodeInGraph(set);
    if (!start) return true;
    const VuMask reached = vu_grabMask(set);
    vuArray* stack = vu_grabArray(set);
    if (!reached || !stack) {
        vu_returnArray(set, stack);
        vu_returnMask(set, reached);
        return false;  // cannot tell: let the regularization decide
    }
    vu_clearMaskInSet(set, reached);
    vu_setMaskAroundFace(start, reached);
    vu_arrayAdd(stack, start);
    int reachedCount = vu_countNodesAroundFace(start);
    while (VuNode* face = vu_arrayRemoveLast(stack)) {
        VuNode* node = face;
        do {
            VuNode* mate = vu_edgeMate(node);
            if (!vu_getMask(mate, reached)) {
                vu_setMaskAroundFace(mate, reached);
                reachedCount += vu_countNodesAroundFace(mate);
                vu_arrayAdd(stack, mate);
            }
            node = vu_fsucc(node);
        } while (node != face);
    }
    vu_returnArray(set, stack);
    vu_returnMask(set, reached);
    return reachedCount == vu_countNodesInGraph(set);
}

}  // namespace

void vu_merge2002(VuSet* set, vumergetype type, double absTol, double relTol) {
    if (!set) return;
    const GraphExtent extent = measureGraph(set);
    const double tol = mergeTolerance(extent.largestCoordinate, absTol, relTol);
    vu_setMergeTol(set, tol);
    if (!set->mergeWorkspace) set->mergeWorkspace = new VuMergeWorkspace;
    VuMergeWorkspace& work = *set->mergeWorkspace;
    // Splits add nodes; a quarter more covers ordinary overlaps.
    work.reserve(extent.nodeCount * 5 / 4);
    // Clustering again with nothing split finds the same clusters, every
    // member already on its seed, and the same edges; so clusters and edges
    // are gathered again only after splits.
    int clusterCount = vumerge_clusterVertices(set, tol, work.vertices);
    vumerge_collectSweepEdges(set, work.edges);
    if (vumerge_splitEdgesAtVertices(set, tol, work) > 0) {
        // The split vertices join the vertices that caused them.
        clusterCount = vumerge_clusterVertices(set, tol, work.vertices);
        vumerge_collectSweepEdges(set, work.edges);
    }
    clusterCount = vumerge_splitCrossingEdges(set, tol, clusterCount, work);
    vumerge_linkVertices(set, type, clusterCount, work);
}

void vu_mergeOrUnionLoops(VuSet* set, vumergetype type) {
    if (!set) return;
    double absTol = 0.0;
    double relTol = 0.0;
    vu_getTol(set, &absTol, &relTol);
    vu_merge2002(set, type, absTol, relTol);
}

void vu_mergeAndConnectForBoolop(VuSet* set) {
    vu_mergeOrUnionLoops(set, VU_MERGE_UNION);
    if (set && !isConnected(set)) vureg_regularizeGraph(set);
}

}  // namespace Korvex
