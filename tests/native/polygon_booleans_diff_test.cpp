// The Booleans on the synthetic town's parcels and service areas, checked
// against GEOS and against the identity area(A) + area(B) = area(A or B) +
// area(A and B).
#include <geos_c.h>

#include <vector>

#include <gtest/gtest.h>

#include "native_test_support.h"
#include "town/town.h"
#include "town/town_native.h"

using namespace native_test;
using allotrix_town::ToNativeChain;

namespace {

Korvex::DRange2d Box(const allotrix_town::Polygon& polygon) {
    Korvex::DRange2d box;
    box.init();
    box.extend(polygon.rings[0].data(), static_cast<int>(polygon.rings[0].size()));
    return box;
}

// Town polygons as GEOS polygons, owned by one context.
struct Geos {
    GEOSContextHandle_t context = GEOS_init_r();
    std::vector<GEOSGeometry*> owned;
    ~Geos() {
        for (GEOSGeometry* g : owned) GEOSGeom_destroy_r(context, g);
        GEOS_finish_r(context);
    }
    GEOSGeometry* Polygon(const allotrix_town::Polygon& polygon) {
        std::vector<GEOSGeometry*> rings;
        for (const allotrix_town::Ring& ring : polygon.rings) {
            GEOSCoordSequence* s = GEOSCoordSeq_create_r(context, static_cast<unsigned>(ring.size()), 2);
            for (std::size_t i = 0; i < ring.size(); ++i)
                GEOSCoordSeq_setXY_r(context, s, static_cast<unsigned>(i), ring[i].x, ring[i].y);
            rings.push_back(GEOSGeom_createLinearRing_r(context, s));
        }
        return owned.emplace_back(
            GEOSGeom_createPolygon_r(context, rings[0], rings.data() + 1, static_cast<unsigned>(rings.size() - 1)));
    }
    double IntersectionArea(const GEOSGeometry* a, const GEOSGeometry* b) {
        GEOSGeometry* both = GEOSIntersection_r(context, a, b);
        double area = 0.0;
        GEOSArea_r(context, both, &area);
        GEOSGeom_destroy_r(context, both);
        return area;
    }
};

}  // namespace

TEST(PolygonBooleansOnTown, IntersectionAreasMatchGeos) {
    const allotrix_town::Town town = allotrix_town::MakeTown(allotrix_town::SmallTownSize(), 3);
    Geos geos;
    std::vector<Chain> services;
    std::vector<GEOSGeometry*> geosServices;
    for (const allotrix_town::Polygon& service : town.serviceAreas) {
        services.push_back(ToNativeChain(service));
        geosServices.push_back(geos.Polygon(service));
    }
    int pairs = 0;
    for (const allotrix_town::Polygon& parcel : town.parcels) {
        const Chain native = ToNativeChain(parcel);
        GEOSGeometry* reference = geos.Polygon(parcel);
        for (std::size_t s = 0; s < services.size(); ++s) {
            if (!Box(parcel).intersectsWith(Box(town.serviceAreas[s]))) continue;
            const double expected = geos.IntersectionArea(reference, geosServices[s]);
            const Chain both(Tools::GetPolygonIntersection(native.get(), services[s].get()));
            ASSERT_NEAR(Area(both.get()), expected, 1e-9 * std::max(expected, 1.0)) << "parcel/service " << s;
            ++pairs;
        }
    }
    EXPECT_GT(pairs, 1000);
}

TEST(PolygonBooleansOnTown, UnionAndIntersectionAreasAddUp) {
    const allotrix_town::Town town = allotrix_town::MakeTown(allotrix_town::SmallTownSize(), 4);
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
