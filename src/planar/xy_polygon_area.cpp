#include "planar/xy_polygon_area.h"

#include "planar/loop_walk.h"

namespace Korvex {
namespace {

struct XYAreaSum : detail::LoopFanVisitor {
    double twiceArea = 0.0;
    void fanTriangle(const DPoint3d& u, const DPoint3d& v) { twiceArea += detail::crossXY(u, v); }
};

}  // namespace

double tgxGeom_getXYPolygonArea(const DPoint3d* points, int count) {
    if (count <= 2 || points == nullptr) return 0.0;
    XYAreaSum sum;
    detail::walkLoopFans(points, count, sum);
    return 0.5 * sum.twiceArea;
}

}  // namespace Korvex
