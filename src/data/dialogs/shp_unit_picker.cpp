#include "data/dialogs/shp_unit_picker.h"

#include <algorithm>

#include "host/support/text_manager.h"

namespace NorvaneAllotrixData {

using Norvane::Support::Unit;
using Norvane::VaultixFacade::DialogResult;
using Norvane::VaultixFacade::ListChoiceForm;

namespace {

ListChoiceForm formOf(const std::vector<Unit>& units) {
    std::vector<std::string> labels;
    for (const Unit& unit : units) labels.push_back(unit.Label());
    return ListChoiceForm("Shapefile unit", ShpUnitPickerEditorModel::kLengthUnitField, std::move(labels), "OK",
                          Norvane::Support::TextManager::Current().Get("buttonCancel.Text"));
}

}  // namespace

ShpUnitPicker::ShpUnitPicker(Norvane::Support::LengthUnit displayLengthUnit)
    : m_model(displayLengthUnit),
      m_choices(ShpUnitPickerEditorModel::LengthUnits()),
      m_comboBoxLengthUnits(formOf(m_choices)) {
    SelectModelUnit();
}

void ShpUnitPicker::SelectModelUnit() {
    const auto current = std::find(m_choices.begin(), m_choices.end(), m_model.LengthUnit());
    if (current != m_choices.end()) m_comboBoxLengthUnits.Select(static_cast<std::size_t>(current - m_choices.begin()));
}

DialogResult ShpUnitPicker::ShowDialog(Norvane::VaultixFacade::IListChoicePresenter& presenter) {
    const auto chosen = m_comboBoxLengthUnits.ShowModal(presenter);
    if (chosen) m_model.SetLengthUnit(m_choices[*chosen]);
    SelectModelUnit();  // a cancelled list forgets its selection
    return chosen ? DialogResult::OK : DialogResult::Cancel;
}

}  // namespace NorvaneAllotrixData
