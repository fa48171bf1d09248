// Where the library reads its few per-user settings: DWORD values under keys
// of the current user's registry.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace Norvane::Support {

class RegistryStore {
public:
    virtual ~RegistryStore() = default;
    // The DWORD named `name` under `key` (for example
    // "SOFTWARE\\Korvex\\Fenmark\\Components\\ThiessenPolygons"), relative to
    // the current user's root. Nothing when the key or the value is missing,
    // or the value is not a DWORD. Never throws.
    virtual std::optional<std::uint32_t> ReadDword(std::string_view key, std::string_view name) const = 0;
};

// A store that holds nothing: every value reads as absent, so every setting
// takes its default. For hosts without per-user settings, and for tests.
class EmptyRegistryStore final : public RegistryStore {
public:
    std::optional<std::uint32_t> ReadDword(std::string_view, std::string_view) const override { return std::nullopt; }
};

}  // namespace Norvane::Support
