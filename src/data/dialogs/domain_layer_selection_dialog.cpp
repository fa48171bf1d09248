#include "data/dialogs/domain_layer_selection_dialog.h"

#include "host/domain/i_domain_data_set.h"
#include "host/support/exceptions.h"
#include "host/support/text_manager.h"

namespace NorvaneAllotrixData {

using Norvane::Support::TextManager;
using Norvane::VaultixFacade::DialogResult;
using Norvane::VaultixFacade::ListChoiceForm;

namespace {

ListChoiceForm formOf(const std::string& caption, std::vector<std::string> items) {
    const TextManager& texts = TextManager::Current();
    return ListChoiceForm(caption, texts.Get("label1.Text"), std::move(items), texts.Get("buttonSelect.Text"),
                          texts.Get("buttonCancel.Text"));
}

}  // namespace

DomainLayerSelectionDialog::DomainLayerSelectionDialog(bool isMultipleDomainElementsAllowed)
    : m_isMultipleDomainElementsAllowed(isMultipleDomainElementsAllowed), m_form(formOf(m_text, {})) {}

void DomainLayerSelectionDialog::AddEntry(const std::string& shown, const std::string& path,
                                          const std::string& setLabel, Selection selection) {
    m_items.push_back(shown + "\\" + setLabel);
    m_dicSelectedIndexToPairMap.push_back(std::move(selection));
    if (m_isMultipleDomainElementsAllowed) m_dicSelectedIndexToInternalLabelMap.push_back(path + "\\" + setLabel);
}

void DomainLayerSelectionDialog::InitializeData(
    const std::vector<Norvane::Domain::IDomainElementManager*>& domainElementManagers) {
    const TextManager& texts = TextManager::Current();
    const std::string all = texts.Get("zordd.info.AllElements");
    m_items.clear();
    m_dicSelectedIndexToPairMap.clear();
    m_dicSelectedIndexToInternalLabelMap.clear();
    std::vector<const Norvane::Domain::IDomainElement*> sets;
    if (!domainElementManagers.empty())
        sets = domainElementManagers.front()->DomainDataSet().SelectionSetManager().Elements();

    const auto addEntries = [&](const std::string& shown, const std::string& path, const std::vector<int>& ids) {
        AddEntry(shown, path, all, {ids, 0});
        for (const Norvane::Domain::IDomainElement* set : sets) AddEntry(shown, path, set->Label(), {ids, set->Id()});
    };
    if (m_isMultipleDomainElementsAllowed && domainElementManagers.size() > 1) {
        std::string shown, path;
        std::vector<int> ids;
        for (const Norvane::Domain::IDomainElementManager* manager : domainElementManagers) {
            const std::string& label = manager->DomainElementType().Label();
            shown = ids.empty() ? label : texts.Get("allotrix.DomainLayerSelectionDialog.Label", {shown, label});
            path = ids.empty() ? label : path + "\\" + label;
            ids.push_back(manager->DomainElementType().Id());
        }
        addEntries(shown, path, ids);
    }
    for (const Norvane::Domain::IDomainElementManager* manager : domainElementManagers) {
        const std::string& label = manager->DomainElementType().Label();
        addEntries(label, label, {manager->DomainElementType().Id()});
    }
    m_form = formOf(m_text, m_items);
}

void DomainLayerSelectionDialog::SetText(std::string caption) {
    m_text = std::move(caption);
    m_form = formOf(m_text, m_items);
}

DialogResult DomainLayerSelectionDialog::ShowDialog(Norvane::VaultixFacade::IListChoicePresenter& presenter) {
    return m_form.ShowModal(presenter) ? DialogResult::OK : DialogResult::Cancel;
}

std::size_t DomainLayerSelectionDialog::SelectedIndex() const {
    if (!m_form.SelectedIndex())
        throw Norvane::Support::InvalidOperationException("No entry of the layer selection dialog is selected.");
    return *m_form.SelectedIndex();
}

const DomainLayerSelectionDialog::Selection& DomainLayerSelectionDialog::DomainElementTypeIDSelectionSetSelected() const {
    return m_dicSelectedIndexToPairMap[SelectedIndex()];
}

const std::string& DomainLayerSelectionDialog::SelectedText() const {
    const std::size_t index = SelectedIndex();
    return m_isMultipleDomainElementsAllowed ? m_dicSelectedIndexToInternalLabelMap[index] : m_items[index];
}

}  // namespace NorvaneAllotrixData
