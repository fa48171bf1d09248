// Random pipes and nodes into the nearest-feature searchers, queried by
// points and polylines. With small integer coordinates the nearest pipe and
// the nearest node must match a brute-force scan (ties allowed). With NaN,
// infinite and huge coordinates among them, a point or segment that cannot
// be measured must never hide one that can: wherever no square overflows,
// the answers still match the scan over what can be measured.
#include <cmath>
#include <cstdlib>
#include <limits>

#include "fuzz_input.h"
#include "native/polyline_range_tree_closest_point_searcher.h"
#include "native/polyline_range_tree_closest_polyline_searcher.h"
#include "rangetree/rangetree.h"

using namespace fuzz_input;
using Korvex::CStandAloneDataTools;
using Korvex::DPoint2d;
using Korvex::PlexPolyline;

namespace {

void Require(bool fact) {
    if (!fact)
        std::abort();
}

double SegmentDistanceSquared(const NativeGeometryPoint& p, DPoint2d a, DPoint2d b) {
    const double ux = b.x - a.x, uy = b.y - a.y;
    const double f = std::fmin(1.0, std::fmax(0.0, ((p.x - a.x) * ux + (p.y - a.y) * uy) /
                                                       (ux * ux + uy * uy)));
    const double dx = p.x - (a.x + f * ux), dy = p.y - (a.y + f * uy);
    return dx * dx + dy * dy;
}

bool IsFinite(DPoint2d p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// Zero-length segments are no segments, nor are those with a non-finite
// end; a pipe without any is never found.
double PipeDistanceSquared(const NativeGeometryPoint& p, const PlexPolyline& pipe) {
    double best = std::numeric_limits<double>::infinity();
    for (int i = 0; i + 1 < pipe.count; ++i) {
        const DPoint2d a = pipe.points[i], b = pipe.points[i + 1];
        if ((a.x != b.x || a.y != b.y) && IsFinite(a) && IsFinite(b))
            best = std::fmin(best, SegmentDistanceSquared(p, a, b));
    }
    return best;
}

// Not a finite coordinate so large that a squared distance could overflow
// (NaN and infinities are fine).
bool IsModest(double value) { return !(std::isfinite(value) && std::fabs(value) > 1e100); }

struct Network {
    Korvex::Geom::XYRangeTreeRoot* tree = CStandAloneDataTools::NewXYRangeTree();
    Korvex::Geom::XYPointSearcher* nodes = nullptr;
    std::vector<PlexPolyline*> pipes;
    std::vector<std::int32_t> nodeIds;
    std::vector<NativeGeometryPoint> nodePoints;

    ~Network() {
        CStandAloneDataTools::DisposeRangeTreeAndSearcher(tree, nullptr);
        for (PlexPolyline* pipe : pipes)
            CStandAloneDataTools::DisposePlexPolylineBuffer(pipe);
        CStandAloneDataTools::DisposePointSearcher(nodes);
    }
};

bool AllModest(const Network& network, const NativeGeometryPoint& q) {
    if (!IsModest(q.x) || !IsModest(q.y))
        return false;
    for (const PlexPolyline* pipe : network.pipes)
        for (int i = 0; i < pipe->count; ++i)
            if (!IsModest(pipe->points[i].x) || !IsModest(pipe->points[i].y))
                return false;
    for (const NativeGeometryPoint& n : network.nodePoints)
        if (!IsModest(n.x) || !IsModest(n.y))
            return false;
    return true;
}

void AddPipes(Network& network, FuzzedDataProvider& data, bool hostile) {
    const int count = data.ConsumeIntegralInRange<int>(0, 60);
    for (int id = 1; id <= count; ++id) {
        std::vector<DPoint2d> points(static_cast<std::size_t>(data.ConsumeIntegralInRange<int>(0, 6)));
        for (DPoint2d& p : points)
            p = {Coordinate(data, hostile), Coordinate(data, hostile)};
        PlexPolyline* record = nullptr;
        double minX, minY, maxX, maxY;
        CStandAloneDataTools::InitializeRangeTree(network.tree, points.data(),
                                                  static_cast<int>(points.size()), id, &record,
                                                  &minX, &minY, &maxX, &maxY);
        network.pipes.push_back(record);
    }
}

void AddNodes(Network& network, FuzzedDataProvider& data, bool hostile) {
    const std::size_t count = data.ConsumeIntegralInRange<std::size_t>(0, 200);
    network.nodeIds.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        network.nodeIds[i] = static_cast<std::int32_t>(i + 1);
        network.nodePoints.push_back({Coordinate(data, hostile), Coordinate(data, hostile), 0.0});
        network.nodes = CStandAloneDataTools::InitializePointSearcher(
            network.nodes, &network.nodePoints.back(), &network.nodeIds[i]);
    }
}

// A NaN distance counts as none (fmin passes over it).
void CheckNearestPipe(const Network& network, const NativeGeometryPoint& q, std::int32_t id) {
    double best = std::numeric_limits<double>::infinity();
    for (const PlexPolyline* pipe : network.pipes)
        best = std::fmin(best, PipeDistanceSquared(q, *pipe));
    if (best == std::numeric_limits<double>::infinity()) {
        Require(id == 0);
        return;
    }
    Require(id >= 1);
    const double found = PipeDistanceSquared(q, *network.pipes[static_cast<std::size_t>(id - 1)]);
    Require(std::fabs(found - best) <= 1e-9 * (1.0 + best));
}

// For a query of numbers: a node with a NaN (at a NaN distance) is never the
// nearest; the ID stays untouched (-1) when every node has one.
void CheckNearestNode(const Network& network, const NativeGeometryPoint& q, std::int32_t id) {
    if (network.nodePoints.empty() || !std::isfinite(q.x) || !std::isfinite(q.y))
        return;
    auto distance2 = [&q](const NativeGeometryPoint& n) {
        return (q.x - n.x) * (q.x - n.x) + (q.y - n.y) * (q.y - n.y);
    };
    double best = std::numeric_limits<double>::quiet_NaN();
    for (const NativeGeometryPoint& n : network.nodePoints)
        best = std::fmin(best, distance2(n));
    if (std::isnan(best)) {
        Require(id == -1);
        return;
    }
    Require(id >= 1 && distance2(network.nodePoints[static_cast<std::size_t>(id - 1)]) == best);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const bool hostile = data.ConsumeBool();
    Network network;
    AddPipes(network, data, hostile);
    AddNodes(network, data, hostile);
    auto* pointHandler = CStandAloneDataTools::NewPolylineRangeTreeClosestPointSearcher();
    auto* polylineHandler = CStandAloneDataTools::NewPolylineRangeTreeClosestPolylineSearcher();
    const double radius = hostile ? Coordinate(data, true) : 1e6;
    while (data.remaining_bytes() > 0) {
        const NativeGeometryPoint q{Coordinate(data, hostile), Coordinate(data, hostile), 0.0};
        std::int32_t pipe = -1;
        CStandAloneDataTools::SearchRangeTree(network.tree, pointHandler, &q, radius, &pipe);
        std::int32_t node = -1;
        CStandAloneDataTools::SearchNearestPoint(network.nodes, &q, &node);
        if (hostile && AllModest(network, q)) {
            // The hostile radius may rightly hide pipes; a huge one may not.
            CStandAloneDataTools::SearchRangeTree(network.tree, pointHandler, &q, 1e300, &pipe);
        }
        if (!hostile || AllModest(network, q)) {
            CheckNearestPipe(network, q, pipe);
            CheckNearestNode(network, q, node);
        }
        const Chain polyline = MakeChain(data, hostile);
        CStandAloneDataTools::SearchRangeTree(network.tree, polylineHandler, polyline.get(), radius,
                                              &pipe);
    }
    CStandAloneDataTools::DisposeRangeTreeAndSearcher(nullptr, pointHandler);
    CStandAloneDataTools::DisposeRangeTreeAndSearcher(nullptr, polylineHandler);
    return 0;
}
