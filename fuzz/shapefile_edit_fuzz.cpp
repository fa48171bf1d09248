// A shapefile from fuzzer bytes (see shapefile_images_input.h), opened by
// the writer, which adds records, changes the first one and closes. The
// writer must refuse the file with an error naming it, or leave a shapefile
// that the reader opens and reads whole, with the records added; it must
// never crash.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/host.h"
#include "scratch_folder.h"
#include "shapefile_images_input.h"

using namespace Norvane::Shapefile;
using Norvane::Support::PointArray;

namespace {

void Put(const std::string& path, const FileImage& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) std::abort();
}

// A shape the file's type takes: a triangle, or one point for point files.
void WriteSomeShape(ShapefileDataSourceWriter& writer, double shift) {
    const PointArray triangle{{shift, 0.0}, {shift + 10.0, 0.0}, {shift, 10.0}};
    try {
        writer.WriteGeometry(triangle);
    } catch (const Norvane::Support::ArgumentException&) {
        writer.WriteGeometry({triangle.front()});
    }
}

void WriteSomeValues(ShapefileDataSourceWriter& writer) {
    for (const std::string& name : writer.GetFieldNames()) {
        try {
            writer.WriteFieldData(std::string("7"), name);
        } catch (const Norvane::Support::ArgumentException&) {
        }
    }
}

int Edit(const std::string& base) {
    ShapefileDataSourceWriter writer;
    writer.OpenDataFile(base + ".shp");
    const int before = writer.RecordCount();
    for (int i = 0; i < 3; ++i) {
        writer.AddRecordBegin();
        WriteSomeShape(writer, i);
        WriteSomeValues(writer);
        writer.AddRecordEnd();
        if (i == 1 && writer.MoveTo(0)) WriteSomeValues(writer);
    }
    writer.Close();
    return before + 3;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string base = allotrix_bench::TheScratch().File("fuzz");
    const ShapefileImages images = fuzz_input::ShapefileImagesOf(data, size);
    Put(base + ".shp", images.shp);
    Put(base + ".shx", images.shx);
    Put(base + ".dbf", images.dbf);
    std::filesystem::remove(base + ".cpg");
    int expected = 0;
    try {
        expected = Edit(base);
    } catch (const Norvane::Support::ApplicationException& e) {
        if (std::string(e.what()).find(base) == std::string::npos) std::abort();  // the error names the file
        return 0;
    }
    ShapefileDataSourceReader reader;
    reader.OpenDataFile(base + ".shp");  // what the writer leaves must read
    if (reader.RecordCount() != expected) std::abort();
    while (reader.MoveNext()) {
        reader.GetGeometry();
        for (const std::string& name : reader.GetFieldNames()) reader.GetFieldValue(name);
    }
    return 0;
}
