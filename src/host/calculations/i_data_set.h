// A collection of layers that live together (a folder of shapefiles, or the
// element types of a model).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/support/units.h"

namespace Norvane::Allotrix::Calculations {

class IDataLayer;

class IDataSet {
public:
    virtual ~IDataSet() = default;
    // A new open layer of the set; the caller owns it.
    virtual std::unique_ptr<IDataLayer> DataLayer(const std::string& name) = 0;
    virtual std::vector<std::string> DataLayerNames() = 0;
    virtual void Dispose() = 0;
    virtual std::string Path() = 0;
    virtual Support::LengthUnit LengthUnit() = 0;
};

}  // namespace Norvane::Allotrix::Calculations
