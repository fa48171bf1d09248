// Accessors of single nodes and walks around one face or one vertex loop.
// The relations are pure pointer walks; nothing but the successors is stored.
#pragma once

#include "vu/vu_types.h"

namespace Korvex {

inline VuNode* vu_fsucc(const VuNode* node) { return node->fSucc; }
inline VuNode* vu_vsucc(const VuNode* node) { return node->vSucc; }
// The node on the other side of the same edge, at its other end.
inline VuNode* vu_edgeMate(const VuNode* node) { return node->fSucc->vSucc; }
inline VuNode* vu_fpred(const VuNode* node) { return node->vSucc->fSucc->vSucc; }
inline VuNode* vu_vpred(const VuNode* node) { return node->fSucc->vSucc->fSucc; }

inline int vu_getIndex(const VuNode* node) { return node->id; }
inline int vu_getAuxIndex(const VuNode* node) { return node->auxIndex; }
inline void vu_setAuxIndex(VuNode* node, int value) { node->auxIndex = value; }

// The bits of m that the node carries.
inline VuMask vu_getMask(const VuNode* node, VuMask m) { return node->mask & m; }
// ORs m in; returns the new mask.
inline VuMask vu_setMask(VuNode* node, VuMask m) { return node->mask |= m; }
// Clears m; returns the new mask.
inline VuMask vu_clrMask(VuNode* node, VuMask m) { return node->mask &= ~m; }
// Sets m when flag is true, else clears it; returns the new mask.
inline VuMask vu_writeMask(VuNode* node, VuMask m, bool flag) {
    return flag ? vu_setMask(node, m) : vu_clrMask(node, m);
}

inline void* vu_getUserDataP(const VuNode* node) { return node->userDataP; }
inline void vu_setUserDataP(VuNode* node, void* value) { node->userDataP = value; }
inline void* vu_getUserData2(const VuNode* node) { return node->userData2; }
inline void vu_setUserData2(VuNode* node, void* value) { node->userData2 = value; }
// The caller's extraBytes that follow the node record.
inline void* vu_getExtraData(VuNode* node) { return node + 1; }

inline double vu_getX(const VuNode* node) { return node->xyz.x; }
inline double vu_getY(const VuNode* node) { return node->xyz.y; }
inline void vu_getDPoint3d(DPoint3d* out, const VuNode* node) { *out = node->xyz; }
inline void vu_setDPoint3d(VuNode* node, const DPoint3d* point) { node->xyz = *point; }
inline void vu_setXYZ(VuNode* node, double x, double y, double z) { node->xyz = {x, y, z}; }
inline void vu_copyCoordinates(VuNode* to, const VuNode* from) { to->xyz = from->xyz; }

// Walks around one face (fSucc) or one vertex loop (vSucc). They sit in the
// inner loops of every graph algorithm, so they are inline.
namespace vu_detail {

using Successor = VuNode* VuNode::*;
inline constexpr Successor kAroundFace = &VuNode::fSucc;
inline constexpr Successor kAroundVertex = &VuNode::vSucc;

// Node is VuNode or const VuNode.
template <typename Node, typename Visit>
inline void forEachInLoop(Node* start, Successor next, Visit visit) {
    if (!start) return;
    Node* node = start;
    do {
        visit(node);
        node = node->*next;
    } while (node != start);
}

inline int countInLoop(const VuNode* start, Successor next, VuMask m, bool anyNode) {
    int count = 0;
    forEachInLoop(start, next, [&](const VuNode* node) {
        if (anyNode || (node->mask & m)) ++count;
    });
    return count;
}

inline VuNode* findInLoop(VuNode* start, Successor next, VuMask m, bool wantMasked) {
    if (!start) return nullptr;
    VuNode* node = start;
    do {
        if (((node->mask & m) != 0) == wantMasked) return node;
        node = node->*next;
    } while (node != start);
    return nullptr;
}

}  // namespace vu_detail

// Moves a whole vertex: every node of the vertex loop gets the coordinates.
inline void vu_setXYAroundVertex(VuNode* node, double x, double y) {
    vu_detail::forEachInLoop(node, vu_detail::kAroundVertex, [=](VuNode* n) {
        n->xyz.x = x;
        n->xyz.y = y;
    });
}
inline void vu_setDPoint3dAroundVertex(VuNode* node, const DPoint3d* point) {
    const DPoint3d xyz = *point;
    vu_detail::forEachInLoop(node, vu_detail::kAroundVertex, [=](VuNode* n) { n->xyz = xyz; });
}

// Counts are 0 for a null node.
inline int vu_countNodesAroundFace(const VuNode* node) {
    return vu_detail::countInLoop(node, vu_detail::kAroundFace, 0, true);
}
inline int vu_countNodesAroundVertex(const VuNode* node) {
    return vu_detail::countInLoop(node, vu_detail::kAroundVertex, 0, true);
}
// Counts the nodes that carry any bit of m.
inline int vu_countMaskAroundFace(const VuNode* node, VuMask m) {
    return vu_detail::countInLoop(node, vu_detail::kAroundFace, m, false);
}
inline int vu_countMaskAroundVertex(const VuNode* node, VuMask m) {
    return vu_detail::countInLoop(node, vu_detail::kAroundVertex, m, false);
}

// The first node, starting at node itself, that carries any bit of m (or that
// carries none of m, for the Unmasked forms); null when there is none.
inline VuNode* vu_findMaskAroundFace(VuNode* node, VuMask m) {
    return vu_detail::findInLoop(node, vu_detail::kAroundFace, m, true);
}
inline VuNode* vu_findMaskAroundVertex(VuNode* node, VuMask m) {
    return vu_detail::findInLoop(node, vu_detail::kAroundVertex, m, true);
}
inline VuNode* vu_findUnmaskedAroundFace(VuNode* node, VuMask m) {
    return vu_detail::findInLoop(node, vu_detail::kAroundFace, m, false);
}
inline VuNode* vu_findUnmaskedAroundVertex(VuNode* node, VuMask m) {
    return vu_detail::findInLoop(node, vu_detail::kAroundVertex, m, false);
}

inline void vu_setMaskAroundFace(VuNode* node, VuMask m) {
    vu_detail::forEachInLoop(node, vu_detail::kAroundFace, [=](VuNode* n) { n->mask |= m; });
}
inline void vu_setMaskAroundVertex(VuNode* node, VuMask m) {
    vu_detail::forEachInLoop(node, vu_detail::kAroundVertex, [=](VuNode* n) { n->mask |= m; });
}
inline void vu_clrMaskAroundFace(VuNode* node, VuMask m) {
    vu_detail::forEachInLoop(node, vu_detail::kAroundFace, [=](VuNode* n) { n->mask &= ~m; });
}
inline void vu_clrMaskAroundVertex(VuNode* node, VuMask m) {
    vu_detail::forEachInLoop(node, vu_detail::kAroundVertex, [=](VuNode* n) { n->mask &= ~m; });
}

}  // namespace Korvex
