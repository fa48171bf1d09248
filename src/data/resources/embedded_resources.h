// Files compiled into the library, looked up by name.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace Norvane::Allotrix::Calculations::Data::Resources {

// The bytes of the embedded file `name` ("PointPrototype.shp", ...), or none.
std::optional<std::span<const std::uint8_t>> EmbeddedResource(std::string_view name);

}  // namespace Norvane::Allotrix::Calculations::Data::Resources
