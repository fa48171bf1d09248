// The fixed point buffer every native operation lays its operands into.
#pragma once

#include <array>

#include "planar/planar_types.h"

namespace Korvex {

// Capacity of one point buffer. A geometry fits when its points plus the
// disconnect points between its rings number at most kPointBufferSize - 1.
inline constexpr int kPointBufferSize = 5000;

using PointBuffer = std::array<DPoint3d, kPointBufferSize>;

}  // namespace Korvex
