#include "host/support/math_library.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "host/support/geometry_library.h"

namespace Norvane::Support {

double MathLibrary::CalculateLineLength(const GeometryPoint& a, const GeometryPoint& b) {
    return GeometryLibrary::GetDistance(a, b);
}

double MathLibrary::CalculatePolylineLength(const PointArray& points) {
    double length = 0.0;
    for (std::size_t i = 1; i < points.size(); ++i) length += CalculateLineLength(points[i - 1], points[i]);
    return length;
}

GeometryPoint MathLibrary::CalculatePolylineCenterPoint(const PointArray& points) {
    if (points.empty()) return GeometryPoint::Empty();
    const double total = CalculatePolylineLength(points);
    if (!std::isfinite(total)) return GeometryPoint::Empty();
    const double half = 0.5 * total;
    double walked = 0.0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const GeometryPoint& from = points[i - 1];
        const GeometryPoint& to = points[i];
        const double segment = CalculateLineLength(from, to);
        // Zero-length segments are stepped over: they hold no fraction.
        if (segment > 0.0 && walked + segment >= half) {
            const double fraction = std::min((half - walked) / segment, 1.0);  // rounding may pass 1
            return {std::lerp(from.X, to.X, fraction), std::lerp(from.Y, to.Y, fraction)};
        }
        walked += segment;
    }
    return points.front();
}

}  // namespace Norvane::Support
