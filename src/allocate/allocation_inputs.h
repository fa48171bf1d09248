// What an allocation method reads: the open model, the data tools a host
// reaches layers and geometry through, and the files the user named.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "host/calculations/i_data_geometry_library.h"
#include "host/calculations/i_data_layer.h"
#include "host/calculations/i_data_tools.h"

namespace Norvane::Domain {
class InpModel;
}

namespace Allotrix::Allocate {

struct AllocationInputs {
    Norvane::Domain::InpModel& model;  // also the host's active data set
    std::string modelName;             // as the user named the file
    Norvane::Allotrix::Calculations::IDataTools& tools;
    Norvane::Allotrix::Calculations::IDataGeometryLibrary& geometry;
    std::string sourcePath;   // the meters (points) or parcels (polygons)
    std::string servicePath;  // the service polygons, for the polygon methods
};

// Told how many of the sources have been handled so far.
using ProgressFunction = std::function<void(std::size_t done, std::size_t total)>;

// Opens a layer through the data tools; InputError naming the path when it
// cannot be opened or is not of the shape kind wanted.
std::unique_ptr<Norvane::Allotrix::Calculations::IDataLayer> OpenInputLayer(
    Norvane::Allotrix::Calculations::IDataTools& tools, const std::string& path,
    Norvane::Domain::DomainElementShapeType wanted, const char* what);

}  // namespace Allotrix::Allocate
