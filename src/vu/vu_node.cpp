#include "vu/vu_node.h"

namespace Korvex {

namespace {

// The face loop follows fSucc, the vertex loop vSucc.
using Successor = VuNode* VuNode::*;
constexpr Successor kAroundFace = &VuNode::fSucc;
constexpr Successor kAroundVertex = &VuNode::vSucc;

// Node is VuNode or const VuNode.
template <typename Node, typename Visit>
void forEachInLoop(Node* start, Successor next, Visit visit) {
    if (!start) return;
    Node* node = start;
    do {
        visit(node);
        node = node->*next;
    } while (node != start);
}

int countInLoop(const VuNode* start, Successor next, VuMask m, bool anyNode) {
    int count = 0;
    forEachInLoop(start, next, [&](const VuNode* node) {
        if (anyNode || (node->mask & m)) ++count;
    });
    return count;
}

VuNode* findInLoop(VuNode* start, Successor next, VuMask m, bool wantMasked) {
    if (!start) return nullptr;
    VuNode* node = start;
    do {
        if (((node->mask & m) != 0) == wantMasked) return node;
        node = node->*next;
    } while (node != start);
    return nullptr;
}

}  // namespace

void vu_setXYAroundVertex(VuNode* node, double x, double y) {
    forEachInLoop(node, kAroundVertex, [=](VuNode* n) {
        n->xyz.x = x;
        n->xyz.y = y;
    });
}

void vu_setDPoint3dAroundVertex(VuNode* node, const DPoint3d* point) {
    const DPoint3d xyz = *point;
    forEachInLoop(node, kAroundVertex, [=](VuNode* n) { n->xyz = xyz; });
}

int vu_countNodesAroundFace(const VuNode* node) { return countInLoop(node, kAroundFace, 0, true); }
int vu_countNodesAroundVertex(const VuNode* node) {
    return countInLoop(node, kAroundVertex, 0, true);
}
int vu_countMaskAroundFace(const VuNode* node, VuMask m) {
    return countInLoop(node, kAroundFace, m, false);
}
int vu_countMaskAroundVertex(const VuNode* node, VuMask m) {
    return countInLoop(node, kAroundVertex, m, false);
}

VuNode* vu_findMaskAroundFace(VuNode* node, VuMask m) {
    return findInLoop(node, kAroundFace, m, true);
}
VuNode* vu_findMaskAroundVertex(VuNode* node, VuMask m) {
    return findInLoop(node, kAroundVertex, m, true);
}
VuNode* vu_findUnmaskedAroundFace(VuNode* node, VuMask m) {
    return findInLoop(node, kAroundFace, m, false);
}
VuNode* vu_findUnmaskedAroundVertex(VuNode* node, VuMask m) {
    return findInLoop(node, kAroundVertex, m, false);
}

void vu_setMaskAroundFace(VuNode* node, VuMask m) {
    forEachInLoop(node, kAroundFace, [=](VuNode* n) { n->mask |= m; });
}
void vu_setMaskAroundVertex(VuNode* node, VuMask m) {
    forEachInLoop(node, kAroundVertex, [=](VuNode* n) { n->mask |= m; });
}
void vu_clrMaskAroundFace(VuNode* node, VuMask m) {
    forEachInLoop(node, kAroundFace, [=](VuNode* n) { n->mask &= ~m; });
}
void vu_clrMaskAroundVertex(VuNode* node, VuMask m) {
    forEachInLoop(node, kAroundVertex, [=](VuNode* n) { n->mask &= ~m; });
}

}  // namespace Korvex
