// The polyline record that the nearest-pipe range tree stores as leaf data.
#pragma once

#include <cstdint>

#include "planar/planar_types.h"

namespace Korvex {

// A pipe: its model element ID and its vertices in the plane. `points` is a
// new[] array of exactly `count` points, freed only by
// CStandAloneDataTools::DisposePlexPolylineBuffer.
struct PlexPolyline {
    std::int32_t id;
    std::int32_t count;
    DPoint2d* points;
};

}  // namespace Korvex
