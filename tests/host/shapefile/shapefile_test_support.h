// What the shapefile tests share: the fixtures, a scratch folder, empty
// shapefiles laid out as the data layer's prototypes are, and the outside
// readers (ogrinfo, pyshp) that check what the writer wrote.
#pragma once

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "host/shapefile/shapefile_files.h"

namespace shapefile_test {

namespace fs = std::filesystem;

inline std::string DataPath(const std::string& name) { return std::string(ALLOTRIX_TEST_DATA) + "/shapefiles/" + name; }

inline std::vector<unsigned char> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A fixture's files in memory, for tests that damage them.
inline Norvane::Shapefile::ShapefileImages Images(const std::string& name) {
    return Norvane::Shapefile::ReadShapefileImages(Norvane::Shapefile::FindShapefileFiles(DataPath(name)));
}

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "allotrix-shapefile-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(m_path, ignored);
    }
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    const fs::path& Path() const { return m_path; }
    // Copies the fixture's files in; the path of its .shp.
    std::string Copy(const std::string& fixture) const {
        for (const auto& entry : fs::directory_iterator(fs::path(DataPath(""))))
            if (entry.path().stem() == fixture) fs::copy_file(entry.path(), m_path / entry.path().filename());
        return File(fixture + ".shp");
    }

private:
    fs::path m_path;
};

// An empty shapefile as the data layer's prototypes are: a header whose box
// is (0, 0, -1, -1), a dBASE III table with language driver 0x57 and, for
// points and polylines, the fields Id N(6) and ElementID N(9).
void WriteEmptyShapefile(const std::string& base, int shapeType);
// Appends the shapes and attribute records of shapefile `from` to `to`
// through shapelib alone, adding the fields `to` lacks.
void CopyRecordsWithShapelib(const std::string& from, const std::string& to);

// The command's standard output, or nullopt when it failed.
inline std::optional<std::string> Output(const std::string& command) {
    std::FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string out;
    char buffer[4096];
    while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, got);
    return ::pclose(pipe) == 0 ? std::optional(out) : std::nullopt;
}

inline bool HaveOgrinfo() { return Output("ogrinfo --version").has_value(); }

// A Python that has pyshp: the first python3 on the path may be a private one without it.
inline std::optional<std::string> PyshpPython() {
    for (const char* python : {"python3", "/usr/bin/python3"})
        if (Output(std::string(python) + " -c 'import shapefile'")) return std::string(python);
    return std::nullopt;
}

}  // namespace shapefile_test
