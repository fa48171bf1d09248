// Shows prompts, message boxes and list forms on a text terminal.
#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "host/prompts/file_prompt_presenter.h"
#include "host/prompts/list_choice_form.h"
#include "host/prompts/message_box.h"

namespace Norvane::VaultixFacade {

// Reads answers line by line, so it works the same on a terminal and with
// input redirected from a file or a pipe. An answer it cannot use is asked
// again; the end of the input cancels (and is cleared, so that a terminal
// user's Ctrl-D cancels only the question at hand).
//
// - A path: the line, trimmed, without surrounding quotes. Empty lines are
//   asked again.
// - A list entry: its number from 1; 0 cancels. An entry marked in the form
//   before it is shown is listed as "(current)".
// - A message box: one button is just shown; several are listed and taken by
//   number or by caption ("yes", "No").
// - A confirmation: y, yes, n or no.
class TerminalPresenter final : public IFilePromptPresenter, public IMessageBoxPresenter, public IListChoicePresenter {
public:
    TerminalPresenter(std::istream& in, std::ostream& out) : m_in(in), m_out(out) {}

    std::optional<std::string> AskForPath(const FilePromptView& view) override;
    bool Confirm(const std::string& question) override;
    std::optional<DialogResult> ShowMessageBox(const MessageBoxModel& box) override;
    std::optional<std::size_t> ChooseFromList(const ListChoiceForm& form) override;

private:
    // Writes the prompt and reads one line, trimmed; nothing at the end of
    // the input.
    std::optional<std::string> Ask(const std::string& prompt);

    std::istream& m_in;
    std::ostream& m_out;
};

}  // namespace Norvane::VaultixFacade
