#pragma once
// Everything of the host layer: the interfaces the data layer implements, the
// value types, and the stand-ins of the host's components (text, units,
// shapefiles, the network model, the registry, prompts and point indexes).

// Values and failures
#include "host/support/exceptions.h"
#include "host/support/field_data_type.h"
#include "host/support/field_value.h"
#include "host/support/geometry_object.h"
#include "host/support/geometry_point.h"
#include "host/support/pair.h"
#include "host/support/units.h"

// Text and measures
#include "host/support/geometry_library.h"
#include "host/support/math_library.h"
#include "host/support/text_manager.h"

// Interfaces the data layer implements
#include "host/calculations/allotrix_library.h"
#include "host/calculations/i_data_geometry_library.h"
#include "host/calculations/i_data_layer.h"
#include "host/calculations/i_data_set.h"
#include "host/calculations/i_data_tools.h"
#include "host/calculations/i_edit_data_layer.h"
#include "host/calculations/spatial_filter.h"

// Shapefiles
#include "host/shapefile/dbf_external_data_source.h"
#include "host/shapefile/dbf_field_info.h"
#include "host/shapefile/field_value_type.h"
#include "host/shapefile/projection_unit.h"
#include "host/shapefile/record_box.h"
#include "host/shapefile/shapefile_data_source_reader.h"
#include "host/shapefile/shapefile_data_source_writer.h"
#include "host/shapefile/shapefile_files.h"

// Network model
#include "host/domain/domain_element_shape_type.h"
#include "host/domain/domain_model.h"
#include "host/domain/domain_model_builder.h"
#include "host/domain/i_domain_data_set.h"
#include "host/domain/inp/inp_model.h"
#include "host/domain/network_element_types.h"
#include "host/domain/selection_set_file.h"

// Prompts
#include "host/prompts/file_proxy.h"
#include "host/prompts/dialog_result.h"
#include "host/prompts/file_filter.h"
#include "host/prompts/file_prompt_presenter.h"
#include "host/prompts/file_wrapper.h"
#include "host/prompts/list_choice_form.h"
#include "host/prompts/local_file_proxy.h"
#include "host/prompts/message_box.h"
#include "host/prompts/open_file_wrapper.h"
#include "host/prompts/save_file_wrapper.h"
#include "host/prompts/scripted_presenter.h"
#include "host/prompts/terminal_presenter.h"

// Point index and the polygon search over it
#include "host/mixed/polygon_contains_point_searcher.h"
#include "host/mixed/range_tree_2d.h"
#include "host/mixed/range_tree_2d_searcher.h"

// Registry
#include "host/registry/default_registry_store.h"
#include "host/registry/reg_file_store.h"
#include "host/registry/registry_store.h"
