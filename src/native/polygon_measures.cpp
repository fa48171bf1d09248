// Areas, centroid and point-in-polygon of native geometry.
#include "native/point_buffer.h"
#include "native/stand_alone_data_tools.h"
#include "planar/planar.h"

namespace Korvex {

double CStandAloneDataTools::GetSignedPolygonArea(const NativeGeometry* g) {
    return GetSignedPolygonArea(g, false, true);
}

double CStandAloneDataTools::GetSignedPolygonArea(const NativeGeometry* g, bool sumRings,
                                                  bool allRings) {
    PointBuffer buffer;
    int count = 0;
    if (!sumRings) {
        CopyToPointBuffer(buffer.data(), &count, g, allRings);
        return tgxGeom_getXYPolygonArea(buffer.data(), count);
    }
    double total = 0.0;
    for (const NativeGeometry* ring = g; ring != nullptr; ring = ring->next) {
        CopyToPointBuffer(buffer.data(), &count, ring, false);
        total += tgxGeom_getXYPolygonArea(buffer.data(), count);
    }
    return total;
}

bool CStandAloneDataTools::IsPointInPolygon(const NativeGeometry* polygon,
                                            const NativeGeometry* point) {
    if (point == nullptr || point->count < 1 || point->points == nullptr)
        return false;
    PointBuffer buffer;
    int count = 0;
    CopyToPointBuffer(buffer.data(), &count, polygon, true);
    const NativeGeometryPoint& p = point->points[0];
    const DPoint3d query{p.x, p.y, p.z};
    const int parity = tgxGeom_XYPolygonParity(&query, buffer.data(), count, 0.0);
    return parity == 0 || parity == 1;
}

void CStandAloneDataTools::GetPolygonCentroidAndArea(const NativeGeometry* polygon,
                                                     NativeGeometryPoint* centroid,
                                                     double* area) {
    PointBuffer buffer;
    int count = 0;
    CopyToPointBuffer(buffer.data(), &count, polygon, true);
    DPoint3d center{0.0, 0.0, 0.0};
    double measuredArea = 0.0;
    const bool formed = tgxPolygon_centroidAreaPerimeter(buffer.data(), count, &center, nullptr,
                                                         &measuredArea, nullptr, nullptr);
    if (!formed) {
        measuredArea = 0.0;
        if (count == 0) {
            if (area != nullptr)
                *area = 0.0;
            return;
        }
        center = buffer[0];
    }
    if (centroid != nullptr)
        *centroid = {center.x, center.y, center.z};
    if (area != nullptr)
        *area = measuredArea;
}

}  // namespace Korvex
