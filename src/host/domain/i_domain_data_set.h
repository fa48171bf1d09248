// An open model: its catalogue of element types, one manager per type, and
// its selection sets. Element IDs are unique across the whole model.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/domain/i_domain_element_manager.h"
#include "host/domain/i_domain_element_type.h"
#include "host/domain/i_selection_set_manager.h"

namespace Norvane::Domain {

class IDomainDataSetType {
public:
    virtual ~IDomainDataSetType() = default;
    // The types of the model in catalogue order; with `includeSubTypes`
    // false only the types that derive from no other.
    virtual std::vector<const IDomainElementType*> DomainElementTypes(bool includeSubTypes) const = 0;
    // Null when no type has this ID.
    virtual const IDomainElementType* DomainElementType(int typeId) const = 0;
};

class IDomainDataSet {
public:
    virtual ~IDomainDataSet() = default;

    virtual const IDomainDataSetType& DomainDataSetType() const = 0;
    // Null when no type has this ID, or this name (the type's Name, exactly).
    virtual IDomainElementManager* DomainElementManager(int typeId) = 0;
    virtual IDomainElementManager* DomainElementManager(const std::string& typeName) = 0;
    // The element's own (most derived) type; 0 when no element has this ID.
    virtual int DomainElementTypeID(std::int32_t elementId) const = 0;
    virtual ISelectionSetManager& SelectionSetManager() = 0;
};

}  // namespace Norvane::Domain
