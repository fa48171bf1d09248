#include "data/shapefile/n_shp_data_set.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "data/shapefile/n_shp_data_layer.h"

namespace Norvane::Allotrix::Calculations::Data {
namespace {

bool hasShpExtension(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".shp";
}

}  // namespace

std::vector<std::unique_ptr<IDataLayer>> ShpDataSetBase::DataLayers() {
    std::vector<std::unique_ptr<IDataLayer>> layers;
    for (const std::string& name : DataLayerNames()) layers.push_back(NewDataLayer(name));
    return layers;
}

std::vector<std::string> ShpDataSetBase::DataLayerNames() {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(m_path, error), end; !error && entry != end;
         entry.increment(error)) {
        if (entry->is_regular_file(error) && hasShpExtension(entry->path())) names.push_back(entry->path().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

Support::LengthUnit ShpDataSetBase::LengthUnit() {
    return m_library ? m_library->DisplayLengthUnit : AllotrixLibrary{}.DisplayLengthUnit;
}

namespace Shapefile {

std::unique_ptr<IDataLayer> NShpDataSet::NewDataLayer(const std::string& fileName) {
    auto layer = std::make_unique<NShpDataLayer>(Library());
    layer->Open(fileName);
    return layer;
}

}  // namespace Shapefile
}  // namespace Norvane::Allotrix::Calculations::Data
