// The sweep of the regularizer over a whole graph: upward, or downward by
// reading the graph turned half a turn.
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
    // The same sweep on the graph seen turned half a turn (x and y negated),
    // with no node moved: it joins every reflex local maximum to a vertex
    // above it.
    bool runTurned();

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
    void startChains(VuNode* node);
    VuNode* chainStep(VuNode* node, ChainSide side) const;
    void replaceLeftChainEntries(VuNode* oldNode, VuNode* newNode);

    // Frame (VuUprightFrame or VuTurnedFrame) is how the sweep reads
    // coordinates.
    template <typename Frame> bool sweep();
    template <typename Frame> void collectEvents();
    template <typename Frame> bool classifyCorner(VuNode* a, VuNode* b, bool aRises);
    template <typename Frame> void sortEvents();
    template <typename Frame> void joinEvent(VuNode* event);
    template <typename Frame> bool chainKeepsRising(VuNode* node, ChainSide side) const;
    template <typename Frame> std::optional<ChainEdge> advanceChains(VuNode* event, ChainSide side);
    template <typename Frame>
    VuNode* highestPendingBetween(const ChainEdge* left, const ChainEdge* right) const;
    template <typename Frame>
    bool join(VuNode* event, VuNode* target, VuNode** newAtEvent, VuNode** newAtTarget);

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
