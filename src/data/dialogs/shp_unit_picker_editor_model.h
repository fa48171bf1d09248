// What the shapefile unit picker edits: one length unit, chosen from every
// length unit the host offers.
#pragma once

#include <string>
#include <vector>

#include "host/support/units.h"

namespace NorvaneAllotrixData {

class ShpUnitPickerEditorModel {
public:
    // The name and label of the one field the picker binds.
    static constexpr const char* kLengthUnitField = "LengthUnit";

    // Starts at the unit of the host's display length unit.
    explicit ShpUnitPickerEditorModel(Norvane::Support::LengthUnit displayLengthUnit)
        : m_lengthUnit(Norvane::Support::Unit::FromLengthUnit(displayLengthUnit)) {}

    const Norvane::Support::Unit& LengthUnit() const { return m_lengthUnit; }
    // ArgumentException for a unit that is not a length.
    void SetLengthUnit(const Norvane::Support::Unit& unit);

    // The choices: every unit of the length dimension in the host's sorted
    // order.
    static std::vector<Norvane::Support::Unit> LengthUnits();

private:
    Norvane::Support::Unit m_lengthUnit;
};

}  // namespace NorvaneAllotrixData
