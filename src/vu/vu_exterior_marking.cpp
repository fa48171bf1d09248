#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "vu/vu_array.h"
#include "vu/vu_faces.h"
#include "vu/vu_graph.h"
#include "vu/vu_node.h"
#include "vu/vu_pools.h"

namespace Korvex {

namespace {

// Exterior marking by alternation: a region is a set of faces joined by
// non-boundary edges; crossing a boundary edge flips between exterior and
// interior. Both traversals use explicit stacks so that deep nestings cannot
// exhaust the call stack.
class AlternationMarker {
public:
    AlternationMarker(VuMask reached, VuMask walked) : m_reached(reached), m_walked(walked) {}

    // Marks the region around an exterior seed face exterior, then alternates
    // outwards-in from it.
    void markFromSeed(VuNode* seed) {
        floodRegion(seed, true);
        walkAlternation(seed);
    }

private:
    void setFaceState(VuNode* face, bool exterior) {
        if (exterior) vu_setMaskAroundFace(face, VU_EXTERIOR_EDGE);
        else vu_clrMaskAroundFace(face, VU_EXTERIOR_EDGE);
        vu_setMaskAroundFace(face, m_reached);
    }

    // Gives every face reachable without crossing a boundary edge the state.
    void floodRegion(VuNode* start, bool exterior) {
        m_floodStack.clear();
        setFaceState(start, exterior);
        m_floodStack.push_back(start);
        while (!m_floodStack.empty()) {
            VuNode* face = m_floodStack.back();
            m_floodStack.pop_back();
            VuNode* x = face;
            do {
                VuNode* mate = vu_edgeMate(x);
                if (!vu_getMask(x, VU_BOUNDARY_EDGE) && !vu_getMask(mate, m_reached)) {
                    setFaceState(mate, exterior);
                    m_floodStack.push_back(mate);
                }
                x = vu_fsucc(x);
            } while (x != face);
        }
    }

    // Each entry is a face and the state its boundary neighbours receive.
    void walkAlternation(VuNode* start) {
        m_walkStack.clear();
        m_walkStack.emplace_back(start, false);
        while (!m_walkStack.empty()) {
            const auto [face, acrossState] = m_walkStack.back();
            m_walkStack.pop_back();
            if (vu_getMask(face, m_walked)) continue;
            vu_setMaskAroundFace(face, m_walked);
            VuNode* x = face;
            do {
                visitEdge(x, acrossState);
                x = vu_fsucc(x);
            } while (x != face);
        }
    }

    void visitEdge(VuNode* x, bool acrossState) {
        VuNode* mate = vu_edgeMate(x);
        if (vu_getMask(x, VU_BOUNDARY_EDGE)) {
            if (!vu_getMask(mate, m_reached)) {
                floodRegion(mate, acrossState);
                m_walkStack.emplace_back(mate, !acrossState);
            }
        } else if (!vu_getMask(mate, m_walked)) {
            m_walkStack.emplace_back(mate, acrossState);
        }
    }

    VuMask m_reached;
    VuMask m_walked;
    std::vector<VuNode*> m_floodStack;
    std::vector<std::pair<VuNode*, bool>> m_walkStack;
};

// A face (its first node in graph order) and its area, NaN counted as the
// largest.
using KeyedFace = std::pair<double, VuNode*>;

KeyedFace keyedFace(VuNode* face) {
    const double area = vu_area(face);
    return {std::isnan(area) ? HUGE_VAL : area, face};
}

// Seeds: every face of three or more nodes whose area is not positive. They
// are also the exterior faces from then on, so they are gathered here with
// their areas, in graph order, as collecting the exterior faces would give
// them. The exterior bit is cleared in the pass that clears the visit mark.
void markNonPositiveFacesExterior(VuSet* set, std::vector<KeyedFace>& exteriorFaces) {
    const VuMask visited = vu_grabMask(set);
    vu_clearMaskInSet(set, VU_EXTERIOR_EDGE | visited);
    for (VuNode* node = vu_firstNodeInGraph(set); node; node = vu_nextNodeInGraph(set, node)) {
        if (vu_getMask(node, visited)) continue;
        const double area = vu_area(node);
        if (area <= 0.0 && vu_countNodesAroundFace(node) >= 3) {
            vu_setMaskAroundFace(node, VU_EXTERIOR_EDGE);
            exteriorFaces.emplace_back(area, node);
        }
        vu_setMaskAroundFace(node, visited);
    }
    vu_returnMask(set, visited);
}

// The exterior faces as marked by the caller.
void collectExteriorFaces(VuSet* set, vuArray* faces, std::vector<KeyedFace>& exteriorFaces) {
    vu_collectExteriorFaceLoops(faces, set);
    for (int i = 0, count = vu_arraySize(faces); i < count; ++i)
        exteriorFaces.push_back(keyedFace(vu_arrayGet(faces, i)));
}

}  // namespace

void vu_markAlternatingExteriorBoundaries(VuSet* set, bool markByArea) {
    vuArray* faces = vu_grabArray(set);
    if (!faces) return;
    std::vector<KeyedFace> exteriorFaces;
    if (markByArea) markNonPositiveFacesExterior(set, exteriorFaces);
    const VuMask reached = vu_grabMask(set);
    const VuMask walked = vu_grabMask(set);
    vu_clearMaskInSet(set, reached | walked);
    if (!markByArea) collectExteriorFaces(set, faces, exteriorFaces);

    // Taking the smallest unreached face each time is the same as running
    // through them in area order (ties in collection order) and skipping
    // those reached meanwhile.
    std::stable_sort(exteriorFaces.begin(), exteriorFaces.end(),
                     [](const KeyedFace& a, const KeyedFace& b) { return a.first < b.first; });
    AlternationMarker marker(reached, walked);
    for (const KeyedFace& keyed : exteriorFaces) {
        VuNode* face = keyed.second;
        if (vu_getMask(face, reached) || !vu_getMask(face, VU_EXTERIOR_EDGE)) continue;
        marker.markFromSeed(face);
    }

    vu_returnMask(set, walked);
    vu_returnMask(set, reached);
    vu_returnArray(set, faces);
}

}  // namespace Korvex
