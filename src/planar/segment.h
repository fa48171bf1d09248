// DSegment3d construction, projection and intersection in the XY plane.
// Fractions name points start + f * (end - start) and are never clamped.
// Inputs must point at values; a null output is skipped.
#pragma once

#include "planar/planar_types.h"

namespace Korvex {

// segment = (start, end).
void tgxDSegment3d_initFromDPoint3d(DSegment3d* segment, const DPoint3d* start,
                                    const DPoint3d* end);

// Projects point onto the segment's line in XY (the point's z is ignored).
// Writes the fraction and the point of the segment at it, z interpolated;
// false, fraction 0 and the start point when the segment has no XY length.
// Both outputs may be null.
bool tgxDSegment3d_projectPointXY(const DSegment3d* segment, DPoint3d* projection,
                                  double* fraction, const DPoint3d* point);

// Intersects the XY lines of two segments. On success writes each segment's
// point at its fraction (z interpolated along that segment) and the fractions;
// false, writing nothing, for parallel, degenerate or ill-conditioned pairs.
// Every output may be null.
bool tgxGeom_intersectXYDSegment3dDSegment3d(DPoint3d* pointA, double* fractionA,
                                             DPoint3d* pointB, double* fractionB,
                                             const DSegment3d* segmentA,
                                             const DSegment3d* segmentB);

}  // namespace Korvex
