// The dialog that picks which model elements form a layer: an element type,
// or in multiple mode several types together, with all of their elements or
// one selection set. Each list entry reads "<types>\<All Elements or set>"
// and stands for the path of those elements.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/domain/i_domain_element_manager.h"
#include "host/prompts/dialog_result.h"
#include "host/prompts/list_choice_form.h"
#include "host/support/pair.h"

namespace NorvaneAllotrixData {

class DomainLayerSelectionDialog {
public:
    // Element-type IDs and a selection-set ID (0: all elements).
    using Selection = Norvane::Support::Pair<std::vector<int>, std::int32_t>;

    DomainLayerSelectionDialog() : DomainLayerSelectionDialog(false) {}
    explicit DomainLayerSelectionDialog(bool isMultipleDomainElementsAllowed);

    // The caption; "Pick a Selection Set..." until the caller gives one.
    const std::string& Text() const { return m_text; }
    void SetText(std::string caption);

    // Fills the list: in multiple mode with more than one manager, first the
    // entries of all the types together ("Junction and Hydrant\..."); then,
    // type by type, its All Elements entry followed by one entry per
    // selection set of the model (the first manager's data set).
    void InitializeData(const std::vector<Norvane::Domain::IDomainElementManager*>& domainElementManagers);

    // The list and its buttons as the presenter shows them.
    const Norvane::VaultixFacade::ListChoiceForm& Form() const { return m_form; }
    // Marks an entry (nothing: none); Select is enabled exactly while one is.
    void SelectIndex(std::optional<std::size_t> index) { m_form.Select(index); }
    bool IsSelectEnabled() const { return m_form.CanSelect(); }

    // OK with an entry selected, or Cancel when the user cancelled or closed
    // the dialog.
    Norvane::VaultixFacade::DialogResult ShowDialog(Norvane::VaultixFacade::IListChoicePresenter& presenter);

    // The selected entry's types and selection set, and its path.
    // InvalidOperationException when no entry is selected.
    const Selection& DomainElementTypeIDSelectionSetSelected() const;
    const std::string& SelectedText() const;

private:
    void AddEntry(const std::string& shown, const std::string& path, const std::string& setLabel, Selection selection);
    std::size_t SelectedIndex() const;

    bool m_isMultipleDomainElementsAllowed;
    std::string m_text = "Pick a Selection Set...";
    Norvane::VaultixFacade::ListChoiceForm m_form;
    // Per list entry, in list order.
    std::vector<std::string> m_items;
    std::vector<Selection> m_dicSelectedIndexToPairMap;
    std::vector<std::string> m_dicSelectedIndexToInternalLabelMap;
};

}  // namespace NorvaneAllotrixData
