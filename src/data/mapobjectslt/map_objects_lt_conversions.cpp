// Conversions between host geometry and native handles.
#include <variant>

#include "data/mapobjectslt/map_objects_lt_data_tools.h"
#include "data/mapobjectslt/native_handles.h"

namespace Norvane::Allotrix::Calculations::Data::MapObjectsLT {
namespace {

using Korvex::NativeGeometry;
using Korvex::NativeGeometryPoint;
using Support::GeometryPoint;
using Support::PointArray;

NativeGeometry* pointRecord(const GeometryPoint& point) { return new NativeGeometry(point.X, point.Y, 0.0); }

NativeGeometry* arrayRecord(const PointArray& points) {
    std::vector<NativeGeometryPoint> native(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) native[i] = {points[i].X, points[i].Y, 0.0};
    return new NativeGeometry(native.data(), static_cast<int>(native.size()));
}

PointArray pointsOf(const NativeGeometry& record) {
    PointArray points;
    if (!record.points || record.count <= 0) return points;
    points.reserve(static_cast<std::size_t>(record.count));
    for (int i = 0; i < record.count; ++i) points.push_back({record.points[i].x, record.points[i].y});
    return points;
}

}  // namespace

std::intptr_t MapObjectsLTDataTools::GetPointNative(const GeometryPoint& pnt) const {
    return Korvex::ToHandle(pointRecord(pnt));
}

std::intptr_t MapObjectsLTDataTools::GetPolylineNative(const PointArray& pnts) const {
    return Korvex::ToHandle(arrayRecord(pnts));
}

GeometryPoint MapObjectsLTDataTools::GetPoint(std::intptr_t nativePoint) const {
    const NativeGeometry* g = Native(nativePoint);
    if (!g || g->count != 1 || !g->points) return GeometryPoint::Empty();
    return {g->points[0].x, g->points[0].y};
}

PointArray MapObjectsLTDataTools::GetPolygon(std::intptr_t polygon) const {
    const NativeGeometry* g = Native(polygon);
    return g ? pointsOf(*g) : PointArray{};
}

void MapObjectsLTDataTools::FreeGeometryStatic(std::intptr_t geometry) { delete Native(geometry); }

std::intptr_t MapObjectsLTDataTools::GetGeometryNative(const Support::GeometryObject& geometry) {
    struct Converter {
        NativeGeometry* operator()(std::monostate) const { return nullptr; }
        NativeGeometry* operator()(const GeometryPoint& point) const { return pointRecord(point); }
        NativeGeometry* operator()(const PointArray& points) const { return arrayRecord(points); }
        NativeGeometry* operator()(const Support::PointArrayList& list) const {
            NativeGeometry* first = nullptr;
            NativeGeometry** tail = &first;
            for (const PointArray& points : list) {
                *tail = arrayRecord(points);
                tail = &(*tail)->next;
            }
            return first;
        }
    };
    return Korvex::ToHandle(std::visit(Converter{}, geometry));
}

GeometryPoint MapObjectsLTDataTools::GetGeometryPoint(std::intptr_t native) {
    const NativeGeometry* g = Native(native);
    return {g->points[0].x, g->points[0].y};
}

PointArray MapObjectsLTDataTools::GetGeometryPoints(std::intptr_t native) {
    const NativeGeometry* g = Native(native);
    return g ? pointsOf(*g) : PointArray{};
}

Support::PointArrayList MapObjectsLTDataTools::GetGeometryPolygon(std::intptr_t native) {
    Support::PointArrayList rings;
    for (const NativeGeometry* g = Native(native); g; g = g->next) rings.push_back(pointsOf(*g));
    return rings;
}

void MapObjectsLTDataTools::ChangePolygonOrder(NativeGeometry* pPoly) {
    for (NativeGeometry* g = pPoly; g; g = g->next) {
        if (!g->points) continue;
        for (int i = 0; i < g->count / 2; ++i) std::swap(g->points[i], g->points[g->count - 1 - i]);
    }
}

}  // namespace Norvane::Allotrix::Calculations::Data::MapObjectsLT
