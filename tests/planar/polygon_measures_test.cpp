// Disconnect points, XY area and parity, normal, centroid and perimeter.
#include "polygon_fixtures.h"

using namespace Korvex;
using namespace planar_test;

namespace {

double area(const Polygon& p) { return tgxGeom_getXYPolygonArea(p.data(), count(p)); }

int parity(const Polygon& p, DPoint3d q, double tolerance = 0.0) {
    return tgxGeom_XYPolygonParity(&q, p.data(), count(p), tolerance);
}

// Winding number of the closed ring around q, setting onBoundary when q lies
// on the ring; exact for small integer coordinates.
int windingNumber(const Polygon& ring, const DPoint3d& q, bool& onBoundary) {
    int winding = 0;
    for (size_t i = 0; i < ring.size(); ++i) {
        const DPoint3d &a = ring[i], &b = ring[(i + 1) % ring.size()];
        const double side = orientation(a, b, q);
        onBoundary |= side == 0 && std::min(a.x, b.x) <= q.x && q.x <= std::max(a.x, b.x) &&
                      std::min(a.y, b.y) <= q.y && q.y <= std::max(a.y, b.y);
        winding += a.y <= q.y ? (b.y > q.y && side > 0) : -(b.y <= q.y && side < 0);
    }
    return winding;
}

struct Measures { bool formed; DPoint3d centroid, normal; double area, perimeter, spread; };

// Outputs start at 9 so that a routine writing nothing shows.
Measures measure(const Polygon& p) {
    Measures m{true, {9, 9, 9}, {9, 9, 9}, 9, 9, 9};
    m.formed = tgxPolygon_centroidAreaPerimeter(p.data(), count(p), &m.centroid, &m.normal,
                                                &m.area, &m.perimeter, &m.spread);
    return m;
}

}  // namespace

TEST(XYPolygonAreaAndParity, PinnedCases) {
    // Any coordinate at the largest double marks a disconnect point.
    const DPoint3d zOnly{0, 0, 1.7976931348623157e308}, large{1e308, 1e308, 1e308},
                   nan{kNaN, kNaN, kNaN};
    EXPECT_TRUE(tgxDPoint3d_isDisconnect(&zOnly));
    EXPECT_FALSE(tgxDPoint3d_isDisconnect(&large) || tgxDPoint3d_isDisconnect(&nan));
    // Leading, trailing and doubled separators make empty loops only; a repeated
    // first point adds nothing and z never takes part. Signs: see the random test.
    const Polygon p{disconnect(), {0, 0, 0},     {1, 0, kNaN},  {1, 1, 0},
                    {0, 1, 0},    {0, 0, 0},     disconnect(),  disconnect()};
    EXPECT_EQ(area(p), 1.0);
    EXPECT_EQ(tgxGeom_getXYPolygonArea(p.data() + 1, 2), 0.0);
    EXPECT_EQ(tgxGeom_getXYPolygonArea(p.data() + 1, -3), 0.0);
    const Polygon square = rectangle(0, 0, 1, 1), big = rectangle(0, 0, 10, 10),
                  hole = rectangle(3, 3, 7, 7);
    // 12 vertices at radius 1.5 around (0, 0) with tolerance 1: every line
    // through the query passes within 1 of a vertex, yet no vertex lies within
    // 1 of it in both x and y.
    Polygon dodecagon;
    for (double i = 0; i < 12; ++i)
        dodecagon.push_back({1.5 * std::cos(i * std::numbers::pi / 6),
                             1.5 * std::sin(i * std::numbers::pi / 6), 0});
    struct Query { double x, y; int expected; };
    const struct { Polygon p; double tol; std::vector<Query> queries; } cases[] = {
        // On a vertex both axis lines are abandoned; level with the top edge
        // the horizontal one is and the vertical line decides.
        {square, 0,
         {{0.5, 0.5, 1}, {2, 0.5, -1}, {1, 0.5, 0}, {1, 1, 0}, {0.5, 1, 0}, {1.5, 1, -1}}},
        {square, 0.6, {{0.5, 0.5, 0}}},  // the tolerance reaches the boundary
        {square, kInf, {{5, 5, 0}}},     // every vertex blocks every line
        {{}, 0, {{0.5, 0.5, -1}}},
        {{{0.5, 0.5, 0}}, 0, {{0.5, 0.5, -1}}},  // a one-point loop is skipped
        {{{0, 0, 0}, {2, 2, 0}}, 0, {{1, 1, 0}, {1, 0, -1}}},  // a doubled segment
        {joinRings({big, hole}), 0, {{5, 5, -1}, {1, 5, 1}, {3, 5, 0}}},
        {joinRings({big, hole, rectangle(4, 4, 6, 6)}), 0, {{5, 5, 1}}},
        // Vertices level with and plumb above the query: the rotated line decides.
        {{{-2, 0, 0}, {0, -2, 0}, {2, 0, 0}, {0, 2, 0}}, 0, {{0, 0, 1}}},
        {{{1, 0, 0}, {3, 0, 0}, {3, 3, 0}, {0, 3, 0}, {0, 1, 0}, {1, 1, 0}}, 0, {{0, 0, -1}}},
        {dodecagon, 1, {{0, 0, -2}}},
        // An undecided loop decides the whole array, whatever the others say.
        {joinRings({rectangle(-10, -10, 10, 10), dodecagon}), 1, {{0, 0, -2}}},
    };
    for (const auto& c : cases) {
        for (const Query& q : c.queries)
            EXPECT_EQ(parity(c.p, {q.x, q.y, 0}, c.tol), q.expected) << &c - cases << ": " << q.x;
    }
    const DPoint3d q{0.5, 0.5, 0};
    EXPECT_EQ(tgxGeom_XYPolygonParity(&q, square.data(), -1, 0.0), -1);
}

TEST(XYPolygonAreaAndParity, AgreeWithShoelaceSumAndWindingNumber) {
    // Small integer coordinates make the shoelace sums exact and put many queries
    // level with or plumb below vertices, exercising the vertical and rotated lines.
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> coordinate(0, 12), vertices(3, 9), loops(1, 3);
    std::uniform_real_distribution<double> angle(0, 2 * std::numbers::pi), shift(-1e5, 1e5);
    int inside = 0, queries = 0;
    for (int trial = 0; trial < 300 * kRandomScale; ++trial) {
        std::vector<Polygon> rings(loops(rng));
        double shoelace = 0;
        for (Polygon& ring : rings) {
            ring.resize(vertices(rng));
            for (DPoint3d& p : ring) p = {double(coordinate(rng)), double(coordinate(rng)), 0};
            for (size_t i = 0, n = ring.size(); i < n; ++i)
                shoelace += (ring[i].x * ring[(i + 1) % n].y - ring[(i + 1) % n].x * ring[i].y) / 2;
        }
        Polygon all = joinRings(rings);
        ASSERT_EQ(area(all), shoelace) << trial;
        for (int i = 0; i < 10; ++i) {
            const DPoint3d q{coordinate(rng) + 0.5 * (i % 2), double(coordinate(rng)), 0};
            bool boundary = false;
            int winding = 0;
            for (const Polygon& ring : rings) winding += windingNumber(ring, q, boundary);
            if (boundary) continue;
            ASSERT_EQ(parity(all, q), winding % 2 ? 1 : -1) << trial << ": " << q.x << "," << q.y;
            inside += winding % 2 != 0;
            ++queries;
        }
        // Rigid motions keep the area; fanning from each loop's first point keeps
        // the error relative to the loop's size, not to its distance from the origin.
        const double turn = angle(rng), c = std::cos(turn), s = std::sin(turn), dx = shift(rng),
                     dy = shift(rng);
        for (DPoint3d& p : all) {
            if (!tgxDPoint3d_isDisconnect(&p))
                p = {c * p.x - s * p.y + dx, s * p.x + c * p.y + dy, 0};
        }
        ASSERT_NEAR(area(all), shoelace, 1e-7) << trial;
    }
    EXPECT_GT(inside, queries / 10);
}

TEST(PolygonNormalAreaAndCentroid, OutputContractsTrianglesSquaresHoleTiltedPlane) {
    DPoint3d normal{9, 9, 9}, origin{9, 9, 9};
    EXPECT_EQ(tgxPolygon_normalAndArea(&normal, &origin, nullptr, 4), 0.0);
    expectPoint(normal, {9, 9, 9});  // a null array writes nothing
    const Polygon square = rectangle(2, 3, 4, 5), vertical{{0, 0, 0}, {0, 2, 0}, {0, 0, 2}},
                  sliver{{0, 0, 0}, {1000, 0, 0}, {500, 0.001, 0}};
    EXPECT_EQ(tgxPolygon_normalAndArea(&normal, &origin, square.data(), 2), 0.0);
    expectPoint(normal, {0, 0, 0});
    expectPoint(origin, {2, 3, 0});
    EXPECT_EQ(tgxPolygon_normalAndArea(nullptr, nullptr, square.data(), 4), 4.0);
    EXPECT_EQ(tgxPolygon_normalAndArea(&normal, nullptr, vertical.data(), 3), 2.0);
    expectPoint(normal, {1, 0, 0}, 1e-12);
    // Every corner choice of a long thin triangle gives the same unit normal.
    for (int i = 0; i < 3; ++i) {
        const Polygon rotated{sliver[i], sliver[(i + 1) % 3], sliver[(i + 2) % 3]};
        EXPECT_GT(tgxPolygon_normalAndArea(&normal, nullptr, rotated.data(), 3), 0.0);
        expectPoint(normal, {0, 0, 1}, 1e-12);
    }
    const double r2 = std::sqrt(2.0), h = std::sqrt(0.5);
    const Polygon unit = rectangle(0, 0, 1, 1),
                  hole{{0.2, 0.2, 0}, {0.2, 1.2, 0}, {1.2, 1.2, 0}, {1.2, 0.2, 0}},
                  tilted{{0, 0, 0}, {1, 0, 0}, {1, 1, 1}, {0, 1, 1}};  // 1 in z per unit of y
    const struct { Polygon p; DPoint3d centroid, normal; double area, perimeter; } cases[] = {
        {unit, {0.5, 0.5, 0}, {0, 0, 1}, 1, 4},
        {reversed(unit), {0.5, 0.5, 0}, {0, 0, -1}, 1, 4},
        {joinRings({rectangle(0, 0, 2, 2), hole}), {1.1, 1.1, 0}, {0, 0, 1}, 3, 12},
        {tilted, {0.5, 0.5, 0.5}, {0, -h, h}, r2, 2 + 2 * r2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const Measures m = measure(c.p);
        EXPECT_TRUE(m.formed);
        expectPoint(m.centroid, c.centroid, 1e-12);
        expectPoint(m.normal, c.normal, 1e-12);
        EXPECT_DOUBLE_EQ(m.area, c.area);
        EXPECT_DOUBLE_EQ(m.perimeter, c.perimeter);
        EXPECT_NEAR(m.spread, 0, 1e-12);
    }
    EXPECT_EQ(measure(unit).spread, 0);
    Polygon warped = tilted;  // a corner lifted off the plane shows up as spread
    warped[2].z = 1.5;
    EXPECT_GT(measure(warped).spread, 0.1);
    // No area: false, every output zeroed.
    for (const Polygon& p : {Polygon{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, Polygon(4, {5, 5, 5}),
                             joinRings({unit, reversed(unit)}), Polygon{}}) {
        const Measures m = measure(p);
        EXPECT_TRUE(!m.formed && m.area == 0 && m.perimeter == 0 && m.spread == 0) << p.size();
        expectPoint(m.centroid, {0, 0, 0});
        expectPoint(m.normal, {0, 0, 0});
    }
    EXPECT_FALSE(tgxPolygon_centroidAreaPerimeter(nullptr, 3, nullptr, nullptr, nullptr, nullptr,
                                                  nullptr));
}
