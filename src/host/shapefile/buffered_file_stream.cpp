#include "host/shapefile/buffered_file_stream.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "host/shapefile/memory_stream.h"

namespace Norvane::Shapefile::Detail {
namespace {

constexpr std::size_t kWindowSize = std::size_t{1} << 20;

}  // namespace

BufferedFileStream::BufferedFileStream(int descriptor, std::string reportedName, WriteFailure& failure)
    : m_descriptor(descriptor), m_reportedName(std::move(reportedName)), m_failure(failure) {
    m_window.resize(kWindowSize);
    struct stat status {};
    if (::fstat(m_descriptor, &status) == 0) m_size = static_cast<std::uint64_t>(status.st_size);
}

BufferedFileStream::~BufferedFileStream() {
    if (m_descriptor >= 0) Close();
}

bool BufferedFileStream::fail(int error) {
    if (!m_failure.Happened()) m_failure = {m_reportedName, error != 0 ? error : EIO};
    return false;
}

bool BufferedFileStream::inWindow(std::uint64_t from, std::size_t bytes) const {
    return from >= m_windowStart && from - m_windowStart + bytes <= m_windowLength;
}

bool BufferedFileStream::writeAt(const unsigned char* bytes, std::size_t count, std::uint64_t at) {
    while (count > 0) {
        const ssize_t written = ::pwrite(m_descriptor, bytes, count, static_cast<off_t>(at));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return fail(written < 0 ? errno : ENOSPC);
        bytes += written;
        at += static_cast<std::uint64_t>(written);
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

bool BufferedFileStream::Flush() {
    if (!m_dirty) return true;
    m_dirty = false;
    return writeAt(m_window.data(), m_windowLength, m_windowStart);
}

bool BufferedFileStream::fillWindow(std::uint64_t at) {
    if (!Flush()) return false;
    m_windowStart = at;
    m_windowLength = 0;
    while (m_windowLength < m_window.size()) {
        const ssize_t got = ::pread(m_descriptor, m_window.data() + m_windowLength, m_window.size() - m_windowLength,
                                    static_cast<off_t>(at + m_windowLength));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return fail(errno);
        if (got == 0) break;
        m_windowLength += static_cast<std::size_t>(got);
    }
    return true;
}

std::size_t BufferedFileStream::Read(void* buffer, std::size_t bytes) {
    if (!inWindow(m_position, bytes)) {
        if (bytes > m_window.size() || !fillWindow(m_position)) {
            // Too large for the window, or the window failed: read directly.
            if (!Flush()) return 0;
            const ssize_t got = ::pread(m_descriptor, buffer, bytes, static_cast<off_t>(m_position));
            if (got <= 0) return 0;
            m_position += static_cast<std::uint64_t>(got);
            return static_cast<std::size_t>(got);
        }
    }
    const std::size_t available = m_position >= m_windowStart + m_windowLength
                                      ? 0
                                      : std::min<std::size_t>(bytes, m_windowStart + m_windowLength - m_position);
    std::memcpy(buffer, m_window.data() + (m_position - m_windowStart), available);
    m_position += available;
    return available;
}

std::size_t BufferedFileStream::Write(const void* buffer, std::size_t bytes) {
    const auto* source = static_cast<const unsigned char*>(buffer);
    const bool extendsWindow = m_position >= m_windowStart && m_position <= m_windowStart + m_windowLength &&
                               m_position - m_windowStart + bytes <= m_window.size();
    if (!extendsWindow) {
        if (!Flush()) return 0;
        m_windowStart = m_position;
        m_windowLength = 0;
        if (bytes > m_window.size()) {
            if (!writeAt(source, bytes, m_position)) return 0;
            m_position += bytes;
            m_size = std::max(m_size, m_position);
            return bytes;
        }
    }
    const std::size_t offset = m_position - m_windowStart;
    std::memcpy(m_window.data() + offset, source, bytes);
    m_windowLength = std::max(m_windowLength, offset + bytes);
    m_dirty = true;
    m_position += bytes;
    m_size = std::max(m_size, m_position);
    return bytes;
}

bool BufferedFileStream::Seek(std::int64_t offset, int whence) {
    const std::int64_t target = SeekTarget(offset, whence, m_position, m_size);
    if (target < 0) return false;
    m_position = static_cast<std::uint64_t>(target);
    return true;
}

bool BufferedFileStream::Close() {
    if (m_descriptor < 0) return true;
    bool closed = Flush();
    if (::close(m_descriptor) != 0) closed = fail(errno);
    m_descriptor = -1;
    return closed;
}

}  // namespace Norvane::Shapefile::Detail
