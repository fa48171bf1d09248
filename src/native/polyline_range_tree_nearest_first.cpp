// The nearest-pipe search visiting nodes and pipes nearest first. The
// depth-first traversal meets the nearest pipe wherever the tree holds it and
// scans every subtree on the way that its shrinking square still touches;
// this search runs over the tree's packed copy, takes nodes and pipes in
// order of the distance to their rectangles and stops at the first one
// farther than the best pipe measured, after a dozen pipes or so.
//
// It gives the traversal's answer: the pipe of least measured distance and,
// among pipes at that distance, the one the traversal visits first, which is
// the one of least leaf number in the packed copy.
#include <algorithm>
#include <cmath>

#include "native/leaf_distances.h"
#include "native/polyline_range_tree_closest_point_searcher.h"

namespace Korvex::Geom {

namespace {

// The query point widened by a margin far above the rounding of clamped
// projections onto pipes inside `extent`, which may land a few units in the
// last place outside a pipe's rectangle. Its distance to a rectangle is then
// a lower bound of what MeasurePolyline can find for any pipe inside it.
DRange2d WidenedQuery(const DPoint2d& q, const DRange2d& extent) {
    const double magnitude = std::fabs(q.x) + std::fabs(q.y) +
                             std::max(std::fabs(extent.low.x), std::fabs(extent.high.x)) +
                             std::max(std::fabs(extent.low.y), std::fabs(extent.high.y));
    DRange2d widened{q, q};
    widened.extend(1e-14 * (1.0 + magnitude));
    return widened;
}

}  // namespace

bool PolylineRangeTreeClosestPointSearcher::SearchNearestFirst(const XYRangeTreeRoot* tree) {
    const XYRangeTreeInterior* top = tree != nullptr ? tree->GetTopNode() : nullptr;
    if (top == nullptr)
        return true;  // nothing to find
    // Only when every subtree is entered at the start does the traversal's
    // answer depend on distances alone.
    if (!top->GetRange().isContained(m_searchRange))
        return false;
    const XYRangeTreePacked* packed = tree->GetPacked();
    if (packed == nullptr)
        return false;
    VisitNearestFirst(*packed, WidenedQuery(m_query, top->GetRange()));
    return true;
}

void PolylineRangeTreeClosestPointSearcher::VisitNearestFirst(const XYRangeTreePacked& tree,
                                                              const DRange2d& query) {
    const auto nearerFirst = [](const QueuedSubtree& a, const QueuedSubtree& b) {
        return a.lowerBound > b.lowerBound;
    };
    const std::vector<XYRangeTreePacked::Node>& nodes = tree.Nodes();
    const DRange2d* ranges = tree.ChildRanges().data();
    const int* children = tree.Children().data();
    double best = m_bestDistanceSquared;
    int bestLeaf = -1;  // the traversal meets leaves in index order
    DPoint2d bestPoint = m_closestPoint;
    const auto pipeAt = [&](int leaf) -> const PlexPolyline& {
        return *static_cast<const PlexPolyline*>(tree.LeafData()[static_cast<size_t>(leaf)]);
    };
    // The last answer, usually near the next query, is measured first: its
    // distance prunes from the start much of what a cold search would queue.
    // Any pipe of the tree gives a true bound, and the tie rule below still
    // prefers a lower-numbered pipe at the same distance, so the answer is
    // the same.
    if (m_guessTree == &tree && m_guessLeaf >= 0 && static_cast<size_t>(m_guessLeaf) < tree.LeafData().size()) {
        DPoint2d point{0.0, 0.0};
        const double d2 = MeasurePolyline(pipeAt(m_guessLeaf), &point);
        if (d2 < best) {
            best = d2;
            bestLeaf = m_guessLeaf;
            bestPoint = point;
        }
    }
    m_queue.clear();
    if (tree.Root() >= 0)
        m_queue.push_back({0.0, tree.Root()});
    while (!m_queue.empty()) {
        std::pop_heap(m_queue.begin(), m_queue.end(), nearerFirst);
        const QueuedSubtree entry = m_queue.back();
        m_queue.pop_back();
        if (entry.lowerBound > best)
            break;  // everything left is farther still
        if (entry.node < 0) {
            const int leaf = -1 - entry.node;
            DPoint2d point{0.0, 0.0};
            const double d2 = MeasurePolyline(pipeAt(leaf), &point);
            // The traversal keeps the first pipe at the least distance; a
            // pipe that measures nothing never counts.
            if (d2 < best || (bestLeaf >= 0 && d2 == best && leaf < bestLeaf)) {
                best = d2;
                bestLeaf = leaf;
                bestPoint = point;
            }
            continue;
        }
        const XYRangeTreePacked::Node& node = nodes[static_cast<size_t>(entry.node)];
        const int end = node.firstChild + node.childCount;
        for (int c = node.firstChild; c < end; ++c) {
            const double bound = RangeDistanceSquared(query, ranges[c]);
            if (bound > best)
                continue;
            m_queue.push_back({bound, node.hasLeaves ? -1 - children[c] : children[c]});
            std::push_heap(m_queue.begin(), m_queue.end(), nearerFirst);
        }
    }
    if (bestLeaf < 0)
        return;
    m_guessTree = &tree;
    m_guessLeaf = bestLeaf;
    m_bestDistanceSquared = best;
    const double r = std::sqrt(best);
    m_searchRange.low = {m_query.x - r, m_query.y - r};
    m_searchRange.high = {m_query.x + r, m_query.y + r};
    m_closestPoint = bestPoint;
    m_result = static_cast<const PlexPolyline*>(tree.LeafData()[static_cast<size_t>(bestLeaf)]);
}

}  // namespace Korvex::Geom
