#include <algorithm>

#include "native/malformed_record.h"
#include "native/point_buffer.h"
#include "native/stand_alone_data_tools.h"
#include "planar/planar.h"

namespace Korvex {

namespace {

void CopyRing(DPoint3d* destination, const NativeGeometry& ring) {
    std::transform(ring.points, ring.points + ring.count, destination,
                   [](const NativeGeometryPoint& p) { return DPoint3d{p.x, p.y, p.z}; });
}

}  // namespace

bool CStandAloneDataTools::CopyToPointBuffer(DPoint3d* buffer, int* count,
                                             const NativeGeometry* geometry, bool allRings) {
    *count = 0;
    int position = 0;
    for (const NativeGeometry* ring = geometry; ring != nullptr; ring = ring->next) {
        if (IsMalformed(*ring) || ring->count >= kPointBufferSize - position)
            return false;
        CopyRing(buffer + position, *ring);
        if (!allRings || ring->next == nullptr) {
            *count = position + ring->count;
            return true;
        }
        tgxDPoint3d_initDisconnect(buffer + position + ring->count);
        position += ring->count + 1;
    }
    return true;
}

}  // namespace Korvex
