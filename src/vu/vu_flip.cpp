#include "vu/vu_flip.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "vu/vu_array.h"
#include "vu/vu_graph.h"
#include "vu/vu_node.h"
#include "vu/vu_pools.h"
#include "vu/vu_topology.h"

namespace Korvex {

namespace {

// Ratios this close to 0 count as 0, and a worst triangle below it gets a
// 25% handicap so that a flip out of a degenerate pair is taken readily.
constexpr double kAspectRatioTolerance = 1.0e-6;
constexpr double kDegeneratePenalty = 1.25;

double squaredDistance(const VuNode* a, const VuNode* b) {
    const double dx = b->xyz.x - a->xyz.x;
    const double dy = b->xyz.y - a->xyz.y;
    return dx * dx + dy * dy;
}

// Twice the signed area over the sum of the squared edge lengths: positive
// for a counterclockwise triangle, largest for an equilateral one. Empty for
// a triangle whose three corners coincide.
std::optional<double> quadraticAspectRatio(const VuNode* a, const VuNode* b, const VuNode* c) {
    const double squares = squaredDistance(a, b) + squaredDistance(b, c) + squaredDistance(c, a);
    if (squares == 0.0) return std::nullopt;
    const double twiceArea = (b->xyz.x - a->xyz.x) * (c->xyz.y - a->xyz.y) -
                             (b->xyz.y - a->xyz.y) * (c->xyz.x - a->xyz.x);
    const double ratio = twiceArea / squares;
    return std::fabs(ratio) < kAspectRatioTolerance ? 0.0 : ratio;
}

bool isTriangle(const VuNode* node) {
    const VuNode* second = vu_fsucc(node);
    return second != node && vu_fsucc(vu_fsucc(second)) == node;
}

bool inSameVertexLoop(const VuNode* a, const VuNode* b) {
    const VuNode* node = a;
    do {
        if (node == b) return true;
        node = vu_vsucc(node);
    } while (node != a);
    return false;
}

// The two triangles on either side of an edge: node runs A -> B -> C and its
// mate B -> A -> D. The flip replaces the diagonal A-B by C-D.
struct TrianglePair {
    VuNode* atA;     // node, first triangle
    VuNode* atB;     // first triangle
    VuNode* atC;     // first triangle
    VuNode* mateAtB; // node's edge mate, second triangle
    VuNode* atA2;    // second triangle
    VuNode* atD;     // second triangle
};

// Two distinct triangles whose far corners C and D are different vertices.
std::optional<TrianglePair> trianglePairAt(VuNode* node) {
    if (!isTriangle(node)) return std::nullopt;
    VuNode* mate = vu_edgeMate(node);
    if (!isTriangle(mate)) return std::nullopt;
    const TrianglePair pair{node, vu_fsucc(node), vu_fsucc(vu_fsucc(node)),
                            mate, vu_fsucc(mate), vu_fsucc(vu_fsucc(mate))};
    if (mate == node || mate == pair.atB || mate == pair.atC) return std::nullopt;
    if (inSameVertexLoop(pair.atC, pair.atD)) return std::nullopt;
    return pair;
}

// The worse ratio of two triangles, or empty when either is ineligible.
std::optional<double> worseRatio(std::optional<double> first, std::optional<double> second) {
    if (!first || !second) return std::nullopt;
    return std::min(*first, *second);
}

bool flipImproves(const TrianglePair& pair) {
    const std::optional<double> now =
        worseRatio(quadraticAspectRatio(pair.atA, pair.atB, pair.atC),
                   quadraticAspectRatio(pair.mateAtB, pair.atA2, pair.atD));
    const std::optional<double> then =
        worseRatio(quadraticAspectRatio(pair.atC, pair.atD, pair.atB),
                   quadraticAspectRatio(pair.atD, pair.atC, pair.atA2));
    if (!now || !then) return false;
    const double penalized = *now < kAspectRatioTolerance ? *now * kDegeneratePenalty : *now;
    return penalized < *then;
}

// Detaches the diagonal, which leaves the quadrilateral A, D, B, C as one
// face, queues its four nodes for another look, and hangs the edge's two
// nodes back in at C and D.
void flip(VuSet* set, const TrianglePair& pair, vuArray* stack) {
    vu_detachEdge(set, pair.atA);
    for (VuNode* corner : {pair.atA2, pair.atD, pair.atB, pair.atC}) vu_arrayAdd(stack, corner);
    vu_copyCoordinates(pair.atA, pair.atC);
    vu_twistVertexLoops(set, pair.atA, pair.atC);
    vu_copyCoordinates(pair.mateAtB, pair.atD);
    vu_twistVertexLoops(set, pair.mateAtB, pair.atD);
}

}  // namespace

void vu_flipTrianglesToImproveQuadraticAspectRatio(VuSet* set) {
    if (!set) return;
    vuArray* stack = vu_grabArray(set);
    if (!stack) return;
    vu_collectAllNodes(stack, set);
    const long long nodes = vu_arraySize(stack);
    long long budget = std::max(20LL, nodes / 60) * nodes;
    for (; budget > 0; --budget) {
        VuNode* node = vu_arrayRemoveLast(stack);
        if (!node) break;
        if (const std::optional<TrianglePair> pair = trianglePairAt(node); pair && flipImproves(*pair))
            flip(set, *pair, stack);
    }
    vu_returnArray(set, stack);
}

}  // namespace Korvex
