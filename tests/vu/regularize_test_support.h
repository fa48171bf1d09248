// Shapes and face checks shared by the regularization and triangulation
// tests: rings built straight from points, face walks independent of the
// library's own, and seeded random regions with islands.
#pragma once

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <unordered_set>
#include <utility>
#include <vector>

#include "vu/vu.h"

namespace Korvex::vutest {

using Ring = std::vector<DPoint3d>;

// A closed ring through the points, built by splitting from a sling so that
// no tolerance drops or moves a point; returns a node on the face that
// follows the given order. Every node carries VU_BOUNDARY_EDGE.
inline VuNode* addRing(VuSet* set, const Ring& points) {
    VuNode* node = nullptr;
    for (const DPoint3d& p : points) {
        VuNode* first = nullptr;
        VuNode* second = nullptr;
        vu_splitEdge(set, node, &first, &second);
        vu_setDPoint3d(first, &p);
        vu_setDPoint3d(second, &p);
        node = first;
    }
    return node;
}

inline Ring turnedHalfTurn(Ring ring) {
    for (DPoint3d& p : ring) p = {-p.x, -p.y, p.z};
    return ring;
}

inline std::vector<VuNode*> faceNodes(VuNode* start) {
    std::vector<VuNode*> nodes;
    VuNode* node = start;
    do {
        nodes.push_back(node);
        node = vu_fsucc(node);
    } while (node != start);
    return nodes;
}

// One node per face loop.
inline std::vector<VuNode*> faceLoops(VuSet* set) {
    std::vector<VuNode*> faces;
    std::unordered_set<VuNode*> seen;
    for (VuNode* node = vu_firstNodeInGraph(set); node; node = vu_nextNodeInGraph(set, node)) {
        if (seen.count(node)) continue;
        faces.push_back(node);
        for (VuNode* member : faceNodes(node)) seen.insert(member);
    }
    return faces;
}

// Connected through edges and vertices, with a breadth-first walk.
inline bool isConnectedGraph(VuSet* set) {
    VuNode* first = vu_firstNodeInGraph(set);
    if (!first) return true;
    std::unordered_set<VuNode*> reached{first};
    std::vector<VuNode*> queue{first};
    for (std::size_t i = 0; i < queue.size(); ++i) {
        for (VuNode* next : {vu_fsucc(queue[i]), vu_vsucc(queue[i])}) {
            if (reached.insert(next).second) queue.push_back(next);
        }
    }
    return static_cast<int>(reached.size()) == vu_countNodesInGraph(set);
}

inline bool isBelow(const VuNode* p, const VuNode* q) {
    return p->xyz.y < q->xyz.y || (p->xyz.y == q->xyz.y && p->xyz.x < q->xyz.x);
}

// Nodes of the face whose two face neighbours both lie above them; a face
// that is monotone in the sweep order has exactly one.
inline int countLocalMinima(VuNode* face) {
    int minima = 0;
    for (VuNode* node : faceNodes(face)) {
        if (isBelow(node, vu_fsucc(node)) && isBelow(node, vu_fpred(node))) ++minima;
    }
    return minima;
}

struct Segment {
    DPoint2d a;
    DPoint2d b;
};

// The edges none of whose sides carries the mask, each reported once from
// its lower end.
inline std::vector<Segment> edgesWithoutMask(VuSet* set, VuMask mask) {
    std::vector<Segment> edges;
    for (VuNode* node = vu_firstNodeInGraph(set); node; node = vu_nextNodeInGraph(set, node)) {
        VuNode* mate = vu_edgeMate(node);
        if (vu_getMask(node, mask) || vu_getMask(mate, mask) || !isBelow(node, mate)) continue;
        edges.push_back({{node->xyz.x, node->xyz.y}, {mate->xyz.x, mate->xyz.y}});
    }
    return edges;
}

// The segment joins a and b, in either direction.
inline bool isSegment(const Segment& s, DPoint2d a, DPoint2d b) {
    const auto same = [](DPoint2d p, DPoint2d q) { return p.x == q.x && p.y == q.y; };
    return (same(s.a, a) && same(s.b, b)) || (same(s.a, b) && same(s.b, a));
}

inline bool hasSegment(const std::vector<Segment>& segments, DPoint2d a, DPoint2d b) {
    for (const Segment& s : segments) {
        if (isSegment(s, a, b)) return true;
    }
    return false;
}

// Counts the messages of one type sent through the set's message function.
struct MessageCounter {
    vumessagetype type;
    int count = 0;

    void attach(VuSet* set) { vu_setCMessageFunction(set, &MessageCounter::receive, this); }

    static int receive(vumessagetype type, VuSet*, VuNode*, VuNode*, void*, void* self) {
        auto* counter = static_cast<MessageCounter*>(self);
        if (type == counter->type) ++counter->count;
        return 0;
    }
};

inline double ringArea(const Ring& ring) {
    double twice = 0.0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const DPoint3d& p = ring[i];
        const DPoint3d& q = ring[(i + 1) % ring.size()];
        twice += p.x * q.y - q.x * p.y;
    }
    return 0.5 * twice;
}

// A counterclockwise polygon star-shaped around its centre: corners at
// jittered, increasing angles (no gap wider than 108 degrees for 6 or more
// corners) and radii in [minRadius, maxRadius]. It contains the disc of half
// minRadius around its centre.
inline Ring randomStarRing(std::mt19937& random, DPoint2d centre, double minRadius,
                           double maxRadius, int corners) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    Ring ring;
    for (int i = 0; i < corners; ++i) {
        const double angle = 2.0 * std::numbers::pi * (i + 0.8 * unit(random)) / corners;
        const double radius = minRadius + (maxRadius - minRadius) * unit(random);
        ring.push_back(
            {centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle), 0});
    }
    return ring;
}

// An outer ring around the origin with islands on a 3 x 3 grid of cells,
// some islands holding a ring of their own. No two rings touch. Read by
// alternation, the islands are holes and the rings inside them are regions
// again.
struct RandomRegion {
    std::vector<Ring> rings;
    double outerArea = 0.0;
    double regionArea = 0.0;
};

inline RandomRegion randomRegionWithIslands(std::mt19937& random) {
    std::uniform_int_distribution<int> corners(6, 24);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    RandomRegion region;
    region.rings.push_back(randomStarRing(random, {0, 0}, 10.0, 12.0, corners(random)));
    region.outerArea = ringArea(region.rings.front());
    region.regionArea = region.outerArea;
    for (int row = -1; row <= 1; ++row) {
        for (int column = -1; column <= 1; ++column) {
            if (unit(random) < 0.3) continue;
            const DPoint2d centre{3.0 * column, 3.0 * row};
            region.rings.push_back(randomStarRing(random, centre, 0.6, 1.2, corners(random)));
            region.regionArea -= ringArea(region.rings.back());
            if (unit(random) < 0.4) {
                region.rings.push_back(randomStarRing(random, centre, 0.1, 0.25, corners(random)));
                region.regionArea += ringArea(region.rings.back());
            }
        }
    }
    return region;
}

// A histogram on integer coordinates: a base from (0,0) to (columns,0) and
// steps of heights 1 to 5, with a square island in most columns. Every
// island's corners share their heights with all other islands, and equal
// neighbouring steps leave collinear corners. Transposed, the ties are in x.
inline RandomRegion randomHistogramWithIslands(std::mt19937& random, int columns,
                                               bool transposed) {
    std::uniform_int_distribution<int> height(1, 5);
    std::vector<int> heights(columns);
    for (int& h : heights) h = height(random);
    Ring outer = {{0, 0, 0}, {static_cast<double>(columns), 0, 0}};
    for (int i = columns - 1; i >= 0; --i) {
        if (i == columns - 1 || heights[i] != heights[i + 1])
            outer.push_back({i + 1.0, 1.0 * heights[i], 0});
        outer.push_back({1.0 * i, 1.0 * heights[i], 0});
    }
    RandomRegion region;
    region.rings.push_back(outer);
    for (int i = 0; i < columns; ++i) {
        if (random() % 3 == 0) continue;
        const double low = i + 0.25;
        const double high = i + 0.75;
        region.rings.push_back({{low, 0.25, 0}, {high, 0.25, 0}, {high, 0.75, 0}, {low, 0.75, 0}});
    }
    for (Ring& ring : region.rings) {
        if (!transposed) break;
        for (DPoint3d& p : ring) std::swap(p.x, p.y);
        std::reverse(ring.begin(), ring.end());
    }
    region.outerArea = ringArea(region.rings.front());
    region.regionArea = region.outerArea;
    for (std::size_t i = 1; i < region.rings.size(); ++i)
        region.regionArea -= ringArea(region.rings[i]);
    return region;
}

// Loads rings the way the Boolean operations do: loops with the loop
// tolerance, then the union merge, which splits crossing edges and joins
// coincident vertices.
inline void addMergedRings(VuSet* set, const std::vector<Ring>& rings) {
    vu_setTol(set, 0.0, 1e-10);
    for (const Ring& ring : rings) {
        const int count = static_cast<int>(ring.size());
        vu_loopFromDPoint3dArrayXYTol(set, ring.data(), count, 0.0, 1e-8);
    }
    vu_mergeOrUnionLoops(set, VU_MERGE_UNION);
}

// Overlapping star rings with corners rounded to integers: they share
// corners, run along each other and cross at computed points.
inline std::vector<Ring> randomGridRings(std::mt19937& random, int count) {
    std::uniform_real_distribution<double> centre(-3.0, 3.0);
    std::vector<Ring> rings;
    for (int i = 0; i < count; ++i) {
        const int corners = 3 + static_cast<int>(random() % 10);
        const DPoint2d at{centre(random), centre(random)};
        rings.push_back(randomStarRing(random, at, 1.0, 4.0, corners));
        for (DPoint3d& p : rings.back()) p = {std::round(p.x), std::round(p.y), 0};
    }
    return rings;
}

}  // namespace Korvex::vutest
