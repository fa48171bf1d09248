#pragma once
// Everything of the data layer: the data tools a host creates, the data
// sets, the shapefile layer, the model-element layer, the geometry facade,
// and the layer selection and unit dialogs.
#include "data/dialogs/domain_layer_selection_dialog.h"
#include "data/dialogs/shp_unit_picker.h"
#include "data/dialogs/shp_unit_picker_editor_model.h"
#include "data/domain/domain_data_tools.h"
#include "data/domain/domain_shp_data_layer.h"
#include "data/mapobjectslt/map_objects_lt_data_tools.h"
#include "data/mapobjectslt/map_objects_lt_library.h"
#include "data/prompt_presenters.h"
#include "data/shapefile/n_shp_data_layer.h"
#include "data/shapefile/n_shp_data_set.h"
#include "data/standard_data_set.h"
#include "data/standard_data_tools.h"
