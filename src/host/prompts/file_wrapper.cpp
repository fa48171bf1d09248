#include "host/prompts/file_wrapper.h"

#include <filesystem>
#include <system_error>

#include "host/prompts/local_file_proxy.h"
#include "host/support/text_manager.h"

namespace Norvane::VaultixFacade {

FileWrapper::FileWrapper(IFilePromptPresenter& presenter, FilePromptKind kind, std::string title)
    : m_presenter(presenter), m_kind(kind), m_title(std::move(title)) {}

void FileWrapper::SetFilter(const std::string& filter) {
    m_types = ParseFileFilter(filter);
    m_filter = filter;
}

std::unique_ptr<IFileProxy> FileWrapper::FileProxy() const {
    if (!m_chosen) return nullptr;
    return std::make_unique<LocalFileProxy>(*m_chosen);
}

std::optional<std::string> FileWrapper::AskForPath(std::string notice) {
    const Support::TextManager& texts = Support::TextManager::Current();
    while (const std::optional<std::string> typed = m_presenter.AskForPath({m_kind, m_title, m_types, notice})) {
        std::error_code error;
        if (typed->empty()) {
            notice = texts.Get("vaultix.prompt.NameRequired");
        } else if (std::filesystem::is_directory(*typed, error)) {
            notice = texts.Get("vaultix.prompt.NotAFile", {*typed});
        } else {
            return Completed(*typed);
        }
    }
    return std::nullopt;
}

std::string FileWrapper::Completed(const std::string& typed) const {
    std::filesystem::path path(typed);
    const std::optional<std::string> extension = DefaultExtension(m_types);
    if (extension && !path.has_extension() && path.has_filename()) path += *extension;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return (error ? path : absolute.lexically_normal()).string();
}

}  // namespace Norvane::VaultixFacade
