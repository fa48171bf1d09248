// The two point buffers of a binary operation.
#pragma once

#include "native/point_buffer.h"
#include "native/stand_alone_data_tools.h"

namespace Korvex {

struct OperandBuffers {
    PointBuffer a;
    PointBuffer b;
    int countA = 0;
    int countB = 0;

    // Lays in all rings of both operands. The copies are not checked: an
    // operand that does not fit counts as empty.
    void Copy(const NativeGeometry* first, const NativeGeometry* second) {
        CStandAloneDataTools::CopyToPointBuffer(a.data(), &countA, first, true);
        CStandAloneDataTools::CopyToPointBuffer(b.data(), &countB, second, true);
    }
};

}  // namespace Korvex
