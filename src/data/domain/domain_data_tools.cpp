#include "data/domain/domain_data_tools.h"

#include <algorithm>
#include <cctype>

#include "data/dialogs/domain_layer_selection_dialog.h"
#include "data/domain/domain_shp_data_layer.h"
#include "host/support/exceptions.h"
#include "host/support/text_manager.h"

namespace Norvane::Allotrix::Calculations::Data::Domain {
namespace {

std::vector<std::string> splitPath(const std::string& path) {
    std::vector<std::string> parts(1);
    for (const char c : path) {
        if (c == '\\' || c == '/') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

bool equalIgnoringCase(const std::string& a, const std::string& b) {
    return std::ranges::equal(a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

Norvane::Domain::IDomainDataSet& activeModel(const AllotrixLibrary* library, const std::string& path) {
    if (!library || !library->ActiveDomainDataSet)
        throw Support::InvalidOperationException("No model is open, so the layer \"" + path + "\" cannot be opened.");
    return *library->ActiveDomainDataSet;
}

std::unique_ptr<IDataLayer> openLayer(const AllotrixLibrary* library, Norvane::Domain::IDomainDataSet& dataSet,
                                      const ElementTypesAndSelectionSet& selection) {
    auto layer = std::make_unique<DomainShpDataLayer>(library);
    layer->Open(dataSet, selection.First, selection.Second);
    return layer;
}

}  // namespace

void DomainDataTools::ParseDomainPath(Norvane::Domain::IDomainDataSet& dataSet, const std::string& path,
                                      std::vector<int>& listDomainElementTypeIDs, std::int32_t& selectionSetID) {
    const std::vector<std::string> parts = splitPath(path);
    const auto types = dataSet.DomainDataSetType().DomainElementTypes(true);
    for (const std::string& part : parts) {
        for (const Norvane::Domain::IDomainElementType* type : types)
            if (equalIgnoringCase(part, type->Label())) listDomainElementTypeIDs.push_back(type->Id());
    }
    selectionSetID = 0;
    const std::string& last = parts.back();
    if (last == Support::TextManager::Current().Get("zordd.info.AllElements")) return;
    for (const Norvane::Domain::IDomainElement* set : dataSet.SelectionSetManager().Elements()) {
        if (set->Label() == last) {
            selectionSetID = set->Id();
            return;
        }
    }
}

std::unique_ptr<IDataLayer> DomainDataTools::OpenActiveModelLayer(const AllotrixLibrary* library,
                                                                  const std::string& path) {
    Norvane::Domain::IDomainDataSet& dataSet = activeModel(library, path);
    ElementTypesAndSelectionSet selection;
    ParseDomainPath(dataSet, path, selection.First, selection.Second);
    return openLayer(library, dataSet, selection);
}

bool DomainDataTools::LayerExists(const std::string& path) {
    if (!m_lastSelectedPath.empty() && path == m_lastSelectedPath) return true;
    if (!m_library.ActiveDomainDataSet) return false;
    std::vector<int> types;
    std::int32_t selectionSet = 0;
    ParseDomainPath(*m_library.ActiveDomainDataSet, path, types, selectionSet);
    return !types.empty();
}

std::unique_ptr<IDataLayer> DomainDataTools::OpenLayer(const std::string& path) {
    if (!m_lastSelectedPath.empty() && path == m_lastSelectedPath && !m_lastCachedDomainElementManagers.empty())
        return openLayer(&m_library, m_lastCachedDomainElementManagers.front()->DomainDataSet(),
                         m_lastCachedDomainElementTypeIDSelectionSetIDPair);
    return OpenActiveModelLayer(&m_library, path);
}

std::string DomainDataTools::OpenWithDialogPrompting(std::intptr_t, const std::string& dialogTitle, const std::string&,
                                                     const std::vector<Norvane::Domain::DomainElementShapeType>&,
                                                     const DomainElementManagers& domainElementManagers,
                                                     bool isMultipleDomainElementsAllowed) {
    if (!m_presenters) throw Support::InvalidOperationException("No presenter was given to show prompts.");
    NorvaneAllotrixData::DomainLayerSelectionDialog dialog(isMultipleDomainElementsAllowed);
    dialog.SetText(dialogTitle);
    dialog.InitializeData(domainElementManagers);
    if (dialog.ShowDialog(m_presenters->Lists) != VaultixFacade::DialogResult::OK) return {};
    m_lastCachedDomainElementTypeIDSelectionSetIDPair = dialog.DomainElementTypeIDSelectionSetSelected();
    m_lastCachedDomainElementManagers = domainElementManagers;
    m_lastSelectedPath = dialog.SelectedText();
    return m_lastSelectedPath;
}

}  // namespace Norvane::Allotrix::Calculations::Data::Domain
