// A shapefile from fuzzer bytes (see shapefile_images_input.h). Every input
// must either open and be read whole, record by record, or fail with an
// error that names the file; it must never crash, hang or allocate without
// bound.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "host/host.h"
#include "host/shapefile/text_codec.h"
#include "shapefile_images_input.h"

using namespace Norvane::Shapefile;

namespace {

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
    ShapefileImages images = fuzz_input::ShapefileImagesOf(data, size);
    try {
        ShapefileDataSourceReader reader;
        reader.OpenDataImages(std::move(images));
        ReadWhole(reader);
    } catch (const Norvane::Support::ApplicationException& e) {
        if (std::strstr(e.what(), "fuzz.") == nullptr) std::abort();  // the error names the file
    }
    return 0;
}
