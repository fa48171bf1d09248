#include "data/domain/domain_data_tools.h"

#include "host/support/exceptions.h"

namespace Norvane::Allotrix::Calculations::Data::Domain {
namespace {

[[noreturn]] void notYet(const std::string& path) {
    throw Support::NotSupportedException("Model-element layers are not available in this build: " + path);
}

}  // namespace

bool DomainDataTools::LayerExists(const std::string&) { return false; }

std::unique_ptr<IDataLayer> DomainDataTools::OpenLayer(const std::string& path) { notYet(path); }

std::string DomainDataTools::OpenWithDialogPrompting(std::intptr_t, const std::string&, const std::string& startPath,
                                                     const std::vector<Norvane::Domain::DomainElementShapeType>&,
                                                     const DomainElementManagers&, bool) {
    notYet(startPath);
}

}  // namespace Norvane::Allotrix::Calculations::Data::Domain
