#pragma once
// Everything of the data layer: the data tools a host creates, the shapefile
// layer and data set, the geometry facade, and the model-element side.
#include "data/domain/domain_data_tools.h"
#include "data/mapobjectslt/map_objects_lt_data_tools.h"
#include "data/mapobjectslt/map_objects_lt_library.h"
#include "data/prompt_presenters.h"
#include "data/shapefile/n_shp_data_layer.h"
#include "data/shapefile/n_shp_data_set.h"
#include "data/standard_data_tools.h"
