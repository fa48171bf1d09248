#include "planar/disconnect_point.h"

namespace Korvex {

void tgxDPoint3d_initDisconnect(DPoint3d* point) {
    if (point == nullptr) return;
    point->x = point->y = point->z = kDisconnectCoordinate;
}

bool tgxDPoint3d_isDisconnect(const DPoint3d* point) {
    return point != nullptr && (point->x == kDisconnectCoordinate || point->y == kDisconnectCoordinate ||
           point->z == kDisconnectCoordinate);
}

}  // namespace Korvex
