// The prompt for where to save a file.
#pragma once

#include "host/prompts/file_wrapper.h"

namespace Norvane::VaultixFacade {

// Asks until the user names a place the prompt accepts or cancels. A name
// typed without extension gets the filter's. A folder, or a name in a
// folder that does not exist, is refused with a notice and asked again; an
// existing file is replaced only when the user confirms (OverwritePrompt, on
// by default), otherwise asked again.
class SaveFileWrapper final : public FileWrapper {
public:
    explicit SaveFileWrapper(IFilePromptPresenter& presenter);

    bool OverwritePrompt() const { return m_overwritePrompt; }
    void SetOverwritePrompt(bool prompt) { m_overwritePrompt = prompt; }

    // OK with FileProxy() set, or Cancel. On OK the save delegate, when there
    // is one, writes the document to the chosen path; what it throws reaches
    // the caller.
    DialogResult ShowPrompt(const SaveDelegate& saveDelegate = {});

private:
    // Why `path` cannot be saved to, or nothing when it can.
    std::optional<std::string> Refusal(const std::string& path) const;

    bool m_overwritePrompt = true;
};

}  // namespace Norvane::VaultixFacade
