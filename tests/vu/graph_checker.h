// Structural checks for vertex-use graphs, run after every public call
// sequence in the graph tests and by the fixture when a test ends: the live
// nodes form a closed list; fSucc and vSucc are permutations of them with
// vu_fpred and vu_vpred their inverses; the edge mate is an involution; every
// vertex loop sits at one point; and the mask and array pools are whole again
// (16 bits, 6 arrays).
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "vu/vu.h"

namespace Korvex::vutest {

namespace detail {

inline std::string describe(const VuNode* node) {
    return "node #" + std::to_string(node->id) + " at (" + std::to_string(node->xyz.x) + ", " +
           std::to_string(node->xyz.y) + ")";
}

inline std::string checkNodes(const VuSet* set) {
    // The live list must close within the number of nodes the blocks hold.
    const std::size_t limit =
        static_cast<std::size_t>(vu_arraySize(set->nodeBlocks)) * VU_NODES_PER_BLOCK;
    std::vector<VuNode*> nodes;
    for (VuNode* node = vu_firstNodeInGraph(set); node; node = vu_nextNodeInGraph(set, node)) {
        if (nodes.size() >= limit) return "the live list does not close";
        nodes.push_back(node);
    }
    const std::unordered_set<const VuNode*> live(nodes.begin(), nodes.end());
    if (live.size() != nodes.size()) return "a node appears twice in the live list";
    std::unordered_set<const VuNode*> fImages, vImages;
    for (const VuNode* node : nodes) {
        if (!live.count(node->fSucc) || !live.count(node->vSucc))
            return describe(node) + ": a successor is not a live node";
        fImages.insert(node->fSucc);
        vImages.insert(node->vSucc);
    }
    if (fImages.size() != nodes.size() || vImages.size() != nodes.size())
        return "fSucc or vSucc is not a permutation";
    for (const VuNode* node : nodes) {
        if (vu_fpred(node->fSucc) != node || vu_fsucc(vu_fpred(node)) != node ||
            vu_vpred(node->vSucc) != node || vu_vsucc(vu_vpred(node)) != node)
            return describe(node) + ": a predecessor is not the inverse of its successor";
        if (vu_edgeMate(vu_edgeMate(node)) != node)
            return describe(node) + ": the edge mate is not an involution";
        if (std::memcmp(&node->xyz, &node->vSucc->xyz, sizeof(DPoint3d)) != 0)
            return describe(node) + ": its vertex successor lies elsewhere";
    }
    return {};
}

inline std::string checkPools(const VuSet* set) {
    const std::set<VuMask> masks(set->maskPool, set->maskPool + VU_MASK_POOL_SIZE);
    for (int i = 0; i < VU_MASK_POOL_SIZE; ++i)
        if (set->freeMaskCount != VU_MASK_POOL_SIZE || !masks.count(VU_LOWEST_POOLED_MASK << i))
            return std::to_string(VU_MASK_POOL_SIZE - set->freeMaskCount) + " mask(s) out";
    const std::set<const vuArray*> arrays(set->arrayPool, set->arrayPool + VU_ARRAY_POOL_SIZE);
    if (set->freeArrayCount != VU_ARRAY_POOL_SIZE || arrays.size() != VU_ARRAY_POOL_SIZE ||
        arrays.count(nullptr))
        return std::to_string(VU_ARRAY_POOL_SIZE - set->freeArrayCount) + " array(s) out";
    return {};
}

}  // namespace detail

struct VuSetDeleter {
    void operator()(VuSet* set) const { vu_freeVuSet(set); }
};
using UniqueVuSet = std::unique_ptr<VuSet, VuSetDeleter>;

inline UniqueVuSet makeVuSet(int extraBytes = 0) { return UniqueVuSet(vu_newVuSet(extraBytes)); }

inline ::testing::AssertionResult isWellFormedGraph(const VuSet* set) {
    std::string problem = detail::checkNodes(set);
    if (problem.empty()) problem = detail::checkPools(set);
    if (problem.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << problem;
}

// A fixture owning one set, whose graph must be well formed when the test
// ends; tests name it through an alias (using VuStack = VuGraphTest).
class VuGraphTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(isWellFormedGraph(set)); }
    UniqueVuSet owner = makeVuSet();
    VuSet* set = owner.get();
};

}  // namespace Korvex::vutest
