// One attribute value as the host sees it: null, a 32- or 64-bit integer, a
// double, text (UTF-8), a boolean or a calendar date.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <variant>

namespace Norvane::Support {

struct Date {
    int Year = 0;
    int Month = 0;  // 1..12
    int Day = 0;    // 1..31

    friend auto operator<=>(const Date&, const Date&) = default;
};

using FieldValue = std::variant<std::monostate, std::int32_t, std::int64_t, double, std::string, bool, Date>;

inline bool IsNull(const FieldValue& value) { return std::holds_alternative<std::monostate>(value); }

}  // namespace Norvane::Support

template <>
struct std::hash<Norvane::Support::Date> {
    std::size_t operator()(const Norvane::Support::Date& d) const noexcept {
        return std::hash<int>{}((d.Year * 16 + d.Month) * 32 + d.Day);
    }
};
