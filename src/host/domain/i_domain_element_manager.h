// The elements of one element type (and of the types derived from it), with
// their attribute and geometry fields.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/domain/i_domain_element.h"
#include "host/domain/i_domain_element_type.h"
#include "host/domain/i_domain_fields.h"

namespace Norvane::Domain {

class IDomainDataSet;

// The names under which a manager hands out its geometry field.
inline constexpr const char* kGeometryFieldName = "PVXGeometry";
inline constexpr const char* kGeometryTableName = "PvxDataSetGeometry";

class IDomainElementManager {
public:
    virtual ~IDomainElementManager() = default;

    virtual const IDomainElementType& DomainElementType() const = 0;
    // The elements of the type and its sub-types, in the model's order.
    virtual std::vector<const IDomainElement*> Elements() const = 0;
    virtual const std::vector<std::int32_t>& ElementIDs() const = 0;
    // Null when `elementId` is not an element of this manager.
    virtual const IDomainElement* Element(std::int32_t elementId) const = 0;
    // The geometry field for (kGeometryFieldName, kGeometryTableName), an
    // attribute field for any other name it knows, else null. A geometry
    // field is an IGeometryPointField or an IGeometryPolylineField by the
    // type's shape.
    virtual IDomainElementField* DomainElementField(const std::string& fieldName, const std::string& tableName) = 0;
    // Null for a name the model does not know.
    virtual IModelingElementField* ModelingElementField(const std::string& fieldName) = 0;
    virtual std::vector<std::string> ModelingElementFieldNames() const = 0;
    virtual IDomainDataSet& DomainDataSet() = 0;
};

}  // namespace Norvane::Domain
