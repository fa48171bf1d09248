// The shapefile side of the facade: finding, opening, creating and prompting
// for shapefiles.
#include <algorithm>
#include <filesystem>

#include "data/mapobjectslt/map_objects_lt_data_tools.h"
#include "data/mapobjectslt/map_objects_lt_library.h"
#include "data/shapefile/n_shp_data_layer.h"
#include "host/prompts/open_file_wrapper.h"
#include "host/prompts/save_file_wrapper.h"
#include "host/support/exceptions.h"
#include "host/support/text_manager.h"
#include "host/support/units.h"

namespace Norvane::Allotrix::Calculations::Data::MapObjectsLT {
namespace {

using Support::TextManager;
using namespace Norvane::VaultixFacade;

void showError(IMessageBoxPresenter& presenter, const std::string& key) {
    ShowMessageBox(presenter, TextManager::Current().Get(key), TextManager::Current().Get("zordd.info.AllotrixTitle"),
                   MessageBoxButtons::OK, MessageBoxIcon::Error);
}

}  // namespace

std::string MapObjectsLTDataTools::ShapefileFilter() {
    return TextManager::Current().Get("shpFilterText") + "|*.shp";
}

const PromptPresenters& MapObjectsLTDataTools::Presenters() const {
    if (!m_presenters) throw Support::InvalidOperationException("No presenter was given to show prompts.");
    return *m_presenters;
}

bool MapObjectsLTDataTools::LayerExists(const std::string& path) const {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::unique_ptr<IDataLayer> MapObjectsLTDataTools::OpenLayer(const std::string& path) const {
    auto layer = std::make_unique<Shapefile::NShpDataLayer>(m_library);
    layer->Open(path);
    return layer;
}

std::optional<std::string> MapObjectsLTDataTools::OpenWithDialogPrompting(
    std::intptr_t, const std::vector<Norvane::Domain::DomainElementShapeType>& filter) {
    const PromptPresenters& presenters = Presenters();
    OpenFileWrapper wrapper(presenters.Files);
    wrapper.SetFilter(ShapefileFilter());
    wrapper.SetCheckFileExists(true);
    for (;;) {
        if (wrapper.ShowPrompt() != DialogResult::OK) return std::nullopt;
        const std::unique_ptr<IFileProxy> chosen = wrapper.FileProxy();
        Shapefile::NShpDataLayer probe(m_library);
        probe.Open(chosen->LocalFileName());
        if (std::find(filter.begin(), filter.end(), probe.ShapeType()) == filter.end()) {
            probe.Dispose();
            showError(presenters.Messages, "zordd.error.InvalidSHPTypeSelection");
            continue;
        }
        std::string result = chosen->Serialize();
        if (!UnitAssumedMessageShown) {
            const auto unit = Support::Unit::FromLengthUnit(m_library ? m_library->DisplayLengthUnit
                                                                       : AllotrixLibrary{}.DisplayLengthUnit);
            ShowMessageBox(presenters.Messages,
                           TextManager::Current().Get("zordd.info.LengthUnitAssumedSHP", {unit.Label()}),
                           TextManager::Current().Get("zordd.info.AllotrixTitle"), MessageBoxButtons::OK,
                           MessageBoxIcon::Information);
            UnitAssumedMessageShown = true;
        }
        return result;
    }
}

std::unique_ptr<IFileProxy> MapObjectsLTDataTools::SaveWithDialogPrompting(std::intptr_t,
                                                                          const SaveDelegate& saveDelegate) {
    SaveFileWrapper wrapper(Presenters().Files);
    wrapper.SetFilter(ShapefileFilter());
    if (wrapper.ShowPrompt(saveDelegate) != DialogResult::OK) return nullptr;
    return wrapper.FileProxy();
}

void MapObjectsLTDataTools::CreateLayer(const std::string& path, Norvane::Domain::DomainElementShapeType type) const {
    const std::filesystem::path target(path);
    MapObjectsLTLibrary::CreateShapefile((target.parent_path() / target.stem()).string(), type);
}

}  // namespace Norvane::Allotrix::Calculations::Data::MapObjectsLT
