#include "planar/disconnect_point.h"

namespace Korvex {

void tgxDPoint3d_initDisconnect(DPoint3d* point) {
    if (point == nullptr) return;
    point->x = point->y = point->z = kDisconnectCoordinate;
}

}  // namespace Korvex
