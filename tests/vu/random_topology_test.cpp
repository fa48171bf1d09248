// Random sequences of the topology primitives, checked by the graph checker
// after every step: whatever the order of edits, the successor relations stay
// permutations and the pools stay whole.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "vu/graph_test_helpers.h"
#include "vu/vu.h"

namespace Korvex {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kSteps = 400;
#else
constexpr int kSteps = 3000;
#endif

class RandomEditor {
public:
    RandomEditor(VuSet* set, unsigned seed) : m_set(set), m_random(seed) {}

    void step() {
        switch (pick(7)) {
            case 0: addRing(); break;
            case 1: splitSomeEdge(); break;
            case 2: joinTwoVertices(); break;
            case 3: detachSomeEdge(); break;
            case 4: freeSomeEdges(); break;
            case 5: saveAndRestore(); break;
            default: vu_insertEdgeBetween(m_set, someNode(), nullptr, nullptr, nullptr); break;
        }
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    VuNode* someNode() {
        const int count = vu_countNodesInGraph(m_set);
        if (count == 0) return nullptr;
        VuNode* node = vu_firstNodeInGraph(m_set);
        for (int i = pick(count); i > 0; --i) node = vu_nextNodeInGraph(m_set, node);
        return node;
    }

    void addRing() {
        std::vector<DPoint3d> points;
        const int n = 2 + pick(5);
        for (int i = 0; i < n; ++i) points.push_back({double(pick(100)), double(pick(100)), 0.0});
        vu_loopFromDPoint3dArrayXYTol(m_set, points.data(), n, 0.0, 1.0e-8);
    }

    void splitSomeEdge() {
        VuNode* node = someNode();
        if (!node) return;
        VuNode *a = nullptr, *b = nullptr;
        vu_splitEdge(m_set, node, &a, &b);
        vu_setXYAroundVertex(a, double(pick(100)), double(pick(100)));
    }

    void joinTwoVertices() {
        VuNode* a = someNode();
        VuNode* b = someNode();
        if (a && b) vu_insertEdgeBetween(m_set, a, b, nullptr, nullptr);
    }

    void detachSomeEdge() {
        if (VuNode* node = someNode()) vu_detachEdge(m_set, node);
    }

    void freeSomeEdges() {
        const VuMask doomed = vu_grabMask(m_set);
        vu_clearMaskInSet(m_set, doomed);
        for (int i = pick(4); i > 0; --i)
            if (VuNode* node = someNode()) vu_setMask(node, doomed);
        vu_freeMarkedEdges(m_set, doomed);
        vu_returnMask(m_set, doomed);
    }

    void saveAndRestore() {
        if (pick(2)) vu_stackPushCopy(m_set);
        else vu_stackPush(m_set);
        addRing();
        if (pick(2)) vu_stackExchange(m_set);
        vu_stackPop(m_set);
    }

    VuSet* m_set;
    std::mt19937 m_random;
};

TEST(VuRandomTopology, EditsKeepTheGraphWellFormed) {
    for (unsigned seed : {1u, 2u, 3u}) {
        auto set = vutest::makeVuSet(seed == 2 ? 24 : 0);
        RandomEditor editor(set.get(), seed);
        for (int i = 0; i < kSteps; ++i) {
            editor.step();
            ASSERT_TRUE(vutest::isWellFormedGraph(set.get())) << "seed " << seed << " step " << i;
            // Keep the graph small enough for the checker to stay quick.
            if (vu_countNodesInGraph(set.get()) > 400) vu_reinitializeVuSet(set.get());
        }
        EXPECT_EQ(vu_stackSize(set.get()), 0);
    }
}

}  // namespace
}  // namespace Korvex
