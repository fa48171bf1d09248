#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "data/mapobjectslt/map_objects_lt_library.h"
#include "host/support/exceptions.h"

using Norvane::Allotrix::Calculations::Data::MapObjectsLT::MapObjectsLTLibrary;
using Norvane::Domain::DomainElementShapeType;
namespace fs = std::filesystem;

namespace {

std::vector<unsigned char> bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::uint32_t bigEndian32(const std::vector<unsigned char>& b, std::size_t at) {
    return (b[at] << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}

struct TempDir {
    fs::path path = fs::temp_directory_path() / ("allotrix-create-" + std::to_string(::getpid()));
    TempDir() { fs::create_directories(path); }
    ~TempDir() {
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(path);
    }
};

}  // namespace

TEST(CreateShapefile, WritesTheThreePrototypesOfEachKindAndReplacesOldFiles) {
    TempDir dir;
    const std::string base = (dir.path / "result").string();
    std::ofstream(base + ".dbf") << "an older attribute file";
    const struct { DomainElementShapeType kind; std::uint8_t esriType; std::size_t dbfSize; } kinds[] = {
        {DomainElementShapeType::Point, 1, 98},
        {DomainElementShapeType::Polyline, 3, 98},
        {DomainElementShapeType::Polygon, 5, 66},
    };
    for (const auto& k : kinds) {
        MapObjectsLTLibrary::CreateShapefile(base, k.kind);
        const auto shp = bytesOf(base + ".shp");
        ASSERT_EQ(shp.size(), 100u);
        EXPECT_EQ(shp, bytesOf(base + ".shx"));
        EXPECT_EQ(bigEndian32(shp, 0), 9994u);
        EXPECT_EQ(bigEndian32(shp, 24), 50u);
        EXPECT_EQ(shp[32], k.esriType);
        const auto dbf = bytesOf(base + ".dbf");
        ASSERT_EQ(dbf.size(), k.dbfSize);
        EXPECT_EQ(dbf[0], 0x03);
        EXPECT_EQ(dbf[29], 0x57);
        EXPECT_EQ(dbf[dbf.size() - 2], 0x0d);
        EXPECT_EQ(dbf.back(), 0x1a);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&dbf[32])), "Id");
        if (k.dbfSize == 98) {
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(&dbf[64])), "ElementID");
        }
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 3);
    EXPECT_THROW(MapObjectsLTLibrary::CreateShapefile(base, static_cast<DomainElementShapeType>(3)),
                 Norvane::Support::ArgumentException);
}

TEST(CreateShapefile, AFailedWriteKeepsTheOldFilesAndNamesTheFile) {
    TempDir dir;
    const std::string base = (dir.path / "kept").string();
    std::ofstream(base + ".shp") << "old";
    fs::create_directory(base + ".shx.partial");  // the index cannot be staged
    try {
        MapObjectsLTLibrary::CreateShapefile(base, DomainElementShapeType::Point);
        FAIL() << "expected a write failure";
    } catch (const Norvane::Support::ApplicationException& e) {
        EXPECT_NE(std::string(e.what()).find("kept.shx"), std::string::npos) << e.what();
    }
    EXPECT_EQ(bytesOf(base + ".shp").size(), 3u);
}

TEST(MapObjectsLTLibrary, ShapeTypesMapToKindsAndOthersAreOutOfRange) {
    EXPECT_EQ(MapObjectsLTLibrary::GetShapeType(21), DomainElementShapeType::Point);
    EXPECT_EQ(MapObjectsLTLibrary::GetShapeType(8), DomainElementShapeType::Polyline);
    EXPECT_EQ(MapObjectsLTLibrary::GetShapeType(25), DomainElementShapeType::Polygon);
    for (int type : {0, 18, 28, 31, -1})
        EXPECT_THROW(MapObjectsLTLibrary::GetShapeType(type), Norvane::Support::IndexOutOfRangeException);
}
