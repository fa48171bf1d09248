// Finding, opening, creating and prompting for layers.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/domain/domain_element_shape_type.h"
#include "host/prompts/file_proxy.h"

namespace Norvane::Domain {
class IDomainElementManager;
}

namespace Norvane::Allotrix::Calculations {

class IDataLayer;

using DomainElementManagers = std::vector<Domain::IDomainElementManager*>;

class IDataTools {
public:
    virtual ~IDataTools() = default;

    virtual bool LayerExists(const std::string& path) = 0;
    // A new open layer; the caller owns it.
    virtual std::unique_ptr<IDataLayer> OpenLayer(const std::string& path) = 0;
    // Asks the user for a layer. With managers, the model-element prompt (an
    // empty string on cancel); without, the shapefile prompt (no value on
    // cancel).
    virtual std::optional<std::string> OpenWithDialogPrompting(
        std::intptr_t ownerWindowHandle, const std::string& dialogTitle, const std::string& startPath,
        const std::vector<Domain::DomainElementShapeType>& filter,
        const DomainElementManagers* domainElementManagers, bool isMultipleDomainElementsAllowed) = 0;
    std::optional<std::string> OpenWithDialogPrompting(std::intptr_t ownerWindowHandle,
                                                       const std::string& dialogTitle,
                                                       const std::string& startPath,
                                                       const std::vector<Domain::DomainElementShapeType>& filter,
                                                       const DomainElementManagers* domainElementManagers) {
        return OpenWithDialogPrompting(ownerWindowHandle, dialogTitle, startPath, filter, domainElementManagers,
                                       false);
    }
    // Asks the user where to save; the chosen file, or null on cancel.
    virtual std::unique_ptr<VaultixFacade::IFileProxy> SaveWithDialogPrompting(
        std::intptr_t ownerWindowHandler, const std::string& dialogTitle, const std::string& startPath,
        Domain::DomainElementShapeType filter, const VaultixFacade::SaveDelegate& saveDelegate) = 0;
    // Creates an empty shapefile of `type` at `path`, overwriting one there.
    virtual void CreateLayer(const std::string& path, Domain::DomainElementShapeType type,
                             IDataLayer* pTemplate) = 0;
};

}  // namespace Norvane::Allotrix::Calculations
