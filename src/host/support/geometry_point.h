// A planar point as the host passes it around: x and y, with an explicit
// "no point" value.
#pragma once

#include <cmath>
#include <limits>
#include <vector>

namespace Norvane::Support {

struct GeometryPoint {
    double X = 0.0;
    double Y = 0.0;

    // The host's "no point": both coordinates NaN. A point with one NaN
    // coordinate is a point with bad data, not Empty.
    static constexpr GeometryPoint Empty() {
        return {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()};
    }
    bool IsEmpty() const { return std::isnan(X) && std::isnan(Y); }
    // Both coordinates are numbers, neither NaN nor infinite.
    bool IsFinite() const { return std::isfinite(X) && std::isfinite(Y); }

    friend bool operator==(const GeometryPoint&, const GeometryPoint&) = default;
};

using PointArray = std::vector<GeometryPoint>;
using PointArrayList = std::vector<PointArray>;

}  // namespace Norvane::Support
