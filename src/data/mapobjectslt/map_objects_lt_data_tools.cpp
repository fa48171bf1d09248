#include "data/mapobjectslt/map_objects_lt_data_tools.h"

#include <cmath>
#include <limits>
#include <memory>

#include "data/mapobjectslt/native_handles.h"
#include "host/registry/registry_store.h"
#include "host/support/math_library.h"
#include "native/stand_alone_data_tools.h"

namespace Norvane::Allotrix::Calculations::Data::MapObjectsLT {
namespace {

using Korvex::CStandAloneDataTools;
using Korvex::NativeGeometry;
using Korvex::NativeGeometryPoint;

constexpr double kLargest = std::numeric_limits<double>::max();

// +1 for a counter-clockwise record, -1 otherwise (a zero area included).
int ringSign(const NativeGeometry& record) {
    return CStandAloneDataTools::GetSignedPolygonArea(&record, false, false) > 0.0 ? 1 : -1;
}

void orientCounterClockwise(NativeGeometry* polygon) {
    if (CStandAloneDataTools::GetSignedPolygonArea(polygon) < 0.0)
        MapObjectsLTDataTools::ChangePolygonOrder(polygon);
}

// Whether the first record does not close on itself: an open polyline.
bool isOpenPolyline(const NativeGeometry* g) {
    if (!g || !g->points || g->count <= 0) return false;
    const NativeGeometryPoint& first = g->points[0];
    const NativeGeometryPoint& last = g->points[g->count - 1];
    const double gap = Support::MathLibrary::CalculateLineLength({first.x, first.y}, {last.x, last.y});
    return gap > std::numeric_limits<double>::denorm_min();
}

// Smallest distance from a vertex of b's first record to a's first record,
// counting only the vertices that have a perpendicular foot on a.
double nearestVertexDistance(const NativeGeometry* a, const NativeGeometry* b) {
    double best = kLargest;
    for (int i = 0; i < b->count; ++i) {
        NativeGeometryPoint foot{};
        double distance = kLargest;
        if (CStandAloneDataTools::GetNearestPointOnPolyline(a, &b->points[i], &foot, &distance) && distance < best)
            best = distance;
    }
    return best;
}

}  // namespace

MapObjectsLTDataTools::MapObjectsLTDataTools(const Support::RegistryStore& registry, const AllotrixLibrary* library,
                                             const PromptPresenters* presenters)
    : m_registry(registry), m_library(library), m_presenters(presenters) {}

Support::PointArray MapObjectsLTDataTools::GetPolygon(std::intptr_t polygon, std::intptr_t innerPoint) const {
    const NativeGeometry* point = Native(innerPoint);
    const bool usablePoint = point && point->count == 1;
    for (const NativeGeometry* g = Native(polygon); g; g = g->next) {
        const std::unique_ptr<NativeGeometry> ring(CopyRecord(*g));
        if (usablePoint && CStandAloneDataTools::IsPointInPolygon(ring.get(), point))
            return GetGeometryPoints(Korvex::ToHandle(ring.get()));
    }
    return GetPolygon(polygon);
}

int MapObjectsLTDataTools::GetPolygonRingCount(std::intptr_t polygon) const {
    const NativeGeometry* first = Native(polygon);
    if (!first) return 0;
    const int outer = ringSign(*first);
    int count = 1;
    for (const NativeGeometry* g = first->next; g; g = g->next)
        if (ringSign(*g) == outer) ++count;
    return count;
}

std::vector<std::intptr_t> MapObjectsLTDataTools::GetRingsFor(std::intptr_t polygon) const {
    std::vector<std::intptr_t> groups;
    const NativeGeometry* first = Native(polygon);
    if (!first) return groups;
    const int outer = ringSign(*first);
    NativeGeometry* groupTail = nullptr;
    for (const NativeGeometry* g = first; g; g = g->next) {
        NativeGeometry* copy = CopyRecord(*g);
        if (ringSign(*g) == outer || !groupTail) {
            groups.push_back(Korvex::ToHandle(copy));
        } else {
            groupTail->next = copy;
        }
        groupTail = copy;
    }
    return groups;
}

bool MapObjectsLTDataTools::IsPointInPolygon(std::intptr_t pnt, std::intptr_t polygon) const {
    const NativeGeometry* point = Native(pnt);
    if (!point || point->count != 1 || !Native(polygon)) return false;
    return CStandAloneDataTools::IsPointInPolygon(Native(polygon), point);
}

void MapObjectsLTDataTools::GetPolygonCentroidAndArea(std::intptr_t polygon, std::intptr_t& centroid,
                                                      double& area) const {
    NativeGeometryPoint point{0.0, 0.0, 0.0};
    CStandAloneDataTools::GetPolygonCentroidAndArea(Native(polygon), &point, &area);
    centroid = Korvex::ToHandle(new NativeGeometry(point.x, point.y, point.z));
}

double MapObjectsLTDataTools::GetClosestDistanceSquaredBetweenPolygons(std::intptr_t polygon1,
                                                                       std::intptr_t polygon2) const {
    return CStandAloneDataTools::GetClosestDistanceSquaredBetweenPolygons(Native(polygon1), Native(polygon2));
}

std::intptr_t MapObjectsLTDataTools::GetPolygonIntersection(std::intptr_t polygon1, std::intptr_t polygon2) const {
    NativeGeometry* a = Native(polygon1);
    NativeGeometry* b = Native(polygon2);
    orientCounterClockwise(a);
    orientCounterClockwise(b);
    if (isOpenPolyline(b)) {
        const std::unique_ptr<NativeGeometry> cut(CStandAloneDataTools::GetPolygonFromPolyline(b, a));
        return Korvex::ToHandle(CStandAloneDataTools::GetPolygonIntersection(a, cut.get()));
    }
    return Korvex::ToHandle(CStandAloneDataTools::GetPolygonIntersection(a, b));
}

std::intptr_t MapObjectsLTDataTools::GetPolygonUnion(std::intptr_t polygon1, std::intptr_t polygon2) const {
    orientCounterClockwise(Native(polygon1));
    orientCounterClockwise(Native(polygon2));
    return Korvex::ToHandle(CStandAloneDataTools::GetPolygonUnion(Native(polygon1), Native(polygon2)));
}

std::intptr_t MapObjectsLTDataTools::SubstractVerticesMatchingPolygon(std::intptr_t polygon1,
                                                                      std::intptr_t polygon2) const {
    orientCounterClockwise(Native(polygon1));
    orientCounterClockwise(Native(polygon2));
    return Korvex::ToHandle(CStandAloneDataTools::GetPolygonDifference(Native(polygon1), Native(polygon2)));
}

bool MapObjectsLTDataTools::DoPolygonsTouch(std::intptr_t polygon1, std::intptr_t polygon2) {
    const NativeGeometry* p1 = Native(polygon1);
    const NativeGeometry* p2 = Native(polygon2);
    if (!p1 || !p2 || p1->count == 0 || p2->count == 0) return false;
    const HandleList groupsA(GetRingsFor(polygon1));
    const HandleList groupsB(GetRingsFor(polygon2));
    CheckMaxRatio();
    std::vector<double> areasB;
    areasB.reserve(groupsB.handles().size());
    for (std::intptr_t b : groupsB.handles())
        areasB.push_back(std::fabs(CStandAloneDataTools::GetSignedPolygonArea(Native(b))));
    for (std::intptr_t aHandle : groupsA.handles()) {
        const NativeGeometry* a = Native(aHandle);
        const double areaA = std::fabs(CStandAloneDataTools::GetSignedPolygonArea(a));
        for (std::size_t j = 0; j < groupsB.handles().size(); ++j) {
            const NativeGeometry* b = Native(groupsB.handles()[j]);
            if (CStandAloneDataTools::DoPolylinesIntersect(a, b)) return true;
            if (b->count <= 3) continue;
            const double smaller = areaA < areasB[j] ? areaA : areasB[j];
            if (nearestVertexDistance(a, b) < std::sqrt(smaller) / m_maxPolygonOffsetLengthRatio) return true;
        }
    }
    return false;
}

void MapObjectsLTDataTools::CheckMaxRatio() {
    if (m_maxPolygonOffsetLengthRatio != 0) return;
    const auto stored = m_registry.ReadDword(kRatioKey, kRatioValue);
    m_maxPolygonOffsetLengthRatio = stored && *stored != 0 ? *stored : kDefaultRatio;
}

}  // namespace Norvane::Allotrix::Calculations::Data::MapObjectsLT
