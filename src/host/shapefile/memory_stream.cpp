#include "host/shapefile/memory_stream.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace Norvane::Shapefile::Detail {

std::int64_t SeekTarget(std::int64_t offset, int whence, std::uint64_t position, std::uint64_t size) {
    const std::int64_t origin = whence == SEEK_CUR   ? static_cast<std::int64_t>(position)
                                : whence == SEEK_END ? static_cast<std::int64_t>(size)
                                                     : 0;
    if (offset > 0 && origin > INT64_MAX - offset) return -1;
    return origin + offset;
}

std::size_t MemoryStream::Read(void* buffer, std::size_t bytes) {
    if (m_position >= m_bytes.size()) return 0;
    const std::size_t count = std::min<std::uint64_t>(bytes, m_bytes.size() - m_position);
    std::memcpy(buffer, m_bytes.data() + m_position, count);
    m_position += count;
    return count;
}

bool MemoryStream::Seek(std::int64_t offset, int whence) {
    const std::int64_t target = SeekTarget(offset, whence, m_position, m_bytes.size());
    if (target < 0) return false;
    m_position = static_cast<std::uint64_t>(target);
    return true;
}

std::unique_ptr<HookStream> MemoryFilesProvider::Open(std::string_view extension, std::string_view access) {
    if (access.find_first_of("wa+") != std::string_view::npos) return nullptr;
    for (const auto& [name, bytes] : m_files)
        if (name == extension) return std::make_unique<MemoryStream>(bytes);
    return nullptr;
}

}  // namespace Norvane::Shapefile::Detail
