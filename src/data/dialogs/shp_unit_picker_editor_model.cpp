#include "data/dialogs/shp_unit_picker_editor_model.h"

#include "host/support/exceptions.h"

namespace NorvaneAllotrixData {

using Norvane::Support::Unit;

void ShpUnitPickerEditorModel::SetLengthUnit(const Unit& unit) {
    if (!unit.IsLength())
        throw Norvane::Support::ArgumentException("A shapefile's unit must be a length, not \"" + unit.Name() + "\".");
    m_lengthUnit = unit;
}

std::vector<Unit> ShpUnitPickerEditorModel::LengthUnits() {
    return Unit::AvailableUnitsSorted(Norvane::Support::Dimension::Length);
}

}  // namespace NorvaneAllotrixData
