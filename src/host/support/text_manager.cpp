#include "host/support/text_manager.h"

#include <array>
#include <cstddef>
#include <utility>

namespace Norvane::Support {
namespace {

using Entry = std::pair<std::string_view, std::string_view>;

// The data layer's own table.
constexpr std::array<Entry, 15> kLibraryTexts{{
    {"buttonSelect.Cancel", "Cancel"},
    {"buttonSelect.Text", "Select"},
    {"zordd.error.CouldNotOpenSHP", "The Esri Shapefile %1 could not be opened."},
    {"zordd.error.FileNotFound", "File not found: %1."},
    {"zordd.error.InvalidSHPTypeSelection", "The file selected is not of the expected shape type."},
    {"zordd.error.ValueNotInteger", "Integer values were expected from field \"%1\"."},
    {"zordd.info.AllElements", "All Elements"},
    {"zordd.info.LengthUnitAssumedSHP",
     "Length unit for this Esri Shapefile assumed to be the same as the one used by the model: (%1)."},
    {"zordd.info.AllotrixTitle", "Allotrix"},
    {"zordm.error.ComplexPolygonFound",
     "A polygon with inner or outer rings was found. Polygons with multiple rings are not supported by "
     "this version of Allotrix."},
    {"zordm.error.PlexGeometryOperationError",
     "An unsupported geometry situation was found (e.g. a polygon with more than 5000 vertices, including "
     "inner rings and parts)."},
    {"zordm.error.ValueNotDouble", "A numeric value is expected for field '%1'."},
    {"label1.Text", "Available Selection Sets:"},
    {"allotrix.DomainLayerSelectionDialog.Label", "%1 and %2"},
    {"shpFilterText", "Esri Shapefiles (*.shp)"},
}};

// Texts the host itself owns: the native vertex limit, the dialogs' cancel
// button and what the file prompts say.
constexpr std::array<Entry, 9> kHostTexts{{
    {"zor.error.ComputeVerticesLimitExceeded",
     "The geometry is too large to compute: an operation works on at most 5000 vertices, counting all rings "
     "and parts of both shapes."},
    {"buttonCancel.Text", "Cancel"},
    {"vaultix.prompt.ConfirmOverwrite", "%1 already exists. Replace it?"},
    {"vaultix.prompt.OpenTitle", "Open"},
    {"vaultix.prompt.SaveTitle", "Save As"},
    {"vaultix.prompt.NameRequired", "Type a file name."},
    {"vaultix.prompt.FileNotFound", "%1 was not found. Check the file name and try again."},
    {"vaultix.prompt.NotAFile", "%1 is a folder, not a file."},
    {"vaultix.prompt.FolderNotFound", "The folder %1 does not exist."},
}};

}  // namespace

TextManager::TextManager() {
    for (const Entry& entry : kLibraryTexts) m_texts.insert(entry);
    for (const Entry& entry : kHostTexts) m_texts.insert(entry);
}

const TextManager& TextManager::Current() {
    static const TextManager current;
    return current;
}

bool TextManager::Contains(std::string_view key) const { return m_texts.contains(key); }

std::string TextManager::Get(std::string_view key, std::initializer_list<std::string_view> arguments) const {
    const auto found = m_texts.find(key);
    const std::string_view text = found == m_texts.end() ? key : found->second;
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool placeholder = text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9';
        const std::size_t argument = placeholder ? static_cast<std::size_t>(text[i + 1] - '1') : 0;
        if (placeholder && argument < arguments.size()) {
            out += arguments.begin()[argument];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace Norvane::Support
