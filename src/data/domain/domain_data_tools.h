// Model-element layers: paths that name element types and a selection set of
// the open model, and the prompt that picks them.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/prompt_presenters.h"
#include "host/calculations/allotrix_library.h"
#include "host/calculations/i_data_layer.h"
#include "host/calculations/i_data_tools.h"

namespace Norvane::Allotrix::Calculations::Data::Domain {

class DomainDataTools {
public:
    DomainDataTools(const AllotrixLibrary& library, const PromptPresenters* presenters)
        : m_library(library), m_presenters(presenters) {}

    bool LayerExists(const std::string& path);
    std::unique_ptr<IDataLayer> OpenLayer(const std::string& path);
    // The path of the elements the user picked; empty when they cancelled.
    std::string OpenWithDialogPrompting(std::intptr_t ownerWindowHandle, const std::string& dialogTitle,
                                        const std::string& startPath,
                                        const std::vector<Norvane::Domain::DomainElementShapeType>& filter,
                                        const DomainElementManagers& domainElementManagers,
                                        bool isMultipleDomainElementsAllowed);

private:
    const AllotrixLibrary& m_library;
    const PromptPresenters* m_presenters;
};

}  // namespace Norvane::Allotrix::Calculations::Data::Domain
