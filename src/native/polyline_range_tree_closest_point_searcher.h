// Range-tree handler finding the pipe nearest to a point.
#pragma once

#include <vector>

#include "native/plex_polyline.h"
#include "rangetree/rangetree.h"

namespace Korvex::Geom {

// Walks a tree of PlexPolyline leaves keeping the nearest pipe so far. Pruning
// is by subtree rectangle against a search square that shrinks to the best
// distance; a leaf is scanned only when its rectangle may hold a closer point.
class PolylineRangeTreeClosestPointSearcher final : public XYRangeTreeHandler {
public:
    // Resets the search; one handler serves any number of searches. Only
    // the nearest-first search's first guess (its last answer) is kept.
    void StartSearch(double x, double y, double radius);
    // Optional, between StartSearch and the traversal: measures pipes near
    // the query (found by descending the tree towards it) and starts the
    // search just beyond that distance instead of from the largest double.
    // Every pipe that could win still lies inside the narrowed square and
    // beats the narrowed start, so the traversal ends with the same pipe,
    // distance and point; it only skips the far subtrees a cold start would
    // wander through first. Nothing changes when the narrowed square would
    // not fit inside the starting one (a radius smaller than that distance).
    void NarrowSearch(const XYRangeTreeRoot* tree);
    // Between StartSearch and a traversal, instead of both: finds what the
    // traversal would find (the nearest pipe; on a tie, the one the traversal
    // visits first) by visiting subtrees nearest first, and leaves the
    // handler as the traversal would. False, with the handler as started,
    // when it cannot vouch for that: the starting square does not cover the
    // whole tree (the radius then steers what is found), or memory runs out.
    bool SearchNearestFirst(const XYRangeTreeRoot* tree);

    bool ShouldRecurseIntoSubtree(const XYRangeTreeRoot* root,
                                  const XYRangeTreeInterior* node) override;
    bool ShouldContinueAfterLeaf(const XYRangeTreeRoot* root, const XYRangeTreeInterior* node,
                                 const XYRangeTreeLeaf* leaf) override;

    // Null when no pipe of two or more distinct points was reached.
    const PlexPolyline* GetResult() const { return m_result; }
    double GetBestDistanceSquared() const { return m_bestDistanceSquared; }
    DPoint2d GetClosestPoint() const { return m_closestPoint; }

private:
    bool MayHoldCloserPoint(const DRange2d& leafRange) const;
    void ScanPolyline(const PlexPolyline& polyline);
    // Squared distance to the polyline's nearest segment (the earlier one on
    // a tie) and the point on it; the largest double when no segment has a
    // projection.
    double MeasurePolyline(const PlexPolyline& polyline, DPoint2d* nearest) const;
    double NearbyPipeDistanceSquared(const XYRangeTreeRoot* tree) const;

    // A subtree or a pipe waiting in the nearest-first search.
    struct QueuedSubtree {
        double lowerBound;  // no pipe below measures nearer
        int node;           // a node of the packed tree; -1 - n for leaf n
    };
    void VisitNearestFirst(const XYRangeTreePacked& tree, const DRange2d& query);

    DPoint2d m_query{0.0, 0.0};
    DRange2d m_searchRange{};
    double m_bestDistanceSquared = 0.0;
    DPoint2d m_closestPoint{0.0, 0.0};
    const PlexPolyline* m_result = nullptr;
    std::vector<QueuedSubtree> m_queue;  // kept to spare an allocation per search
    // The leaf of the nearest-first search's last answer and the packed
    // tree it came from: meters near one another share pipes.
    const XYRangeTreePacked* m_guessTree = nullptr;
    int m_guessLeaf = -1;
};

}  // namespace Korvex::Geom
