// The registry store a host uses unless it brings its own.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "host/registry/registry_store.h"

namespace Norvane::Support {

// Looks an environment variable up; nothing when it is unset.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// The process environment.
std::optional<std::string> ProcessEnvironment(const char* name);

// Where the user's registry file lives: $ALLOTRIX_REGISTRY_FILE, else
// $XDG_CONFIG_HOME/allotrix/registry.reg (an absolute XDG_CONFIG_HOME only,
// as the base-directory convention asks), else
// $HOME/.config/allotrix/registry.reg. Empty variables count as unset;
// nothing when even HOME is unset.
std::optional<std::filesystem::path> DefaultRegistryFilePath(const EnvironmentLookup& environment = ProcessEnvironment);

// The store of that file, read once now; an empty store when there is no
// such file or it cannot be read.
std::unique_ptr<RegistryStore> OpenDefaultRegistryStore(const EnvironmentLookup& environment = ProcessEnvironment);

}  // namespace Norvane::Support
