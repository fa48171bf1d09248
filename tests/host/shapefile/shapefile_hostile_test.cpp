#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

#include "host/host.h"
#include "shapefile_test_support.h"

using namespace Norvane::Shapefile;
using namespace Norvane::Support;
using namespace shapefile_test;

namespace {

void PutBigEndian32(FileImage& image, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) image[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>(value >> (24 - 8 * i));
}

void PutLittleEndian32(FileImage& image, std::size_t at, std::int32_t value) {
    std::memcpy(&image[at], &value, 4);
}

// Polygon_Holes: 3 polygons; record 1's content starts at byte 108 of the .shp.
constexpr std::size_t kFirstContent = 108;

std::string FailureOf(ShapefileImages images) {
    try {
        ShapefileDataSourceReader reader;
        reader.OpenDataImages(std::move(images));
        while (reader.MoveNext()) {
            reader.GetGeometry();
            reader.GetFieldValue(0);
        }
    } catch (const ApplicationException& e) {
        return e.what();
    }
    return "no failure";
}

}  // namespace

TEST(ShapefileHostileInput, DamagedFilesFailWithAnErrorNamingTheFile) {
    const struct {
        const char* damage;
        std::function<void(ShapefileImages&)> apply;
        const char* expected;
    } cases[] = {
        {"empty .shp", [](ShapefileImages& f) { f.shp.clear(); }, "Polygon_Holes.shp is not a shapefile"},
        {"cut .shp", [](ShapefileImages& f) { f.shp.resize(f.shp.size() / 2); }, "Polygon_Holes.shp is damaged: its header gives"},
        {"header length beyond the .shx", [](ShapefileImages& f) { PutBigEndian32(f.shx, 24, 0x7FFFFFFF); },
         "Polygon_Holes.shx is damaged: its header gives"},
        {".shx offset past the end", [](ShapefileImages& f) { PutBigEndian32(f.shx, 116, 0x7FFFFFF0); }, "record 3 lies past the end"},
        {".shx and .shp lengths differ", [](ShapefileImages& f) { PutBigEndian32(f.shx, 104, 2); }, "record 1 has a different length"},
        {"negative part count", [](ShapefileImages& f) { PutLittleEndian32(f.shp, kFirstContent + 36, -1); }, "negative count"},
        {"huge point count", [](ShapefileImages& f) { PutLittleEndian32(f.shp, kFirstContent + 40, 0x7FFFFFFF); },
         "record 1 claims 4 parts and 2147483647 points"},
        {"part outside the points", [](ShapefileImages& f) { PutLittleEndian32(f.shp, kFirstContent + 48, 99); },
         "record 1 has a part that starts outside"},
        {"foreign record type", [](ShapefileImages& f) { PutLittleEndian32(f.shp, kFirstContent, 1); }, "record 1 holds shape type 1"},
        {"MultiPatch", [](ShapefileImages& f) { PutLittleEndian32(f.shp, 32, 31); }, "MultiPatch"},
        {"shape types of .shp and .shx differ", [](ShapefileImages& f) { PutLittleEndian32(f.shx, 32, 3); }, "shape types differ"},
        {".dbf shorter than its count", [](ShapefileImages& f) { f.dbf.resize(f.dbf.size() - 100); },
         "Polygon_Holes.dbf is damaged: its header counts 3 records but the file holds 2"},
        {".dbf header length past the end", [](ShapefileImages& f) { f.dbf[8] = 0xFF; f.dbf[9] = 0xFF; }, "Polygon_Holes.dbf is damaged"},
        {".dbf with fewer records than shapes", [](ShapefileImages& f) { f.dbf[4] = 2; },
         "Polygon_Holes.shx lists 3 shapes but " },
    };
    for (const auto& c : cases) {
        ShapefileImages images = Images("Polygon_Holes");
        c.apply(images);
        EXPECT_NE(FailureOf(std::move(images)).find(c.expected), std::string::npos) << c.damage << ": " << c.expected;
    }
}

TEST(ShapefileHostileInput, MissingCompanionFilesAreNamed) {
    ScratchFolder folder;
    const std::string shp = folder.Copy("Point");
    ShapefileDataSourceReader reader;
    std::filesystem::remove(folder.File("Point.dbf"));
    try {
        reader.OpenDataFile(shp);
        ADD_FAILURE() << "opened without its .dbf";
    } catch (const FileNotFoundException& e) {
        EXPECT_NE(std::string(e.what()).find("Point.dbf"), std::string::npos) << e.what();
    }
    std::filesystem::remove(folder.File("Point.shx"));
    EXPECT_THROW(reader.OpenDataFile(shp), FileNotFoundException);
    EXPECT_THROW(reader.OpenDataFile(folder.File("nothing.shp")), FileNotFoundException);
    EXPECT_FALSE(reader.IsOpen());
}

TEST(ShapefileHostileInput, NanCoordinatesReadAsNaNAndMeetNothing) {
    ShapefileImages images = Images("Point");
    const double nan = std::nan("");
    std::memcpy(&images.shp[112], &nan, sizeof nan);  // record 1: x after the header and the type
    ShapefileDataSourceReader reader;
    reader.OpenDataImages(std::move(images));
    reader.MoveNext();
    EXPECT_TRUE(std::isnan(reader.GetPointGeometry().X));
    EXPECT_FALSE(reader.GetPointGeometry().IsEmpty());
    const RecordBox box = reader.GetCurrentRecordBox();
    EXPECT_FALSE(box.Meets(RecordBox{-1e300, -1e300, 1e300, 1e300}));
}
