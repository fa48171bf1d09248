#pragma once
// Everything of the vertex-use graph layer.
#include "vu/vu_array.h"
#include "vu/vu_face_walk.h"
#include "vu/vu_faces.h"
#include "vu/vu_graph.h"
#include "vu/vu_loops.h"
#include "vu/vu_node.h"
#include "vu/vu_pools.h"
#include "vu/vu_regularize.h"
#include "vu/vu_set.h"
#include "vu/vu_stack.h"
#include "vu/vu_topology.h"
#include "vu/vu_types.h"
