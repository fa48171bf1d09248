// A presenter that answers from a script and records what it was shown: for
// tests of everything that prompts.
#pragma once

#include <cstddef>
#include <deque>
#include <initializer_list>
#include <string>
#include <variant>
#include <vector>

#include "host/prompts/file_prompt_presenter.h"
#include "host/prompts/list_choice_form.h"
#include "host/prompts/message_box.h"

namespace Norvane::VaultixFacade {

class ScriptedPresenter final : public IFilePromptPresenter, public IMessageBoxPresenter, public IListChoicePresenter {
public:
    // One answer of the script; each prompt takes the next one.
    class Answer {
    public:
        static Answer Path(std::string path) { return Answer(std::move(path)); }
        static Answer Choice(std::size_t index) { return Answer(index); }
        static Answer Button(DialogResult button) { return Answer(button); }
        static Answer Confirm(bool yes) { return Answer(yes); }
        // Cancels whatever is asked.
        static Answer Cancel() { return Answer(std::monostate{}); }

    private:
        friend class ScriptedPresenter;
        using Value = std::variant<std::monostate, std::string, std::size_t, DialogResult, bool>;
        explicit Answer(Value value) : m_value(std::move(value)) {}
        Value m_value;
    };

    struct Confirmation {
        std::string Question;
    };
    // What was shown, in order.
    using Shown = std::variant<FilePromptView, Confirmation, MessageBoxModel, ListChoiceForm>;

    ScriptedPresenter(std::initializer_list<Answer> answers = {}) : m_answers(answers) {}
    void Add(Answer answer) { m_answers.push_back(std::move(answer)); }

    const std::vector<Shown>& History() const { return m_shown; }
    std::size_t AnswersLeft() const { return m_answers.size(); }

    // Each takes the next answer; an exhausted script cancels, as the end of
    // the input does. std::logic_error when the answer is of another kind
    // (a path for a list, ...): the script does not match the prompts.
    std::optional<std::string> AskForPath(const FilePromptView& view) override;
    bool Confirm(const std::string& question) override;
    std::optional<DialogResult> ShowMessageBox(const MessageBoxModel& box) override;
    std::optional<std::size_t> ChooseFromList(const ListChoiceForm& form) override;

private:
    // The next answer if it holds a T; nothing for a cancel or an empty script.
    template <typename T>
    std::optional<T> Next(const char* prompt);

    std::deque<Answer> m_answers;
    std::vector<Shown> m_shown;
};

}  // namespace Norvane::VaultixFacade
