// Numbers as the program writes them in its tables, messages and map.
#pragma once

#include <cstdint>
#include <string>

namespace Allotrix::Allocate {

// The shortest text that reads back as `value` ("0.1", "1e+20").
std::string ShortestText(double value);
// `value` rounded to `decimals` places ("12.50").
std::string FixedText(double value, int decimals);
// `units` of the last of `decimals` places as a decimal number ("-0.005"
// for -5 units at 3 places), appended to `text`: exact for every int64,
// and cheaper than formatting a double, which matters for a million meters.
void AppendDecimalUnits(std::string& text, std::int64_t units, int decimals);

}  // namespace Allotrix::Allocate
