// The disconnect point: a marker that separates loops inside one flat array
// of points.
#pragma once

#include "planar/planar_types.h"

namespace Korvex {

// The value of every coordinate of a disconnect point: the largest finite double.
inline constexpr double kDisconnectCoordinate = 1.7976931348623157e308;

// Overwrites point with the disconnect point.
void tgxDPoint3d_initDisconnect(DPoint3d* point);

// True when any coordinate of point equals the disconnect value exactly
// (a NaN coordinate does not count). Inline: every loop walk asks it per point.
inline bool tgxDPoint3d_isDisconnect(const DPoint3d* point) {
    return point != nullptr &&
           (point->x == kDisconnectCoordinate || point->y == kDisconnectCoordinate ||
            point->z == kDisconnectCoordinate);
}

}  // namespace Korvex
