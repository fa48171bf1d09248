#include "data/standard_data_set.h"

#include "data/domain/domain_data_tools.h"
#include "data/shapefile/n_shp_data_layer.h"
#include "data/standard_data_tools.h"

namespace Norvane::Allotrix::Calculations::Data {

std::unique_ptr<IDataLayer> StandardDataSet::DataLayer(const std::string& name) {
    if (!StandardDataTools::IsShapefilePath(name)) return Domain::DomainDataTools::OpenActiveModelLayer(m_library, name);
    auto layer = std::make_unique<Shapefile::NShpDataLayer>(m_library);
    layer->Open(name);
    return layer;
}

}  // namespace Norvane::Allotrix::Calculations::Data
