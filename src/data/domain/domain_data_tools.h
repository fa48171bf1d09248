// Model-element layers: paths that name element types and a selection set
// of the open model, and the prompt that picks them.
//
// A path is labels separated by "\" or "/": element-type labels (any letter
// case), then the text of "zordd.info.AllElements" or the label of a
// selection set (exact), e.g. "Junction\All Elements", "pipe/Trunk mains",
// "Junction\Hydrant\All Elements".
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/prompt_presenters.h"
#include "host/calculations/allotrix_library.h"
#include "host/calculations/i_data_layer.h"
#include "host/calculations/i_data_tools.h"
#include "host/domain/i_domain_data_set.h"
#include "host/support/pair.h"

namespace Norvane::Allotrix::Calculations::Data::Domain {

// Element-type IDs and a selection-set ID (0: all elements of the types).
using ElementTypesAndSelectionSet = Support::Pair<std::vector<int>, std::int32_t>;

class DomainDataTools {
public:
    // The library gives the active model; the presenters show the prompt
    // (none: the prompt fails). Both must outlive the tools.
    DomainDataTools(const AllotrixLibrary& library, const PromptPresenters* presenters)
        : m_library(library), m_presenters(presenters) {}

    // Appends, part by part, the ID of every type whose label equals the
    // part ignoring case (a type may come more than once), and sets the
    // selection set whose label equals the last part exactly, else 0.
    static void ParseDomainPath(Norvane::Domain::IDomainDataSet& dataSet, const std::string& path,
                                std::vector<int>& listDomainElementTypeIDs, std::int32_t& selectionSetID);
    // A layer of `path` in the active model of `library`.
    // InvalidOperationException when no model is open.
    static std::unique_ptr<IDataLayer> OpenActiveModelLayer(const AllotrixLibrary* library, const std::string& path);

    // The text the prompt last returned, or a path naming at least one
    // element type of the active model.
    bool LayerExists(const std::string& path);
    // The prompt's last selection for its exact text (even if the active
    // model changed since), otherwise the path parsed against the active
    // model. A path naming no element type opens a layer with no elements,
    // whose description and filters fail with a clear error.
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
    std::string m_lastSelectedPath;
    ElementTypesAndSelectionSet m_lastCachedDomainElementTypeIDSelectionSetIDPair;
    DomainElementManagers m_lastCachedDomainElementManagers;
};

}  // namespace Norvane::Allotrix::Calculations::Data::Domain
