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

// Moves a whole vertex: every node of the vertex loop gets the coordinates.
void vu_setXYAroundVertex(VuNode* node, double x, double y);
void vu_setDPoint3dAroundVertex(VuNode* node, const DPoint3d* point);

// Counts are 0 for a null node.
int vu_countNodesAroundFace(const VuNode* node);
int vu_countNodesAroundVertex(const VuNode* node);
// Counts the nodes that carry any bit of m.
int vu_countMaskAroundFace(const VuNode* node, VuMask m);
int vu_countMaskAroundVertex(const VuNode* node, VuMask m);

// The first node, starting at node itself, that carries any bit of m (or that
// carries none of m, for the Unmasked forms); null when there is none.
VuNode* vu_findMaskAroundFace(VuNode* node, VuMask m);
VuNode* vu_findMaskAroundVertex(VuNode* node, VuMask m);
VuNode* vu_findUnmaskedAroundFace(VuNode* node, VuMask m);
VuNode* vu_findUnmaskedAroundVertex(VuNode* node, VuMask m);

void vu_setMaskAroundFace(VuNode* node, VuMask m);
void vu_setMaskAroundVertex(VuNode* node, VuMask m);
void vu_clrMaskAroundFace(VuNode* node, VuMask m);
void vu_clrMaskAroundVertex(VuNode* node, VuMask m);

}  // namespace Korvex
