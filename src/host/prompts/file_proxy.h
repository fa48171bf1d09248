// A file chosen in a prompt, and the callback a save prompt hands the chosen
// path to.
#pragma once

#include <functional>
#include <string>

namespace Norvane::VaultixFacade {

class IFileProxy {
public:
    virtual ~IFileProxy() = default;
    // The path of the file on this machine.
    virtual std::string LocalFileName() const = 0;
    // The text a host stores to name the file again later (a layer path).
    virtual std::string Serialize() const = 0;
};

// Writes the document to the path the user chose.
using SaveDelegate = std::function<void(const std::string& localFileName)>;

}  // namespace Norvane::VaultixFacade
