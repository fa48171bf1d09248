#pragma once
// Everything of the native layer: geometry records, the point buffer, and the
// static operations of CStandAloneDataTools, and the searchers they hand out.
#include "native/max_vertices_count_exceeded.h"
#include "native/native_geometry.h"
#include "native/plex_polyline.h"
#include "native/point_buffer.h"
#include "native/polyline_range_tree_closest_point_searcher.h"
#include "native/polyline_range_tree_closest_polyline_searcher.h"
#include "native/stand_alone_data_tools.h"
#include "native/vu_polygon_classifier.h"
