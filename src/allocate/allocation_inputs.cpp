#include "allocate/allocation_inputs.h"

#include <exception>

#include "allocate/allocation_errors.h"

namespace Allotrix::Allocate {

using Norvane::Domain::DomainElementShapeType;

namespace {

const char* shapeNoun(DomainElementShapeType type) {
    switch (type) {
    case DomainElementShapeType::Point: return "points";
    case DomainElementShapeType::Polyline: return "lines";
    case DomainElementShapeType::Polygon: return "polygons";
    }
    return "shapes";
}

}  // namespace

std::unique_ptr<Norvane::Allotrix::Calculations::IDataLayer> OpenInputLayer(
    Norvane::Allotrix::Calculations::IDataTools& tools, const std::string& path, DomainElementShapeType wanted,
    const char* what) {
    std::unique_ptr<Norvane::Allotrix::Calculations::IDataLayer> layer;
    DomainElementShapeType shape{};
    try {
        layer = tools.OpenLayer(path);
        shape = layer->ShapeType();
    } catch (const std::exception& error) {
        throw InputError(path + ": cannot be read as " + what + ": " + error.what());
    }
    if (shape != wanted)
        throw InputError(path + ": holds " + shapeNoun(shape) + ", but " + what + " must be " + shapeNoun(wanted));
    return layer;
}

}  // namespace Allotrix::Allocate
