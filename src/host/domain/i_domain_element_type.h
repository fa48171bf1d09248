// A kind of model element (junction, pipe, ...): its ID, its internal name,
// the label users see and type in paths, its shape, and the types derived
// from it.
#pragma once

#include <string>
#include <vector>

#include "host/domain/domain_element_shape_type.h"

namespace Norvane::Domain {

class IDomainElementType {
public:
    virtual ~IDomainElementType() = default;

    virtual int Id() const = 0;
    virtual const std::string& Name() const = 0;
    virtual const std::string& Label() const = 0;
    virtual ::Norvane::Domain::DomainElementShapeType DomainElementShapeType() const = 0;
    // Every type derived from this one, directly or not, parents before
    // their children; empty for a leaf type.
    virtual std::vector<const IDomainElementType*> SubElementTypes() const = 0;
};

}  // namespace Norvane::Domain
