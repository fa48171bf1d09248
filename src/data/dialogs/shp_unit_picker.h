// The dialog that asks which length unit a shapefile's coordinates are in.
// The host shows it; the library never does. The list offers every length
// unit in the host's order with the model's current unit selected; OK takes
// the selected one.
#pragma once

#include "data/dialogs/shp_unit_picker_editor_model.h"
#include "host/prompts/dialog_result.h"
#include "host/prompts/list_choice_form.h"

namespace NorvaneAllotrixData {

class ShpUnitPicker {
public:
    explicit ShpUnitPicker(Norvane::Support::LengthUnit displayLengthUnit);

    // The unit chosen (until then, the display unit).
    const Norvane::Support::Unit& LengthUnit() const { return m_model.LengthUnit(); }
    ShpUnitPickerEditorModel& Model() { return m_model; }

    // The list bound to the model's "LengthUnit" field, as the presenter
    // shows it: caption "Shapefile unit", button "OK".
    const Norvane::VaultixFacade::ListChoiceForm& Form() const { return m_comboBoxLengthUnits; }
    // OK stores the chosen unit in the model; Cancel leaves it.
    Norvane::VaultixFacade::DialogResult ShowDialog(Norvane::VaultixFacade::IListChoicePresenter& presenter);

private:
    void SelectModelUnit();

    ShpUnitPickerEditorModel m_model;
    std::vector<Norvane::Support::Unit> m_choices;
    Norvane::VaultixFacade::ListChoiceForm m_comboBoxLengthUnits;
};

}  // namespace NorvaneAllotrixData
