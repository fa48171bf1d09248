// What the host knows that the data layer asks for: the open model and the
// unit lengths are displayed in. One object per host session, passed to the
// data tools, instead of process-wide state.
#pragma once

#include "host/support/units.h"

namespace Norvane::Domain {
class IDomainDataSet;
}

namespace Norvane::Allotrix::Calculations {

struct AllotrixLibrary {
    Domain::IDomainDataSet* ActiveDomainDataSet = nullptr;  // not owned
    Support::LengthUnit DisplayLengthUnit = Support::LengthUnit::Foot;
};

}  // namespace Norvane::Allotrix::Calculations
