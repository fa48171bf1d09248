#include "allocate/pipe_foot_point.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Allotrix::Allocate {

using Norvane::Support::GeometryPoint;

FootPoint NearestPointOnPolyline(const Norvane::Support::PointArray& vertices, const GeometryPoint& from) {
    FootPoint best;
    best.point = vertices.front();
    best.distance = std::hypot(from.X - best.point.X, from.Y - best.point.Y);
    double bestAlong = 0.0, length = 0.0;
    for (std::size_t i = 0; i + 1 < vertices.size(); ++i) {
        const GeometryPoint& a = vertices[i];
        const GeometryPoint& b = vertices[i + 1];
        const double dx = b.X - a.X, dy = b.Y - a.Y;
        const double segment = std::hypot(dx, dy);
        const double t = segment > 0.0 ? std::clamp(((from.X - a.X) * dx + (from.Y - a.Y) * dy) / (segment * segment), 0.0, 1.0) : 0.0;
        const GeometryPoint foot{a.X + t * dx, a.Y + t * dy};
        const double distance = std::hypot(from.X - foot.X, from.Y - foot.Y);
        if (distance < best.distance) {
            best.point = foot;
            best.distance = distance;
            bestAlong = length + t * segment;
        }
        length += segment;
    }
    best.fraction = length > 0.0 ? bestAlong / length : 0.5;
    return best;
}

}  // namespace Allotrix::Allocate
