#include "host/prompts/scripted_presenter.h"

#include <stdexcept>

namespace Norvane::VaultixFacade {

template <typename T>
std::optional<T> ScriptedPresenter::Next(const char* prompt) {
    if (m_answers.empty()) return std::nullopt;
    const Answer::Value value = std::move(m_answers.front().m_value);
    m_answers.pop_front();
    if (std::holds_alternative<std::monostate>(value)) return std::nullopt;
    if (const T* answer = std::get_if<T>(&value)) return *answer;
    throw std::logic_error(std::string("The scripted answer does not fit the ") + prompt + ".");
}

std::optional<std::string> ScriptedPresenter::AskForPath(const FilePromptView& view) {
    m_shown.emplace_back(view);
    return Next<std::string>("file prompt");
}

bool ScriptedPresenter::Confirm(const std::string& question) {
    m_shown.emplace_back(Confirmation{question});
    return Next<bool>("confirmation").value_or(false);
}

std::optional<DialogResult> ScriptedPresenter::ShowMessageBox(const MessageBoxModel& box) {
    m_shown.emplace_back(box);
    return Next<DialogResult>("message box");
}

std::optional<std::size_t> ScriptedPresenter::ChooseFromList(const ListChoiceForm& form) {
    m_shown.emplace_back(form);
    return Next<std::size_t>("list");
}

}  // namespace Norvane::VaultixFacade
