// Conversions of attribute values to the numbers a layer hands out.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>

#include "host/support/field_value.h"

namespace Norvane::Allotrix::Calculations::Data::Shapefile {

constexpr std::int32_t kNoInt32Value = std::numeric_limits<std::int32_t>::min();

// An integer value that fits 32 bits, else none (text, reals, null...).
std::optional<std::int32_t> AsInt32(const Support::FieldValue& value);
// An integer or real value as a double, else none.
std::optional<double> AsDouble(const Support::FieldValue& value);
// Any value converted as a host converts: reals rounded half to even,
// booleans 1 and 0, numeric text parsed, null 0; kNoInt32Value where no
// conversion exists or the number does not fit.
std::int32_t ConvertToInt32(const Support::FieldValue& value);
// As ConvertToInt32 for doubles; NaN where no conversion exists.
double ConvertToDouble(const Support::FieldValue& value);

}  // namespace Norvane::Allotrix::Calculations::Data::Shapefile
