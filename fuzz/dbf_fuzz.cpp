// A .dbf from fuzzer bytes, read alone: every input must either open and
// have each field of each record decoded into valid UTF-8 text, or fail with
// an error naming the file. The language-driver byte picks the code page,
// so single- and multi-byte code pages are both reached.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "host/shapefile/dbf_table.h"
#include "host/support/exceptions.h"

using Norvane::Shapefile::IsValidUtf8;
using Norvane::Shapefile::Detail::DbfTable;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        DbfTable table(std::span(data, size), "fuzz.dbf", std::nullopt);
        const int fields = static_cast<int>(table.Fields().Fields().size());
        for (int record = 0; record < table.RecordCount(); ++record) {
            table.Load(record);
            for (int field = 0; field < fields; ++field) {
                const auto value = table.Value(field);
                if (const auto* text = std::get_if<std::string>(&value); text && !IsValidUtf8(*text)) std::abort();
                if (!IsValidUtf8(table.Text(field))) std::abort();
            }
        }
    } catch (const Norvane::Support::ApplicationException& e) {
        if (std::strstr(e.what(), "fuzz.dbf") == nullptr) std::abort();
    }
    return 0;
}
