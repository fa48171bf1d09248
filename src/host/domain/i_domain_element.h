// One element of a model as a host lists it: its ID and the label users see.
// Selection sets are listed the same way.
#pragma once

#include <cstdint>
#include <string>

namespace Norvane::Domain {

class IDomainElement {
public:
    virtual ~IDomainElement() = default;

    virtual std::int32_t Id() const = 0;
    virtual const std::string& Label() const = 0;
};

}  // namespace Norvane::Domain
