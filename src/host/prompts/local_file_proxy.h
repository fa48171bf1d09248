// A file on this machine, named by its path.
#pragma once

#include <string>
#include <utility>

#include "host/prompts/file_proxy.h"

namespace Norvane::VaultixFacade {

// The serialized form is the path itself, so a host can store it as a layer
// path and open the file again from it.
class LocalFileProxy final : public IFileProxy {
public:
    explicit LocalFileProxy(std::string path) : m_path(std::move(path)) {}

    std::string LocalFileName() const override { return m_path; }
    std::string Serialize() const override { return m_path; }

private:
    std::string m_path;
};

}  // namespace Norvane::VaultixFacade
