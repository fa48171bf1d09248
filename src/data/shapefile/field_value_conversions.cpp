#include "data/shapefile/field_value_conversions.h"

#include <charconv>
#include <cmath>
#include <string>
#include <variant>

namespace Norvane::Allotrix::Calculations::Data::Shapefile {
namespace {

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

std::optional<double> parseNumber(const std::string& text) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    while (begin < end && *begin == ' ') ++begin;
    while (end > begin && end[-1] == ' ') --end;
    if (begin < end && *begin == '+') ++begin;
    double number = 0.0;
    const auto [stop, error] = std::from_chars(begin, end, number);
    if (error != std::errc() || stop != end || begin == end) return std::nullopt;
    return number;
}

std::optional<std::int32_t> roundToInt32(double number) {
    const double rounded = std::nearbyint(number);  // half to even in the default rounding mode
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() && rounded <= std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

}  // namespace

std::optional<std::int32_t> AsInt32(const Support::FieldValue& value) {
    if (const auto* v = std::get_if<std::int32_t>(&value)) return *v;
    if (const auto* v = std::get_if<std::int64_t>(&value)) {
        if (*v >= std::numeric_limits<std::int32_t>::min() && *v <= std::numeric_limits<std::int32_t>::max())
            return static_cast<std::int32_t>(*v);
    }
    return std::nullopt;
}

std::optional<double> AsDouble(const Support::FieldValue& value) {
    if (const auto* v = std::get_if<double>(&value)) return *v;
    if (const auto* v = std::get_if<std::int32_t>(&value)) return *v;
    if (const auto* v = std::get_if<std::int64_t>(&value)) return static_cast<double>(*v);
    return std::nullopt;
}

std::int32_t ConvertToInt32(const Support::FieldValue& value) {
    const std::optional<std::int32_t> converted = std::visit(
        Overloaded{[](std::monostate) -> std::optional<std::int32_t> { return 0; },
                   [](std::int32_t v) -> std::optional<std::int32_t> { return v; },
                   [&](std::int64_t) { return AsInt32(value); },
                   [](double v) { return roundToInt32(v); },
                   [](const std::string& v) -> std::optional<std::int32_t> {
                       const auto number = parseNumber(v);
                       if (!number || *number != std::floor(*number)) return std::nullopt;
                       return roundToInt32(*number);
                   },
                   [](bool v) -> std::optional<std::int32_t> { return v ? 1 : 0; },
                   [](const Support::Date&) -> std::optional<std::int32_t> { return std::nullopt; }},
        value);
    return converted.value_or(kNoInt32Value);
}

double ConvertToDouble(const Support::FieldValue& value) {
    const std::optional<double> converted =
        std::visit(Overloaded{[](std::monostate) -> std::optional<double> { return 0.0; },
                              [](std::int32_t v) -> std::optional<double> { return v; },
                              [](std::int64_t v) -> std::optional<double> { return static_cast<double>(v); },
                              [](double v) -> std::optional<double> { return v; },
                              [](const std::string& v) { return parseNumber(v); },
                              [](bool v) -> std::optional<double> { return v ? 1.0 : 0.0; },
                              [](const Support::Date&) -> std::optional<double> { return std::nullopt; }},
                   value);
    return converted.value_or(std::numeric_limits<double>::quiet_NaN());
}

}  // namespace Norvane::Allotrix::Calculations::Data::Shapefile
