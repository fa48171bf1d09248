// One upward sweep of the regularizer over a whole graph.
#pragma once

#include <optional>

#include "vu/vu_types.h"

namespace Korvex {

// Walks the local minima of all faces from the lowest upwards and joins every
// reflex or lone minimum to a vertex below it, so that afterwards no face has
// a second lowest node and islands hang from the boundary around them.
//
// Faces are tracked by their boundary chains: a right chain climbs a face
// boundary along face successors, a left chain along face predecessors, and
// each chain entry holds the lower node of the chain edge it has reached.
// Local maxima whose face lies above them (reflex maxima) wait in a pending
// list as join targets for the events above them.
//
// The sweep holds two masks and four scratch arrays of the set for its
// lifetime; when the pools cannot supply them it does nothing.
class VuRegularizeSweep {
public:
    explicit VuRegularizeSweep(VuSet* set);
    ~VuRegularizeSweep();
    VuRegularizeSweep(const VuRegularizeSweep&) = delete;
    VuRegularizeSweep& operator=(const VuRegularizeSweep&) = delete;

    // False when a new edge failed its sector test (message -200 was sent and
    // the sweep stopped there); the graph stays valid either way. A sweep may
    // run any number of times; each run starts afresh.
    bool run();

private:
    enum class ChainSide { Right, Left };

    // The edge of a chain that spans the current event's height.
    struct ChainEdge {
        VuNode* lower;
        VuNode* upper;
        double x;  // x of the edge at the event's height
    };

    bool hasResources() const;
    void startOver();
    void collectEvents();
    bool classifyCorner(VuNode* a, VuNode* b, bool aRises);
    void sortEvents();
    void startChains(VuNode* node);
    void joinEvent(VuNode* event);

    VuNode* chainStep(VuNode* node, ChainSide side) const;
    bool chainKeepsRising(VuNode* node, ChainSide side) const;
    std::optional<ChainEdge> advanceChains(VuNode* event, ChainSide side);
    VuNode* highestPendingBetween(const ChainEdge* left, const ChainEdge* right) const;
    bool join(VuNode* event, VuNode* target, VuNode** newAtEvent, VuNode** newAtTarget);
    void replaceLeftChainEntries(VuNode* oldNode, VuNode* newNode);

    VuSet* m_set;
    VuMask m_upMask;
    VuMask m_eventMask;
    vuArray* m_events;
    vuArray* m_rightChains;
    vuArray* m_leftChains;
    vuArray* m_pending;
    bool m_failed = false;
};

}  // namespace Korvex
