#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "native/area_references.h"
#include "native/vu_polygon_classifier.h"
#include "native_test_support.h"
#include "planar/planar.h"
#include "town/town_native.h"
#include "vu/vu.h"

using namespace native_test;
using Korvex::DPoint3d;
using Korvex::MaxVerticesCountExceededException;
using allotrix_town::MakeTown;
using allotrix_town::SmallTownSize;
using allotrix_town::ToNativeChain;

namespace {

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

}  // namespace

TEST(PolygonBooleans, SquaresGiveClosedRingsOfTheRightAreaAndDisjointOnesOneEmptyRing) {
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
}

TEST(PolygonBooleans, OversizedOperandsAreThinnedOrFailAndHostileOnesGiveResults) {
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
    for (Operation operation : {kAnd, kOr, kMinus}) {
        Apply(operation, square, hostile);
        Apply(operation, hostile, square);
        EXPECT_TRUE(IsOneEmptyRing(Apply(operation, none, none).get()));
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
    std::multiset<void*> tagged;
    for (Korvex::VuNode* half : {a, b}) {
        EXPECT_EQ(vu_getUserDataP(half), vu_getUserDataP(vu_fpred(half)));
        tagged.insert({vu_getUserDataP(half), vu_getUserDataP(vu_fpred(half))});
    }
    EXPECT_EQ(tagged, (std::multiset<void*>{&tags[0], &tags[0], &tags[1], &tags[1]}));
}
