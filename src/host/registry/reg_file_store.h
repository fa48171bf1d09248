// A registry store read from a registry export file (".reg" text).
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "host/registry/registry_store.h"

namespace Norvane::Support {

// Understands the export format:
//
//     Windows Registry Editor Version 5.00
//
//     [HKEY_CURRENT_USER\SOFTWARE\Korvex\Fenmark\Components\ThiessenPolygons]
//     "MaxPolygonOffsetLengthRatio"=dword:000002ee
//
// in UTF-8 or, as the registry editor writes it, UTF-16 with a byte-order
// mark. Only keys under HKEY_CURRENT_USER (or HKCU) count. A DWORD is
// "dword:" with one to eight hex digits, or "hex(4):" with four bytes, low
// byte first. Names and keys match without regard to ASCII case. A later
// line overrides an earlier one; "=-" deletes a value and "[-key]" a key
// with its subkeys. Lines it cannot read are skipped, so a damaged file
// loses only what it damaged.
class RegFileStore final : public RegistryStore {
public:
    // An empty store.
    RegFileStore() = default;
    static RegFileStore FromText(std::string_view text);
    // The store of the file at `path`; empty when the file is missing,
    // unreadable or larger than kMaxFileBytes.
    static RegFileStore FromFile(const std::filesystem::path& path);

    static constexpr std::size_t kMaxFileBytes = 16u << 20;

    std::optional<std::uint32_t> ReadDword(std::string_view key, std::string_view name) const override;

private:
    class Reader;

    // Normalised key -> normalised value name -> value.
    std::map<std::string, std::map<std::string, std::uint32_t>> m_values;
};

}  // namespace Norvane::Support
