// Town polygons as GEOS geometries (for the benchmarks that compare with
// GEOS; the town itself does not link it).
#pragma once

#include <geos_c.h>

#include <vector>

#include "town/town.h"

namespace allotrix_town {

inline GEOSGeometry* ToGeosRing(GEOSContextHandle_t context, const Ring& ring) {
    GEOSCoordSequence* sequence = GEOSCoordSeq_create_r(context, static_cast<unsigned>(ring.size()), 2);
    for (std::size_t i = 0; i < ring.size(); ++i)
        GEOSCoordSeq_setXY_r(context, sequence, static_cast<unsigned>(i), ring[i].x, ring[i].y);
    return GEOSGeom_createLinearRing_r(context, sequence);
}

// The first ring is the shell, the others its holes. The caller owns the result.
inline GEOSGeometry* ToGeosPolygon(GEOSContextHandle_t context, const Polygon& polygon) {
    std::vector<GEOSGeometry*> holes;
    for (std::size_t r = 1; r < polygon.rings.size(); ++r) holes.push_back(ToGeosRing(context, polygon.rings[r]));
    return GEOSGeom_createPolygon_r(context, ToGeosRing(context, polygon.rings[0]), holes.data(),
                                    static_cast<unsigned>(holes.size()));
}

}  // namespace allotrix_town
