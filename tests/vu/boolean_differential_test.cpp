// The Boolean operations against GEOS on seeded random pairs of polygons,
// built through the same pipeline as the native polygon operations.
#include <gtest/gtest.h>

#include <geos_c.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "vu/graph_checker.h"
#include "vu/merge_test_helpers.h"
#include "vu/vu.h"

namespace Korvex {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kPairsPerKind = 100;
constexpr int kLargeRingVertices = 5000;
#else
constexpr int kPairsPerKind = 400;
constexpr int kLargeRingVertices = 20000;
#endif

constexpr double kPi = 3.14159265358979323846;

using mergetest::Polygon;
using mergetest::Ring;

// ---- random polygons ------------------------------------------------------

class PolygonMaker {
public:
    explicit PolygonMaker(unsigned seed) : m_random(seed) {}

    double uniform(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(m_random);
    }
    int integer(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    // Vertices at increasing random angles around a centre, radii in
    // [rMin, rMax]: convex when rMin == rMax, star-shaped and concave
    // otherwise. Each angle stays in its own sector, so no gap reaches a half
    // turn and the ring is simple. Either orientation, at random: the
    // pipeline marks regions by alternation, not by orientation.
    Ring star(DPoint2d centre, double rMin, double rMax, int count) {
        const double sector = 2.0 * kPi / count;
        const double start = uniform(0.0, 2.0 * kPi);
        Ring ring;
        for (int i = 0; i < count; ++i) {
            const double angle = start + sector * (i + uniform(0.0, 0.9));
            const double r = uniform(rMin, rMax);
            ring.push_back({centre.x + r * std::cos(angle), centre.y + r * std::sin(angle), 0.0});
        }
        if (integer(0, 1)) std::reverse(ring.begin(), ring.end());
        return ring;
    }

    Polygon starWithHole(DPoint2d centre) {
        // Eight or more outer vertices keep the outer ring farther than 0.45
        // from the centre, clear of the hole.
        return {star(centre, 0.6, 1.0, integer(8, 30)), star(centre, 0.1, 0.3, integer(3, 12))};
    }

    // An axis-aligned rectangle on a coarse integer grid, so that pairs share
    // whole edges, parts of edges and corners.
    Polygon gridRectangle() {
        const double x0 = integer(0, 3), y0 = integer(0, 3);
        const double x1 = x0 + integer(1, 3), y1 = y0 + integer(1, 3);
        return {{{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}}};
    }

    // The mirror image of the ring across the line through its vertices k and
    // k + 1, which both rings then share exactly.
    Ring mirrorAcrossEdge(const Ring& ring, size_t k) {
        const DPoint3d a = ring[k], b = ring[(k + 1) % ring.size()];
        const double ux = b.x - a.x, uy = b.y - a.y, uu = ux * ux + uy * uy;
        Ring mirrored;
        for (size_t i = 0; i < ring.size(); ++i) {
            const DPoint3d p = ring[i];
            const double s = ((p.x - a.x) * ux + (p.y - a.y) * uy) / uu;
            mirrored.push_back({2 * (a.x + s * ux) - p.x, 2 * (a.y + s * uy) - p.y, 0.0});
        }
        mirrored[k] = a;
        mirrored[(k + 1) % ring.size()] = b;
        return mirrored;
    }

    // The ring turned about its vertex k, which both rings then share.
    Ring turnAboutVertex(const Ring& ring, size_t k, double angle) {
        const DPoint3d c = ring[k];
        const double cs = std::cos(angle), sn = std::sin(angle);
        Ring turned;
        for (const DPoint3d& p : ring)
            turned.push_back({c.x + cs * (p.x - c.x) - sn * (p.y - c.y),
                              c.y + sn * (p.x - c.x) + cs * (p.y - c.y), 0.0});
        turned[k] = c;
        return turned;
    }

    // Every vertex moved by up to relative * size in x and in y.
    Ring jitter(const Ring& ring, double relative) {
        Ring moved = ring;
        for (DPoint3d& p : moved) {
            p.x += relative * uniform(-1.0, 1.0);
            p.y += relative * uniform(-1.0, 1.0);
        }
        return moved;
    }

    // The ring moved, scaled or turned by a relative amount, so that every
    // edge runs within about that distance of its original, at most at that
    // angle to it.
    Ring nudge(const Ring& ring, double relative) {
        Ring moved = ring;
        const int how = integer(0, 2);
        const double angle = uniform(0.0, 2.0 * kPi);
        const double dx = relative * std::cos(angle), dy = relative * std::sin(angle);
        for (DPoint3d& p : moved) {
            const DPoint3d q = p;
            if (how == 0) p = {q.x + dx, q.y + dy, 0.0};
            if (how == 1) p = {q.x * (1.0 + relative), q.y * (1.0 + relative), 0.0};
            if (how == 2) p = {q.x - relative * q.y, q.y + relative * q.x, 0.0};
        }
        return moved;
    }

private:
    std::mt19937 m_random;
};

enum class PairKind {
    Convex,
    Star,
    WithHoles,
    Nested,
    Disjoint,
    Grid,
    SharedEdge,
    SharedVertex,
    NearlyCoincident,
    Snapped,
    Huge,
    Tiny,
};

const char* nameOf(PairKind kind) {
    static const char* const names[] = {"convex",      "star",          "with holes",
                                        "nested",      "disjoint",      "grid",
                                        "shared edge", "shared vertex", "nearly coincident",
                                        "snapped",     "huge",          "tiny"};
    return names[static_cast<int>(kind)];
}

struct PolygonPair {
    Polygon a;
    Polygon b;
};

PolygonPair scaled(PolygonPair pair, double factor) {
    for (Polygon* polygon : {&pair.a, &pair.b})
        for (Ring& ring : *polygon)
            for (DPoint3d& p : ring) p = {p.x * factor, p.y * factor, 0.0};
    return pair;
}

PolygonPair makePair(PolygonMaker& maker, PairKind kind) {
    const DPoint2d origin{0, 0};
    auto offset = [&](double distance) {
        const double angle = maker.uniform(0, 2 * kPi);
        return DPoint2d{distance * std::cos(angle), distance * std::sin(angle)};
    };
    switch (kind) {
        case PairKind::Convex: {
            const double r = maker.uniform(0.5, 1.0);
            return {{maker.star(origin, 1, 1, maker.integer(3, 20))},
                    {maker.star(offset(maker.uniform(0, 1.8)), r, r, maker.integer(3, 20))}};
        }
        case PairKind::Star:
            return {{maker.star(origin, 0.2, 1, maker.integer(3, 40))},
                    {maker.star(offset(maker.uniform(0, 1.5)), 0.2, 1, maker.integer(3, 40))}};
        case PairKind::WithHoles:
            return {maker.starWithHole(origin), maker.starWithHole(offset(maker.uniform(0, 1.5)))};
        case PairKind::Nested:
            return {{maker.star(origin, 0.8, 1, maker.integer(8, 30))},
                    {maker.star(offset(0.1), 0.1, 0.45, maker.integer(3, 30))}};
        case PairKind::Disjoint:
            return {{maker.star(origin, 0.2, 1, maker.integer(3, 20))},
                    {maker.star(offset(2.5), 0.2, 1, maker.integer(3, 20))}};
        case PairKind::Grid:
            return {maker.gridRectangle(), maker.gridRectangle()};
        case PairKind::SharedEdge: {
            const Ring a = maker.star(origin, 0.5, 1, maker.integer(3, 20));
            return {{a}, {maker.mirrorAcrossEdge(a, maker.integer(0, static_cast<int>(a.size()) - 1))}};
        }
        case PairKind::SharedVertex: {
            const Ring a = maker.star(origin, 0.5, 1, maker.integer(3, 20));
            const size_t k = maker.integer(0, static_cast<int>(a.size()) - 1);
            return {{a}, {maker.turnAboutVertex(a, k, maker.uniform(0.3, 2 * kPi - 0.3))}};
        }
        case PairKind::NearlyCoincident: {
            const Ring a = maker.star(origin, 0.5, 1, maker.integer(3, 20));
            return {{a}, {maker.nudge(a, 1e-9)}};
        }
        case PairKind::Snapped: {
            // Every vertex of b lies well within the merge tolerance of its
            // twin in a, so the merge snaps b onto a.
            const Ring a = maker.star(origin, 0.5, 1, maker.integer(3, 20));
            return {{a}, {maker.jitter(a, 1e-12)}};
        }
        case PairKind::Huge:
            return scaled(makePair(maker, PairKind::WithHoles), 1e12);
        case PairKind::Tiny:
            return scaled(makePair(maker, PairKind::Star), 1e-12);
    }
    return {};
}

// ---- GEOS ------------------------------------------------------------------

class Geos {
public:
    Geos() : m_context(GEOS_init_r()) {}
    ~Geos() { GEOS_finish_r(m_context); }
    Geos(const Geos&) = delete;
    Geos& operator=(const Geos&) = delete;

    using Geometry = std::unique_ptr<GEOSGeometry, std::function<void(GEOSGeometry*)>>;

    Geometry own(GEOSGeometry* geometry) {
        return Geometry(geometry, [context = m_context](GEOSGeometry* g) {
            if (g) GEOSGeom_destroy_r(context, g);
        });
    }

    Geometry polygon(const Polygon& rings) {
        std::vector<GEOSGeometry*> linear;
        for (const Ring& ring : rings) {
            GEOSCoordSequence* sequence = GEOSCoordSeq_create_r(m_context, ring.size() + 1, 2);
            for (size_t i = 0; i <= ring.size(); ++i) {
                const DPoint3d& p = ring[i % ring.size()];
                GEOSCoordSeq_setXY_r(m_context, sequence, i, p.x, p.y);
            }
            linear.push_back(GEOSGeom_createLinearRing_r(m_context, sequence));
        }
        return own(GEOSGeom_createPolygon_r(m_context, linear[0], linear.data() + 1,
                                            static_cast<unsigned>(linear.size() - 1)));
    }

    double area(const GEOSGeometry* geometry) {
        double value = 0.0;
        GEOSArea_r(m_context, geometry, &value);
        return value;
    }

    GEOSContextHandle_t context() const { return m_context; }

private:
    GEOSContextHandle_t m_context;
};

struct OperationCase {
    const char* name;
    VuGraphOperation graphOperation;
    bool difference;  // (A xor B) and A
    GEOSGeometry* (*geosOperation)(GEOSContextHandle_t, const GEOSGeometry*, const GEOSGeometry*);
};

const OperationCase kCases[] = {
    {"and", vu_andLoops, false, GEOSIntersection_r},
    {"or", vu_orLoops, false, GEOSUnion_r},
    {"xor", vu_xorLoops, false, GEOSSymDifference_r},
    {"difference", vu_xorLoops, true, GEOSDifference_r},
};

TEST(BooleanDifferential, AreasAgreeWithGeos) {
    Geos geos;
    PolygonMaker maker(20261205);
    for (int kind = 0; kind <= static_cast<int>(PairKind::Tiny); ++kind) {
        for (int trial = 0; trial < kPairsPerKind; ++trial) {
            const PolygonPair pair = makePair(maker, static_cast<PairKind>(kind));
            const auto a = geos.polygon(pair.a);
            const auto b = geos.polygon(pair.b);
            ASSERT_TRUE(GEOSisValid_r(geos.context(), a.get()) && GEOSisValid_r(geos.context(), b.get()))
                << nameOf(static_cast<PairKind>(kind)) << " pair " << trial;
            const double scale = geos.area(a.get()) + geos.area(b.get());
            for (const OperationCase& c : kCases) {
                SCOPED_TRACE(testing::Message() << nameOf(static_cast<PairKind>(kind)) << " pair "
                                                << trial << ", " << c.name);
                const auto expected = geos.own(c.geosOperation(geos.context(), a.get(), b.get()));
                ASSERT_NE(expected, nullptr);
                const double area = mergetest::booleanResultArea(pair.a, pair.b, c.graphOperation, c.difference);
                ASSERT_NEAR(area, geos.area(expected.get()), 1e-9 * scale);
            }
        }
    }
}

// Two large rings give the same areas as GEOS.
TEST(BooleanDifferential, LargeRingsAgreeWithGeos) {
    Geos geos;
    PolygonMaker maker(99);
    const PolygonPair pair = {{maker.star({0, 0}, 0.999, 1.0, kLargeRingVertices)},
                              {maker.star({0.3, 0.2}, 0.999, 1.0, kLargeRingVertices)}};
    const auto a = geos.polygon(pair.a);
    const auto b = geos.polygon(pair.b);
    const double scale = geos.area(a.get()) + geos.area(b.get());
    for (const OperationCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const auto expected = geos.own(c.geosOperation(geos.context(), a.get(), b.get()));
        EXPECT_NEAR(mergetest::booleanResultArea(pair.a, pair.b, c.graphOperation, c.difference),
                    geos.area(expected.get()), 1e-9 * scale);
    }
}

// Vertices of b between one and a few merge tolerances from their twins in a:
// the snapping of the last clustering can then move a vertex across an edge
// it was not split against, and the area may go wrong. The graph must stay
// well formed all the same.
TEST(BooleanDifferential, ToleranceScaleOffsetsKeepTheGraphWellFormed) {
    PolygonMaker maker(7);
    for (int trial = 0; trial < kPairsPerKind / 4; ++trial) {
        const Ring a = maker.star({0, 0}, 0.5, 1, maker.integer(3, 20));
        const Ring b = maker.jitter(a, 1e-10);
        for (const OperationCase& c : kCases) {
            SCOPED_TRACE(testing::Message() << "pair " << trial << ", " << c.name);
            const double area = mergetest::booleanResultArea({a}, {b}, c.graphOperation, c.difference);
            EXPECT_TRUE(std::isfinite(area));
        }
    }
}

}  // namespace
}  // namespace Korvex
