#include "nearest_references.h"

#include <geos_c.h>

#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <algorithm>
#include <cmath>
#include <limits>
#include <nanoflann.hpp>
#include <utility>

#include "native/native.h"
#include "native/polyline_range_tree_closest_point_searcher.h"
#include "rangetree/rangetree.h"

namespace nearest_bench {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;
using Korvex::CStandAloneDataTools;
using Korvex::NativeGeometryPoint;

namespace {

NativeGeometryPoint MeterPoint(const Town& town, std::size_t meter) {
    return {town.meters[meter].x, town.meters[meter].y, 0.0};
}

// ---- native ----------------------------------------------------------------

class NativeNodes final : public NearestIndex {
public:
    explicit NativeNodes(const Town& town) : m_town(town), m_ids(town.nodeIds) {
        for (std::size_t i = 0; i < town.nodes.size(); ++i) {
            const NativeGeometryPoint p{town.nodes[i].x, town.nodes[i].y, 0.0};
            m_searcher = CStandAloneDataTools::InitializePointSearcher(m_searcher, &p, &m_ids[i]);
        }
    }
    ~NativeNodes() override { CStandAloneDataTools::DisposePointSearcher(m_searcher); }

    std::int32_t Nearest(std::size_t meter) override {
        const NativeGeometryPoint query = MeterPoint(m_town, meter);
        std::int32_t id = 0;
        CStandAloneDataTools::SearchNearestPoint(m_searcher, &query, &id);
        return id;
    }

private:
    const Town& m_town;
    std::vector<std::int32_t> m_ids;
    Korvex::Geom::XYPointSearcher* m_searcher = nullptr;
};

class NativePipes final : public NearestIndex {
public:
    explicit NativePipes(const Town& town) : m_town(town) {
        m_tree = CStandAloneDataTools::NewXYRangeTree();
        DRange2dAccumulator all;
        for (const allotrix_town::Pipe& pipe : town.pipes) {
            Korvex::PlexPolyline* record = nullptr;
            double minX, minY, maxX, maxY;
            CStandAloneDataTools::InitializeRangeTree(m_tree, pipe.points.data(),
                                                      static_cast<int>(pipe.points.size()), pipe.id,
                                                      &record, &minX, &minY, &maxX, &maxY);
            m_records.push_back(record);
            all.Add(minX, minY, maxX, maxY);
        }
        m_radius = 10.0 * all.Extent();  // what the model-element layer uses
        m_handler = CStandAloneDataTools::NewPolylineRangeTreeClosestPointSearcher();
    }
    ~NativePipes() override {
        CStandAloneDataTools::DisposeRangeTreeAndSearcher(m_tree, m_handler);
        for (Korvex::PlexPolyline* record : m_records)
            CStandAloneDataTools::DisposePlexPolylineBuffer(record);
    }

    std::int32_t Nearest(std::size_t meter) override {
        const NativeGeometryPoint query = MeterPoint(m_town, meter);
        std::int32_t id = 0;
        CStandAloneDataTools::SearchRangeTree(m_tree, m_handler, &query, m_radius, &id);
        return id;
    }

private:
    struct DRange2dAccumulator {
        double minX = std::numeric_limits<double>::max(), minY = minX;
        double maxX = -minX, maxY = -minX;
        void Add(double x0, double y0, double x1, double y1) {
            minX = std::min(minX, x0), minY = std::min(minY, y0);
            maxX = std::max(maxX, x1), maxY = std::max(maxY, y1);
        }
        double Extent() const { return std::max(maxX - minX, maxY - minY); }
    };

    const Town& m_town;
    Korvex::Geom::XYRangeTreeRoot* m_tree = nullptr;
    Korvex::Geom::XYRangeTreeHandler* m_handler = nullptr;
    std::vector<Korvex::PlexPolyline*> m_records;
    double m_radius = 0.0;
};

// ---- nanoflann ---------------------------------------------------------------

struct NodeCloud {
    const std::vector<DPoint2d>& nodes;
    std::size_t kdtree_get_point_count() const { return nodes.size(); }
    double kdtree_get_pt(std::size_t i, std::size_t dim) const {
        return dim == 0 ? nodes[i].x : nodes[i].y;
    }
    template <class Box>
    bool kdtree_get_bbox(Box&) const {
        return false;
    }
};

class NanoflannNodes final : public NearestIndex {
    using Tree = nanoflann::KDTreeSingleIndexAdaptor<nanoflann::L2_Simple_Adaptor<double, NodeCloud>,
                                                     NodeCloud, 2>;

public:
    explicit NanoflannNodes(const Town& town)
        : m_town(town), m_cloud{town.nodes}, m_tree(2, m_cloud, {10}) {}

    std::int32_t Nearest(std::size_t meter) override {
        const double query[2] = {m_town.meters[meter].x, m_town.meters[meter].y};
        unsigned index = 0;
        double distanceSquared = 0.0;
        m_tree.knnSearch(query, 1, &index, &distanceSquared);
        return m_town.nodeIds[index];
    }

private:
    const Town& m_town;
    NodeCloud m_cloud;
    Tree m_tree;
};

// ---- Boost.Geometry ------------------------------------------------------------

using BoostPoint = bg::model::point<double, 2, bg::cs::cartesian>;
using BoostSegment = bg::model::segment<BoostPoint>;

// A packed (bulk-loaded) rtree of geometries tagged with element IDs.
template <class Geometry>
class BoostNearest final : public NearestIndex {
public:
    using Value = std::pair<Geometry, std::int32_t>;

    BoostNearest(const Town& town, const std::vector<Value>& values)
        : m_town(town), m_tree(values.begin(), values.end()) {}

    std::int32_t Nearest(std::size_t meter) override {
        const BoostPoint query(m_town.meters[meter].x, m_town.meters[meter].y);
        for (auto it = m_tree.qbegin(bgi::nearest(query, 1)); it != m_tree.qend(); ++it)
            return it->second;
        return 0;
    }

private:
    const Town& m_town;
    bgi::rtree<Value, bgi::rstar<16>> m_tree;
};

// ---- GEOS ----------------------------------------------------------------------

// Builds an STRtree of geometries whose user data are element IDs; queries
// are prepared points, so creating them is not timed.
class GeosIndex final : public NearestIndex {
public:
    explicit GeosIndex(const Town& town) : m_context(GEOS_init_r()) {
        m_tree = GEOSSTRtree_create_r(m_context, 10);
        for (const DPoint2d& m : town.meters)
            m_queries.push_back(GEOSGeom_createPointFromXY_r(m_context, m.x, m.y));
    }
    ~GeosIndex() override {
        GEOSSTRtree_destroy_r(m_context, m_tree);
        for (GEOSGeometry* g : m_items)
            GEOSGeom_destroy_r(m_context, g);
        for (GEOSGeometry* g : m_queries)
            GEOSGeom_destroy_r(m_context, g);
        GEOS_finish_r(m_context);
    }

    void AddPoint(DPoint2d p, std::int32_t id) {
        Insert(GEOSGeom_createPointFromXY_r(m_context, p.x, p.y), id);
    }
    void AddLine(const std::vector<DPoint2d>& points, std::int32_t id) {
        GEOSCoordSequence* sequence =
            GEOSCoordSeq_create_r(m_context, static_cast<unsigned>(points.size()), 2);
        for (std::size_t i = 0; i < points.size(); ++i)
            GEOSCoordSeq_setXY_r(m_context, sequence, static_cast<unsigned>(i), points[i].x, points[i].y);
        Insert(GEOSGeom_createLineString_r(m_context, sequence), id);
    }

    std::int32_t Nearest(std::size_t meter) override {
        const GEOSGeometry* nearest = GEOSSTRtree_nearest_r(m_context, m_tree, m_queries[meter]);
        if (nearest == nullptr)
            return 0;
        return static_cast<std::int32_t>(
            reinterpret_cast<std::intptr_t>(GEOSGeom_getUserData_r(m_context, nearest)));
    }

private:
    // The element ID travels as the user-data pointer's value.
    void Insert(GEOSGeometry* g, std::int32_t id) {
        GEOSGeom_setUserData_r(m_context, g, reinterpret_cast<void*>(static_cast<std::intptr_t>(id)));
        GEOSSTRtree_insert_r(m_context, m_tree, g, g);
        m_items.push_back(g);
    }

    GEOSContextHandle_t m_context;
    GEOSSTRtree* m_tree = nullptr;
    std::vector<GEOSGeometry*> m_items;
    std::vector<GEOSGeometry*> m_queries;
};

double SegmentDistance(DPoint2d p, DPoint2d a, DPoint2d b) {
    const double ux = b.x - a.x, uy = b.y - a.y;
    const double length2 = ux * ux + uy * uy;
    double f = length2 > 0.0 ? ((p.x - a.x) * ux + (p.y - a.y) * uy) / length2 : 0.0;
    f = std::clamp(f, 0.0, 1.0);
    return std::hypot(p.x - (a.x + f * ux), p.y - (a.y + f * uy));
}

double PolylineDistance(DPoint2d p, const DPoint2d* points, std::size_t count) {
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i + 1 < count; ++i)
        best = std::min(best, SegmentDistance(p, points[i], points[i + 1]));
    return best;
}

// GEOS's STRtree as a user calls it for pipes: items are the caller's own
// pipe records, measured by a plain point-to-polyline distance callback
// instead of GEOS's generic geometry distance. The query is a record of one
// point, so one callback serves both argument orders.
class GeosCallbackPipes final : public NearestIndex {
public:
    explicit GeosCallbackPipes(const Town& town) : m_town(town), m_context(GEOS_init_r()) {
        m_tree = GEOSSTRtree_create_r(m_context, 10);
        m_pipes.reserve(town.pipes.size());
        for (const allotrix_town::Pipe& pipe : town.pipes) {
            m_pipes.push_back({pipe.points.data(), pipe.points.size(), pipe.id});
            GEOSGeometry* envelope = Envelope(pipe.points);
            GEOSSTRtree_insert_r(m_context, m_tree, envelope, &m_pipes.back());
            m_envelopes.push_back(envelope);
        }
        for (const DPoint2d& m : town.meters)
            m_queries.push_back(GEOSGeom_createPointFromXY_r(m_context, m.x, m.y));
    }
    ~GeosCallbackPipes() override {
        GEOSSTRtree_destroy_r(m_context, m_tree);
        for (GEOSGeometry* g : m_envelopes)
            GEOSGeom_destroy_r(m_context, g);
        for (GEOSGeometry* g : m_queries)
            GEOSGeom_destroy_r(m_context, g);
        GEOS_finish_r(m_context);
    }

    std::int32_t Nearest(std::size_t meter) override {
        const Record query{&m_town.meters[meter], 1, 0};
        const void* nearest = GEOSSTRtree_nearest_generic_r(m_context, m_tree, &query, m_queries[meter],
                                                           &Distance, nullptr);
        return nearest != nullptr ? static_cast<const Record*>(nearest)->id : 0;
    }

private:
    struct Record {
        const DPoint2d* points;
        std::size_t count;
        std::int32_t id;
    };

    static int Distance(const void* a, const void* b, double* distance, void*) {
        const auto* first = static_cast<const Record*>(a);
        const auto* second = static_cast<const Record*>(b);
        if (first->count != 1)
            std::swap(first, second);
        *distance = PolylineDistance(first->points[0], second->points, second->count);
        return 1;
    }

    GEOSGeometry* Envelope(const std::vector<DPoint2d>& points) {
        double x0 = points[0].x, y0 = points[0].y, x1 = x0, y1 = y0;
        for (const DPoint2d& p : points) {
            x0 = std::min(x0, p.x), y0 = std::min(y0, p.y);
            x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
        }
        return GEOSGeom_createRectangle_r(m_context, x0, y0, x1, y1);
    }

    const Town& m_town;
    GEOSContextHandle_t m_context;
    GEOSSTRtree* m_tree = nullptr;
    std::vector<Record> m_pipes;
    std::vector<GEOSGeometry*> m_envelopes;
    std::vector<GEOSGeometry*> m_queries;
};

}  // namespace

std::unique_ptr<NearestIndex> MakeNativeNodes(const Town& town) {
    return std::make_unique<NativeNodes>(town);
}
std::unique_ptr<NearestIndex> MakeNanoflannNodes(const Town& town) {
    return std::make_unique<NanoflannNodes>(town);
}
std::unique_ptr<NearestIndex> MakeBoostNodes(const Town& town) {
    std::vector<BoostNearest<BoostPoint>::Value> values;
    for (std::size_t i = 0; i < town.nodes.size(); ++i)
        values.emplace_back(BoostPoint(town.nodes[i].x, town.nodes[i].y), town.nodeIds[i]);
    return std::make_unique<BoostNearest<BoostPoint>>(town, values);
}
std::unique_ptr<NearestIndex> MakeGeosNodes(const Town& town) {
    auto index = std::make_unique<GeosIndex>(town);
    for (std::size_t i = 0; i < town.nodes.size(); ++i)
        index->AddPoint(town.nodes[i], town.nodeIds[i]);
    return index;
}

std::unique_ptr<NearestIndex> MakeNativePipes(const Town& town) {
    return std::make_unique<NativePipes>(town);
}
std::unique_ptr<NearestIndex> MakeBoostPipes(const Town& town) {
    std::vector<BoostNearest<BoostSegment>::Value> values;
    for (const allotrix_town::Pipe& pipe : town.pipes)
        for (std::size_t i = 0; i + 1 < pipe.points.size(); ++i) {
            const DPoint2d& a = pipe.points[i];
            const DPoint2d& b = pipe.points[i + 1];
            values.emplace_back(BoostSegment(BoostPoint(a.x, a.y), BoostPoint(b.x, b.y)), pipe.id);
        }
    return std::make_unique<BoostNearest<BoostSegment>>(town, values);
}
std::unique_ptr<NearestIndex> MakeGeosCallbackPipes(const Town& town) {
    return std::make_unique<GeosCallbackPipes>(town);
}
std::unique_ptr<NearestIndex> MakeGeosPipes(const Town& town) {
    auto index = std::make_unique<GeosIndex>(town);
    for (const allotrix_town::Pipe& pipe : town.pipes)
        index->AddLine(pipe.points, pipe.id);
    return index;
}

// The elements are found by ID, whatever order the town lists them in.
double DistanceToNode(const Town& town, std::size_t meter, std::int32_t nodeId) {
    const auto found = std::find(town.nodeIds.begin(), town.nodeIds.end(), nodeId);
    if (found == town.nodeIds.end())
        return std::numeric_limits<double>::infinity();
    const DPoint2d n = town.nodes[static_cast<std::size_t>(found - town.nodeIds.begin())];
    return std::hypot(town.meters[meter].x - n.x, town.meters[meter].y - n.y);
}

double DistanceToPipe(const Town& town, std::size_t meter, std::int32_t pipeId) {
    const auto found = std::find_if(town.pipes.begin(), town.pipes.end(),
                                    [&](const allotrix_town::Pipe& pipe) { return pipe.id == pipeId; });
    if (found == town.pipes.end())
        return std::numeric_limits<double>::infinity();
    return PolylineDistance(town.meters[meter], found->points.data(), found->points.size());
}

}  // namespace nearest_bench
