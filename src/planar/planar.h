#pragma once
// Everything of the planar layer: shared types and the tgx* routines.
#include "planar/planar_types.h"
