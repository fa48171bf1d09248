// Orders edge directions as the merge orders them around a vertex, by
// atan2(dy, dx) in (-pi, pi], without calling atan2 when the order is clear.
#pragma once

#include <cmath>

namespace Korvex {

enum class VuAngleOrder { Before, Same, After, Unsure };

namespace vu_angle_detail {

// Directions closer than this (as a sine) to each other, or to the x axis,
// are left to atan2: its rounding could then decide.
inline constexpr double kClearSine = 1.0e-9;

// Which stretch of (-pi, pi] a direction's angle lies in: 0 below the x axis,
// 1 exactly 0, 2 above, 3 exactly pi; -1 when near the axis, zero or not
// finite.
inline int halfOf(double dx, double dy) {
    if (!std::isfinite(dx) || !std::isfinite(dy)) return -1;
    if (dy == 0.0) return dx > 0.0 ? 1 : dx < 0.0 ? 3 : -1;
    if (!(std::fabs(dy) > kClearSine * std::fabs(dx))) return -1;
    return dy < 0.0 ? 0 : 2;
}

}  // namespace vu_angle_detail

// Whether atan2(ay, ax) comes before, equals or comes after atan2(by, bx);
// Unsure when only atan2 itself can tell. The directions are taken as they
// are (the caller turns -0.0 into +0.0 as it does before atan2).
inline VuAngleOrder vu_compareEdgeAngles(double ax, double ay, double bx, double by) {
    using namespace vu_angle_detail;
    const int halfA = halfOf(ax, ay);
    const int halfB = halfOf(bx, by);
    if (halfA < 0 || halfB < 0) return VuAngleOrder::Unsure;
    if (halfA != halfB) return halfA < halfB ? VuAngleOrder::Before : VuAngleOrder::After;
    if (halfA == 1 || halfA == 3) return VuAngleOrder::Same;
    // Within one open half plane the turn from a to b is less than pi.
    const double cross = ax * by - ay * bx;
    const double scale = (std::fabs(ax) + std::fabs(ay)) * (std::fabs(bx) + std::fabs(by));
    if (!(std::fabs(cross) > kClearSine * scale)) return VuAngleOrder::Unsure;
    return cross > 0.0 ? VuAngleOrder::Before : VuAngleOrder::After;
}

}  // namespace Korvex
