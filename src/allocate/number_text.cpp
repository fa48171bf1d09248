#include "allocate/number_text.h"

#include <charconv>

namespace Allotrix::Allocate {

std::string ShortestText(double value) {
    char buffer[32];
    const auto printed = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, printed.ptr);
}

std::string FixedText(double value, int decimals) {
    char buffer[400];  // the largest double in full, with its decimals
    const auto printed = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return printed.ec == std::errc() ? std::string(buffer, printed.ptr) : ShortestText(value);
}

void AppendDecimalUnits(std::string& text, std::int64_t units, int decimals) {
    // The magnitude as unsigned, so that the smallest int64 has one too.
    const std::uint64_t magnitude = units < 0 ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
    char digits[24];
    const auto count = static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, magnitude).ptr - digits);
    const auto places = static_cast<std::size_t>(decimals);
    if (units < 0) text += '-';
    if (places == 0) {
        text.append(digits, count);
    } else if (count <= places) {
        text += "0.";
        text.append(places - count, '0').append(digits, count);
    } else {
        text.append(digits, count - places).append(1, '.').append(digits + count - places, places);
    }
}

}  // namespace Allotrix::Allocate
