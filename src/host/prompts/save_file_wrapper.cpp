#include "host/prompts/save_file_wrapper.h"

#include <filesystem>
#include <system_error>

#include "host/support/text_manager.h"

namespace Norvane::VaultixFacade {

using Support::TextManager;

SaveFileWrapper::SaveFileWrapper(IFilePromptPresenter& presenter)
    : FileWrapper(presenter, FilePromptKind::Save, TextManager::Current().Get("vaultix.prompt.SaveTitle")) {}

DialogResult SaveFileWrapper::ShowPrompt(const SaveDelegate& saveDelegate) {
    std::string notice;
    while (const std::optional<std::string> path = AskForPath(notice)) {
        if (const std::optional<std::string> refusal = Refusal(*path)) {
            notice = *refusal;
            continue;
        }
        std::error_code error;
        notice.clear();
        if (m_overwritePrompt && std::filesystem::exists(*path, error) &&
            !Presenter().Confirm(TextManager::Current().Get("vaultix.prompt.ConfirmOverwrite", {*path})))
            continue;
        if (saveDelegate) saveDelegate(*path);  // a failed save leaves no file chosen
        Choose(*path);
        return DialogResult::OK;
    }
    return DialogResult::Cancel;
}

std::optional<std::string> SaveFileWrapper::Refusal(const std::string& path) const {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))  // the name with its extension added
        return TextManager::Current().Get("vaultix.prompt.NotAFile", {path});
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty() && !std::filesystem::is_directory(folder, error))
        return TextManager::Current().Get("vaultix.prompt.FolderNotFound", {folder.string()});
    return std::nullopt;
}

}  // namespace Norvane::VaultixFacade
