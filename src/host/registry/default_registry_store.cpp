#include "host/registry/default_registry_store.h"

#include <cstdlib>

#include "host/registry/reg_file_store.h"

namespace Norvane::Support {
namespace {

std::optional<std::string> NonEmpty(const EnvironmentLookup& environment, const char* name) {
    std::optional<std::string> value = environment(name);
    if (value && value->empty()) value.reset();
    return value;
}

}  // namespace

std::optional<std::string> ProcessEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

std::optional<std::filesystem::path> DefaultRegistryFilePath(const EnvironmentLookup& environment) {
    if (const auto file = NonEmpty(environment, "ALLOTRIX_REGISTRY_FILE")) return std::filesystem::path(*file);
    const auto config = NonEmpty(environment, "XDG_CONFIG_HOME");
    if (config && std::filesystem::path(*config).is_absolute())
        return std::filesystem::path(*config) / "allotrix" / "registry.reg";
    if (const auto home = NonEmpty(environment, "HOME"))
        return std::filesystem::path(*home) / ".config" / "allotrix" / "registry.reg";
    return std::nullopt;
}

std::unique_ptr<RegistryStore> OpenDefaultRegistryStore(const EnvironmentLookup& environment) {
    const auto path = DefaultRegistryFilePath(environment);
    return std::make_unique<RegFileStore>(path ? RegFileStore::FromFile(*path) : RegFileStore());
}

}  // namespace Norvane::Support
