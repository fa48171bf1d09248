// The prompt for a file to open.
#pragma once

#include "host/prompts/file_wrapper.h"

namespace Norvane::VaultixFacade {

// Asks until the user names a file the prompt accepts or cancels. A name
// typed without extension gets the filter's ("parcels" -> "parcels.shp").
// A folder is refused with a notice and asked again; so is, with
// CheckFileExists on (the default), a name that is no existing file.
class OpenFileWrapper final : public FileWrapper {
public:
    explicit OpenFileWrapper(IFilePromptPresenter& presenter);

    bool CheckFileExists() const { return m_checkFileExists; }
    void SetCheckFileExists(bool check) { m_checkFileExists = check; }

    // OK with FileProxy() set, or Cancel.
    DialogResult ShowPrompt();

private:
    bool m_checkFileExists = true;
};

}  // namespace Norvane::VaultixFacade
