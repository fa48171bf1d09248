// A modal form that offers a list and takes one entry of it: the base of the
// layer selection dialog.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace Norvane::VaultixFacade {

class ListChoiceForm;

class IListChoicePresenter {
public:
    virtual ~IListChoicePresenter() = default;
    // The index of the entry chosen with the select button; nothing when the
    // user cancelled or closed the form.
    virtual std::optional<std::size_t> ChooseFromList(const ListChoiceForm& form) = 0;
};

class ListChoiceForm {
public:
    ListChoiceForm(std::string title, std::string label, std::vector<std::string> items, std::string selectText,
                   std::string cancelText);

    const std::string& Title() const { return m_title; }
    const std::string& Label() const { return m_label; }
    const std::vector<std::string>& Items() const { return m_items; }
    const std::string& SelectText() const { return m_selectText; }
    const std::string& CancelText() const { return m_cancelText; }

    // The entry marked in the list, if any. IndexOutOfRangeException for an
    // index past the list.
    void Select(std::optional<std::size_t> index);
    std::optional<std::size_t> SelectedIndex() const { return m_selected; }
    // The select button works exactly while an entry is marked.
    bool CanSelect() const { return m_selected.has_value(); }

    // Shows the form until the user selects an entry (its index, which also
    // stays marked) or cancels (nothing). IndexOutOfRangeException when the
    // presenter answers an index past the list.
    std::optional<std::size_t> ShowModal(IListChoicePresenter& presenter);

private:
    std::string m_title;
    std::string m_label;
    std::vector<std::string> m_items;
    std::string m_selectText;
    std::string m_cancelText;
    std::optional<std::size_t> m_selected;
};

}  // namespace Norvane::VaultixFacade
