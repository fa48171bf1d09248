#pragma once
// Everything of the planar layer: shared types and the tgx* routines.
#include "planar/closest_approach.h"
#include "planar/disconnect_point.h"
#include "planar/line2d.h"
#include "planar/planar_types.h"
#include "planar/point_vector.h"
#include "planar/polygon_measures.h"
#include "planar/polyline_clash.h"
#include "planar/segment.h"
#include "planar/xy_polygon_area.h"
#include "planar/xy_polygon_parity.h"
