// The Booleans on the synthetic town's parcels and service areas, checked
// against GEOS and against the identity area(A) + area(B) = area(A or B) +
// area(A and B).
#include <geos_c.h>

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "native_test_support.h"
#include "town/town.h"
#include "town/town_native.h"

using namespace native_test;
using Korvex::CStandAloneDataTools;
using Korvex::DPoint2d;
using Korvex::DRange2d;

namespace {

DRange2d Box(const allotrix_town::Polygon& polygon) {
    DRange2d box;
    box.init();
    box.extend(polygon.rings[0].data(), static_cast<int>(polygon.rings[0].size()));
    return box;
}

double Area(const NativeGeometry* g) {
    return CStandAloneDataTools::GetSignedPolygonArea(g, true, true);
}

double IntersectionArea(const NativeGeometry* a, const NativeGeometry* b) {
    Chain both(CStandAloneDataTools::GetPolygonIntersection(a, b));
    return Area(both.get());
}

class Geos {
public:
    Geos() : m_context(GEOS_init_r()) {}
    ~Geos() { GEOS_finish_r(m_context); }
    Geos(const Geos&) = delete;
    Geos& operator=(const Geos&) = delete;

    GEOSGeometry* Polygon(const allotrix_town::Polygon& polygon) {
        std::vector<GEOSGeometry*> rings;
        for (const allotrix_town::Ring& ring : polygon.rings) {
            GEOSCoordSequence* s = GEOSCoordSeq_create_r(m_context, static_cast<unsigned>(ring.size()), 2);
            for (std::size_t i = 0; i < ring.size(); ++i)
                GEOSCoordSeq_setXY_r(m_context, s, static_cast<unsigned>(i), ring[i].x, ring[i].y);
            rings.push_back(GEOSGeom_createLinearRing_r(m_context, s));
        }
        return GEOSGeom_createPolygon_r(m_context, rings[0], rings.data() + 1,
                                        static_cast<unsigned>(rings.size() - 1));
    }
    double IntersectionArea(const GEOSGeometry* a, const GEOSGeometry* b) {
        GEOSGeometry* both = GEOSIntersection_r(m_context, a, b);
        double area = 0.0;
        GEOSArea_r(m_context, both, &area);
        GEOSGeom_destroy_r(m_context, both);
        return area;
    }
    void Destroy(GEOSGeometry* g) { GEOSGeom_destroy_r(m_context, g); }

private:
    GEOSContextHandle_t m_context;
};

}  // namespace

TEST(PolygonBooleansOnTown, IntersectionAreasMatchGeos) {
    const allotrix_town::Town town = allotrix_town::MakeTown(allotrix_town::SmallTownSize(), 3);
    Geos geos;
    std::vector<Chain> services;
    std::vector<GEOSGeometry*> geosServices;
    for (const allotrix_town::Polygon& service : town.serviceAreas) {
        services.push_back(allotrix_town::ToNativeChain(service));
        geosServices.push_back(geos.Polygon(service));
    }
    int pairs = 0;
    for (const allotrix_town::Polygon& parcel : town.parcels) {
        const Chain native = allotrix_town::ToNativeChain(parcel);
        GEOSGeometry* reference = geos.Polygon(parcel);
        const DRange2d box = Box(parcel);
        for (std::size_t s = 0; s < services.size(); ++s) {
            if (!box.intersectsWith(Box(town.serviceAreas[s])))
                continue;
            const double expected = geos.IntersectionArea(reference, geosServices[s]);
            const double actual = IntersectionArea(native.get(), services[s].get());
            ASSERT_NEAR(actual, expected, 1e-9 * std::max(expected, 1.0)) << "parcel/service " << s;
            ++pairs;
        }
        geos.Destroy(reference);
    }
    for (GEOSGeometry* g : geosServices)
        geos.Destroy(g);
    EXPECT_GT(pairs, 1000);
}

TEST(PolygonBooleansOnTown, UnionAndIntersectionAreasAddUp) {
    const allotrix_town::Town town = allotrix_town::MakeTown(allotrix_town::SmallTownSize(), 4);
    // Pairs of parcels and service areas shifted against each other, so that
    // they overlap in every way: crossing, nested, disjoint.
    for (std::size_t i = 0; i < town.parcels.size(); i += 3) {
        const Chain a = allotrix_town::ToNativeChain(town.parcels[i]);
        const Chain b = allotrix_town::ToNativeChain(town.serviceAreas[i % town.serviceAreas.size()]);
        const Chain c = allotrix_town::ToNativeChain(town.parcels[(i * 7 + 1) % town.parcels.size()]);
        for (const NativeGeometry* other : {b.get(), c.get()}) {
            const Chain either(CStandAloneDataTools::GetPolygonUnion(a.get(), other));
            const Chain both(CStandAloneDataTools::GetPolygonIntersection(a.get(), other));
            const double lhs = Area(a.get()) + Area(other);
            const double rhs = Area(either.get()) + Area(both.get());
            ASSERT_NEAR(lhs, rhs, 1e-9 * lhs) << "pair " << i;
        }
    }
}
