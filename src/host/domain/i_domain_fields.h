// The fields an element manager hands out: attribute fields read value by
// value, and geometry fields that give points or vertex lists in a working
// unit the caller chooses.
#pragma once

#include <cstdint>
#include <string>

#include "host/support/field_value.h"
#include "host/support/geometry_object.h"
#include "host/support/geometry_point.h"
#include "host/support/units.h"

namespace Norvane::Domain {

class IDomainElementField {
public:
    virtual ~IDomainElementField() = default;
    virtual const std::string& Name() const = 0;
};

// An attribute of elements. GetValue is null where the element has no value
// for the field; an ID that names no element is an ArgumentException.
class IModelingElementField : public IDomainElementField {
public:
    virtual Support::FieldValue GetValue(std::int32_t elementId) const = 0;
};

// Coordinates are stored in the model's length unit and returned converted to
// the working unit, which starts as the model's unit. When either unit is not
// a length (a model built without a unit), coordinates pass unchanged.
class IGeometryField : public IDomainElementField {
public:
    virtual Support::Unit WorkingUnit() const = 0;
    virtual void SetWorkingUnit(const Support::Unit& unit) = 0;
    // The element's point or vertex list; null when it has no geometry.
    virtual Support::GeometryObject GetGeometry(std::int32_t elementId) const = 0;
};

class IGeometryPointField : public IGeometryField {
public:
    // GeometryPoint::Empty() when the element has no coordinates.
    virtual Support::GeometryPoint GetPoint(std::int32_t elementId) const = 0;
};

class IGeometryPolylineField : public IGeometryField {
public:
    // A link: its start node, its vertices in order, its end node; empty when
    // an end node has no coordinates.
    virtual Support::PointArray GetPoints(std::int32_t elementId) const = 0;
};

}  // namespace Norvane::Domain
