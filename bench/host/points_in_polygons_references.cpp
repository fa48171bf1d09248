#include "points_in_polygons_references.h"

#include <geos_c.h>

#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <cstdint>
#include <utility>

#include "host/host.h"
#include "town/town_geos.h"

namespace points_in_polygons_bench {
namespace {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;
using allotrix_town::Ring;
using Norvane::Support::GeometryPoint;
using Norvane::Support::PointArray;
using Norvane::Support::PointArrayList;

// ---- host ------------------------------------------------------------------

class HostIndex final : public MetersIndex {
public:
    explicit HostIndex(const Town& town) {
        for (std::size_t m = 0; m < town.meters.size(); ++m)
            m_tree.AddPoint({town.meters[m].x, town.meters[m].y}, static_cast<int>(m));
        for (const allotrix_town::Polygon& area : town.serviceAreas) {
            PointArrayList rings;
            for (const Ring& ring : area.rings) {
                PointArray& points = rings.emplace_back();
                for (const Korvex::DPoint2d& p : ring) points.push_back({p.x, p.y});
            }
            m_areas.push_back(std::move(rings));
        }
    }

    void MetersInside(std::size_t area, std::vector<int>& meters) override {
        m_searcher.Setup(m_areas[area]);
        m_tree.Traverse(m_searcher);
        meters = m_searcher.PolygonContainsPointResult();
    }

private:
    Norvane::Support::Mixed::RangeTree2D m_tree;
    Norvane::Support::Mixed::PolygonContainsPointSearcher m_searcher;
    std::vector<PointArrayList> m_areas;
};

// ---- GEOS: a prepared polygon per query, candidates from an STRtree ---------

class GeosIndex final : public MetersIndex {
public:
    explicit GeosIndex(const Town& town) : m_context(GEOS_init_r()) {
        m_tree = GEOSSTRtree_create_r(m_context, 10);
        for (std::size_t m = 0; m < town.meters.size(); ++m) {
            m_points.push_back(GEOSGeom_createPointFromXY_r(m_context, town.meters[m].x, town.meters[m].y));
            GEOSSTRtree_insert_r(m_context, m_tree, m_points.back(), reinterpret_cast<void*>(m));
        }
        for (const allotrix_town::Polygon& area : town.serviceAreas)
            m_areas.push_back(allotrix_town::ToGeosPolygon(m_context, area));
    }
    ~GeosIndex() override {
        GEOSSTRtree_destroy_r(m_context, m_tree);
        for (GEOSGeometry* g : m_points) GEOSGeom_destroy_r(m_context, g);
        for (GEOSGeometry* g : m_areas) GEOSGeom_destroy_r(m_context, g);
        GEOS_finish_r(m_context);
    }

    void MetersInside(std::size_t area, std::vector<int>& meters) override {
        meters.clear();
        Query query{this, GEOSPrepare_r(m_context, m_areas[area]), &meters};
        GEOSSTRtree_query_r(m_context, m_tree, m_areas[area], &GeosIndex::Candidate, &query);
        GEOSPreparedGeom_destroy_r(m_context, query.prepared);
    }

private:
    struct Query {
        GeosIndex* index;
        const GEOSPreparedGeometry* prepared;
        std::vector<int>* meters;
    };

    static void Candidate(void* item, void* data) {
        auto* query = static_cast<Query*>(data);
        const auto meter = reinterpret_cast<std::uintptr_t>(item);
        // Intersects, not contains: a point on the boundary counts.
        if (GEOSPreparedIntersects_r(query->index->m_context, query->prepared, query->index->m_points[meter]) == 1)
            query->meters->push_back(static_cast<int>(meter));
    }

    GEOSContextHandle_t m_context;
    GEOSSTRtree* m_tree = nullptr;
    std::vector<GEOSGeometry*> m_points;
    std::vector<GEOSGeometry*> m_areas;
};

// ---- Boost.Geometry: a packed R-tree, candidates tested by covered_by --------

using BoostPoint = bg::model::d2::point_xy<double>;
using BoostBox = bg::model::box<BoostPoint>;
using BoostPolygon = bg::model::polygon<BoostPoint, false, true>;  // counterclockwise, closed
using BoostValue = std::pair<BoostPoint, int>;
using BoostTree = bgi::rtree<BoostValue, bgi::quadratic<16>>;

class BoostIndex final : public MetersIndex {
public:
    explicit BoostIndex(const Town& town) : m_tree(Values(town)) {
        for (const allotrix_town::Polygon& area : town.serviceAreas) {
            BoostPolygon& polygon = m_areas.emplace_back();
            for (const Korvex::DPoint2d& p : area.rings[0]) polygon.outer().push_back({p.x, p.y});
            for (std::size_t r = 1; r < area.rings.size(); ++r) {
                auto& hole = polygon.inners().emplace_back();
                for (const Korvex::DPoint2d& p : area.rings[r]) hole.push_back({p.x, p.y});
            }
        }
    }

    void MetersInside(std::size_t area, std::vector<int>& meters) override {
        meters.clear();
        const BoostPolygon& polygon = m_areas[area];
        m_candidates.clear();
        m_tree.query(bgi::within(bg::return_envelope<BoostBox>(polygon)), std::back_inserter(m_candidates));
        for (const BoostValue& candidate : m_candidates)
            if (bg::covered_by(candidate.first, polygon)) meters.push_back(candidate.second);
    }

private:
    static std::vector<BoostValue> Values(const Town& town) {
        std::vector<BoostValue> values;
        for (std::size_t m = 0; m < town.meters.size(); ++m)
            values.push_back({{town.meters[m].x, town.meters[m].y}, static_cast<int>(m)});
        return values;
    }

    BoostTree m_tree;  // the range constructor packs the tree
    std::vector<BoostPolygon> m_areas;
    std::vector<BoostValue> m_candidates;
};

}  // namespace

std::unique_ptr<MetersIndex> MakeHostIndex(const Town& town) { return std::make_unique<HostIndex>(town); }
std::unique_ptr<MetersIndex> MakeGeosIndex(const Town& town) { return std::make_unique<GeosIndex>(town); }
std::unique_ptr<MetersIndex> MakeBoostIndex(const Town& town) { return std::make_unique<BoostIndex>(town); }

}  // namespace points_in_polygons_bench
