// The named selection sets of a model. Each set is listed like an element
// (ID and label) and its member IDs are the value of one field.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/domain/i_domain_element.h"

namespace Norvane::Domain {

inline constexpr const char* kSelectionSetElementIDsField = "SelectionSetElementIDs";

class ISelectionSetField {
public:
    virtual ~ISelectionSetField() = default;
    // The set's element IDs in the order they were given; ArgumentException
    // for an ID that names no set.
    virtual const std::vector<std::int32_t>& GetValue(std::int32_t selectionSetId) const = 0;
};

class ISelectionSetManager {
public:
    virtual ~ISelectionSetManager() = default;

    virtual std::vector<const IDomainElement*> Elements() const = 0;
    // Null when no set has this ID.
    virtual const IDomainElement* Element(std::int32_t selectionSetId) const = 0;
    // The field kSelectionSetElementIDsField; null for any other name.
    virtual const ISelectionSetField* SelectionSetField(const std::string& fieldName) const = 0;
};

}  // namespace Norvane::Domain
