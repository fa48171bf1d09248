// Small inline vector arithmetic on DPoint3d and DPoint2d shared by the
// planar routines. Internal to the layer: not part of the umbrella header.
#pragma once

#include "planar/planar_types.h"

#include <cmath>

namespace Korvex::detail {

inline DPoint3d sub(const DPoint3d& a, const DPoint3d& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

inline DPoint3d add(const DPoint3d& a, const DPoint3d& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

inline DPoint3d scale(const DPoint3d& a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}

inline double dot(const DPoint3d& a, const DPoint3d& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

inline DPoint3d cross(const DPoint3d& a, const DPoint3d& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// The z component of the cross product: twice the signed XY area of (a, b).
inline double crossXY(const DPoint3d& a, const DPoint3d& b) {
    return a.x * b.y - a.y * b.x;
}

inline double magnitudeSquared(const DPoint3d& a) {
    return dot(a, a);
}

inline double magnitude(const DPoint3d& a) {
    return std::sqrt(magnitudeSquared(a));
}

inline bool isZero(const DPoint3d& a) {
    return a.x == 0.0 && a.y == 0.0 && a.z == 0.0;
}

// Exact equality of all three coordinates; a NaN coordinate never equals.
inline bool equalExactly(const DPoint3d& a, const DPoint3d& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

// The point at fraction f from a to b, component by component.
inline DPoint3d interpolate(const DPoint3d& a, double f, const DPoint3d& b) {
    return {a.x + f * (b.x - a.x), a.y + f * (b.y - a.y), a.z + f * (b.z - a.z)};
}

inline DPoint2d sub(const DPoint2d& a, const DPoint2d& b) {
    return {a.x - b.x, a.y - b.y};
}

inline double dot(const DPoint2d& a, const DPoint2d& b) {
    return a.x * b.x + a.y * b.y;
}

}  // namespace Korvex::detail
