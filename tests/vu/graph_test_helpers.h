// Builders and readers shared by the graph tests and the triangulation
// benchmark; the walks do not use the library's own collections.
#pragma once

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <random>
#include <tuple>
#include <unordered_set>
#include <utility>
#include <vector>

#include "vu/graph_checker.h"
#include "vu/vu.h"

namespace Korvex::vutest {

// The slower sanitizer build runs a fifth of the random trials.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr int kTrialScale = 1;
#else
inline constexpr int kTrialScale = 5;
#endif

using Ring = std::vector<DPoint3d>;
using Polygon = std::vector<Ring>;  // outer ring first, then holes
using Xyz = std::tuple<double, double, double>;

inline Ring xy(std::initializer_list<DPoint2d> points) {
    Ring ring;
    for (const DPoint2d& p : points) ring.push_back({p.x, p.y, 0.0});
    return ring;
}

inline Ring square(double x0, double y0, double size) {
    return xy({{x0, y0}, {x0 + size, y0}, {x0 + size, y0 + size}, {x0, y0 + size}});
}

inline std::vector<Xyz> xyzOf(const Ring& ring) {
    std::vector<Xyz> points;
    for (const DPoint3d& p : ring) points.push_back({p.x, p.y, p.z});
    return points;
}

// A closed ring through the points, built by splitting from a sling so that
// no tolerance drops or moves a point; returns the node at the last point, on
// the face that follows the given order. Every node carries VU_BOUNDARY_EDGE.
inline VuNode* addRing(VuSet* set, const Ring& points) {
    VuNode* node = nullptr;
    for (const DPoint3d& p : points) {
        VuNode *first = nullptr, *second = nullptr;
        vu_splitEdge(set, node, &first, &second);
        vu_setDPoint3d(first, &p);
        vu_setDPoint3d(second, &p);
        node = first;
    }
    return node;
}

// A counter-clockwise ring whose outer side carries VU_EXTERIOR_EDGE.
inline VuNode* addRegion(VuSet* set, const Ring& ccw) {
    VuNode* inside = addRing(set, ccw);
    vu_setMaskAroundFace(vu_edgeMate(inside), VU_EXTERIOR_EDGE);
    return inside;
}

inline VuNode* loadLoop(VuSet* set, const Ring& ring, double abstol = 0.0, double reltol = 1e-8) {
    return vu_loopFromDPoint3dArrayXYTol(set, ring.data(), static_cast<int>(ring.size()), abstol,
                                         reltol);
}

inline std::vector<VuNode*> nodesOf(const VuSet* set) {
    std::vector<VuNode*> nodes;
    for (VuNode* n = vu_firstNodeInGraph(set); n; n = vu_nextNodeInGraph(set, n))
        nodes.push_back(n);
    return nodes;
}

inline std::vector<VuNode*> faceNodes(VuNode* start) {
    std::vector<VuNode*> nodes{start};
    while (vu_fsucc(nodes.back()) != start) nodes.push_back(vu_fsucc(nodes.back()));
    return nodes;
}

// The first node in graph order of each face (or vertex) loop.
inline std::vector<VuNode*> loopsOf(VuSet* set, VuNode* (*succ)(const VuNode*) = vu_fsucc) {
    std::vector<VuNode*> loops;
    std::unordered_set<const VuNode*> seen;
    for (VuNode* start : nodesOf(set)) {
        if (seen.count(start)) continue;
        loops.push_back(start);
        const VuNode* node = start;
        do seen.insert(node);
        while ((node = succ(node)) != start);
    }
    return loops;
}

inline std::vector<VuNode*> interiorFaces(VuSet* set) {
    std::vector<VuNode*> faces = loopsOf(set);
    std::erase_if(faces, [](VuNode* face) { return vu_getMask(face, VU_EXTERIOR_EDGE) != 0; });
    return faces;
}

inline double interiorArea(VuSet* set) {
    double area = 0.0;
    for (VuNode* face : interiorFaces(set)) area += vu_area(face);
    return area;
}

struct GraphShape {
    int nodes, vertices, faces;
    bool operator==(const GraphShape&) const = default;
};

inline GraphShape shapeOf(VuSet* set) {
    return {static_cast<int>(nodesOf(set).size()), static_cast<int>(loopsOf(set, vu_vsucc).size()),
            static_cast<int>(loopsOf(set).size())};
}

inline VuNode* vertexAt(VuSet* set, double x, double y) {
    for (VuNode* node : nodesOf(set))
        if (vu_getX(node) == x && vu_getY(node) == y) return node;
    return nullptr;
}

inline int countComponents(VuSet* set) {
    std::unordered_set<const VuNode*> seen;
    int components = 0;
    for (VuNode* start : nodesOf(set)) {
        if (!seen.insert(start).second) continue;
        ++components;
        for (std::vector<VuNode*> stack{start}; !stack.empty();) {
            VuNode* node = stack.back();
            stack.pop_back();
            for (VuNode* next : {vu_fsucc(node), vu_vsucc(node)})
                if (seen.insert(next).second) stack.push_back(next);
        }
    }
    return components;
}

// The sweep order: by y, then by x.
inline bool isBelow(const VuNode* p, const VuNode* q) {
    return p->xyz.y < q->xyz.y || (p->xyz.y == q->xyz.y && p->xyz.x < q->xyz.x);
}

struct Segment {
    DPoint2d a, b;
};

// The edges neither side of which carries the mask, from their lower ends.
inline std::vector<Segment> edgesWithoutMask(VuSet* set, VuMask mask = 0) {
    std::vector<Segment> edges;
    for (VuNode* node : nodesOf(set)) {
        VuNode* mate = vu_edgeMate(node);
        if (vu_getMask(node, mask) || vu_getMask(mate, mask) || !isBelow(node, mate)) continue;
        edges.push_back({{node->xyz.x, node->xyz.y}, {mate->xyz.x, mate->xyz.y}});
    }
    return edges;
}

inline bool hasSegment(const std::vector<Segment>& segments, DPoint2d a, DPoint2d b) {
    const auto same = [](DPoint2d p, DPoint2d q) { return p.x == q.x && p.y == q.y; };
    return std::any_of(segments.begin(), segments.end(), [&](const Segment& s) {
        return (same(s.a, a) && same(s.b, b)) || (same(s.a, b) && same(s.b, a));
    });
}

// Counts the failure reports (-200) sent through the set's message function.
struct MessageCounter {
    static int receive(vumessagetype type, VuSet*, VuNode*, VuNode*, void*, void* self) {
        static_cast<MessageCounter*>(self)->count += type == VU_MSG_OUT_OF_MEMORY;
        return 0;
    }
    explicit MessageCounter(VuSet* set) { vu_setCMessageFunction(set, receive, this); }
    int count = 0;
};

// Loads one operand the way the native polygon operations do.
inline void loadOperand(VuSet* set, const Polygon& polygon) {
    for (const Ring& ring : polygon) loadLoop(set, ring);
    vu_mergeOrUnionLoops(set, VU_MERGE_UNION);
    vu_regularizeGraph(set);
    vu_markAlternatingExteriorBoundaries(set, true);
}

// The area of a op b (with difference set, (a op b) and a) through the graph
// stack; every graph on the way must be well formed.
inline double booleanResultArea(const Polygon& a, const Polygon& b, VuGraphOperation operation,
                                bool difference = false) {
    UniqueVuSet owner(vu_newVuSet());
    VuSet* set = owner.get();
    vu_setTol(set, 0.0, 1e-10);
    loadOperand(set, a);
    EXPECT_TRUE(isWellFormedGraph(set));
    const auto combineWith = [&](const Polygon& operand, VuGraphOperation op) {
        vu_stackPush(set);
        loadOperand(set, operand);
        EXPECT_TRUE(isWellFormedGraph(set));
        vu_stackPopWithOperation(set, op, nullptr);
    };
    combineWith(b, operation);
    if (difference) combineWith(a, vu_andLoops);
    EXPECT_TRUE(isWellFormedGraph(set));
    return interiorArea(set);
}

struct PipelineOperation {
    const char* name;
    VuGraphOperation operation;
    bool difference;  // (A xor B) and A
};
inline constexpr PipelineOperation kPipelineOperations[] = {
    {"and", vu_andLoops, false}, {"or", vu_orLoops, false}, {"xor", vu_xorLoops, false},
    {"difference", vu_xorLoops, true}};

inline double ringArea(const Ring& ring) {
    double twice = 0.0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const DPoint3d &p = ring[i], &q = ring[(i + 1) % ring.size()];
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

// Rings read by alternation; regionArea is the area they enclose.
struct RandomRegion {
    Polygon rings;
    double outerArea = 0.0;
    double regionArea = 0.0;
};

// An outer ring around the origin with islands on a 3 x 3 grid of cells,
// some islands holding a ring of their own. No two rings touch.
inline RandomRegion randomRegionWithIslands(std::mt19937& random) {
    std::uniform_int_distribution<int> corners(6, 24);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    RandomRegion region;
    region.rings.push_back(randomStarRing(random, {0, 0}, 10.0, 12.0, corners(random)));
    region.outerArea = region.regionArea = ringArea(region.rings.front());
    for (int cell = 0; cell < 9; ++cell) {
        if (unit(random) < 0.3) continue;
        const DPoint2d centre{3.0 * (cell % 3 - 1), 3.0 * (cell / 3 - 1)};
        region.rings.push_back(randomStarRing(random, centre, 0.6, 1.2, corners(random)));
        region.regionArea -= ringArea(region.rings.back());
        if (unit(random) < 0.4) {
            region.rings.push_back(randomStarRing(random, centre, 0.1, 0.25, corners(random)));
            region.regionArea += ringArea(region.rings.back());
        }
    }
    return region;
}

// Overlapping star rings with integer corners: they share corners, run along
// each other and cross at computed points.
inline Polygon randomGridRings(std::mt19937& random, int count) {
    std::uniform_real_distribution<double> centre(-3.0, 3.0);
    Polygon rings;
    for (int i = 0; i < count; ++i) {
        const int corners = 3 + static_cast<int>(random() % 10);
        const DPoint2d at{centre(random), centre(random)};
        rings.push_back(randomStarRing(random, at, 1.0, 4.0, corners));
        for (DPoint3d& p : rings.back()) p = {std::round(p.x), std::round(p.y), 0};
    }
    return rings;
}

}  // namespace Korvex::vutest
