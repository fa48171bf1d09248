// The data set of model-element layers: it opens a layer for any path, of
// model elements against the host's active model, or of a shapefile; it
// lists no layers of its own.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/calculations/allotrix_library.h"
#include "host/calculations/i_data_set.h"

namespace Norvane::Allotrix::Calculations::Data {

class StandardDataSet final : public IDataSet {
public:
    // `library` gives the active model and the display unit; it must outlive
    // the set and the layers it opens (null: no model is open).
    explicit StandardDataSet(const AllotrixLibrary* library) : m_library(library) {}

    // A model-element path is parsed against the active model; a path
    // holding ".SHP" (any case) opens that shapefile.
    std::unique_ptr<IDataLayer> DataLayer(const std::string& name) override;
    std::vector<std::unique_ptr<IDataLayer>> DataLayers() { return {}; }
    std::vector<std::string> DataLayerNames() override { return {}; }
    void Dispose() override {}
    std::string Path() override { return {}; }
    // Always value 5 of the host's enumeration, whatever the model.
    Support::LengthUnit LengthUnit() override { return Support::LengthUnit::Foot; }

private:
    const AllotrixLibrary* m_library;
};

}  // namespace Norvane::Allotrix::Calculations::Data
