// Lengths and the middle of polylines given as host points.
#pragma once

#include "host/support/geometry_point.h"

namespace Norvane::Support {

class MathLibrary {
public:
    // The planar distance from a to b.
    static double CalculateLineLength(const GeometryPoint& a, const GeometryPoint& b);
    // The sum of the segment lengths: 0 for fewer than two points, NaN when a
    // coordinate is NaN, infinite when one is infinite.
    static double CalculatePolylineLength(const PointArray& points);
    // The point halfway along the polyline's length. No points, or a length
    // that is not finite (NaN or infinite coordinates), give
    // GeometryPoint::Empty(); a single point, or a polyline of length 0,
    // gives its first point.
    static GeometryPoint CalculatePolylineCenterPoint(const PointArray& points);
};

}  // namespace Norvane::Support
