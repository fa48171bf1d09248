// The Booleans on the synthetic town's parcels and service areas, checked
// against GEOS and against the identity area(A) + area(B) = area(A or B) +
// area(A and B).
#include <gtest/gtest.h>

#include "native/area_references.h"
#include "native_test_support.h"
#include "town/town_native.h"

using namespace native_test;
using allotrix_town::MakeTown;
using allotrix_town::SmallTownSize;
using allotrix_town::ToNativeChain;

TEST(PolygonBooleansOnTown, IntersectionAreasMatchGeos) {
    const allotrix_town::Town town = MakeTown(SmallTownSize(), 3);
    const auto geos = area_bench::MakeGeosArea(town);
    const auto pairs = area_bench::OverlappingPairs(town);
    EXPECT_GT(pairs.size(), 1000u);
    for (const auto& [parcel, service] : pairs) {
        const Chain a = ToNativeChain(town.parcels[parcel]), b = ToNativeChain(town.serviceAreas[service]);
        const Chain both(Tools::GetPolygonIntersection(a.get(), b.get()));
        const double expected = geos->Area({parcel, service});
        ASSERT_NEAR(Area(both.get()), expected, 1e-9 * std::max(expected, 1.0)) << parcel << "/" << service;
    }
}

TEST(PolygonBooleansOnTown, UnionAndIntersectionAreasAddUp) {
    const allotrix_town::Town town = MakeTown(SmallTownSize(), 4);
    // Pairs of parcels and service areas shifted against each other, so that
    // they overlap in every way: crossing, nested, disjoint.
    for (std::size_t i = 0; i < town.parcels.size(); i += 3) {
        const Chain a = ToNativeChain(town.parcels[i]);
        const Chain b = ToNativeChain(town.serviceAreas[i % town.serviceAreas.size()]);
        const Chain c = ToNativeChain(town.parcels[(i * 7 + 1) % town.parcels.size()]);
        for (const NativeGeometry* other : {b.get(), c.get()}) {
            const Chain either(Tools::GetPolygonUnion(a.get(), other));
            const Chain both(Tools::GetPolygonIntersection(a.get(), other));
            const double lhs = Area(a.get()) + Area(other);
            ASSERT_NEAR(lhs, Area(either.get()) + Area(both.get()), 1e-9 * lhs) << "pair " << i;
        }
    }
}
