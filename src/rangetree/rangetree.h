#pragma once
// Everything of the rangetree layer: the XY range tree with its traversal
// handlers, and the XY point searcher.
#include "rangetree/closest_low_point_searcher.h"
#include "rangetree/point_searcher.h"
#include "rangetree/range_tree_handler.h"
#include "rangetree/range_tree_interior.h"
#include "rangetree/range_tree_leaf.h"
#include "rangetree/range_tree_query.h"
#include "rangetree/range_tree_root.h"
