// The sweep order and the planar turn tests shared by regularization and
// triangulation. Only x and y take part; z is carried and never read.
#pragma once

#include <cmath>

#include "vu/vu_node.h"

namespace Korvex {

// p is below q: a lower y, or the same y and a lower x. Comparisons are exact;
// two nodes at one point are neither below nor above each other.
inline bool vu_isBelowInSweep(const VuNode* p, const VuNode* q) {
    return p->xyz.y < q->xyz.y || (p->xyz.y == q->xyz.y && p->xyz.x < q->xyz.x);
}

inline bool vu_sameXY(const VuNode* p, const VuNode* q) {
    return p->xyz.x == q->xyz.x && p->xyz.y == q->xyz.y;
}

// A node whose x and y can be ordered and measured.
inline bool vu_hasFiniteXY(const VuNode* node) {
    return std::isfinite(node->xyz.x) && std::isfinite(node->xyz.y);
}

// (b - a) x (c - b): positive when a, b, c turn to the left.
inline double vu_turnXY(const VuNode* a, const VuNode* b, const VuNode* c) {
    return (b->xyz.x - a->xyz.x) * (c->xyz.y - b->xyz.y) -
           (b->xyz.y - a->xyz.y) * (c->xyz.x - b->xyz.x);
}

}  // namespace Korvex
