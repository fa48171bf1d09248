// Closed loops built from point arrays.
#pragma once

#include "vu/vu_types.h"

namespace Korvex {

// Builds one closed loop per run of points between disconnect points, dropping
// and collapsing edges within tol = max(abstol, 0) + S * f of the run's size S
// (f = reltol when positive, at least 1e-14; else 1e-8). Returns a node of the
// last loop on the face that follows the input order; null when count < 2 or
// when the last run collapses. Every node carries VU_BOUNDARY_EDGE.
VuNode* vu_loopFromDPoint3dArrayXYTol(VuSet* set, const DPoint3d* points, int count,
                                      double abstol, double reltol);

}  // namespace Korvex
