// A shapefile from fuzzer bytes: two little-endian 32-bit lengths, then the
// .shp and the .shx of those lengths, then the .dbf. Every input must either
// open and be read whole, record by record, or fail with an error that names
// the file; it must never crash, hang or allocate without bound.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "host/host.h"
#include "host/shapefile/text_codec.h"

using namespace Norvane::Shapefile;

namespace {

FileImage Take(const std::uint8_t*& data, std::size_t& size, std::size_t wanted) {
    const std::size_t taken = wanted < size ? wanted : size;
    FileImage part(data, data + taken);
    data += taken;
    size -= taken;
    return part;
}

std::uint32_t Length(const std::uint8_t*& data, std::size_t& size) {
    std::uint32_t length = 0;
    if (size >= 4) std::memcpy(&length, data, 4);
    data += size >= 4 ? 4 : size;
    size -= size >= 4 ? 4 : size;
    return length;
}

void ReadWhole(ShapefileDataSourceReader& reader) {
    const auto boxes = reader.GetRecordBoxes();
    if (static_cast<int>(boxes.size()) != reader.RecordCount()) std::abort();
    const auto fields = reader.GetFieldNames();
    while (reader.MoveNext()) {
        reader.GetGeometry();
        if (!(reader.GetCurrentRecordBox() == boxes[static_cast<std::size_t>(reader.CurrentPosition())]) &&
            !reader.GetCurrentRecordBox().IsEmpty())
            std::abort();
        for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
            reader.GetFieldValue(i);
            if (!IsValidUtf8(reader.GetFieldRawText(i))) std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ParseProjectionLengthUnit(std::string_view(reinterpret_cast<const char*>(data), size));
    ShapefileImages images;
    images.name = "fuzz";
    const std::uint32_t shpLength = Length(data, size);
    const std::uint32_t shxLength = Length(data, size);
    images.shp = Take(data, size, shpLength);
    images.shx = Take(data, size, shxLength);
    images.dbf = Take(data, size, size);
    try {
        ShapefileDataSourceReader reader;
        reader.OpenDataImages(std::move(images));
        ReadWhole(reader);
    } catch (const Norvane::Support::ApplicationException& e) {
        if (std::strstr(e.what(), "fuzz.") == nullptr) std::abort();  // the error names the file
    }
    return 0;
}
