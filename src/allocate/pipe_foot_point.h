// Where a meter meets a pipe: the nearest point of the pipe's polyline,
// the distance to it and how far along the pipe it lies.
#pragma once

#include "host/support/geometry_point.h"

namespace Allotrix::Allocate {

struct FootPoint {
    Norvane::Support::GeometryPoint point;
    double distance = 0.0;
    // Length along the pipe from its start node to the foot point, over the
    // pipe's length; 0.5 for a pipe of no length.
    double fraction = 0.5;
};

// The first nearest point wins a tie. `vertices` must not be empty.
FootPoint NearestPointOnPolyline(const Norvane::Support::PointArray& vertices,
                                 const Norvane::Support::GeometryPoint& from);

}  // namespace Allotrix::Allocate
