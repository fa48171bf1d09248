// The files shapelib reads and writes, reached through its I/O hooks so that
// the library decides where the bytes live: in memory for reading, in
// buffered staging files for writing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace Norvane::Shapefile::Detail {

// One open file as shapelib sees it.
class HookStream {
public:
    virtual ~HookStream() = default;
    // Bytes actually read or written.
    virtual std::size_t Read(void* buffer, std::size_t bytes) = 0;
    virtual std::size_t Write(const void* buffer, std::size_t bytes) = 0;
    // `whence` as for fseek; false for a position before the start.
    virtual bool Seek(std::int64_t offset, int whence) = 0;
    virtual std::uint64_t Tell() const = 0;
    virtual bool Flush() = 0;
    // Called once before the stream is destroyed; false when pending bytes
    // could not be written.
    virtual bool Close() = 0;
};

// Hands shapelib the files of one shapefile, chosen by extension.
class StreamProvider {
public:
    virtual ~StreamProvider() = default;
    // `extension` in lower case without the dot ("shp", "dbf", ...); null when
    // the provider has no such file.
    virtual std::unique_ptr<HookStream> Open(std::string_view extension, std::string_view access) = 0;
};

}  // namespace Norvane::Shapefile::Detail
