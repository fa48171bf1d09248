#include <cmath>

#include "vu/vu_node.h"
#include "vu/vu_topology.h"
#include "vu/vu_triangulate_face.h"

namespace Korvex {

namespace {

// A fan of fewer triangles than this is left alone.
constexpr int kMinimumFanTriangles = 4;

struct FanCentroid {
    double area = 0.0;
    double x = 0.0;
    double y = 0.0;
    bool everyTrianglePositive = true;
};

// Area and area centroid of the face, summed over the fan of triangles from
// its lowest node; coordinates are taken relative to that node.
FanCentroid fanCentroid(const VuNode* lowest) {
    FanCentroid fan;
    double momentX = 0.0;
    double momentY = 0.0;
    const double x0 = lowest->xyz.x;
    const double y0 = lowest->xyz.y;
    const VuNode* p = vu_fsucc(lowest);
    for (const VuNode* q = vu_fsucc(p); q != lowest; p = q, q = vu_fsucc(q)) {
        const double px = p->xyz.x - x0, py = p->xyz.y - y0;
        const double qx = q->xyz.x - x0, qy = q->xyz.y - y0;
        const double area = 0.5 * (px * qy - py * qx);
        fan.area += area;
        momentX += area * (px + qx) / 3.0;
        momentY += area * (py + qy) / 3.0;
        if (!(area > 0.0)) fan.everyTrianglePositive = false;
    }
    fan.x = x0 + momentX / fan.area;
    fan.y = y0 + momentY / fan.area;
    return fan;
}

bool seesEveryEdgeCounterclockwise(const VuNode* lowest, double cx, double cy) {
    const VuNode* p = lowest;
    do {
        const VuNode* q = vu_fsucc(p);
        const double cross = (p->xyz.x - cx) * (q->xyz.y - cy) - (p->xyz.y - cy) * (q->xyz.x - cx);
        if (!(cross > 0.0)) return false;
        p = q;
    } while (p != lowest);
    return true;
}

}  // namespace

bool vu_triangulateStarFace(VuSet* set, VuNode* lowest) {
    const int count = vu_countNodesAroundFace(lowest);
    if (count < kMinimumFanTriangles + 2) return false;
    const FanCentroid fan = fanCentroid(lowest);
    if (fan.area == 0.0 || !std::isfinite(fan.area)) return false;
    if (!fan.everyTrianglePositive && !seesEveryEdgeCounterclockwise(lowest, fan.x, fan.y))
        return false;

    VuNode* centre = nullptr;
    vu_insertEdgeBetween(set, lowest, nullptr, nullptr, &centre);
    if (!centre) return false;
    vu_setXYZ(centre, fan.x, fan.y, 0.0);
    // Each spoke to the other nodes in face order cuts one triangle off the
    // face; the rest of the face keeps the spoke's new node at the centre.
    VuNode* node = vu_fsucc(lowest);
    for (int i = 1; i < count; ++i) {
        VuNode* next = vu_fsucc(node);
        VuNode* newAtCentre = nullptr;
        vu_insertEdgeBetween(set, centre, node, &newAtCentre, nullptr);
        if (!newAtCentre) return true;
        centre = newAtCentre;
        node = next;
    }
    return true;
}

}  // namespace Korvex
