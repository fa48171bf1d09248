// Building result rings from working buffers of DPoint3d.
#pragma once

#include "native/native_geometry.h"
#include "planar/planar_types.h"

namespace Korvex {

// A new record holding a copy of `count` points (none when count <= 0).
inline NativeGeometry* NewRingFromDPoint3d(const DPoint3d* points, int count) {
    auto* ring = new NativeGeometry(nullptr, 0);
    if (count <= 0)
        return ring;
    ring->points = new NativeGeometryPoint[static_cast<std::size_t>(count)];
    for (int i = 0; i < count; ++i)
        ring->points[i] = {points[i].x, points[i].y, points[i].z};
    ring->count = count;
    return ring;
}

}  // namespace Korvex
