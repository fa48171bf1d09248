// Registry export files: any bytes read into a store without a crash or a
// throw, and a well-formed value written after them is read back.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/registry/reg_file_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using Norvane::Support::RegFileStore;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const RegFileStore store = RegFileStore::FromText(text);
    (void)store.ReadDword("SOFTWARE\\Korvex\\Fenmark\\Components\\ThiessenPolygons", "MaxPolygonOffsetLengthRatio");
    (void)store.ReadDword(text.substr(0, size / 2), text.substr(size / 2));

    // Without a byte-order mark the text is read as it is, so lines appended
    // after a blank line must win over anything before them.
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) return 0;
    const std::uint32_t value = size >= 4 ? static_cast<std::uint32_t>(data[0] | data[1] << 8 | data[2] << 16) |
                                                static_cast<std::uint32_t>(data[3]) << 24
                                          : 0u;
    char line[64];
    std::snprintf(line, sizeof line, "\"Last\"=dword:%08x\n", static_cast<unsigned>(value));
    const std::string appended = std::string(text) + "\n\n[HKEY_CURRENT_USER\\Fuzz\\Key]\n" + line;
    if (RegFileStore::FromText(appended).ReadDword("Fuzz\\Key", "Last") != value) std::abort();
    return 0;
}
