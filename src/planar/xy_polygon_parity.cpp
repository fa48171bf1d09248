#include "planar/xy_polygon_parity.h"

#include "planar/xy_parity_engine.h"

namespace Korvex {

int tgxGeom_XYPolygonParity(const DPoint3d* point, const DPoint3d* points, int count,
                            double tolerance) {
    if (point == nullptr || (points == nullptr && count > 0)) return detail::kParityOutside;
    return detail::classifyXY(detail::ArrayPointSource{points}, count, point->x, point->y,
                              tolerance);
}

}  // namespace Korvex

