// Small polygons and helpers shared by the planar tests.
#pragma once

#include "planar/planar.h"

#include <vector>

namespace planar_test {

using Korvex::DPoint3d;

using Polygon = std::vector<DPoint3d>;

// Counterclockwise axis-aligned rectangle starting at its lower-left corner.
inline Polygon rectangle(double x0, double y0, double x1, double y1) {
    return {{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}};
}

inline Polygon reversed(Polygon p) {
    return Polygon(p.rbegin(), p.rend());
}

inline DPoint3d disconnect() {
    DPoint3d d;
    Korvex::tgxDPoint3d_initDisconnect(&d);
    return d;
}

// The rings laid one after another with a disconnect point between them.
inline Polygon joinRings(std::initializer_list<Polygon> rings) {
    Polygon all;
    for (const Polygon& ring : rings) {
        if (!all.empty()) all.push_back(disconnect());
        all.insert(all.end(), ring.begin(), ring.end());
    }
    return all;
}

inline int count(const Polygon& p) {
    return static_cast<int>(p.size());
}

// Randomized tests run fewer iterations under the sanitizers.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr int kRandomScale = 1;
#else
inline constexpr int kRandomScale = 10;
#endif

}  // namespace planar_test
