// What the open and the save prompt share: the filter, the title and the
// file chosen.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/prompts/dialog_result.h"
#include "host/prompts/file_filter.h"
#include "host/prompts/file_prompt_presenter.h"
#include "host/prompts/file_proxy.h"

namespace Norvane::VaultixFacade {

class FileWrapper {
public:
    FileWrapper(const FileWrapper&) = delete;
    FileWrapper& operator=(const FileWrapper&) = delete;
    virtual ~FileWrapper() = default;

    const std::string& Filter() const { return m_filter; }
    // ArgumentException when the text is no filter (see ParseFileFilter).
    void SetFilter(const std::string& filter);
    const std::string& Title() const { return m_title; }
    void SetTitle(std::string title) { m_title = std::move(title); }

    // The file chosen by the last prompt that ended with OK, as an absolute
    // path; null before that and after Dispose.
    std::unique_ptr<IFileProxy> FileProxy() const;
    // Forgets the chosen file. Calling it again does nothing.
    void Dispose() { m_chosen.reset(); }

protected:
    FileWrapper(IFilePromptPresenter& presenter, FilePromptKind kind, std::string title);

    // Asks for a path until the answer is neither empty nor a folder; gives
    // it Completed, or nothing when the user cancels. `notice` (why the last
    // answer was refused) is shown with the question.
    std::optional<std::string> AskForPath(std::string notice);
    // The path with the filter's extension added when it has none, made
    // absolute against the working directory.
    std::string Completed(const std::string& typed) const;
    void Choose(std::string path) { m_chosen = std::move(path); }
    IFilePromptPresenter& Presenter() { return m_presenter; }

private:
    IFilePromptPresenter& m_presenter;
    FilePromptKind m_kind;
    std::string m_title;
    std::string m_filter;
    std::vector<FileType> m_types;
    std::optional<std::string> m_chosen;
};

}  // namespace Norvane::VaultixFacade
