// Town polygons as native geometry chains (for users that link the native
// layer; the town itself does not).
#pragma once

#include <vector>

#include "native/native_geometry.h"
#include "town/town.h"

namespace allotrix_town {

// One record per ring, in ring order, z 0.
inline Korvex::NativeGeometryChain ToNativeChain(const Polygon& polygon) {
    Korvex::NativeGeometry* first = nullptr;
    Korvex::NativeGeometry** link = &first;
    for (const Ring& ring : polygon.rings) {
        std::vector<Korvex::NativeGeometryPoint> points;
        for (const DPoint2d& p : ring)
            points.push_back({p.x, p.y, 0.0});
        *link = new Korvex::NativeGeometry(points.data(), static_cast<int>(points.size()));
        link = &(*link)->next;
    }
    return Korvex::NativeGeometryChain(first);
}

}  // namespace allotrix_town
