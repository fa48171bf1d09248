// Plain planar distance between two host points.
#pragma once

#include <cmath>

#include "host/support/geometry_point.h"

namespace Norvane::Support {

class GeometryLibrary {
public:
    // Euclidean distance in the XY plane. Computed without squaring the
    // differences, so that neither coordinates near the largest double
    // overflow nor tiny separations vanish; NaN when a coordinate is NaN.
    static double GetDistance(const GeometryPoint& a, const GeometryPoint& b) {
        return std::hypot(b.X - a.X, b.Y - a.Y);
    }
};

}  // namespace Norvane::Support
