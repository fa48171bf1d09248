#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <memory_resource>
#include <utility>
#include <vector>

#include "vu/vu_array.h"
#include "vu/vu_faces.h"
#include "vu/vu_graph.h"
#include "vu/vu_node.h"
#include "vu/vu_pools.h"

namespace Korvex {

namespace {

// The scratch lists of one marking live in a buffer on the call stack; only
// graphs far larger than usual spill to the heap.
constexpr std::size_t kScratchBytes = 2048;
constexpr std::size_t kReservedSeeds = 16;
constexpr std::size_t kReservedWalkEntries = 64;
// Seed lists up to this length are sorted in place by insertion.
constexpr std::size_t kLongestInsertionSort = 32;

// Exterior marking by alternation: a region is a set of faces joined by
// non-boundary edges; crossing a boundary edge flips between exterior and
// interior. Both traversals use explicit stacks so that deep nestings cannot
// exhaust the call stack.
//
// Every face starts unwalked (the caller marks all nodes); walking a face
// clears the mark, so no pass is needed to clear a walked mark beforehand.
class AlternationMarker {
public:
    AlternationMarker(VuMask reached, VuMask unwalked, vuArray* floodStack,
                      std::pmr::memory_resource* memory)
        : m_reached(reached), m_unwalked(unwalked), m_floodStack(floodStack), m_walkStack(memory) {
        m_walkStack.reserve(kReservedWalkEntries);
    }

    // Marks the region around an exterior seed face exterior, then alternates
    // outwards-in from it.
    void markFromSeed(VuNode* seed) {
        floodRegion(seed, true);
        walkAlternation(seed);
    }

private:
    void setFaceState(VuNode* face, bool exterior) {
        const VuMask set = m_reached | (exterior ? VU_EXTERIOR_EDGE : 0);
        const VuMask keep = ~(m_reached | VU_EXTERIOR_EDGE);
        vu_detail::forEachInLoop(face, vu_detail::kAroundFace,
                                 [=](VuNode* node) { node->mask = (node->mask & keep) | set; });
    }

    // Gives every face reachable without crossing a boundary edge the state.
    void floodRegion(VuNode* start, bool exterior) {
        vu_arrayClear(m_floodStack);
        setFaceState(start, exterior);
        vu_arrayAdd(m_floodStack, start);
        while (VuNode* face = vu_arrayRemoveLast(m_floodStack)) {
            VuNode* x = face;
            do {
                VuNode* mate = vu_edgeMate(x);
                if (!vu_getMask(x, VU_BOUNDARY_EDGE) && !vu_getMask(mate, m_reached)) {
                    setFaceState(mate, exterior);
                    vu_arrayAdd(m_floodStack, mate);
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
            if (!vu_getMask(face, m_unwalked)) continue;
            vu_clrMaskAroundFace(face, m_unwalked);
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
        } else if (vu_getMask(mate, m_unwalked)) {
            m_walkStack.emplace_back(mate, acrossState);
        }
    }

    VuMask m_reached;
    VuMask m_unwalked;
    vuArray* m_floodStack;
    std::pmr::vector<std::pair<VuNode*, bool>> m_walkStack;
};

// A face (its first node in graph order) and its area, NaN counted as the
// largest.
using KeyedFace = std::pair<double, VuNode*>;
using SeedList = std::pmr::vector<KeyedFace>;

// Visits every face once, at its first node in graph order, and marks all its
// nodes unwalked. The seeds are gathered in that order with their areas:
// with markByArea, every face of three or more nodes whose area is not
// positive, which also becomes exterior; otherwise the faces marked exterior.
void gatherSeeds(VuSet* set, bool markByArea, VuMask unwalked, SeedList& seeds) {
    for (VuNode* node = vu_firstNodeInGraph(set); node; node = vu_nextNodeInGraph(set, node)) {
        if (vu_getMask(node, unwalked)) continue;
        const double area = vu_areaWithMask(node, unwalked);
        if (markByArea) {
            const bool enclosesSomething = vu_fsucc(vu_fsucc(node)) != node;
            if (area <= 0.0 && enclosesSomething) {
                vu_setMaskAroundFace(node, VU_EXTERIOR_EDGE);
                seeds.emplace_back(area, node);
            }
        } else if (vu_getMask(node, VU_EXTERIOR_EDGE)) {
            seeds.emplace_back(std::isnan(area) ? HUGE_VAL : area, node);
        }
    }
}

// By area, ties in gathering order. Seed lists are short, so an insertion
// sort does it without the temporary buffer of std::stable_sort; both give
// the one stable order.
void sortByArea(SeedList& seeds) {
    const auto less = [](const KeyedFace& a, const KeyedFace& b) { return a.first < b.first; };
    if (seeds.size() > kLongestInsertionSort) {
        std::stable_sort(seeds.begin(), seeds.end(), less);
        return;
    }
    for (std::size_t i = 1; i < seeds.size(); ++i) {
        const KeyedFace seed = seeds[i];
        std::size_t j = i;
        for (; j > 0 && less(seed, seeds[j - 1]); --j) seeds[j] = seeds[j - 1];
        seeds[j] = seed;
    }
}

}  // namespace

void vu_markAlternatingExteriorBoundaries(VuSet* set, bool markByArea) {
    vuArray* floodStack = vu_grabArray(set);
    if (!floodStack) return;
    std::array<std::byte, kScratchBytes> buffer;
    std::pmr::monotonic_buffer_resource memory(buffer.data(), buffer.size());
    SeedList seeds(&memory);
    seeds.reserve(kReservedSeeds);

    const VuMask reached = vu_grabMask(set);
    const VuMask unwalked = vu_grabMask(set);
    if (!reached || !unwalked) {
        // A caller holding the whole mask pool gets nothing marked: without
        // its two marks the flood could not tell where it has been.
        vu_returnMask(set, unwalked);
        vu_returnMask(set, reached);
        vu_returnArray(set, floodStack);
        return;
    }
    vu_clearMaskInSet(set, reached | unwalked | (markByArea ? VU_EXTERIOR_EDGE : 0));
    gatherSeeds(set, markByArea, unwalked, seeds);

    // Taking the smallest unreached face each time is the same as running
    // through them in area order (ties in gathering order) and skipping
    // those reached meanwhile.
    sortByArea(seeds);
    AlternationMarker marker(reached, unwalked, floodStack, &memory);
    for (const KeyedFace& keyed : seeds) {
        VuNode* face = keyed.second;
        if (vu_getMask(face, reached) || !vu_getMask(face, VU_EXTERIOR_EDGE)) continue;
        marker.markFromSeed(face);
    }

    vu_returnMask(set, unwalked);
    vu_returnMask(set, reached);
    vu_returnArray(set, floodStack);
}

}  // namespace Korvex
