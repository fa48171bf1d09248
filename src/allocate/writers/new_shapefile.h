// A new shapefile filled as a host fills any result layer: CreateLayer,
// CreateField for each field, BeginUpdate, the records, EndUpdate.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "host/calculations/i_data_layer.h"
#include "host/calculations/i_data_tools.h"
#include "host/calculations/i_edit_data_layer.h"

namespace Allotrix::Allocate {

using FieldList = std::vector<std::pair<std::string, Norvane::Support::FieldDataType>>;

// Creates the shapefile at `path` with `fields`, lets `fill` add its
// records through the IEditDataLayer it is given, and closes it.
template <typename Fill>
void WriteNewShapefile(Norvane::Allotrix::Calculations::IDataTools& tools, const std::string& path,
                       Norvane::Domain::DomainElementShapeType type, const FieldList& fields, Fill&& fill) {
    tools.CreateLayer(path, type, nullptr);
    const auto layer = tools.OpenLayer(path);
    auto* edit = dynamic_cast<Norvane::Allotrix::Calculations::IEditDataLayer*>(layer.get());
    if (!edit) throw std::logic_error("the layer at " + path + " cannot be edited");
    for (const auto& [name, kind] : fields) edit->CreateField(name, kind);
    edit->BeginUpdate();
    fill(*edit);
    edit->EndUpdate();
    layer->Dispose();
}

}  // namespace Allotrix::Allocate
