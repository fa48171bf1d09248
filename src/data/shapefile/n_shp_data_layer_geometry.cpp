// Geometry of the current record, its measures, and areas of overlap with
// other layers' current features.
#include <cmath>
#include <cstring>

#include "data/mapobjectslt/map_objects_lt_data_tools.h"
#include "data/mapobjectslt/map_objects_lt_library.h"
#include "data/shapefile/n_shp_data_layer.h"
#include "host/shapefile/shapefile_data_source_reader.h"
#include "host/support/exceptions.h"
#include "host/support/math_library.h"
#include "host/support/text_manager.h"
#include "native/native.h"

namespace Norvane::Allotrix::Calculations::Data::Shapefile {
namespace {

using Norvane::Domain::DomainElementShapeType;
using Korvex::CStandAloneDataTools;
using Korvex::NativeGeometry;
using MapObjectsLT::MapObjectsLTDataTools;
using Support::GeometryPoint;

using Chain = std::unique_ptr<NativeGeometry>;

Chain chainOf(std::intptr_t handle) { return Chain(Korvex::FromHandle(handle)); }

// Whether a result of an intersection has area to measure: its first ring
// closes with at least three distinct corners.
bool hasRing(const NativeGeometry* result) { return result && result->count >= 4; }

bool samePoints(const NativeGeometry* a, const NativeGeometry* b) {
    for (; a && b; a = a->next, b = b->next) {
        if (a->count != b->count) return false;
        if (a->count > 0 && (!a->points || !b->points ||
                             std::memcmp(a->points, b->points, sizeof(*a->points) * std::size_t(a->count)) != 0))
            return false;
    }
    return !a && !b;
}

double overlapArea(const NativeGeometry* result) {
    return hasRing(result) ? std::fabs(CStandAloneDataTools::GetSignedPolygonArea(result, true, true)) : 0.0;
}

}  // namespace

Support::GeometryObject NShpDataLayer::GetGeometryShape() {
    switch (ShapeType()) {
    case DomainElementShapeType::Point: {
        const GeometryPoint point = m_targetReader->GetPointGeometry();
        if (point.IsEmpty()) return std::monostate{};
        return point;
    }
    case DomainElementShapeType::Polyline: return m_targetReader->GetPolylineGeometryNonJaggedArray();
    case DomainElementShapeType::Polygon: return m_targetReader->GetPolygonGeometryNonJaggedArray();
    }
    throw Support::IndexOutOfRangeException("The layer " + m_path + " has no geometry of a known shape kind.");
}

// Points become one record; polygon rings and polyline parts one record
// each, in file order (the nearest searchers use a polyline's first part).
std::intptr_t NShpDataLayer::GetGeometryShapeNative() {
    if (!m_targetReader) return 0;
    switch (m_targetReader->ShapeType()) {
    case 1: case 11: case 21: {
        const GeometryPoint point = m_targetReader->GetPointGeometry();
        return point.IsEmpty() ? 0 : MapObjectsLTDataTools::GetGeometryNative(point);
    }
    case 5: case 15: case 25:
        return MapObjectsLTDataTools::GetGeometryNative(m_targetReader->GetPolygonGeometryNonJaggedArray());
    case 3: case 8: case 13: case 18: case 23: case 28:
        return MapObjectsLTDataTools::GetGeometryNative(m_targetReader->GetPolylineGeometryNonJaggedArray());
    default: return 0;
    }
}

// Points and polylines have no area: 0.
double NShpDataLayer::GetFeatureArea() {
    if (ShapeType() != DomainElementShapeType::Polygon) return 0.0;
    const Chain geometry = chainOf(GetGeometryShapeNative());
    Korvex::NativeGeometryPoint centroid{0.0, 0.0, 0.0};
    double area = 0.0;
    CStandAloneDataTools::GetPolygonCentroidAndArea(geometry.get(), &centroid, &area);
    return area;
}

// The length of the first part (of the one point array a model element
// gives); NaN without parts (a point has none).
double NShpDataLayer::GetFeatureLength() {
    const Support::GeometryObject geometry = GetGeometryShape();
    if (const auto* points = std::get_if<Support::PointArray>(&geometry))
        return Support::MathLibrary::CalculatePolylineLength(*points);
    const auto* parts = std::get_if<Support::PointArrayList>(&geometry);
    if (!parts || parts->empty()) return std::numeric_limits<double>::quiet_NaN();
    return Support::MathLibrary::CalculatePolylineLength(parts->front());
}

GeometryPoint NShpDataLayer::GetCentroid() {
    switch (ShapeType()) {
    case DomainElementShapeType::Point: return m_targetReader->GetPointGeometry();
    case DomainElementShapeType::Polyline: {
        const Support::PointArrayList parts = m_targetReader->GetPolylineGeometryNonJaggedArray();
        if (parts.empty()) return GeometryPoint::Empty();
        return Support::MathLibrary::CalculatePolylineCenterPoint(parts.front());
    }
    case DomainElementShapeType::Polygon: {
        const Chain geometry = chainOf(GetGeometryShapeNative());
        Korvex::NativeGeometryPoint centroid{NAN, NAN, 0.0};
        double area = 0.0;
        CStandAloneDataTools::GetPolygonCentroidAndArea(geometry.get(), &centroid, &area);
        return {centroid.x, centroid.y};
    }
    }
    throw Support::IndexOutOfRangeException("The layer " + m_path + " has no geometry of a known shape kind.");
}

std::optional<double> NShpDataLayer::CachedIntersectionArea(const NativeGeometry* other) const {
    if (!m_lastTestResult || m_lastTestPosition < 0 || !m_targetReader ||
        m_targetReader->CurrentPosition() != m_lastTestPosition ||
        !samePoints(Korvex::FromHandle(m_filterGeometry), other))
        return std::nullopt;
    return overlapArea(m_lastTestResult.get());
}

double NShpDataLayer::GetIntersectionAreaWith(IDataLayer& layer) {
    Chain mine = chainOf(GetGeometryShapeNative());
    // The other layer may have measured exactly this intersection while
    // testing its current record against this feature.
    if (auto* shapefileLayer = dynamic_cast<NShpDataLayer*>(&layer)) {
        if (const std::optional<double> cached = shapefileLayer->CachedIntersectionArea(mine.get())) return *cached;
    }
    const Chain other = chainOf(layer.GetGeometryShapeNative());
    Chain result;
    try {
        result.reset(CStandAloneDataTools::GetPolygonIntersection(other.get(), mine.get(), Classifier()));
    } catch (...) {
        throw Support::ApplicationException(
            Support::TextManager::Current().Get("zordm.error.PlexGeometryOperationError"));
    }
    return overlapArea(result.get());
}

double NShpDataLayer::GetIntersectionAreaWith(IDataLayer& layer1, IDataLayer& layer2) {
    Chain first = chainOf(layer1.GetGeometryShapeNative());
    Chain second = chainOf(layer2.GetGeometryShapeNative());
    const Chain common(CStandAloneDataTools::GetPolygonIntersection(first.get(), second.get(), Classifier()));
    first.reset();
    second.reset();
    if (!hasRing(common.get())) return 0.0;
    const Chain mine = chainOf(GetGeometryShapeNative());
    const Chain result(CStandAloneDataTools::GetPolygonIntersection(mine.get(), common.get(), Classifier()));
    return hasRing(result.get()) ? std::fabs(CStandAloneDataTools::GetSignedPolygonArea(result.get())) : 0.0;
}

}  // namespace Norvane::Allotrix::Calculations::Data::Shapefile
