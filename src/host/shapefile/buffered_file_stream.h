// A read-write stream on a disk file that gathers shapelib's many small
// reads and writes (a record, a header word, an end-of-file byte) into one
// window of the file, written back in large pieces.
#pragma once

#include <string>
#include <vector>

#include "host/shapefile/hook_stream.h"

namespace Norvane::Shapefile::Detail {

// The first write failure among the streams of one edit: which file, and why.
struct WriteFailure {
    std::string fileName;
    int error = 0;

    bool Happened() const { return error != 0; }
};

class BufferedFileStream final : public HookStream {
public:
    // Takes ownership of `descriptor`; failures are recorded in `failure`
    // under `reportedName` (the user's file, not the staging file).
    BufferedFileStream(int descriptor, std::string reportedName, WriteFailure& failure);
    ~BufferedFileStream() override;

    std::size_t Read(void* buffer, std::size_t bytes) override;
    std::size_t Write(const void* buffer, std::size_t bytes) override;
    bool Seek(std::int64_t offset, int whence) override;
    std::uint64_t Tell() const override { return m_position; }
    bool Flush() override;
    bool Close() override;

private:
    bool inWindow(std::uint64_t from, std::size_t bytes) const;
    bool fillWindow(std::uint64_t at);
    bool writeAt(const unsigned char* bytes, std::size_t count, std::uint64_t at);
    bool fail(int error);

    int m_descriptor;
    std::string m_reportedName;
    WriteFailure& m_failure;
    std::vector<unsigned char> m_window;  // bytes [m_windowStart, m_windowStart + m_windowLength)
    std::uint64_t m_windowStart = 0;
    std::size_t m_windowLength = 0;
    bool m_dirty = false;
    std::uint64_t m_position = 0;
    std::uint64_t m_size = 0;  // of the file as written so far
};

}  // namespace Norvane::Shapefile::Detail
