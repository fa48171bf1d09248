// The geometry a layer hands the host: nothing, one point, one point array
// (a polyline part or a ring), or a list of point arrays (parts or rings).
#pragma once

#include <variant>

#include "host/support/geometry_point.h"

namespace Norvane::Support {

using GeometryObject = std::variant<std::monostate, GeometryPoint, PointArray, PointArrayList>;

}  // namespace Norvane::Support
