#pragma once
// Everything of the planar layer: shared types and the tgx* routines.
#include "planar/disconnect_point.h"
#include "planar/planar_types.h"
#include "planar/polygon_measures.h"
#include "planar/xy_polygon_area.h"
#include "planar/xy_polygon_parity.h"
