// The shape of a model element type, and of a layer.
#pragma once

namespace Norvane::Domain {

enum class DomainElementShapeType : int {
    Point = 0,
    Polyline = 1,
    Polygon = 2,
};

}  // namespace Norvane::Domain
