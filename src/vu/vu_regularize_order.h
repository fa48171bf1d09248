// The sweep order and the planar turn tests shared by regularization and
// triangulation. Only x and y take part; z is carried and never read.
#pragma once

#include <cmath>

#include "vu/vu_node.h"

namespace Korvex {

// How a sweep reads a node's coordinates. The turned frame sees the graph
// turned half a turn (x and y negated, which is exact), so the same upward
// sweep runs downwards without moving any node.
struct VuUprightFrame {
    static double x(const VuNode* node) { return node->xyz.x; }
    static double y(const VuNode* node) { return node->xyz.y; }
};
struct VuTurnedFrame {
    static double x(const VuNode* node) { return -node->xyz.x; }
    static double y(const VuNode* node) { return -node->xyz.y; }
};

// p is below q: a lower y, or the same y and a lower x. Comparisons are exact;
// two nodes at one point are neither below nor above each other.
template <typename Frame = VuUprightFrame>
inline bool vu_isBelowInSweep(const VuNode* p, const VuNode* q) {
    const double py = Frame::y(p);
    const double qy = Frame::y(q);
    return py < qy || (py == qy && Frame::x(p) < Frame::x(q));
}

// In every frame alike.
inline bool vu_sameXY(const VuNode* p, const VuNode* q) {
    return p->xyz.x == q->xyz.x && p->xyz.y == q->xyz.y;
}

// A node whose x and y can be ordered and measured, in every frame alike.
inline bool vu_hasFiniteXY(const VuNode* node) {
    return std::isfinite(node->xyz.x) && std::isfinite(node->xyz.y);
}

// (b - a) x (c - b): positive when a, b, c turn to the left.
template <typename Frame = VuUprightFrame>
inline double vu_turnXY(const VuNode* a, const VuNode* b, const VuNode* c) {
    return (Frame::x(b) - Frame::x(a)) * (Frame::y(c) - Frame::y(b)) -
           (Frame::y(b) - Frame::y(a)) * (Frame::x(c) - Frame::x(b));
}

}  // namespace Korvex
