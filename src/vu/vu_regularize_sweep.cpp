#include "vu/vu_regularize_sweep.h"

#include <algorithm>

#include "vu/vu_array.h"
#include "vu/vu_graph.h"
#include "vu/vu_node.h"
#include "vu/vu_pools.h"
#include "vu/vu_regularize_order.h"
#include "vu/vu_set.h"
#include "vu/vu_topology.h"

namespace Korvex {

namespace {

// Every reading of coordinates below goes through the sweep's Frame.

// x of the edge lower-upper at height y, interpolated from whichever end is
// nearer to y so that the result is exact at the ends.
template <typename Frame>
double xAtHeight(const VuNode* lower, const VuNode* upper, double y) {
    const double lowerX = Frame::x(lower), lowerY = Frame::y(lower);
    const double upperX = Frame::x(upper), upperY = Frame::y(upper);
    const double dy = upperY - lowerY;
    if (dy == 0.0) return lowerX;
    const double dx = upperX - lowerX;
    const double aboveLower = y - lowerY;
    const double belowUpper = upperY - y;
    if (aboveLower <= belowUpper) return lowerX + dx * (aboveLower / dy);
    return upperX - dx * (belowUpper / dy);
}

// The nearest face neighbours at a different point, so that repeated points
// do not hide the direction of an edge.
const VuNode* distinctFaceSuccessor(const VuNode* node) {
    const VuNode* next = vu_fsucc(node);
    while (next != node && vu_sameXY(next, node)) next = vu_fsucc(next);
    return next;
}

const VuNode* distinctFacePredecessor(const VuNode* node) {
    const VuNode* previous = vu_fpred(node);
    while (previous != node && vu_sameXY(previous, node)) previous = vu_fpred(previous);
    return previous;
}

double cross(double ux, double uy, double vx, double vy) { return ux * vy - uy * vx; }

// True when the direction from node toward the other point lies strictly
// inside the angle of node's face at its vertex: the sector swept
// counterclockwise from the outgoing face edge to the incoming one.
template <typename Frame>
bool faceSectorContains(const VuNode* node, const VuNode* toward) {
    const VuNode* next = distinctFaceSuccessor(node);
    const VuNode* previous = distinctFacePredecessor(node);
    const double x = Frame::x(node);
    const double y = Frame::y(node);
    const double ux = Frame::x(next) - x, uy = Frame::y(next) - y;
    const double wx = Frame::x(previous) - x, wy = Frame::y(previous) - y;
    const double dx = Frame::x(toward) - x, dy = Frame::y(toward) - y;
    const double uw = cross(ux, uy, wx, wy);
    const double ud = cross(ux, uy, dx, dy);
    const double dw = cross(dx, dy, wx, wy);
    if (uw > 0.0) return ud > 0.0 && dw > 0.0;  // convex corner
    if (uw < 0.0) return ud > 0.0 || dw > 0.0;  // reflex corner
    if (ux * wx + uy * wy < 0.0) return ud > 0.0;  // straight: the half plane left of u
    // Both edges leave in one direction (the tip of a dangling edge): the face
    // wraps all the way around, except along the edge itself.
    return ud != 0.0 || ux * dx + uy * dy < 0.0;
}

// Turn of b about a seen from the shared point p: positive when b lies
// counterclockwise of a.
template <typename Frame>
double turnAbout(const VuNode* p, const VuNode* a, const VuNode* b) {
    return cross(Frame::x(a) - Frame::x(p), Frame::y(a) - Frame::y(p), Frame::x(b) - Frame::x(p),
                 Frame::y(b) - Frame::y(p));
}

// Between two chain edges that both span the event's height, the one whose x
// is smaller in the middle of their common height range. Edges leaving or
// entering one point are told apart by their turn there: that is the same
// answer, but stays exact when the common range is thinner than rounding.
template <typename Frame>
bool isLeftOf(const VuNode* lowerA, const VuNode* upperA, const VuNode* lowerB,
              const VuNode* upperB) {
    if (vu_sameXY(lowerA, lowerB)) return turnAbout<Frame>(lowerA, upperB, upperA) > 0.0;
    if (vu_sameXY(upperA, upperB)) return turnAbout<Frame>(upperA, lowerA, lowerB) > 0.0;
    const double low = std::max(Frame::y(lowerA), Frame::y(lowerB));
    const double high = std::min(Frame::y(upperA), Frame::y(upperB));
    const double middle = low + 0.5 * (high - low);
    return xAtHeight<Frame>(lowerA, upperA, middle) < xAtHeight<Frame>(lowerB, upperB, middle);
}

}  // namespace

VuRegularizeSweep::VuRegularizeSweep(VuSet* set)
    : m_set(set),
      m_upMask(vu_grabMask(set)),
      m_eventMask(vu_grabMask(set)),
      m_events(vu_grabArray(set)),
      m_rightChains(vu_grabArray(set)),
      m_leftChains(vu_grabArray(set)),
      m_pending(vu_grabArray(set)) {}

VuRegularizeSweep::~VuRegularizeSweep() {
    vu_returnArray(m_set, m_pending);
    vu_returnArray(m_set, m_leftChains);
    vu_returnArray(m_set, m_rightChains);
    vu_returnArray(m_set, m_events);
    vu_returnMask(m_set, m_eventMask);
    vu_returnMask(m_set, m_upMask);
}

bool VuRegularizeSweep::hasResources() const {
    return m_upMask && m_eventMask && m_events && m_rightChains && m_leftChains && m_pending;
}

bool VuRegularizeSweep::run() { return sweep<VuUprightFrame>(); }

bool VuRegularizeSweep::runTurned() { return sweep<VuTurnedFrame>(); }

template <typename Frame>
bool VuRegularizeSweep::sweep() {
    if (!hasResources()) return true;
    startOver();
    collectEvents<Frame>();
    sortEvents<Frame>();
    for (int i = 0; i < vu_arraySize(m_events) && !m_failed; ++i) {
        VuNode* event = vu_arrayGet(m_events, i);
        if (vu_getMask(event, m_eventMask)) joinEvent<Frame>(event);
        else startChains(event);
    }
    return !m_failed;
}

// A sweep object may run again (after a failure, or on the turned graph):
// nothing of an earlier run is kept.
void VuRegularizeSweep::startOver() {
    vu_arrayClear(m_events);
    vu_arrayClear(m_rightChains);
    vu_arrayClear(m_leftChains);
    vu_arrayClear(m_pending);
    m_failed = false;
}

// Every local minimum of a face becomes an event. Reflex, straight and lone
// minima get the event mask: they must be joined downwards. Convex maxima get
// it too, which keeps them out of the pending targets; they are no events.
//
// One pass over the nodes writes both masks everywhere: each node a gets the
// up mask when its edge rises along its face, and its face successor b gets
// the event mask from the corner a-b-c. As fSucc visits every node exactly
// once, every node has both masks written before any is read.
template <typename Frame>
void VuRegularizeSweep::collectEvents() {
    for (VuNode* a = vu_firstNodeInGraph(m_set); a; a = vu_nextNodeInGraph(m_set, a)) {
        VuNode* b = vu_fsucc(a);
        const bool aRises = vu_isBelowInSweep<Frame>(a, b);
        vu_writeMask(a, m_upMask, aRises);
        vu_writeMask(b, m_eventMask, classifyCorner<Frame>(a, b, aRises));
    }
}

// Whether the middle node b of the face corner a-b-c must be joined
// downwards (or, for a convex maximum, kept from the pending targets); adds
// b to the events when it is a local minimum that can be sorted.
template <typename Frame>
bool VuRegularizeSweep::classifyCorner(VuNode* a, VuNode* b, bool aRises) {
    VuNode* c = vu_fsucc(b);
    const bool bRises = vu_isBelowInSweep<Frame>(b, c);
    if (aRises == bRises) return false;
    const bool bIsAlone = vu_vsucc(b) == b;
    if (aRises) return !bIsAlone && vu_turnXY<Frame>(a, b, c) > 0.0;
    // A face of two edges between two vertices that each have other edges
    // has nothing to regularize. Points that cannot be ordered stay out of
    // the sort.
    if ((a == c && vu_vsucc(a) != a) || !vu_hasFiniteXY(b)) return false;
    vu_arrayAdd(m_events, b);
    return bIsAlone || vu_turnXY<Frame>(a, b, c) <= 0.0;
}

// Lowest first; at one point the minima to be joined come before the convex
// minima that start chains; the serial number makes the order reproducible.
template <typename Frame>
void VuRegularizeSweep::sortEvents() {
    const VuMask eventMask = m_eventMask;
    std::sort(m_events->data, m_events->data + m_events->count,
              [eventMask](const VuNode* a, const VuNode* b) {
                  if (vu_isBelowInSweep<Frame>(a, b)) return true;
                  if (vu_isBelowInSweep<Frame>(b, a)) return false;
                  const bool aJoins = vu_getMask(a, eventMask) != 0;
                  const bool bJoins = vu_getMask(b, eventMask) != 0;
                  if (aJoins != bJoins) return aJoins;
                  return vu_getIndex(a) < vu_getIndex(b);
              });
}

void VuRegularizeSweep::startChains(VuNode* node) {
    vu_arrayAdd(m_rightChains, node);
    vu_arrayAdd(m_leftChains, node);
}

VuNode* VuRegularizeSweep::chainStep(VuNode* node, ChainSide side) const {
    return side == ChainSide::Right ? vu_fsucc(node) : vu_fpred(node);
}

template <typename Frame>
bool VuRegularizeSweep::chainKeepsRising(VuNode* node, ChainSide side) const {
    if (side == ChainSide::Right) return vu_getMask(node, m_upMask) != 0;
    return vu_isBelowInSweep<Frame>(node, vu_fpred(node));
}

// Moves every chain of one side up to the edge that spans the event's height,
// drops the chains that ended below it (a right chain that ends at a reflex
// maximum leaves that maximum pending), and returns the nearest chain on the
// searched side of the event: right chains to its right, left chains to its
// left.
template <typename Frame>
std::optional<VuRegularizeSweep::ChainEdge> VuRegularizeSweep::advanceChains(VuNode* event,
                                                                             ChainSide side) {
    vuArray* chains = side == ChainSide::Right ? m_rightChains : m_leftChains;
    std::optional<ChainEdge> nearest;
    // Entries are read and rewritten in place; an ended chain is replaced by
    // the last entry, which is looked at next.
    for (int i = 0; i < vu_arraySize(chains);) {
        VuNode* lower = vu_arrayGet(chains, i);
        VuNode* upper = chainStep(lower, side);
        while (vu_isBelowInSweep<Frame>(upper, event) && chainKeepsRising<Frame>(upper, side)) {
            lower = upper;
            upper = chainStep(upper, side);
        }
        if (vu_isBelowInSweep<Frame>(upper, event)) {
            vu_arrayRemoveAt(chains, i);
            if (side == ChainSide::Right && !vu_getMask(upper, m_eventMask))
                vu_arrayAdd(m_pending, upper);
            continue;
        }
        vu_arraySet(chains, i++, lower);
        const ChainEdge edge{lower, upper, xAtHeight<Frame>(lower, upper, Frame::y(event))};
        if (side == ChainSide::Right) {
            if (edge.x > Frame::x(event) &&
                (!nearest || isLeftOf<Frame>(lower, upper, nearest->lower, nearest->upper)))
                nearest = edge;
        } else {
            if (edge.x < Frame::x(event) &&
                (!nearest || isLeftOf<Frame>(nearest->lower, nearest->upper, lower, upper)))
                nearest = edge;
        }
    }
    return nearest;
}

// The highest pending node above both chains' current nodes that lies
// strictly between the two chains at its own height; an absent chain bounds
// nothing.
template <typename Frame>
VuNode* VuRegularizeSweep::highestPendingBetween(const ChainEdge* left,
                                                 const ChainEdge* right) const {
    VuNode* highest = nullptr;
    for (int i = 0; i < vu_arraySize(m_pending); ++i) {
        VuNode* candidate = vu_arrayGet(m_pending, i);
        const double x = Frame::x(candidate);
        const double y = Frame::y(candidate);
        if (left && !(vu_isBelowInSweep<Frame>(left->lower, candidate) &&
                      x > xAtHeight<Frame>(left->lower, left->upper, y)))
            continue;
        if (right && !(vu_isBelowInSweep<Frame>(right->lower, candidate) &&
                       x < xAtHeight<Frame>(right->lower, right->upper, y)))
            continue;
        if (!highest || vu_isBelowInSweep<Frame>(highest, candidate)) highest = candidate;
    }
    return highest;
}

// Joins the event to a vertex below it and keeps the chain arrays describing
// the faces on both sides of the new edge.
template <typename Frame>
void VuRegularizeSweep::joinEvent(VuNode* event) {
    const std::optional<ChainEdge> right = advanceChains<Frame>(event, ChainSide::Right);
    const std::optional<ChainEdge> left = advanceChains<Frame>(event, ChainSide::Left);
    VuNode* pending =
        highestPendingBetween<Frame>(left ? &*left : nullptr, right ? &*right : nullptr);
    VuNode* newAtEvent = nullptr;
    VuNode* newAtTarget = nullptr;
    if (pending) {
        if (!join<Frame>(event, pending, &newAtEvent, &newAtTarget)) return;
        vu_arrayAdd(m_leftChains, newAtEvent);
        vu_arrayAdd(m_rightChains, event);
    } else if (!left && !right) {
        startChains(event);
    } else if (left && (!right || !vu_isBelowInSweep<Frame>(left->lower, right->lower))) {
        if (!join<Frame>(event, left->lower, &newAtEvent, &newAtTarget)) return;
        vu_arrayAdd(m_rightChains, event);
        vu_arrayAdd(m_leftChains, newAtTarget);
    } else {
        if (!join<Frame>(event, right->lower, &newAtEvent, &newAtTarget)) return;
        vu_arrayAdd(m_rightChains, event);
        vu_arrayAdd(m_leftChains, newAtEvent);
        replaceLeftChainEntries(right->lower, newAtTarget);
    }
}

// Inserts the edge from the event down to the target when its direction lies
// inside the face's angle at both ends; otherwise reports and stops the sweep.
template <typename Frame>
bool VuRegularizeSweep::join(VuNode* event, VuNode* target, VuNode** newAtEvent,
                             VuNode** newAtTarget) {
    if (faceSectorContains<Frame>(event, target) && faceSectorContains<Frame>(target, event)) {
        vu_insertEdgeBetween(m_set, event, target, newAtEvent, newAtTarget);
        if (*newAtTarget) {
            vu_setMask(*newAtTarget, m_upMask);
            return true;
        }
    }
    vu_sendMessage(m_set, VU_MSG_OUT_OF_MEMORY, nullptr, nullptr);
    m_failed = true;
    return false;
}

// After a join at a right chain's node, the left chains that climbed from that
// node continue from the new node there.
void VuRegularizeSweep::replaceLeftChainEntries(VuNode* oldNode, VuNode* newNode) {
    for (int i = 0; i < vu_arraySize(m_leftChains); ++i) {
        if (vu_arrayGet(m_leftChains, i) == oldNode) vu_arraySet(m_leftChains, i, newNode);
    }
}

}  // namespace Korvex
