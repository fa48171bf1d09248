// Read-only files in memory: a stream over bytes, and a provider of such
// streams by extension.
#pragma once

#include <span>
#include <string>
#include <utility>
#include <vector>

#include "host/shapefile/hook_stream.h"

namespace Norvane::Shapefile::Detail {

class MemoryStream final : public HookStream {
public:
    explicit MemoryStream(std::span<const unsigned char> bytes) : m_bytes(bytes) {}

    std::size_t Read(void* buffer, std::size_t bytes) override;
    std::size_t Write(const void*, std::size_t) override { return 0; }
    bool Seek(std::int64_t offset, int whence) override;
    std::uint64_t Tell() const override { return m_position; }
    bool Flush() override { return true; }
    bool Close() override { return true; }

private:
    std::span<const unsigned char> m_bytes;
    std::uint64_t m_position = 0;
};

// Files held in memory, found by extension; read-only.
class MemoryFilesProvider final : public StreamProvider {
public:
    void Add(std::string extension, std::span<const unsigned char> bytes) {
        m_files.emplace_back(std::move(extension), bytes);
    }
    std::unique_ptr<HookStream> Open(std::string_view extension, std::string_view access) override;

private:
    std::vector<std::pair<std::string, std::span<const unsigned char>>> m_files;
};

// The stream position `offset` from `whence` (SEEK_SET, SEEK_CUR, SEEK_END)
// in a file of `size` bytes at `position`; negative when it falls before the start.
std::int64_t SeekTarget(std::int64_t offset, int whence, std::uint64_t position, std::uint64_t size);

}  // namespace Norvane::Shapefile::Detail
