// Building small graphs and reading their shape back, shared by the merge,
// Boolean and differential tests.
#pragma once

#include <cmath>
#include <unordered_set>
#include <vector>

#include "vu/graph_checker.h"
#include "vu/vu.h"

namespace Korvex::mergetest {

// A closed loop through the points, in order, with no tolerance applied; the
// returned node lies on the face that follows the given order.
inline VuNode* addLoop(VuSet* set, const std::vector<DPoint2d>& points) {
    VuNode* node = nullptr;
    for (const DPoint2d& point : points) {
        VuNode* first = nullptr;
        VuNode* second = nullptr;
        vu_splitEdge(set, node, &first, &second);
        const DPoint3d xyz{point.x, point.y, 0.0};
        vu_setDPoint3d(first, &xyz);
        vu_setDPoint3d(second, &xyz);
        node = first;
    }
    return node;
}

// An operand ring as the Boolean operations expect it: a counter-clockwise
// ring whose outer side carries VU_EXTERIOR_EDGE.
inline void addRegion(VuSet* set, const std::vector<DPoint2d>& ccwPoints) {
    VuNode* inside = addLoop(set, ccwPoints);
    vu_setMaskAroundFace(vu_edgeMate(inside), VU_EXTERIOR_EDGE);
}

inline std::vector<DPoint2d> square(double x0, double y0, double size) {
    return {{x0, y0}, {x0 + size, y0}, {x0 + size, y0 + size}, {x0, y0 + size}};
}

struct GraphShape {
    int nodes = 0;
    int vertices = 0;
    int faces = 0;
};

inline GraphShape shapeOf(VuSet* set) {
    GraphShape shape;
    const VuMask vertexSeen = vu_grabMask(set);
    const VuMask faceSeen = vu_grabMask(set);
    vu_clearMaskInSet(set, vertexSeen | faceSeen);
    for (VuNode* node = vu_firstNodeInGraph(set); node; node = vu_nextNodeInGraph(set, node)) {
        ++shape.nodes;
        if (!vu_getMask(node, vertexSeen)) {
            ++shape.vertices;
            vu_setMaskAroundVertex(node, vertexSeen);
        }
        if (!vu_getMask(node, faceSeen)) {
            ++shape.faces;
            vu_setMaskAroundFace(node, faceSeen);
        }
    }
    vu_returnMask(set, faceSeen);
    vu_returnMask(set, vertexSeen);
    return shape;
}

// The vertex loop at exactly (x, y), or null.
inline VuNode* vertexAt(VuSet* set, double x, double y) {
    for (VuNode* node = vu_firstNodeInGraph(set); node; node = vu_nextNodeInGraph(set, node))
        if (vu_getX(node) == x && vu_getY(node) == y) return node;
    return nullptr;
}

// The result faces (no VU_EXTERIOR_EDGE) and their summed signed area; count
// leaves out faces of zero area (slivers between coincident edges), as a
// reader of the result rings does.
struct InteriorFaces {
    int count = 0;
    double area = 0.0;
};

inline InteriorFaces interiorFaces(VuSet* set) {
    InteriorFaces faces;
    vuArray* array = vu_grabArray(set);
    vu_collectInteriorFaceLoops(array, set);
    for (int i = 0; i < vu_arraySize(array); ++i) {
        const double area = vu_area(vu_arrayGet(array, i));
        faces.area += area;
        if (area != 0.0) ++faces.count;
    }
    vu_returnArray(set, array);
    return faces;
}

// Connected pieces of the graph, linked by face and vertex successors.
inline int countComponents(VuSet* set) {
    std::unordered_set<const VuNode*> seen;
    std::vector<VuNode*> stack;
    int components = 0;
    for (VuNode* start = vu_firstNodeInGraph(set); start; start = vu_nextNodeInGraph(set, start)) {
        if (!seen.insert(start).second) continue;
        ++components;
        stack.push_back(start);
        while (!stack.empty()) {
            VuNode* node = stack.back();
            stack.pop_back();
            for (VuNode* next : {vu_fsucc(node), vu_vsucc(node)})
                if (seen.insert(next).second) stack.push_back(next);
        }
    }
    return components;
}

// Around every vertex the edge directions, followed by vertex successors,
// turn counter-clockwise: at most one step goes down in angle.
inline bool verticesAreCounterClockwise(VuSet* set) {
    auto angleOf = [](const VuNode* node) {
        const VuNode* next = vu_fsucc(node);
        return std::atan2(vu_getY(next) - vu_getY(node), vu_getX(next) - vu_getX(node));
    };
    for (VuNode* start = vu_firstNodeInGraph(set); start; start = vu_nextNodeInGraph(set, start)) {
        int descents = 0;
        VuNode* node = start;
        do {
            if (angleOf(vu_vsucc(node)) < angleOf(node)) ++descents;
            node = vu_vsucc(node);
        } while (node != start);
        if (descents > 1) return false;
    }
    return true;
}

// A planar embedding satisfies Euler's formula V - E + F = 2 on every
// connected piece; crossing edges left unsplit break it.
inline bool satisfiesEuler(VuSet* set) {
    const GraphShape shape = shapeOf(set);
    return shape.vertices - shape.nodes / 2 + shape.faces == 2 * countComponents(set);
}

// True when two edges cross each other farther than margin from both lines,
// that is, an overlap the merge should have split. Quadratic: small graphs only.
inline bool hasEdgesCrossing(VuSet* set, double margin) {
    struct Segment {
        DPoint2d a, b;
    };
    std::vector<Segment> segments;
    for (VuNode* node = vu_firstNodeInGraph(set); node; node = vu_nextNodeInGraph(set, node)) {
        const VuNode* next = vu_fsucc(node);
        segments.push_back({{vu_getX(node), vu_getY(node)}, {vu_getX(next), vu_getY(next)}});
    }
    // Signed distance of p from the line through s.
    auto side = [](const Segment& s, const DPoint2d& p) {
        const double ux = s.b.x - s.a.x, uy = s.b.y - s.a.y;
        return (ux * (p.y - s.a.y) - uy * (p.x - s.a.x)) / std::hypot(ux, uy);
    };
    auto separates = [&](const Segment& s, const Segment& t) {
        const double d0 = side(s, t.a), d1 = side(s, t.b);
        return (d0 > margin && d1 < -margin) || (d0 < -margin && d1 > margin);
    };
    for (size_t i = 0; i < segments.size(); ++i)
        for (size_t j = i + 1; j < segments.size(); ++j)
            if (separates(segments[i], segments[j]) && separates(segments[j], segments[i]))
                return true;
    return false;
}

using Ring = std::vector<DPoint3d>;
using Polygon = std::vector<Ring>;  // outer ring first, then holes

// Loads one operand the way the native polygon operations do: loops with the
// loop tolerance, union merge, regularization, exterior marking by area.
inline void loadOperand(VuSet* set, const Polygon& polygon) {
    for (const Ring& ring : polygon)
        vu_loopFromDPoint3dArrayXYTol(set, ring.data(), static_cast<int>(ring.size()), 0.0, 1e-8);
    vu_mergeOrUnionLoops(set, VU_MERGE_UNION);
    vu_regularizeGraph(set);
    vu_markAlternatingExteriorBoundaries(set, true);
}

// Runs a op b through the graph stack (with difference set, (a op b) and a)
// and returns the area of the result faces; every graph on the way must be
// well formed.
inline double booleanResultArea(const Polygon& a, const Polygon& b, VuGraphOperation operation,
                                bool difference = false) {
    vutest::UniqueVuSet set(vu_newVuSet());
    vu_setTol(set.get(), 0.0, 1e-10);
    loadOperand(set.get(), a);
    EXPECT_TRUE(vutest::isWellFormedGraph(set.get()));
    vu_stackPush(set.get());
    loadOperand(set.get(), b);
    EXPECT_TRUE(vutest::isWellFormedGraph(set.get()));
    vu_stackPopWithOperation(set.get(), operation, nullptr);
    if (difference) {
        vu_stackPush(set.get());
        loadOperand(set.get(), a);
        vu_stackPopWithOperation(set.get(), vu_andLoops, nullptr);
    }
    EXPECT_TRUE(vutest::isWellFormedGraph(set.get()));
    return interiorFaces(set.get()).area;
}

}  // namespace Korvex::mergetest
