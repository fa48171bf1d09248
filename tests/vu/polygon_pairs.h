// Seeded random pairs of polygons of every kind the Boolean operations meet
// (overlapping, nested, disjoint, sharing edges or vertices, nearly
// coincident, huge, tiny), and GEOS as the referee of their areas.
#pragma once

#include <geos_c.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <vector>

#include "vu/graph_test_helpers.h"

namespace Korvex::vutest {

inline constexpr double kPi = std::numbers::pi;

struct PolygonPair {
    Polygon a, b;
};

struct PolygonMaker {
    std::mt19937 random;

    double uniform(double lo, double hi) { return std::uniform_real_distribution(lo, hi)(random); }
    int integer(int lo, int hi) { return std::uniform_int_distribution(lo, hi)(random); }
    DPoint2d offset(double distance) {
        const double angle = uniform(0, 2 * kPi);
        return {distance * std::cos(angle), distance * std::sin(angle)};
    }

    // A simple star-shaped ring (convex when rMin == rMax), in either
    // orientation at random: the pipeline marks regions by alternation.
    Ring star(DPoint2d centre, double rMin, double rMax, int count) {
        Ring ring = randomStarRing(random, centre, rMin, rMax, count);
        if (integer(0, 1)) std::reverse(ring.begin(), ring.end());
        return ring;
    }

    // Eight or more outer vertices keep the outer ring clear of the hole.
    Polygon starWithHole(DPoint2d centre) {
        return {star(centre, 0.6, 1.0, integer(8, 30)), star(centre, 0.1, 0.3, integer(3, 12))};
    }

    // On a coarse integer grid, so that pairs share edges, parts of edges and corners.
    Polygon gridRectangle() {
        const double x0 = integer(0, 3), y0 = integer(0, 3);
        const double x1 = x0 + integer(1, 3), y1 = y0 + integer(1, 3);
        return {xy({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}})};
    }

    // The pair of a star ring and its image under f, which keeps the vertices
    // from k on for the given count exactly.
    template <typename F>
    PolygonPair twins(std::size_t kept, F f) {
        const Ring a = star({0, 0}, 0.5, 1, integer(3, 20));
        const std::size_t k = integer(0, int(a.size()) - 1);
        Ring b;
        for (const DPoint3d& p : a) b.push_back(f(a[k], a[(k + 1) % a.size()], p));
        for (std::size_t i = k; i < k + kept; ++i) b[i % a.size()] = a[i % a.size()];
        return {{a}, {b}};
    }
};

inline PolygonPair scaled(PolygonPair pair, double factor) {
    for (Polygon* polygon : {&pair.a, &pair.b})
        for (Ring& ring : *polygon)
            for (DPoint3d& p : ring) p = {p.x * factor, p.y * factor, 0.0};
    return pair;
}

// Star rings of radii rMin to 1, one at the origin and one at the distance.
inline PolygonPair starPair(PolygonMaker& m, double distance, int corners, double rMin = 0.2) {
    return {{m.star({0, 0}, rMin, 1, m.integer(3, corners))},
            {m.star(m.offset(distance), rMin, 1, m.integer(3, corners))}};
}

inline PolygonPair holesPair(PolygonMaker& m) {
    return {m.starWithHole({0, 0}), m.starWithHole(m.offset(m.uniform(0, 1.5)))};
}

// Every pair kind the comparison covers. Snapped pairs have every vertex of b
// well within the merge tolerance of its twin in a, so the merge snaps b onto
// a, and the areas still agree.
inline const std::pair<const char*, std::function<PolygonPair(PolygonMaker&)>> kKinds[] = {
    {"convex", [](PolygonMaker& m) { return starPair(m, m.uniform(0, 1.8), 20, 1.0); }},
    {"star", [](PolygonMaker& m) { return starPair(m, m.uniform(0, 1.5), 40); }},
    {"with holes", holesPair},
    {"nested",
     [](PolygonMaker& m) {
         return PolygonPair{{m.star({0, 0}, 0.8, 1, m.integer(8, 30))},
                            {m.star(m.offset(0.1), 0.1, 0.45, m.integer(3, 30))}};
     }},
    {"disjoint", [](PolygonMaker& m) { return starPair(m, 2.5, 20); }},
    {"grid", [](PolygonMaker& m) { return PolygonPair{m.gridRectangle(), m.gridRectangle()}; }},
    // Mirrored across the line of the kept edge.
    {"shared edge",
     [](PolygonMaker& m) {
         return m.twins(2, [](DPoint3d a, DPoint3d b, DPoint3d p) {
             const double ux = b.x - a.x, uy = b.y - a.y;
             const double s = ((p.x - a.x) * ux + (p.y - a.y) * uy) / (ux * ux + uy * uy);
             return DPoint3d{2 * (a.x + s * ux) - p.x, 2 * (a.y + s * uy) - p.y, 0};
         });
     }},
    // Turned about the kept vertex.
    {"shared vertex",
     [](PolygonMaker& m) {
         const double angle = m.uniform(0.3, 2 * kPi - 0.3), c = std::cos(angle),
                      s = std::sin(angle);
         return m.twins(1, [=](DPoint3d a, DPoint3d, DPoint3d p) {
             const double dx = p.x - a.x, dy = p.y - a.y;
             return DPoint3d{a.x + c * dx - s * dy, a.y + s * dx + c * dy, 0};
         });
     }},
    // Moved, scaled or turned by 1e-9, so that every edge runs within about
    // that distance of its original, at most at that angle to it.
    {"nearly coincident",
     [](PolygonMaker& m) {
         const int how = m.integer(0, 2);
         const DPoint2d d = m.offset(1e-9);
         return m.twins(0, [=](DPoint3d, DPoint3d, DPoint3d p) {
             if (how == 0) return DPoint3d{p.x + d.x, p.y + d.y, 0};
             if (how == 1) return DPoint3d{p.x * (1 + 1e-9), p.y * (1 + 1e-9), 0};
             return DPoint3d{p.x - 1e-9 * p.y, p.y + 1e-9 * p.x, 0};
         });
     }},
    {"snapped",
     [](PolygonMaker& m) {
         return m.twins(0, [&](DPoint3d, DPoint3d, DPoint3d p) {
             return DPoint3d{p.x + 1e-12 * m.uniform(-1, 1), p.y + 1e-12 * m.uniform(-1, 1), 0};
         });
     }},
    {"huge", [](PolygonMaker& m) { return scaled(holesPair(m), 1e12); }},
    {"tiny", [](PolygonMaker& m) { return scaled(starPair(m, m.uniform(0, 1.5), 40), 1e-12); }},
};

struct Geos {
    GEOSContextHandle_t context = GEOS_init_r();
    ~Geos() { GEOS_finish_r(context); }

    GEOSGeometry* polygon(const Polygon& rings) {
        std::vector<GEOSGeometry*> linear;
        for (const Ring& ring : rings) {
            GEOSCoordSequence* sequence = GEOSCoordSeq_create_r(context, ring.size() + 1, 2);
            for (std::size_t i = 0; i <= ring.size(); ++i)
                GEOSCoordSeq_setXY_r(context, sequence, i, ring[i % ring.size()].x,
                                     ring[i % ring.size()].y);
            linear.push_back(GEOSGeom_createLinearRing_r(context, sequence));
        }
        return GEOSGeom_createPolygon_r(context, linear[0], linear.data() + 1,
                                        static_cast<unsigned>(linear.size() - 1));
    }

    // The area of the geometry, which is then destroyed; NaN for none.
    double area(GEOSGeometry* geometry) {
        double value = NAN;
        if (geometry) GEOSArea_r(context, geometry, &value), GEOSGeom_destroy_r(context, geometry);
        return value;
    }
};

// GEOS's counterparts of the pipeline's operations, in order.
inline const decltype(&GEOSUnion_r) kGeosOperations[] = {GEOSIntersection_r, GEOSUnion_r,
                                                  GEOSSymDifference_r, GEOSDifference_r};

}  // namespace Korvex::vutest
