#include "area_references.h"

// Boost.Geometry's rescale policy trips GCC's may-be-uninitialized analysis.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include <geos_c.h>

#include <algorithm>
#include <boost/geometry.hpp>
#include <clipper.hpp>
#include <cmath>

#include "native/native.h"
#include "town/town_geos.h"
#include "town/town_native.h"

namespace area_bench {

namespace bg = boost::geometry;
using Korvex::CStandAloneDataTools;
using Korvex::DPoint2d;
using Korvex::DRange2d;

namespace {

// ---- native ----------------------------------------------------------------

// As the shapefile layer measures an overlap: the intersection's rings'
// signed areas summed, made absolute. A loop over many pairs may keep one
// classifier for all of them; the plain call makes a fresh one each time.
class NativeArea final : public IntersectionArea {
public:
    NativeArea(const Town& town, bool reuseClassifier) : m_reuseClassifier(reuseClassifier) {
        for (const auto& parcel : town.parcels)
            m_parcels.push_back(allotrix_town::ToNativeChain(parcel));
        for (const auto& service : town.serviceAreas)
            m_services.push_back(allotrix_town::ToNativeChain(service));
    }
    double Area(const Pair& pair) override {
        const Korvex::NativeGeometry* parcel = m_parcels[pair.first].get();
        const Korvex::NativeGeometry* service = m_services[pair.second].get();
        const Korvex::NativeGeometryChain both(
            m_reuseClassifier ? CStandAloneDataTools::GetPolygonIntersection(parcel, service, m_classifier)
                              : CStandAloneDataTools::GetPolygonIntersection(parcel, service));
        return std::fabs(CStandAloneDataTools::GetSignedPolygonArea(both.get(), true, true));
    }

private:
    std::vector<Korvex::NativeGeometryChain> m_parcels;
    std::vector<Korvex::NativeGeometryChain> m_services;
    bool m_reuseClassifier;
    Korvex::VuPolygonClassifier m_classifier;
};

// ---- GEOS ----------------------------------------------------------------------

class GeosArea final : public IntersectionArea {
public:
    explicit GeosArea(const Town& town) : m_context(GEOS_init_r()) {
        for (const auto& parcel : town.parcels)
            m_parcels.push_back(allotrix_town::ToGeosPolygon(m_context, parcel));
        for (const auto& service : town.serviceAreas)
            m_services.push_back(allotrix_town::ToGeosPolygon(m_context, service));
    }
    ~GeosArea() override {
        for (GEOSGeometry* g : m_parcels)
            GEOSGeom_destroy_r(m_context, g);
        for (GEOSGeometry* g : m_services)
            GEOSGeom_destroy_r(m_context, g);
        GEOS_finish_r(m_context);
    }
    double Area(const Pair& pair) override {
        GEOSGeometry* both = GEOSIntersection_r(m_context, m_parcels[pair.first], m_services[pair.second]);
        double area = 0.0;
        GEOSArea_r(m_context, both, &area);
        GEOSGeom_destroy_r(m_context, both);
        return area;
    }

private:
    GEOSContextHandle_t m_context;
    std::vector<GEOSGeometry*> m_parcels;
    std::vector<GEOSGeometry*> m_services;
};

// ---- Clipper (integer coordinates: millimetres) -------------------------------------

class ClipperArea final : public IntersectionArea {
public:
    explicit ClipperArea(const Town& town) : m_origin{town.extent.low} {
        for (const auto& parcel : town.parcels)
            m_parcels.push_back(Paths(parcel));
        for (const auto& service : town.serviceAreas)
            m_services.push_back(Paths(service));
    }
    double Area(const Pair& pair) override {
        ClipperLib::Clipper clipper;
        clipper.AddPaths(m_parcels[pair.first], ClipperLib::ptSubject, true);
        clipper.AddPaths(m_services[pair.second], ClipperLib::ptClip, true);
        ClipperLib::Paths solution;
        clipper.Execute(ClipperLib::ctIntersection, solution, ClipperLib::pftEvenOdd,
                        ClipperLib::pftEvenOdd);
        double area = 0.0;
        for (const ClipperLib::Path& path : solution)
            area += ClipperLib::Area(path);
        return std::fabs(area) / (kScale * kScale);
    }

private:
    static constexpr double kScale = 1000.0;

    ClipperLib::Paths Paths(const allotrix_town::Polygon& polygon) const {
        ClipperLib::Paths paths;
        for (const allotrix_town::Ring& ring : polygon.rings) {
            ClipperLib::Path path;
            for (std::size_t i = 0; i + 1 < ring.size(); ++i)  // Clipper closes rings itself
                path.emplace_back(std::llround((ring[i].x - m_origin.x) * kScale),
                                  std::llround((ring[i].y - m_origin.y) * kScale));
            paths.push_back(std::move(path));
        }
        return paths;
    }

    DPoint2d m_origin;
    std::vector<ClipperLib::Paths> m_parcels;
    std::vector<ClipperLib::Paths> m_services;
};

// ---- Boost.Geometry ------------------------------------------------------------

using BoostPoint = bg::model::d2::point_xy<double>;
using BoostPolygon = bg::model::polygon<BoostPoint>;  // clockwise, closed
using BoostMultiPolygon = bg::model::multi_polygon<BoostPolygon>;

class BoostArea final : public IntersectionArea {
public:
    explicit BoostArea(const Town& town) {
        for (const auto& parcel : town.parcels)
            m_parcels.push_back(Polygon(parcel));
        for (const auto& service : town.serviceAreas)
            m_services.push_back(Polygon(service));
    }
    double Area(const Pair& pair) override {
        BoostMultiPolygon both;
        bg::intersection(m_parcels[pair.first], m_services[pair.second], both);
        return bg::area(both);
    }

private:
    static BoostPolygon Polygon(const allotrix_town::Polygon& polygon) {
        BoostPolygon result;
        for (std::size_t r = 0; r < polygon.rings.size(); ++r) {
            auto& ring = r == 0 ? result.outer() : (result.inners().emplace_back(), result.inners().back());
            for (const DPoint2d& p : polygon.rings[r])
                ring.emplace_back(p.x, p.y);
        }
        bg::correct(result);
        return result;
    }

    std::vector<BoostPolygon> m_parcels;
    std::vector<BoostPolygon> m_services;
};

DRange2d BoxOf(const allotrix_town::Polygon& polygon) {
    DRange2d box;
    box.init();
    box.extend(polygon.rings[0].data(), static_cast<int>(polygon.rings[0].size()));
    return box;
}

}  // namespace

std::unique_ptr<IntersectionArea> MakeNativeArea(const Town& town) {
    return std::make_unique<NativeArea>(town, false);
}

std::unique_ptr<IntersectionArea> MakeNativeReusedArea(const Town& town) {
    return std::make_unique<NativeArea>(town, true);
}
std::unique_ptr<IntersectionArea> MakeGeosArea(const Town& town) {
    return std::make_unique<GeosArea>(town);
}
std::unique_ptr<IntersectionArea> MakeClipperArea(const Town& town) {
    return std::make_unique<ClipperArea>(town);
}
std::unique_ptr<IntersectionArea> MakeBoostArea(const Town& town) {
    return std::make_unique<BoostArea>(town);
}

// Service areas are the cells of the node grid, so sorting their boxes by
// low x lets each parcel stop scanning at the first box beyond it.
std::vector<Pair> OverlappingPairs(const Town& town) {
    std::vector<std::pair<DRange2d, std::size_t>> services;
    for (std::size_t s = 0; s < town.serviceAreas.size(); ++s)
        services.emplace_back(BoxOf(town.serviceAreas[s]), s);
    std::sort(services.begin(), services.end(),
              [](const auto& a, const auto& b) { return a.first.low.x < b.first.low.x; });
    std::vector<Pair> pairs;
    for (std::size_t p = 0; p < town.parcels.size(); ++p) {
        const DRange2d box = BoxOf(town.parcels[p]);
        for (const auto& [serviceBox, s] : services) {
            if (serviceBox.low.x > box.high.x)
                break;
            if (box.intersectsWith(serviceBox))
                pairs.emplace_back(p, s);
        }
    }
    return pairs;
}

}  // namespace area_bench
