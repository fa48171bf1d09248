// The linear unit of a shapefile's projection file (.prj, well-known text),
// so that callers can warn when it differs from the model's unit.
#pragma once

#include <string>
#include <string_view>

#include "host/support/units.h"

namespace Norvane::Shapefile {

// The unit of a projected system's coordinates; Degree for a geographic
// system; Unknown when the text names no unit this library knows, or is no
// well-known text at all.
Support::LengthUnit ParseProjectionLengthUnit(std::string_view wkt);

// The unit of the .prj beside the shapefile at `path`; Unknown without one.
Support::LengthUnit ReadProjectionLengthUnit(const std::string& path);

}  // namespace Norvane::Shapefile
