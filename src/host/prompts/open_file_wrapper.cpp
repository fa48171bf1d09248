#include "host/prompts/open_file_wrapper.h"

#include <filesystem>
#include <system_error>

#include "host/support/text_manager.h"

namespace Norvane::VaultixFacade {

using Support::TextManager;

OpenFileWrapper::OpenFileWrapper(IFilePromptPresenter& presenter)
    : FileWrapper(presenter, FilePromptKind::Open, TextManager::Current().Get("vaultix.prompt.OpenTitle")) {}

DialogResult OpenFileWrapper::ShowPrompt() {
    std::string notice;
    while (const std::optional<std::string> path = AskForPath(notice)) {
        std::error_code error;
        if (m_checkFileExists && !std::filesystem::is_regular_file(*path, error)) {
            notice = TextManager::Current().Get("vaultix.prompt.FileNotFound", {*path});
            continue;
        }
        Choose(*path);
        return DialogResult::OK;
    }
    return DialogResult::Cancel;
}

}  // namespace Norvane::VaultixFacade
