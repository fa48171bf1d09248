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

// The two triangles on either side of an edge: the first runs A -> B -> C
// from the edge's node at A, the second B -> A -> D from its mate at B. A
// flip replaces the diagonal A-B by C-D.
struct TrianglePair {
    VuNode* firstAtA;  // the edge's node
    VuNode* firstAtB;
    VuNode* firstAtC;
    VuNode* secondAtB;  // the edge's mate
    VuNode* secondAtA;
    VuNode* secondAtD;
};

// Two distinct triangles whose far corners C and D are different vertices.
std::optional<TrianglePair> trianglePairAt(VuNode* node) {
    if (!isTriangle(node)) return std::nullopt;
    VuNode* mate = vu_edgeMate(node);
    if (!isTriangle(mate)) return std::nullopt;
    const TrianglePair pair{node, vu_fsucc(node), vu_fsucc(vu_fsucc(node)),
                            mate, vu_fsucc(mate), vu_fsucc(vu_fsucc(mate))};
    if (mate == node || mate == pair.firstAtB || mate == pair.firstAtC) return std::nullopt;
    if (inSameVertexLoop(pair.firstAtC, pair.secondAtD)) return std::nullopt;
    return pair;
}

// The worse ratio of two triangles, or empty when either is ineligible.
std::optional<double> worseRatio(std::optional<double> first, std::optional<double> second) {
    if (!first || !second) return std::nullopt;
    return std::min(*first, *second);
}

bool flipImproves(const TrianglePair& pair) {
    const std::optional<double> now =
        worseRatio(quadraticAspectRatio(pair.firstAtA, pair.firstAtB, pair.firstAtC),
                   quadraticAspectRatio(pair.secondAtB, pair.secondAtA, pair.secondAtD));
    const std::optional<double> then =
        worseRatio(quadraticAspectRatio(pair.firstAtC, pair.secondAtD, pair.firstAtB),
                   quadraticAspectRatio(pair.secondAtD, pair.firstAtC, pair.secondAtA));
    if (!now || !then) return false;
    const double penalized = *now < kAspectRatioTolerance ? *now * kDegeneratePenalty : *now;
    return penalized < *then;
}

// Detaches the diagonal, which leaves the quadrilateral A, D, B, C as one
// face, queues its four nodes for another look, and hangs the edge's two
// nodes back in at C and D.
void flip(VuSet* set, const TrianglePair& pair, vuArray* stack) {
    vu_detachEdge(set, pair.firstAtA);
    for (VuNode* corner : {pair.secondAtA, pair.secondAtD, pair.firstAtB, pair.firstAtC})
        vu_arrayAdd(stack, corner);
    vu_copyCoordinates(pair.firstAtA, pair.firstAtC);
    vu_twistVertexLoops(set, pair.firstAtA, pair.firstAtC);
    vu_copyCoordinates(pair.secondAtB, pair.secondAtD);
    vu_twistVertexLoops(set, pair.secondAtB, pair.secondAtD);
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
        const std::optional<TrianglePair> pair = trianglePairAt(node);
        if (pair && flipImproves(*pair)) flip(set, *pair, stack);
    }
    vu_returnArray(set, stack);
}

}  // namespace Korvex
