// What a file prompt shows, and the interface of whatever shows it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/prompts/file_filter.h"

namespace Norvane::VaultixFacade {

enum class FilePromptKind { Open, Save };

struct FilePromptView {
    FilePromptKind Kind = FilePromptKind::Open;
    std::string Title;
    std::vector<FileType> Types;
    // Why the last answer was refused; empty on the first ask.
    std::string Notice;
};

class IFilePromptPresenter {
public:
    virtual ~IFilePromptPresenter() = default;
    // The path the user chose; nothing when they cancelled.
    virtual std::optional<std::string> AskForPath(const FilePromptView& view) = 0;
    // The user's yes (true) or no to a question about the chosen path.
    virtual bool Confirm(const std::string& question) = 0;
};

}  // namespace Norvane::VaultixFacade
