#include "host/shapefile/dbf_value_codec.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

#include "host/shapefile/text_codec.h"
#include "host/support/exceptions.h"

namespace Norvane::Shapefile::Detail {
namespace {

using Support::Date;
using Support::FieldValue;

bool isBlank(char c) { return c == ' ' || c == '\0'; }

std::string_view withoutPlus(std::string_view text) {
    return text.size() > 1 && text.front() == '+' && text[1] != '-' ? text.substr(1) : text;
}

std::optional<double> parseDouble(std::string_view text) {
    text = withoutPlus(text);
    double value = 0.0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
    if (parsed.ec != std::errc() || parsed.ptr != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Integers as written, or written with a zero fraction ("12.000"). A value
// outside [low, high] does not read.
std::optional<std::int64_t> parseInteger(std::string_view text, std::int64_t low, std::int64_t high) {
    text = withoutPlus(text);
    std::int64_t value = 0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
    if (parsed.ec == std::errc() && parsed.ptr == text.data() + text.size())
        return value >= low && value <= high ? std::optional(value) : std::nullopt;
    const std::optional<double> real = parseDouble(text);
    if (!real || std::trunc(*real) != *real || *real < static_cast<double>(low) || *real > static_cast<double>(high))
        return std::nullopt;
    return static_cast<std::int64_t>(*real);
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

bool isValidDate(const Date& d) {
    return d.Year >= 1 && d.Year <= 9999 && d.Month >= 1 && d.Month <= 12 && d.Day >= 1 &&
           d.Day <= daysInMonth(d.Year, d.Month);
}

int digitsAt(std::string_view text, std::size_t at, std::size_t count) {
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// "YYYYMMDD", as dBASE stores dates, or "YYYY-MM-DD" / "YYYY/MM/DD".
std::optional<Date> parseDate(std::string_view text) {
    Date date;
    if (text.size() == 8) {
        date = {digitsAt(text, 0, 4), digitsAt(text, 4, 2), digitsAt(text, 6, 2)};
    } else if (text.size() == 10 && text[4] == text[7] && (text[4] == '-' || text[4] == '/')) {
        date = {digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2)};
    } else {
        return std::nullopt;
    }
    return isValidDate(date) ? std::optional(date) : std::nullopt;
}

std::optional<bool> parseLogical(std::string_view text) {
    if (text.size() != 1) return std::nullopt;
    switch (text.front()) {
    case 'T': case 't': case 'Y': case 'y': return true;
    case 'F': case 'f': case 'N': case 'n': return false;
    default: return std::nullopt;
    }
}

template <typename T>
FieldValue valueOr(std::optional<T> parsed) {
    return parsed ? FieldValue(*parsed) : FieldValue();
}

[[noreturn]] void refuse(const DbfField& field, const std::string& fileName, const std::string& why) {
    throw Support::ArgumentException("Field \"" + field.name + "\" of " + fileName + ": " + why + ".");
}

std::string padded(std::string text, const DbfField& field, bool rightAligned) {
    const std::size_t width = static_cast<std::size_t>(field.width);
    if (text.size() < width) text.insert(rightAligned ? 0 : text.size(), width - text.size(), ' ');
    return text;
}

std::string printed(const char* format, int precision, double value) {
    char buffer[400];
    const int length = std::snprintf(buffer, sizeof buffer, format, precision, value);
    return length > 0 && static_cast<std::size_t>(length) < sizeof buffer ? std::string(buffer, static_cast<std::size_t>(length))
                                                                          : std::string();
}

// The shortest text that reads back as `value`, padded with zeros to the
// field's decimals, when it fits; otherwise the value rounded to fewer
// decimals, and scientific notation last.
std::optional<std::string> numberText(double value, const DbfField& field) {
    const std::size_t width = static_cast<std::size_t>(field.width);
    char buffer[400];
    const auto shortest = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (shortest.ec == std::errc()) {
        std::string text(buffer, shortest.ptr);
        const std::size_t dot = text.find('.');
        const int fraction = dot == std::string::npos ? 0 : static_cast<int>(text.size() - dot - 1);
        if (fraction <= field.decimals) {
            if (dot == std::string::npos && field.decimals > 0) text += '.';
            text.append(static_cast<std::size_t>(field.decimals - fraction), '0');
            if (text.size() <= width) return text;
        }
    }
    for (int decimals = field.decimals; decimals >= 0; --decimals) {
        std::string text = printed("%.*f", decimals, value);
        if (text.size() <= width) return text;
    }
    for (int digits = std::min(field.width, 17); digits >= 0; --digits) {
        std::string text = printed("%.*e", digits, value);
        if (text.size() <= width) return text;
    }
    return std::nullopt;
}

std::string integerText(std::int64_t value, const DbfField& field) {
    if (field.decimals == 0) return std::to_string(value);
    return std::to_string(value) + "." + std::string(static_cast<std::size_t>(field.decimals), '0');
}

std::string formatNumber(const DbfField& field, const FieldValue& value, const std::string& fileName) {
    std::string text;
    if (const auto* i32 = std::get_if<std::int32_t>(&value)) {
        text = integerText(*i32, field);
    } else if (const auto* i64 = std::get_if<std::int64_t>(&value)) {
        text = integerText(*i64, field);
    } else if (const auto* flag = std::get_if<bool>(&value)) {
        text = integerText(*flag ? 1 : 0, field);
    } else {
        std::optional<double> real;
        if (const auto* d = std::get_if<double>(&value)) {
            if (std::isnan(*d)) return std::string(static_cast<std::size_t>(field.width), ' ');
            real = *d;
        } else if (const auto* s = std::get_if<std::string>(&value)) {
            real = parseDouble(TrimDbfText(*s));
        }
        if (!real || !std::isfinite(*real)) refuse(field, fileName, "the value is not a finite number");
        const auto fitted = numberText(*real, field);
        if (!fitted) refuse(field, fileName, "the number does not fit " + std::to_string(field.width) + " characters");
        text = *fitted;
    }
    if (text.size() > static_cast<std::size_t>(field.width))
        refuse(field, fileName, "the number " + text + " does not fit " + std::to_string(field.width) + " characters");
    return padded(std::move(text), field, true);
}

std::string dateText(const Date& date) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", date.Year, date.Month, date.Day);
    return buffer;
}

std::string formatDate(const DbfField& field, const FieldValue& value, const std::string& fileName) {
    std::optional<Date> date;
    if (const auto* d = std::get_if<Date>(&value))
        date = isValidDate(*d) ? std::optional(*d) : std::nullopt;
    else if (const auto* s = std::get_if<std::string>(&value))
        date = parseDate(TrimDbfText(*s));
    if (!date) refuse(field, fileName, "the value is not a calendar date");
    return padded(dateText(*date), field, false);
}

std::string formatLogical(const DbfField& field, const FieldValue& value, const std::string& fileName) {
    std::optional<bool> flag;
    if (const auto* b = std::get_if<bool>(&value))
        flag = *b;
    else if (const auto* s = std::get_if<std::string>(&value))
        flag = parseLogical(TrimDbfText(*s));
    if (!flag) refuse(field, fileName, "the value is not true or false");
    return padded(*flag ? "T" : "F", field, false);
}

std::string shortestText(const FieldValue& value) {
    struct Visitor {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(std::int32_t v) const { return std::to_string(v); }
        std::string operator()(std::int64_t v) const { return std::to_string(v); }
        std::string operator()(double v) const {
            char buffer[32];
            const auto printed = std::to_chars(buffer, buffer + sizeof buffer, v);
            return std::string(buffer, printed.ptr);
        }
        std::string operator()(const std::string& v) const { return v; }
        std::string operator()(bool v) const { return v ? "T" : "F"; }
        std::string operator()(const Date& v) const { return dateText(v); }
    };
    return std::visit(Visitor{}, value);
}

std::string formatText(const DbfField& field, const FieldValue& value, const TextEncoder& encoder,
                       const std::string& fileName) {
    const auto encoded = encoder.Encode(shortestText(value));
    if (!encoded) refuse(field, fileName, "the text cannot be written in code page " + encoder.CodePage());
    if (encoded->size() > static_cast<std::size_t>(field.width))
        refuse(field, fileName, "the text takes " + std::to_string(encoded->size()) + " bytes but the field holds " +
                                    std::to_string(field.width));
    return padded(*encoded, field, false);
}

}  // namespace

std::string_view TrimDbfText(std::string_view stored) {
    while (!stored.empty() && isBlank(stored.front())) stored.remove_prefix(1);
    while (!stored.empty() && isBlank(stored.back())) stored.remove_suffix(1);
    return stored;
}

FieldValue ParseDbfValue(const DbfField& field, std::string_view stored, const TextDecoder& decoder) {
    const std::string_view text = TrimDbfText(stored);
    if (text.empty()) return {};
    switch (field.valueType) {
    case FieldValueType::Int16:
    case FieldValueType::Int32: {
        const auto value = parseInteger(text, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
        return value ? FieldValue(static_cast<std::int32_t>(*value)) : FieldValue();
    }
    case FieldValueType::Int64:
        return valueOr(parseInteger(text, std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()));
    case FieldValueType::Single:
    case FieldValueType::Double: return valueOr(parseDouble(text));
    case FieldValueType::DateTime: return valueOr(parseDate(text));
    case FieldValueType::Boolean: return valueOr(parseLogical(text));
    case FieldValueType::String: break;
    }
    return decoder.Decode(text);
}

std::string FormatDbfValue(const DbfField& field, const FieldValue& value, const TextEncoder& encoder,
                           const std::string& fileName) {
    if (Support::IsNull(value)) return std::string(static_cast<std::size_t>(field.width), field.nativeType == 'L' ? '?' : ' ');
    switch (field.nativeType) {
    case 'N':
    case 'F': return formatNumber(field, value, fileName);
    case 'D': return formatDate(field, value, fileName);
    case 'L': return formatLogical(field, value, fileName);
    default: return formatText(field, value, encoder, fileName);
    }
}

}  // namespace Norvane::Shapefile::Detail
