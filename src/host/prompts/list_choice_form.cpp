#include "host/prompts/list_choice_form.h"

#include <utility>

#include "host/support/exceptions.h"

namespace Norvane::VaultixFacade {

ListChoiceForm::ListChoiceForm(std::string title, std::string label, std::vector<std::string> items,
                               std::string selectText, std::string cancelText)
    : m_title(std::move(title)),
      m_label(std::move(label)),
      m_items(std::move(items)),
      m_selectText(std::move(selectText)),
      m_cancelText(std::move(cancelText)) {}

void ListChoiceForm::Select(std::optional<std::size_t> index) {
    if (index && *index >= m_items.size())
        throw Support::IndexOutOfRangeException("No entry " + std::to_string(*index) + " in a list of " +
                                                std::to_string(m_items.size()) + ".");
    m_selected = index;
}

std::optional<std::size_t> ListChoiceForm::ShowModal(IListChoicePresenter& presenter) {
    const std::optional<std::size_t> chosen = presenter.ChooseFromList(*this);
    Select(chosen);
    return chosen;
}

}  // namespace Norvane::VaultixFacade
