#include "planar/point_vector.h"

#include <cmath>

namespace Korvex {

double tgxDPoint3d_distance(const DPoint3d* a, const DPoint3d* b) {
    return std::sqrt(tgxDPoint3d_distanceSquared(a, b));
}

double tgxDPoint3d_distanceSquared(const DPoint3d* a, const DPoint3d* b) {
    const double dx = b->x - a->x, dy = b->y - a->y, dz = b->z - a->z;
    return dx * dx + (dy * dy + dz * dz);
}

double tgxDPoint2d_distanceSquared(const DPoint2d* a, const DPoint2d* b) {
    const double dx = b->x - a->x, dy = b->y - a->y;
    return dx * dx + dy * dy;
}

void tgxDPoint2d_subtractDPoint2dDPoint2d(DPoint2d* out, const DPoint2d* a, const DPoint2d* b) {
    if (out == nullptr) return;
    *out = {a->x - b->x, a->y - b->y};
}

void tgxDPoint2d_rotate(DPoint2d* out, const DPoint2d* v, double angle) {
    if (out == nullptr) return;
    const double c = std::cos(angle), s = std::sin(angle);
    const DPoint2d in = *v;  // out may alias v
    *out = {in.x * c + in.y * s, in.y * c - in.x * s};
}

double tgxDPoint2d_angleBetweenVectors(const DPoint2d* a, const DPoint2d* b) {
    const double crossValue = a->x * b->y - a->y * b->x;
    const double dotValue = a->x * b->x + a->y * b->y;
    if (crossValue == 0.0 && dotValue == 0.0) return 0.0;
    // Adding +0 turns a cross product of -0 into +0, so that antiparallel
    // vectors give +pi rather than -pi and the result stays in (-pi, pi].
    return std::atan2(crossValue + 0.0, dotValue);
}

}  // namespace Korvex
