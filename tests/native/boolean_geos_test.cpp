// The polygon Booleans against GEOS where working in place went wrong:
// operands far from the origin, and operands whose vertices nearly coincide.
#include <gtest/gtest.h>

#include <cmath>
#include <string_view>
#include <vector>

#include "native/native.h"
#include "vu/polygon_pairs.h"

namespace Korvex {
namespace {

using namespace vutest;
using Tools = CStandAloneDataTools;
using Operation = NativeGeometry* (*)(const NativeGeometry*, const NativeGeometry*);

// The native operations and their GEOS counterparts.
const struct {
    const char* name;
    Operation native;
    decltype(&GEOSUnion_r) geos;
} kOperations[] = {{"and", Tools::GetPolygonIntersection, GEOSIntersection_r},
                   {"or", Tools::GetPolygonUnion, GEOSUnion_r},
                   {"minus", Tools::GetPolygonDifference, GEOSDifference_r}};

Polygon moved(Polygon polygon, DPoint2d by) {
    for (Ring& ring : polygon)
        for (DPoint3d& p : ring) p = {p.x + by.x, p.y + by.y, 0.0};
    return polygon;
}

NativeGeometryChain chainOf(const Polygon& polygon) {
    NativeGeometry* first = nullptr;
    NativeGeometry** link = &first;
    for (const Ring& ring : polygon) {
        std::vector<NativeGeometryPoint> points;
        for (const DPoint3d& p : ring) points.push_back({p.x, p.y, 0.0});
        *link = new NativeGeometry(points.data(), static_cast<int>(points.size()));
        link = &(*link)->next;
    }
    return NativeGeometryChain(first);
}

// The summed area of the result's rings moved by `by`, measured after the
// move so that far-out coordinates cost no precision.
double resultArea(const NativeGeometry* result, DPoint2d by) {
    double area = 0.0;
    for (; result != nullptr; result = result->next) {
        Ring ring;
        for (int i = 0; i < result->count; ++i)
            ring.push_back({result->points[i].x + by.x, result->points[i].y + by.y, 0.0});
        area += ringArea(ring);
    }
    return area;
}

double polygonArea(const Polygon& polygon) {
    double area = 0.0;
    for (const Ring& ring : polygon) area += std::fabs(ringArea(ring));
    return area;
}

// The three operations on the pair laid at `at` agree with GEOS on the same
// shapes laid back at the origin (moving a coordinate back from near `at`
// is exact), within `relative` of the operands' area. The areas come back
// in the order of kOperations.
std::vector<double> expectAgreement(Geos& geos, const PolygonPair& pair, DPoint2d at,
                                    double relative = 1e-9) {
    const Polygon a = moved(pair.a, at), b = moved(pair.b, at);
    const DPoint2d back{-at.x, -at.y};
    GEOSGeometry *geosA = geos.polygon(moved(a, back)), *geosB = geos.polygon(moved(b, back));
    const NativeGeometryChain nativeA = chainOf(a), nativeB = chainOf(b);
    const double scale = polygonArea(a) + polygonArea(b);
    std::vector<double> areas;
    for (const auto& operation : kOperations) {
        const NativeGeometryChain result(operation.native(nativeA.get(), nativeB.get()));
        areas.push_back(std::fabs(resultArea(result.get(), back)));
        EXPECT_NEAR(areas.back(), geos.area(operation.geos(geos.context, geosA, geosB)),
                    relative * scale)
            << operation.name;
    }
    GEOSGeom_destroy_r(geos.context, geosA);
    GEOSGeom_destroy_r(geos.context, geosB);
    return areas;
}

// Real data lies millions of units out. The pairs of every kind are sized
// a millionth of their distance from the origin, as a parcel of a few
// metres at a projected northing: coordinates there still resolve them to
// about 1e-10 of their size. Tiny pairs would not be resolved at all.
TEST(BooleansAgainstGeos, FarFromTheOriginAsAtTheOrigin) {
    Geos geos;
    for (const DPoint2d at : {DPoint2d{5e5, 4.2e6}, {2e6, 1.3e7}, {1e9, 1e9}}) {
        const double size = 1e-6 * std::max(at.x, at.y);
        PolygonMaker maker{std::mt19937(20261205)};
        for (const auto& [kind, makePair] : kKinds) {
            if (std::string_view(kind) == "tiny") continue;
            for (int trial = 0; trial < 40 * kTrialScale; ++trial) {
                SCOPED_TRACE(testing::Message() << at.x << ", " << kind << " pair " << trial);
                expectAgreement(geos, scaled(makePair(maker), size), at);
                if (HasFailure()) return;
            }
        }
    }
}

// A regular 360-gon of radius 2 (edges of 3.5 cm) inside a square of side
// 10: in place at (5e5, 4.2e6) the loop tolerance, relative to the largest
// coordinate, was 4.2 cm and erased the polygon; at (1e9, 1e9) the square
// too.
TEST(BooleansAgainstGeos, SmallDetailsFarOut) {
    Ring polygon;
    for (int i = 0; i < 360; ++i)
        polygon.push_back({2 * std::cos(i * kPi / 180), 2 * std::sin(i * kPi / 180), 0});
    const PolygonPair pair{{square(-5, -5, 10)}, {polygon}};
    Geos geos;
    for (const DPoint2d at : {DPoint2d{0, 0}, {5e5, 4.2e6}, {1e9, 1e9}}) {
        SCOPED_TRACE(at.x);
        const std::vector<double> areas = expectAgreement(geos, pair, at);
        EXPECT_NEAR(areas[0], 12.5657, 1e-4);  // the 360-gon, whole
        EXPECT_NEAR(areas[1], 100.0, 1e-6);
    }
}

// Operands digitised from the same source, or snapped in another tool: their
// shared vertices differ by a relative 1e-12 to 1e-7. Two families: triangles
// sharing one or two corners, and star rings sharing a run of vertices. On
// every pair the areas agree with GEOS and area(A and B) + area(A or B) =
// area(A) + area(B).
TEST(BooleansAgainstGeos, NearlyCoincidentVertices) {
    PolygonMaker maker{std::mt19937(20261206)};
    const auto jittered = [&](DPoint3d p) {
        const double size = 100.0 * std::pow(10.0, maker.uniform(-12, -7));
        return DPoint3d{p.x + size * maker.uniform(-1, 1), p.y + size * maker.uniform(-1, 1), 0};
    };
    const auto corner = [&] { return DPoint3d{maker.uniform(-100, 100), maker.uniform(-100, 100), 0}; };
    const auto triangles = [&] {
        const Ring a{corner(), corner(), corner()};
        Ring b{jittered(a[0]), corner(), corner()};
        if (maker.integer(0, 1)) b[2] = jittered(a[2]);
        return PolygonPair{{a}, {b}};
    };
    const auto stars = [&] {
        const Ring a = maker.star({0, 0}, 50, 100, maker.integer(4, 30));
        const std::size_t first = maker.integer(0, int(a.size()) - 1);
        const std::size_t kept = maker.integer(2, int(a.size()) - 1);
        Ring b;
        for (std::size_t i = 0; i < a.size(); ++i) {
            const double grown = maker.uniform(0.6, 1.4);
            b.push_back((i + a.size() - first) % a.size() < kept
                            ? jittered(a[i])
                            : DPoint3d{a[i].x * grown, a[i].y * grown, 0});
        }
        return PolygonPair{{a}, {b}};
    };
    Geos geos;
    for (int trial = 0; trial < 800 * kTrialScale; ++trial) {
        SCOPED_TRACE(testing::Message() << "pair " << trial);
        const PolygonPair pair = trial % 2 ? stars() : triangles();
        const std::vector<double> areas = expectAgreement(geos, pair, {0, 0}, 1e-8);
        const double a = polygonArea(pair.a), b = polygonArea(pair.b);
        ASSERT_NEAR(areas[0] + areas[1], a + b, 1e-8 * (a + b));
    }
}

}  // namespace
}  // namespace Korvex
