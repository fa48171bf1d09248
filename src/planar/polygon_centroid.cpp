#include "planar/loop_walk.h"
#include "planar/polygon_measures.h"

#include <algorithm>

namespace Korvex {
namespace {

using detail::add;
using detail::magnitude;
using detail::scale;

// Accumulates signed fan areas (with respect to the polygon's normal), their
// first moments about the world origin, and, when asked, the 3D perimeter of
// every loop (its square roots are most of the cost).
struct CentroidSums : detail::LoopFanVisitor {
    DPoint3d normal;
    bool wantPerimeter;
    DPoint3d origin{0.0, 0.0, 0.0};
    double area = 0.0;
    DPoint3d moment{0.0, 0.0, 0.0};
    double perimeter = 0.0;

    CentroidSums(const DPoint3d& n, bool withPerimeter) : normal(n), wantPerimeter(withPerimeter) {}

    void loopOrigin(const DPoint3d& o) { origin = o; }
    void firstEdge(const DPoint3d& u) {
        if (wantPerimeter) perimeter += magnitude(u);
    }
    void fanTriangle(const DPoint3d& u, const DPoint3d& v) {
        const double a = 0.5 * detail::dot(normal, detail::cross(u, v));
        area += a;
        // The moment about O is (a/3)(U + V); adding a*O moves it to the
        // common origin so that loops with different origins can be summed.
        moment = add(moment, add(scale(add(u, v), a / 3.0), scale(origin, a)));
        if (wantPerimeter) perimeter += magnitude(detail::sub(v, u));
    }
    void loopEnd(const DPoint3d& lastFromOrigin, int loopPointCount) {
        if (wantPerimeter && loopPointCount >= 2) perimeter += magnitude(lastFromOrigin);
    }
};

// The extent of the signed distances of the points from the plane through g
// with normal n. Disconnect points lie nowhere and take no part.
double planaritySpreadOf(const DPoint3d* points, int count, const DPoint3d& g,
                         const DPoint3d& n) {
    double low = 0.0, high = 0.0;
    bool any = false;
    for (int i = 0; i < count; ++i) {
        if (tgxDPoint3d_isDisconnect(&points[i])) continue;
        const double h = detail::dot(detail::sub(points[i], g), n);
        low = any ? std::min(low, h) : h;
        high = any ? std::max(high, h) : h;
        any = true;
    }
    return high - low;
}

}  // namespace

bool tgxPolygon_centroidAreaPerimeter(const DPoint3d* points, int count, DPoint3d* centroid,
                                      DPoint3d* normal, double* area, double* perimeter,
                                      double* planaritySpread) {
    DPoint3d n{0.0, 0.0, 0.0};
    DPoint3d g{0.0, 0.0, 0.0};
    double totalArea = 0.0, totalPerimeter = 0.0, spread = 0.0;
    bool formed = false;
    if (tgxPolygon_normalAndArea(&n, nullptr, points, count) != 0.0) {
        CentroidSums sums(n, perimeter != nullptr);
        detail::walkLoopFans(points, count, sums);
        totalArea = sums.area;
        totalPerimeter = sums.perimeter;
        if (totalArea != 0.0) {
            g = {sums.moment.x / totalArea, sums.moment.y / totalArea, sums.moment.z / totalArea};
            formed = true;
        }
        if (planaritySpread != nullptr) spread = planaritySpreadOf(points, count, g, n);
    }
    if (centroid != nullptr) *centroid = g;
    if (normal != nullptr) *normal = n;
    if (area != nullptr) *area = totalArea;
    if (perimeter != nullptr) *perimeter = totalPerimeter;
    if (planaritySpread != nullptr) *planaritySpread = spread;
    return formed;
}

}  // namespace Korvex
