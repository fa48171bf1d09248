// A temporary folder that benchmarks write their files into, removed with
// everything in it when the benchmark ends.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace allotrix_bench {

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "allotrix-bench-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() { std::filesystem::remove_all(m_path); }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// The one folder of a benchmark process.
inline const ScratchFolder& TheScratch() {
    static const ScratchFolder scratch;
    return scratch;
}

}  // namespace allotrix_bench
