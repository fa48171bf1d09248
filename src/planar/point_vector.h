// Distances, differences and rotations of points and vectors. Inputs must
// point at values; a null output is skipped.
#pragma once

#include "planar/planar_types.h"

namespace Korvex {

// sqrt(dx^2 + (dy^2 + dz^2)) with d = b - a.
double tgxDPoint3d_distance(const DPoint3d* a, const DPoint3d* b);

// dx^2 + (dy^2 + dz^2) with d = b - a.
double tgxDPoint3d_distanceSquared(const DPoint3d* a, const DPoint3d* b);

// dx^2 + dy^2 with d = b - a.
double tgxDPoint2d_distanceSquared(const DPoint2d* a, const DPoint2d* b);

// out = a - b.
void tgxDPoint2d_subtractDPoint2dDPoint2d(DPoint2d* out, const DPoint2d* a, const DPoint2d* b);

// out = v turned clockwise by angle (radians); out may be v itself.
void tgxDPoint2d_rotate(DPoint2d* out, const DPoint2d* v, double angle);

// The signed angle from a to b in (-pi, pi], counterclockwise positive; 0 when
// either vector is zero.
double tgxDPoint2d_angleBetweenVectors(const DPoint2d* a, const DPoint2d* b);

}  // namespace Korvex
