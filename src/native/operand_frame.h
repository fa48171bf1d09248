// The frame a polygon Boolean operation works in.
#pragma once

#include "native/native_geometry.h"
#include "planar/planar_types.h"

namespace Korvex {

// A translation that brings the operands next to the origin. Loop building
// and merging take their tolerances relative to the largest coordinate, so
// operands far from the origin compared with their size (projected data sit
// millions of units out) would have details of their own size erased. In a
// frame whose origin lies at the operands' common box the tolerances scale
// with the operands' size instead.
//
// On each axis the frame moves only when the operands lie farther from zero
// than twice the step s, the smallest power of two covering their size; it
// then moves by the multiple of s nearest the middle of their span. Every
// coordinate x is then a multiple of its own unit in the last place, as is
// the move c, and |x - c| <= |x| / 2, so x - c is exact and adding c back
// restores x bit for bit: vertices that pass through the operation unchanged
// come back unchanged. Operands that reach near the origin are not moved at
// all and give exactly the results of working in place.
class OperandFrame {
public:
    // The frame of operands laid into two point buffers. Disconnect points
    // and non-finite coordinates do not count.
    static OperandFrame Around(const DPoint3d* a, int countA, const DPoint3d* b, int countB);

    bool IsIdentity() const { return m_origin.x == 0.0 && m_origin.y == 0.0; }
    // Where the frame's origin lies in the operands' coordinates.
    DPoint2d Origin() const { return m_origin; }

    // Expresses buffer points in the frame, leaving disconnect points alone.
    void MoveIn(DPoint3d* points, int count) const;
    // Expresses every point of a result chain in the operands'
    // coordinates; returns the chain.
    NativeGeometry* MoveOut(NativeGeometry* chain) const;

private:
    DPoint2d m_origin{0.0, 0.0};
};

}  // namespace Korvex
