// Creating, searching and releasing the nearest-pipe range tree.
#include <algorithm>
#include <cmath>

#include "native/native_geometry.h"
#include "native/polyline_range_tree_closest_point_searcher.h"
#include "native/polyline_range_tree_closest_polyline_searcher.h"
#include "native/stand_alone_data_tools.h"
#include "rangetree/rangetree.h"

namespace Korvex {

using Geom::PolylineRangeTreeClosestPointSearcher;
using Geom::PolylineRangeTreeClosestPolylineSearcher;
using Geom::XYRangeTreeClosestLowPointSearcher;
using Geom::XYRangeTreeHandler;
using Geom::XYRangeTreeRoot;

namespace {

PlexPolyline* NewPlexPolyline(const DPoint2d* points, int count, std::int32_t id) {
    if (points == nullptr || count <= 0)
        return new PlexPolyline{id, 0, nullptr};
    auto* polyline = new PlexPolyline{id, count, new DPoint2d[static_cast<std::size_t>(count)]};
    std::copy_n(points, count, polyline->points);
    return polyline;
}

// The low and high of one axis over the finite coordinates; the first
// point's coordinate for both when none is finite.
void AxisBounds(const DPoint2d* points, int count, double DPoint2d::*axis, double* low,
                double* high) {
    *low = *high = points[0].*axis;
    bool found = false;
    for (int i = 0; i < count; ++i) {
        const double value = points[i].*axis;
        if (!std::isfinite(value)) continue;
        if (!found || value < *low) *low = value;
        if (!found || value > *high) *high = value;
        found = true;
    }
}

// Over finite coordinates only: a segment with a non-finite end has no
// measurable distance, and a bound taken from one (a NaN first point would
// hold every bound at NaN) would keep the searches from ever scanning the
// pipe's finite segments.
DRange2d BoundsOf(const DPoint2d* points, int count) {
    DRange2d range;
    AxisBounds(points, count, &DPoint2d::x, &range.low.x, &range.high.x);
    AxisBounds(points, count, &DPoint2d::y, &range.low.y, &range.high.y);
    return range;
}

void WriteBounds(const DRange2d& range, double* minX, double* minY, double* maxX, double* maxY) {
    if (minX != nullptr) *minX = range.low.x;
    if (minY != nullptr) *minY = range.low.y;
    if (maxX != nullptr) *maxX = range.high.x;
    if (maxY != nullptr) *maxY = range.high.y;
}

}  // namespace

XYRangeTreeRoot* CStandAloneDataTools::NewXYRangeTree() {
    return XYRangeTreeRoot::Allocate();
}

void CStandAloneDataTools::InitializeRangeTree(XYRangeTreeRoot* tree, const DPoint2d* points,
                                               int count, std::int32_t id, PlexPolyline** record,
                                               double* minX, double* minY, double* maxX,
                                               double* maxY) {
    if (record == nullptr)
        return;  // nobody could free the record
    PlexPolyline* polyline = NewPlexPolyline(points, count, id);
    *record = polyline;
    if (polyline->count == 0)
        return;
    const DRange2d range = BoundsOf(polyline->points, polyline->count);
    WriteBounds(range, minX, minY, maxX, maxY);
    if (tree != nullptr)
        XYRangeTreeRoot::Add(tree, polyline, range);
}

PolylineRangeTreeClosestPointSearcher*
CStandAloneDataTools::NewPolylineRangeTreeClosestPointSearcher() {
    return new PolylineRangeTreeClosestPointSearcher();
}

PolylineRangeTreeClosestPolylineSearcher*
CStandAloneDataTools::NewPolylineRangeTreeClosestPolylineSearcher() {
    return new PolylineRangeTreeClosestPolylineSearcher();
}

void CStandAloneDataTools::SearchRangeTree(XYRangeTreeRoot* tree, XYRangeTreeHandler* handler,
                                           const NativeGeometryPoint* query, double radius,
                                           std::int32_t* id) {
    if (id == nullptr)
        return;
    *id = 0;
    if (tree == nullptr || query == nullptr)
        return;
    if (auto* pipes = dynamic_cast<PolylineRangeTreeClosestPointSearcher*>(handler)) {
        pipes->StartSearch(query->x, query->y, radius);
        if (!pipes->SearchNearestFirst(tree)) {
            pipes->NarrowSearch(tree);
            XYRangeTreeRoot::Traverse(tree, pipes);
        }
        if (const PlexPolyline* nearest = pipes->GetResult())
            *id = nearest->id;
    } else if (auto* corners = dynamic_cast<XYRangeTreeClosestLowPointSearcher*>(handler)) {
        corners->Start(query->x, query->y, radius);
        XYRangeTreeRoot::Traverse(tree, corners);
        if (const void* nearest = corners->GetResult())
            *id = *static_cast<const std::int32_t*>(nearest);
    }
}

void CStandAloneDataTools::SearchRangeTree(XYRangeTreeRoot* tree, XYRangeTreeHandler* handler,
                                           const NativeGeometry* query, double radius,
                                           std::int32_t* id) {
    if (id == nullptr)
        return;
    *id = 0;
    auto* pipes = dynamic_cast<PolylineRangeTreeClosestPolylineSearcher*>(handler);
    if (tree == nullptr || query == nullptr || pipes == nullptr || query->points == nullptr)
        return;
    pipes->StartSearch(query->points, query->count, radius);
    XYRangeTreeRoot::Traverse(tree, pipes);
    if (const PlexPolyline* nearest = pipes->GetResult())
        *id = nearest->id;
}

void CStandAloneDataTools::DisposeRangeTreeAndSearcher(XYRangeTreeRoot* tree,
                                                       XYRangeTreeHandler* handler) {
    if (tree != nullptr)
        XYRangeTreeRoot::Free(tree);
    if (auto* pipes = dynamic_cast<PolylineRangeTreeClosestPointSearcher*>(handler))
        delete pipes;
    else if (auto* polylines = dynamic_cast<PolylineRangeTreeClosestPolylineSearcher*>(handler))
        delete polylines;
    else if (auto* corners = dynamic_cast<XYRangeTreeClosestLowPointSearcher*>(handler))
        delete corners;
}

}  // namespace Korvex
