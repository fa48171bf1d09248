#include "host/shapefile/staged_edit.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "host/support/exceptions.h"

namespace Norvane::Shapefile::Detail {
namespace {

[[noreturn]] void failWrite(const std::string& target, int error) {
    throw Support::ApplicationException("Could not write " + target + ": " + std::strerror(error) + ".");
}

// A link is replaced at the file it points to, not by a file of its own.
std::string resolvedTarget(const std::string& target) {
    std::error_code error;
    const auto resolved = std::filesystem::canonical(target, error);
    return error ? target : resolved.string();
}

bool writeAll(int descriptor, std::span<const unsigned char> contents) {
    while (!contents.empty()) {
        const ssize_t written = ::write(descriptor, contents.data(), contents.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            if (written == 0) errno = ENOSPC;
            return false;
        }
        contents = contents.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

bool syncFile(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return false;
    const bool synced = ::fdatasync(descriptor) == 0;
    const int error = errno;
    ::close(descriptor);
    errno = error;
    return synced;
}

void syncFolderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    const int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    ::fsync(descriptor);  // best effort: the renames are already visible
    ::close(descriptor);
}

}  // namespace

StagedEdit::~StagedEdit() {
    if (!m_committed) discard();
}

void StagedEdit::discard() {
    for (const File& file : m_files) ::unlink(file.staged.c_str());
    m_files.clear();
}

void StagedEdit::Stage(const std::string& extension, const std::string& target, std::span<const unsigned char> contents) {
    const std::string real = resolvedTarget(target);
    std::string staged = real + ".partial-XXXXXX";
    const int descriptor = ::mkostemp(staged.data(), O_CLOEXEC);
    if (descriptor < 0) failWrite(target, errno);
    struct stat original {};
    ::fchmod(descriptor, ::stat(real.c_str(), &original) == 0 ? (original.st_mode & 07777) : 0644);
    const bool written = writeAll(descriptor, contents);
    const int error = errno;
    if (::close(descriptor) != 0 || !written) {
        ::unlink(staged.c_str());
        failWrite(target, written ? errno : error);
    }
    m_files.push_back({extension, real, std::move(staged)});
}

std::unique_ptr<HookStream> StagedEdit::Open(std::string_view extension, std::string_view access) {
    for (const File& file : m_files) {
        if (file.extension != extension) continue;
        const int flags = access.find_first_of("+wa") != std::string_view::npos ? O_RDWR : O_RDONLY;
        const int descriptor = ::open(file.staged.c_str(), flags | O_CLOEXEC);
        if (descriptor < 0) {
            if (!m_failure.Happened()) m_failure = {file.target, errno};
            return nullptr;
        }
        return std::make_unique<BufferedFileStream>(descriptor, file.target, m_failure);
    }
    return nullptr;
}

void StagedEdit::ThrowIfFailed() const {
    if (m_failure.Happened()) failWrite(m_failure.fileName, m_failure.error);
}

void StagedEdit::Commit() {
    ThrowIfFailed();
    for (const File& file : m_files)
        if (!syncFile(file.staged)) failWrite(file.target, errno);
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        if (std::rename(m_files[i].staged.c_str(), m_files[i].target.c_str()) != 0) {
            const int error = errno;
            m_files.erase(m_files.begin(), m_files.begin() + static_cast<std::ptrdiff_t>(i));  // those are in place
            failWrite(m_files.front().target, error);
        }
    }
    if (!m_files.empty()) syncFolderOf(m_files.front().target);
    m_committed = true;
}

}  // namespace Norvane::Shapefile::Detail
