// Vertex clustering: a sort on a skew projection and a window scan.
#include <algorithm>
#include <cmath>

#include "vu/vu_graph.h"
#include "vu/vu_merge_steps.h"
#include "vu/vu_node.h"
#include "vu/vu_pools.h"

namespace Korvex {

namespace {

// A direction that no axis-aligned or diagonal data lines up with, so that
// distinct vertices rarely share a key.
struct SkewDirection {
    double x;
    double y;
};

SkewDirection skewDirection() {
    const double x = 0.13363333323;
    const double y = 1.41423;
    const double length = std::hypot(x, y);
    return {x / length, y / length};
}

void collectVertexRecords(VuSet* set, std::vector<VuMergeVertexRecord>& records) {
    records.clear();
    const SkewDirection direction = skewDirection();
    const VuMask visited = vu_grabMask(set);
    vu_clearMaskInSet(set, visited);
    for (VuNode* node = vu_firstNodeInGraph(set); node; node = vu_nextNodeInGraph(set, node)) {
        if (vu_getMask(node, visited)) continue;
        vu_setMaskAroundVertex(node, visited);
        const double x = vu_getX(node);
        const double y = vu_getY(node);
        records.push_back({node, -1, direction.x * x + direction.y * y, x, y});
    }
    vu_returnMask(set, visited);
}

}  // namespace

int vumerge_clusterVertices(VuSet* set, double tol, std::vector<VuMergeVertexRecord>& records) {
    collectVertexRecords(set, records);
    vumerge_sortNaNLast(
        records, [](const VuMergeVertexRecord& r) { return std::isnan(r.key); },
        [](const VuMergeVertexRecord& a, const VuMergeVertexRecord& b) { return a.key < b.key; });
    // Points within tol of the seed have keys within tol of its key; the
    // wider window is harmless and keeps the scan honest under rounding.
    const double window = std::sqrt(3.0) * tol;
    const double tol2 = tol * tol;
    const size_t count = records.size();
    int clusters = 0;
    for (size_t i = 0; i < count; ++i) {
        VuMergeVertexRecord& seed = records[i];
        if (seed.cluster >= 0) continue;
        seed.cluster = clusters;
        DPoint3d seedPoint;
        vu_getDPoint3d(&seedPoint, seed.node);
        const double keyLimit = seed.key + window;
        for (size_t j = i + 1; j < count && records[j].key <= keyLimit; ++j) {
            VuMergeVertexRecord& member = records[j];
            if (member.cluster >= 0) continue;
            const double dx = member.x - seed.x;
            const double dy = member.y - seed.y;
            if (dx * dx + dy * dy <= tol2) {
                member.cluster = clusters;
                member.x = seed.x;
                member.y = seed.y;
                vu_setDPoint3dAroundVertex(member.node, &seedPoint);
            }
        }
        ++clusters;
    }
    return clusters;
}

}  // namespace Korvex
