#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <set>
#include <tuple>
#include <vector>

#include "native/area_references.h"
#include "native/native.h"
#include "native/polyline_range_tree_closest_point_searcher.h"
#include "native/polyline_range_tree_closest_polyline_searcher.h"
#include "native/vu_polygon_classifier.h"
#include "planar/planar.h"
#include "rangetree/rangetree.h"
#include "town/town.h"
#include "town/town_native.h"
#include "vu/vu.h"

using namespace Korvex::Geom;
using Korvex::DPoint2d;
using Korvex::DPoint3d;
using Korvex::MaxVerticesCountExceededException;
using Korvex::tgxDPoint3d_isDisconnect;
using allotrix_town::MakeTown;
using allotrix_town::SmallTownSize;
using allotrix_town::ToNativeChain;
using Points = std::vector<DPoint2d>;

namespace {

using Korvex::NativeGeometry;
using Korvex::NativeGeometryPoint;
using Chain = Korvex::NativeGeometryChain;
using Tools = Korvex::CStandAloneDataTools;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// One record from (x, y) pairs, z 0.
NativeGeometry* Ring(std::initializer_list<std::pair<double, double>> xy) {
    std::vector<NativeGeometryPoint> points;
    for (const auto& [x, y] : xy) points.push_back({x, y, 0.0});
    return new NativeGeometry(points.data(), static_cast<int>(points.size()));
}

// A record of n points along a zigzag line (a ring or polyline of that size).
NativeGeometry* PointsRecord(int n) {
    std::vector<NativeGeometryPoint> points;
    for (int i = 0; i < n; ++i) points.push_back({double(i), double(i % 7), 0.0});
    return new NativeGeometry(points.data(), n);
}

// Links records into one chain in the order given.
Chain Link(std::initializer_list<NativeGeometry*> records) {
    NativeGeometry* first = nullptr;
    NativeGeometry** link = &first;
    for (NativeGeometry* record : records) link = &(*link = record)->next;
    return Chain(first);
}

// Axis-aligned square ring, counterclockwise unless clockwise is set.
NativeGeometry* Square(double x0, double y0, double side, bool clockwise = false) {
    const double x1 = x0 + side, y1 = y0 + side;
    return clockwise ? Ring({{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}})
                     : Ring({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
}

// The area of all rings, each measured alone.
double Area(const NativeGeometry* g) { return Tools::GetSignedPolygonArea(g, true, true); }

bool IsOneEmptyRing(const NativeGeometry* g) {
    return g != nullptr && g->next == nullptr && g->count == 0 && g->points == nullptr;
}

// The filled length, with whether the geometry fitted.
std::pair<int, bool> Fill(const NativeGeometry* g, bool allRings = true) {
    Korvex::PointBuffer buffer;
    int count = -1;
    const bool fits = Tools::CopyToPointBuffer(buffer.data(), &count, g, allRings);
    return {count, fits};
}

NativeGeometry* Point(double x, double y) { return new NativeGeometry(x, y, 0.0); }

using Operation = NativeGeometry* (*)(const NativeGeometry*, const NativeGeometry*);
constexpr Operation kAnd = Tools::GetPolygonIntersection, kOr = Tools::GetPolygonUnion;
constexpr Operation kMinus = Tools::GetPolygonDifference;

void ExpectEveryRingClosed(const NativeGeometry* g) {
    for (; g != nullptr && !IsOneEmptyRing(g); g = g->next) {
        ASSERT_GE(g->count, 4);
        EXPECT_TRUE(g->points[0].x == g->points[g->count - 1].x &&
                    g->points[0].y == g->points[g->count - 1].y);
    }
}

// The operation's result, whose rings must all be closed.
Chain Apply(Operation operation, const Chain& a, const Chain& b) {
    Chain result(operation(a.get(), b.get()));
    ExpectEveryRingClosed(result.get());
    return result;
}

int RingCount(const NativeGeometry* g) { return g == nullptr ? 0 : 1 + RingCount(g->next); }

// A pipe tree as the model-element layer builds it, released in the same
// order (tree and handler, then the records).
struct PipeTree {
    XYRangeTreeRoot* tree = Tools::NewXYRangeTree();
    XYRangeTreeHandler* handler;
    std::vector<Korvex::PlexPolyline*> records;

    explicit PipeTree(XYRangeTreeHandler* searcher) : handler(searcher) {}
    ~PipeTree() {
        Tools::DisposeRangeTreeAndSearcher(tree, handler);
        for (Korvex::PlexPolyline* record : records) Tools::DisposePlexPolylineBuffer(record);
    }
    void Add(std::int32_t id, Points points) {
        double b[4];
        Tools::InitializeRangeTree(tree, points.data(), int(points.size()), id,
                                   &records.emplace_back(), &b[0], &b[1], &b[2], &b[3]);
    }
    template <class Query>
    std::int32_t Find(const Query* query, double radius = 1e9) {
        std::int32_t id = -1;
        Tools::SearchRangeTree(tree, handler, query, radius, &id);
        return id;
    }
    std::int32_t Nearest(double x, double y, double radius = 1e9) {
        const NativeGeometryPoint query{x, y, 0.0};
        return Find(&query, radius);
    }
};

double Distance2(DPoint2d a, DPoint2d b) {
    return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y);
}

double PipeDistance2(DPoint2d p, const Points& pipe) {
    double best = kInf;
    for (std::size_t i = 0; i + 1 < pipe.size(); ++i) {
        const DPoint2d a = pipe[i], u{pipe[i + 1].x - a.x, pipe[i + 1].y - a.y};
        const double uu = u.x * u.x + u.y * u.y,
                     f = std::clamp(((p.x - a.x) * u.x + (p.y - a.y) * u.y) / uu, 0.0, 1.0);
        best = std::min(best, Distance2(p, {a.x + f * u.x, a.y + f * u.y}));
    }
    return best;
}

std::int32_t NearestNode(XYPointSearcher* searcher, double x, double y, std::int32_t start = -1) {
    const NativeGeometryPoint query{x, y, 0.0};
    Tools::SearchNearestPoint(searcher, &query, &start);
    return start;
}

}  // namespace

TEST(NativeGeometry, RecordsOwnTheirChainAndThePointBufferHolds4999Points) {
    const NativeGeometry empty(nullptr, 7);
    EXPECT_TRUE(empty.count == 0 && empty.points == nullptr);
    NativeGeometryPoint source[2] = {{1, 1, 0}, {2, 2, 0}};
    const NativeGeometry copy(source, 2);
    source[0].x = 99;
    EXPECT_EQ(copy.points[0].x, 1.0);  // a copy, not a view
    // A long chain is freed without recursion; the sanitizer build checks
    // that nothing leaks.
    auto* first = new NativeGeometry(0, 0, 0);
    NativeGeometry* last = first;
    for (int i = 0; i < 200000; ++i) last = last->next = new NativeGeometry(i, i, 0);
    delete first;

    // The point buffer holds 4999 points, counting one disconnect between rings.
    const std::pair<int, bool> none{0, false};
    EXPECT_EQ(Fill(Link({PointsRecord(4999)}).get()), std::make_pair(4999, true));
    EXPECT_EQ(Fill(Link({PointsRecord(5000)}).get()), none);
    const Chain tooMany = Link({PointsRecord(2500), PointsRecord(2499)});  // 2500 + 1 + 2499
    EXPECT_EQ(Fill(tooMany.get()), none);
    EXPECT_EQ(Fill(tooMany.get(), false), std::make_pair(2500, true));  // the first ring alone
    EXPECT_EQ(Fill(Link({PointsRecord(2500), PointsRecord(2498)}).get()),
              std::make_pair(4999, true));
    EXPECT_EQ(Fill(nullptr), std::make_pair(0, true));
    // Malformed records never fit.
    NativeGeometry negative(copy.points, 2), missingPoints(nullptr, 0);
    negative.count = -3;
    missingPoints.count = 12;
    EXPECT_TRUE(Fill(&negative) == none && Fill(&missingPoints) == none);
    negative.count = 2;
    missingPoints.count = 0;
    // An empty ring keeps its separator.
    const Chain chain = Link({Square(0, 0, 1), Ring({}), Square(5, 5, 1)});
    Korvex::PointBuffer buffer;
    int count = 0;
    ASSERT_TRUE(Tools::CopyToPointBuffer(buffer.data(), &count, chain.get(), true));
    ASSERT_EQ(count, 4 + 1 + 0 + 1 + 4);
    EXPECT_TRUE(tgxDPoint3d_isDisconnect(&buffer[4]) && tgxDPoint3d_isDisconnect(&buffer[5]));
    EXPECT_TRUE(buffer[6].x == 5.0 && !tgxDPoint3d_isDisconnect(&buffer[count - 1]));
}

TEST(NativeMeasures, AreaCentroidPointInPolygonAndOversizedOperands) {
    const Chain withHole = Link({Square(0, 0, 2), Square(0.5, 0.5, 1, true)});
    EXPECT_DOUBLE_EQ(Tools::GetSignedPolygonArea(Link({Square(0, 0, 1, true)}).get()), -1.0);
    for (const auto& [all, each, area] :
         {std::tuple{true, true, 3.0}, {false, true, 3.0}, {false, false, 4.0}})
        EXPECT_DOUBLE_EQ(Tools::GetSignedPolygonArea(withHole.get(), all, each), area);
    EXPECT_EQ(Tools::GetSignedPolygonArea(nullptr, true, true), 0.0);
    // Two rings that fit alone but not together (2500 + 1 + 2500 points):
    // empty as one buffer, the sum of both when measured ring by ring.
    const Chain big = Link({PointsRecord(2500), PointsRecord(2500)});
    EXPECT_EQ(Tools::GetSignedPolygonArea(big.get()), 0.0);
    const double firstAlone = Tools::GetSignedPolygonArea(big.get(), false, false);
    EXPECT_NE(firstAlone, 0.0);
    EXPECT_DOUBLE_EQ(Tools::GetSignedPolygonArea(big.get(), true, true), 2.0 * firstAlone);

    // The boundary counts as inside, a hole as outside.
    const Chain polygon = Link({Square(0, 0, 4), Square(1, 1, 2, true)});
    for (const auto& [x, y, inside] :
         {std::tuple{0.5, 0.5, true}, {4.0, 2.0, true}, {2.0, 2.0, false}, {5.0, 2.0, false}}) {
        const Chain point(Point(x, y));
        EXPECT_EQ(Tools::IsPointInPolygon(polygon.get(), point.get()), inside) << x;
    }
    const Chain inside = Link({Point(0.5, 0.5)});
    EXPECT_FALSE(Tools::IsPointInPolygon(Link({PointsRecord(5000)}).get(), inside.get()));
    EXPECT_FALSE(Tools::IsPointInPolygon(nullptr, nullptr));

    NativeGeometryPoint centroid{-1, -1, -1};
    double area = -1;
    Tools::GetPolygonCentroidAndArea(Link({PointsRecord(5000)}).get(), &centroid, &area);
    EXPECT_TRUE(area == 0.0 && centroid.x == -1.0);  // oversized: untouched
    Tools::GetPolygonCentroidAndArea(Link({Square(0, 0, 1)}).get(), &centroid, &area);
    EXPECT_TRUE(centroid.x == 0.5 && centroid.y == 0.5 && area == 1.0);
    Tools::GetPolygonCentroidAndArea(Link({Ring({{3, 1}, {4, 1}, {5, 1}})}).get(), &centroid,
                                     &area);
    EXPECT_TRUE(area == 0.0 && centroid.x == 3.0);  // flat: the first point
}

TEST(NativeMeasures, PolylineClashNearestPointClosestDistanceAndHostileCoordinates) {
    // Clashes count end points and only first rings.
    const Chain a = Link({Ring({{0, 0}, {2, 0}})}), onePoint = Link({Ring({{1, 0}})});
    EXPECT_TRUE(Tools::DoPolylinesIntersect(a.get(), Link({Ring({{2, 0}, {3, 5}})}).get()));
    EXPECT_FALSE(Tools::DoPolylinesIntersect(
        a.get(), Link({Ring({{2.5, 0}, {3, 5}}), Ring({{1, -1}, {1, 1}})}).get()));
    EXPECT_FALSE(Tools::DoPolylinesIntersect(onePoint.get(), a.get()) ||
                 Tools::DoPolylinesIntersect(a.get(), onePoint.get()));

    const NativeGeometryPoint query{5, 5, 3}, beyond{3, 1, 0};  // z is ignored
    NativeGeometryPoint nearest{7, 7, 7};
    double distance = -1;
    const auto nearestOn = [&](const Chain& polyline, const NativeGeometryPoint& at) {
        return Tools::GetNearestPointOnPolyline(polyline.get(), &at, &nearest, &distance);
    };
    // Beyond both ends of the only segment, or no segment: outputs untouched.
    EXPECT_FALSE(nearestOn(Link({Ring({{0, 0}, {1, 0}})}), beyond) ||
                 nearestOn(Link({Ring({{0, 0}})}), query));
    EXPECT_TRUE(nearest.x == 7.0 && distance == -1.0);
    // Both segments lie 5 away: the first one gives the foot.
    ASSERT_TRUE(nearestOn(Link({Ring({{0, 0}, {10, 0}, {10, 10}})}), query));
    EXPECT_TRUE(nearest.x == 5.0 && nearest.y == 0.0);
    EXPECT_DOUBLE_EQ(distance, 5.0);

    const Chain square = Link({Square(0, 0, 1)});
    const auto closest = [&](const Chain& other) {
        return Tools::GetClosestDistanceSquaredBetweenPolygons(square.get(), other.get());
    };
    EXPECT_DOUBLE_EQ(closest(Link({Square(3, 0, 1)})), 4.0);
    EXPECT_EQ(closest(Link({Ring({})})), std::numeric_limits<double>::max());

    for (double bad : {kNaN, kInf, -kInf, std::numeric_limits<double>::max()}) {
        const Chain polygon =
            Link({Ring({{0, 0}, {bad, 0}, {1, bad}, {0, 1}}), Ring({{bad, bad}}), Ring({})});
        const Chain point = Link({Point(bad, 0.5)});
        const NativeGeometryPoint at{0.5, bad, 0};
        NativeGeometryPoint out{};
        double value = 0;
        Tools::GetSignedPolygonArea(polygon.get());
        Tools::GetSignedPolygonArea(polygon.get(), true, true);
        Tools::IsPointInPolygon(polygon.get(), point.get());
        Tools::DoPolylinesIntersect(polygon.get(), polygon.get());
        Tools::GetNearestPointOnPolyline(polygon.get(), &at, &out, &value);
        Tools::GetPolygonCentroidAndArea(polygon.get(), &out, &value);
        Tools::GetClosestDistanceSquaredBetweenPolygons(polygon.get(), point.get());
    }
    Tools::DisposePlexPolylineBuffer(nullptr);
}

TEST(PolygonBooleans, SquaresOversizedAndHostileOperands) {
    const Chain a = Link({Square(0, 0, 2)}), b = Link({Square(1, 1, 2)}),
                far = Link({Square(5, 0, 2)});
    // A square with a hole, a 2-point ring and an empty ring: the hole
    // survives and the degenerate rings are ignored.
    const Chain holed =
        Link({Square(0, 0, 2), Square(0.5, 0.5, 1, true), Ring({{9, 9}, {9, 10}}), Ring({})});
    const struct { Operation operation; const Chain& b; double area; int rings; } cases[] = {
        {kAnd, b, 1, 1},   {kOr, b, 7, 1},     {kMinus, b, 3, 1},
        {kOr, far, 8, 2},  {kMinus, far, 4, 1}, {kAnd, holed, 3, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const Chain result = Apply(c.operation, a, c.b);
        EXPECT_NEAR(Area(result.get()), c.area, 1e-12);
        EXPECT_EQ(RingCount(result.get()), c.rings);
    }
    EXPECT_TRUE(IsOneEmptyRing(Apply(kAnd, a, far).get()));

    std::vector<NativeGeometryPoint> circle;
    for (double i = 0; i < 6000; ++i)
        circle.push_back({10 * std::cos(i * M_PI / 3000), 10 * std::sin(i * M_PI / 3000), 0});
    const Chain big = Link({new NativeGeometry(circle.data(), 6000)}),
                square = Link({Square(0, 0, 20)});
    EXPECT_NEAR(Area(Apply(kAnd, big, square).get()), M_PI * 100 / 4, 0.01);  // thinned
    EXPECT_NEAR(Area(Apply(kOr, big, square).get()), 400.0, 1e-9);  // only the square

    // Every point of the ring coincides: the thinning distance stays 0.
    const std::vector<NativeGeometryPoint> same(6000, {1.0, 1.0, 0.0});
    const Chain stuck = Link({new NativeGeometry(same.data(), 6000)});
    EXPECT_THROW(Apply(kAnd, stuck, square), MaxVerticesCountExceededException);
    // 3000 triangles keep their starts: 3000 points and 2999 separators.
    Chain manyRings;
    for (int i = 3000; i-- > 0;) {
        NativeGeometry* triangle = Ring({{i * 3.0, 0}, {i * 3.0 + 1, 0}, {i * 3.0, 1}});
        triangle->next = manyRings.release();
        manyRings.reset(triangle);
    }
    try {
        Apply(kAnd, square, manyRings);
        FAIL() << "expected the vertex-limit error";
    } catch (const MaxVerticesCountExceededException& e) {
        EXPECT_STREQ(e.TextKey(), "zor.error.ComputeVerticesLimitExceeded");
    }

    const Chain none, hostile =
        Link({Ring({{0, 0}, {kNaN, 1}, {1, kInf}, {2, 2}}), Ring({{1, 1}}), Ring({})});
    // A record counting points it does not hold makes its operand empty, in
    // the intersection (whose thinning it crashed) as in the others.
    const Chain malformed = Link({new NativeGeometry(nullptr, 0), Square(0, 0, 1)});
    malformed->count = 12;
    for (Operation operation : {kAnd, kOr, kMinus}) {
        Apply(operation, square, hostile);
        Apply(operation, hostile, square);
        EXPECT_TRUE(IsOneEmptyRing(Apply(operation, none, none).get()));
        EXPECT_EQ(Area(Apply(operation, square, malformed).get()), operation == kAnd ? 0 : 400);
        EXPECT_EQ(Area(Apply(operation, malformed, square).get()), operation == kOr ? 400 : 0);
    }
}

// The Booleans on the synthetic town's parcels and service areas, checked
// against GEOS and against the identity area(A) + area(B) = area(A or B) +
// area(A and B).
TEST(PolygonBooleansOnTown, IntersectionAreasMatchGeosAndUnionAndIntersectionAreasAddUp) {
    const allotrix_town::Town town = MakeTown(SmallTownSize(), 3);
    const auto geos = area_bench::MakeGeosArea(town);
    const auto pairs = area_bench::OverlappingPairs(town);
    EXPECT_GT(pairs.size(), 1000u);
    for (const auto& [parcel, service] : pairs) {
        const Chain a = ToNativeChain(town.parcels[parcel]),
                    b = ToNativeChain(town.serviceAreas[service]);
        const double expected = geos->Area({parcel, service});
        ASSERT_NEAR(Area(Apply(kAnd, a, b).get()), expected, 1e-9 * std::max(expected, 1.0))
            << parcel << "/" << service;
    }
    // Pairs GEOS is not asked about, shifted against each other so that they
    // overlap in every way: crossing, nested, disjoint.
    const allotrix_town::Town other = MakeTown(SmallTownSize(), 4);
    for (std::size_t i = 0; i < other.parcels.size(); i += 3) {
        const Chain a = ToNativeChain(other.parcels[i]),
                    b = ToNativeChain(other.serviceAreas[i % other.serviceAreas.size()]),
                    c = ToNativeChain(other.parcels[(i * 7 + 1) % other.parcels.size()]);
        for (const Chain* with : {&b, &c}) {
            const double sum = Area(a.get()) + Area(with->get());
            ASSERT_NEAR(sum, Area(Apply(kOr, a, *with).get()) + Area(Apply(kAnd, a, *with).get()),
                        1e-9 * sum)
                << i;
        }
    }
}

bool SameRings(const NativeGeometry* a, const NativeGeometry* b) {
    for (; a != nullptr && b != nullptr; a = a->next, b = b->next) {
        if (a->count != b->count) return false;
        for (int i = 0; i < a->count; ++i) {
            if (a->points[i].x != b->points[i].x || a->points[i].y != b->points[i].y) return false;
        }
    }
    return a == nullptr && b == nullptr;
}

// One classifier kept across operations of every kind, an operand that fails
// with the vertex-limit error and hostile operands among them, gives exactly
// the rings of a fresh classifier per call.
TEST(PolygonBooleansOnTown, AKeptClassifierGivesTheRingsOfAFreshOne) {
    using Kept = NativeGeometry* (*)(const NativeGeometry*, const NativeGeometry*,
                                     Korvex::VuPolygonClassifier&);
    const struct { Operation fresh; Kept kept; } operations[] = {
        {kAnd, Tools::GetPolygonIntersection},
        {kOr, Tools::GetPolygonUnion},
        {kMinus, Tools::GetPolygonDifference}};
    const allotrix_town::Town town = MakeTown(SmallTownSize(), 5);
    const std::vector<NativeGeometryPoint> same(6000, {1.0, 1.0, 0.0});
    const Chain stuck = Link({new NativeGeometry(same.data(), 6000)}),
                hostile = Link({Ring({{0, 0}, {kNaN, 1}, {1, kInf}, {2, 2}})});
    Korvex::VuPolygonClassifier classifier;
    const auto pairs = area_bench::OverlappingPairs(town);
    for (std::size_t i = 0; i < pairs.size(); i += 7) {
        const Chain a = ToNativeChain(town.parcels[pairs[i].first]),
                    b = ToNativeChain(town.serviceAreas[pairs[i].second]);
        const auto& operation = operations[i % 3];
        const Chain fresh(operation.fresh(a.get(), b.get())),
            kept(operation.kept(a.get(), b.get(), classifier));
        ASSERT_TRUE(SameRings(fresh.get(), kept.get())) << i;
        if (i % 5 == 0) {
            EXPECT_THROW(Chain(Tools::GetPolygonIntersection(stuck.get(), b.get(), classifier)),
                         MaxVerticesCountExceededException);
            Chain(operation.kept(hostile.get(), a.get(), classifier));
        }
    }
}

TEST(GetPolygonFromPolyline, ClosesByTheChordOrWalksThePolygonUntilDegenerateOrFull) {
    const auto polygonFrom = [](const Chain& polyline, const Chain& polygon) {
        return Chain(Tools::GetPolygonFromPolyline(polyline.get(), polygon.get()));
    };
    const Chain closed = polygonFrom(Link({Ring({{0, 0}, {5, 5}, {10, 0}})}),
                                     Link({Square(100, 100, 1)}));  // the chord clears it
    ASSERT_EQ(closed->count, 4);
    EXPECT_TRUE(closed->points[3].x == 0.0 && closed->points[1].y == 5.0);
    // A cut straight up through a square closes over the square's right side
    // and cuts that half out of it.
    const Chain square = Link({Square(0, 0, 10)});
    const Chain piece = polygonFrom(Link({Ring({{5, -1}, {5, 11}})}), square);
    const std::vector<std::pair<double, double>> expected{
        {5, -1}, {5, 11}, {10, 10}, {10, 0}, {5, -1}};
    ASSERT_EQ(piece->count, static_cast<int>(expected.size()));
    for (int i = 0; i < piece->count; ++i)
        EXPECT_EQ(std::pair(piece->points[i].x, piece->points[i].y), expected[std::size_t(i)]);
    EXPECT_NEAR(Area(Apply(kAnd, square, piece).get()), 50.0, 1e-9);

    EXPECT_TRUE(IsOneEmptyRing(polygonFrom(Link({Ring({{1, 1}})}), square).get()));
    // Every candidate coincides with the current point: the walk stops.
    EXPECT_EQ(polygonFrom(Link({Ring({{1, 1}, {1, 1}})}), Link({Ring({{1, 1}}), Ring({{1, 1}})}))
                  ->count,
              2);
    // A zigzag of 4999 points whose chord crosses the square diagonally: the
    // first step fills the last slot of the buffer, and that point is not kept.
    std::vector<NativeGeometryPoint> zigzag;
    for (int i = 0; i < 4999; ++i)
        zigzag.push_back({-1.0 + 12.0 * i / 4998.0, i % 2 == 0 ? -1.0 : 11.0, 0.0});
    zigzag.back().y = 11.0;
    const Chain full = polygonFrom(Link({new NativeGeometry(zigzag.data(), 4999)}), square);
    ASSERT_EQ(full->count, 4999);
    EXPECT_EQ(full->points[4998].x, zigzag.back().x);
}

TEST(VuPolygonClassifier, SplitEdgeHalvesKeepTheUserDataOfTheNodesBeforeThem) {
    Korvex::VuPolygonClassifier classifier;
    const DPoint3d square[4] = {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}};
    Korvex::VuNode* node = vu_loopFromDPoint3dArrayXYTol(classifier.Graph(), square, 4, 0.0, 1e-8);
    ASSERT_NE(node, nullptr);
    int tags[2] = {1, 2};
    vu_setUserDataP(node, &tags[0]);
    vu_setUserDataP(vu_edgeMate(node), &tags[1]);
    Korvex::VuNode *a = nullptr, *b = nullptr;
    vu_splitEdge(classifier.Graph(), node, &a, &b);
    ASSERT_TRUE(a && b);
    // Each half keeps the data of the node before it, so both sides of the
    // edge still carry their tags.
    EXPECT_EQ(std::multiset<void*>({vu_getUserDataP(a), vu_getUserDataP(vu_fpred(a)),
                                    vu_getUserDataP(b), vu_getUserDataP(vu_fpred(b))}),
              (std::multiset<void*>{&tags[0], &tags[0], &tags[1], &tags[1]}));
    EXPECT_TRUE(vu_getUserDataP(a) == vu_getUserDataP(vu_fpred(a)) &&
                vu_getUserDataP(b) == vu_getUserDataP(vu_fpred(b)));
}

TEST(NearestPipeAndNode, TiesDegenerateInputsRadiusZeroLowCornersAndTheCallersIdSlot) {
    for (bool lowerFirst : {false, true}) {  // a tie goes to the pipe visited first
        PipeTree tree(Tools::NewPolylineRangeTreeClosestPointSearcher());
        const Points upper{{-5, 1}, {5, 1}}, lower{{-5, -1}, {5, -1}};
        tree.Add(lowerFirst ? 2 : 1, lowerFirst ? lower : upper);
        tree.Add(lowerFirst ? 1 : 2, lowerFirst ? upper : lower);
        EXPECT_EQ(tree.Nearest(0, 0), lowerFirst ? 2 : 1);
        EXPECT_EQ(tree.Nearest(0, 0.9), 1);  // no tie: the nearer one
    }
    auto* handler = Tools::NewPolylineRangeTreeClosestPointSearcher();
    PipeTree tree(handler);
    tree.Add(7, {{3, 3}});          // one point: never a result
    tree.Add(8, {{2, 2}, {2, 2}});  // no two distinct points either
    tree.Add(9, {{0, 0}, {10, 0}, {10, 10}});
    tree.Add(10, {{20, 0}, {30, 0}});
    EXPECT_EQ(tree.Nearest(10, 4), 9);
    EXPECT_EQ(handler->GetBestDistanceSquared(), 0.0);
    EXPECT_EQ(tree.Nearest(2.5, 2.5), 9);
    EXPECT_EQ(tree.Nearest(kNaN, 0), 0);  // nothing compares below the start value
    // A vertex with a NaN (here the first, which once held every bound of
    // the pipe's box at NaN) hides neither the pipe's other segments nor
    // other pipes.
    PipeTree nan(Tools::NewPolylineRangeTreeClosestPointSearcher());
    nan.Add(1, {{kNaN, 5}, {0, 0}, {10, 0}});
    nan.Add(2, {{0, 20}, {10, 20}});
    EXPECT_EQ(nan.Nearest(5, 1), 1);
    // Radius 0 outside the tree finds nothing; inside the top node's
    // rectangle its pipes are scanned, though farther than the radius.
    EXPECT_EQ(tree.Nearest(100, 100, 0.0), 0);
    EXPECT_EQ(tree.Nearest(9.9, 0.5, 0.0), 9);
    Tools::DisposeRangeTreeAndSearcher(nullptr, nullptr);
    std::int32_t id = 5;
    const NativeGeometryPoint query{0, 0, 0};
    Tools::SearchRangeTree(nullptr, nullptr, &query, 1.0, &id);
    EXPECT_EQ(id, 0);
    // The pipe record starts with its ID, so the low-corner handler reports
    // the pipe whose rectangle's low corner is nearest.
    PipeTree corners(new XYRangeTreeClosestLowPointSearcher());
    corners.Add(4, {{0, 0}, {1, 1}});
    corners.Add(5, {{10, 10}, {9, 12}});
    EXPECT_TRUE(corners.Nearest(8, 8) == 5 && corners.Nearest(2, 2) == 4);
    EXPECT_EQ(corners.Nearest(100, 100, 0.0), 0);  // radius 0 outside the tree

    std::int32_t ids[] = {1, 2};
    const NativeGeometryPoint a{0, 0, 0}, b{10, 0, 0};
    XYPointSearcher* searcher = Tools::InitializePointSearcher(nullptr, &a, &ids[0]);
    EXPECT_EQ(NearestNode(searcher, 1e9, -1e9), 1);
    ASSERT_EQ(Tools::InitializePointSearcher(searcher, &b, &ids[1]), searcher);
    EXPECT_EQ(NearestNode(searcher, 9, 0), 2);
    ids[1] = 20;  // the searcher stores the address, not the value
    EXPECT_EQ(NearestNode(searcher, 9, 0), 20);
    Tools::DisposePointSearcher(searcher);

    // A node with a NaN is never the nearest, not even where the search
    // starts, nor when it is the only one.
    std::int32_t more[] = {3, 1, 2};
    const NativeGeometryPoint withNaN[] = {{3, kNaN, 0}, {0, 0, 0}, {5, 5, 0}};
    searcher = Tools::InitializePointSearcher(nullptr, &withNaN[0], &more[0]);
    EXPECT_EQ(NearestNode(searcher, 4.9, 5, 17), 17);
    for (int i : {1, 2}) Tools::InitializePointSearcher(searcher, &withNaN[i], &more[i]);
    EXPECT_EQ(NearestNode(searcher, 4.9, 5), 2);
    Tools::DisposePointSearcher(searcher);

    XYPointSearcher* empty = XYPointSearcher::Allocate();
    EXPECT_EQ(NearestNode(empty, 0, 0, 17), 17);  // left untouched
    Tools::DisposePointSearcher(empty);
    Tools::DisposePointSearcher(nullptr);
}

TEST(NearestPipeAndNode, MatchBruteForceAndANarrowedStartEndsLikeAColdStart) {
    // Pipes in scrambled order, with exact ties (every tenth pipe listed
    // twice) and coincident end points.
    const allotrix_town::Town town = MakeTown(SmallTownSize(), 6);
    auto* handler = Tools::NewPolylineRangeTreeClosestPointSearcher();
    PipeTree tree(handler);
    XYPointSearcher* nodes = nullptr;
    for (std::size_t i = 0; i < town.pipes.size(); ++i) {
        const auto& pipe = town.pipes[(i * 7919) % town.pipes.size()];
        tree.Add(pipe.id, pipe.points);
        if (i % 10 == 0) tree.Add(-pipe.id, pipe.points);
    }
    for (std::size_t i = 0; i < town.nodes.size(); ++i) {
        const NativeGeometryPoint p{town.nodes[i].x, town.nodes[i].y, 0.0};
        nodes = Tools::InitializePointSearcher(nodes, &p, &town.nodeIds[i]);
    }
    const std::int32_t firstPipeId = town.pipes.front().id;
    for (const DPoint2d& meter : town.meters) {
        const std::int32_t node = NearestNode(nodes, meter.x, meter.y);  // ties allowed
        ASSERT_GE(node, 1);
        double best = kInf;
        for (const DPoint2d& n : town.nodes) best = std::min(best, Distance2(meter, n));
        ASSERT_EQ(Distance2(meter, town.nodes[std::size_t(node - 1)]), best);
        const std::int32_t pipe = std::abs(tree.Nearest(meter.x, meter.y));
        ASSERT_GE(pipe, firstPipeId);
        best = kInf;
        for (const auto& p : town.pipes) best = std::min(best, PipeDistance2(meter, p.points));
        const double found = PipeDistance2(meter, town.pipes[size_t(pipe - firstPipeId)].points);
        ASSERT_NEAR(found, best, 1e-9 * std::max(1.0, best));

        for (double radius : {1e7, 20.0}) {
            const auto search = [&](bool narrow) {
                handler->StartSearch(meter.x, meter.y, radius);
                if (narrow) handler->NarrowSearch(tree.tree);
                XYRangeTreeRoot::Traverse(tree.tree, handler);
                const DPoint2d point = handler->GetClosestPoint();
                return std::tuple(handler->GetResult(), handler->GetBestDistanceSquared(), point.x,
                                  point.y);
            };
            ASSERT_EQ(search(true), search(false));
        }
    }
    Tools::DisposePointSearcher(nodes);
}

TEST(NearestPipeToPolyline, CrossingMatchingEndsDegenerateQueriesAndTheWrongHandler) {
    auto* handler = Tools::NewPolylineRangeTreeClosestPolylineSearcher();
    PipeTree crossing(handler);
    crossing.Add(1, {{0, 5}, {10, 5}});
    crossing.Add(2, {{0, -1}, {10, -1}});
    EXPECT_EQ(crossing.Find(Link({Ring({{5, 0}, {5, 10}})}).get()), 1);
    EXPECT_EQ(handler->GetBestDistanceSquared(), 0.0);
    // Degenerate queries, and a point query, which is not this handler's kind.
    EXPECT_EQ(crossing.Find(Link({Ring({{1, 1}})}).get()), 0);
    EXPECT_EQ(crossing.Find(Link({Ring({})}).get()), 0);
    EXPECT_EQ(crossing.Find<NativeGeometry>(nullptr), 0);
    EXPECT_EQ(crossing.Nearest(1.0, 1.0), 0);
    // A query far beyond the buffer is cut to its capacity, not overrun.
    std::vector<NativeGeometryPoint> huge;
    for (int i = 0; i < 12000; ++i) huge.push_back({i * 0.001, 3.0 + (i % 2), 0});
    EXPECT_EQ(crossing.Find(Link({new NativeGeometry(huge.data(), 12000)}).get()), 1);

    // Pipe B touches the query's first point and is visited first; pipe A
    // shares both end points with the query in the same direction.
    PipeTree tree(Tools::NewPolylineRangeTreeClosestPolylineSearcher());
    tree.Add(2, {{0, 0}, {-5, 5}});
    tree.Add(1, {{0, 0}, {5, 1}, {10, 0}});
    EXPECT_EQ(tree.Find(Link({Ring({{0, 0}, {5, -1}, {10, 0}})}).get()), 1);
}
