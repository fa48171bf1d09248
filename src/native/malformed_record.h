// Records that no operation can read, from hosts that fill them by hand.
#pragma once

#include "native/native_geometry.h"

namespace Korvex {

// A negative count, or points counted but missing.
inline bool IsMalformed(const NativeGeometry& ring) {
    return ring.count < 0 || (ring.count > 0 && ring.points == nullptr);
}

// Whether any record of the chain (or the first alone) is malformed.
inline bool HoldsMalformedRecord(const NativeGeometry* geometry, bool allRings) {
    for (const NativeGeometry* ring = geometry; ring != nullptr;
         ring = allRings ? ring->next : nullptr) {
        if (IsMalformed(*ring))
            return true;
    }
    return false;
}

}  // namespace Korvex
