#include "host/shapefile/dbf_value_codec.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <stdexcept>

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

// A value's text before it is padded to the field's width; long enough for
// any text that can fit a field (widths stop at 255 bytes).
class FieldText {
public:
    static constexpr std::size_t kCapacity = 400;

    char* Begin() { return m_chars; }
    char* End() { return m_chars + kCapacity; }
    void SetEnd(const char* end) { m_size = static_cast<std::size_t>(end - m_chars); }
    void Set(std::string_view text) {
        m_size = std::min(text.size(), kCapacity);
        std::copy_n(text.data(), m_size, m_chars);
    }
    std::string_view View() const { return {m_chars, m_size}; }

private:
    char m_chars[kCapacity];
    std::size_t m_size = 0;
};

// `text` into exactly the field's bytes, padded with blanks on the left for
// numbers and on the right for everything else.
void putPadded(std::string_view text, char* out, const DbfField& field, bool rightAligned, const std::string& fileName) {
    const std::size_t width = static_cast<std::size_t>(field.width);
    if (text.size() > width) refuse(field, fileName, "the value does not fit " + std::to_string(width) + " characters");
    const std::size_t pad = width - text.size();
    std::fill_n(out + (rightAligned ? 0 : text.size()), pad, ' ');
    std::copy(text.begin(), text.end(), out + (rightAligned ? pad : 0));
}

bool printed(FieldText& text, double value, std::chars_format format, int precision) {
    const auto result = std::to_chars(text.Begin(), text.End(), value, format, precision);
    if (result.ec != std::errc()) return false;
    text.SetEnd(result.ptr);
    return true;
}

// The shortest text that reads back as `value`, padded with zeros to the
// field's decimals; false when that does not fit.
bool shortestFixedText(FieldText& text, double value, const DbfField& field) {
    const auto result = std::to_chars(text.Begin(), text.End(), value, std::chars_format::fixed);
    if (result.ec != std::errc()) return false;
    const std::string_view digits(text.Begin(), static_cast<std::size_t>(result.ptr - text.Begin()));
    const std::size_t dot = digits.find('.');
    const int fraction = dot == std::string_view::npos ? 0 : static_cast<int>(digits.size() - dot - 1);
    if (fraction > field.decimals) return false;
    const std::size_t zeros = static_cast<std::size_t>(field.decimals - fraction);
    const bool addDot = dot == std::string_view::npos && field.decimals > 0;
    if (digits.size() + addDot + zeros > static_cast<std::size_t>(field.width)) return false;
    char* end = result.ptr;
    if (addDot) *end++ = '.';
    text.SetEnd(std::fill_n(end, zeros, '0'));
    return true;
}

// The shortest exact text when it fits; otherwise the value rounded to fewer
// decimals, and scientific notation last.
bool numberText(FieldText& text, double value, const DbfField& field) {
    const std::size_t width = static_cast<std::size_t>(field.width);
    if (shortestFixedText(text, value, field)) return true;
    for (int decimals = field.decimals; decimals >= 0; --decimals)
        if (printed(text, value, std::chars_format::fixed, decimals) && text.View().size() <= width) return true;
    for (int digits = std::min(field.width, 17); digits >= 0; --digits)
        if (printed(text, value, std::chars_format::scientific, digits) && text.View().size() <= width) return true;
    return false;
}

void integerText(FieldText& text, std::int64_t value, const DbfField& field) {
    char* end = std::to_chars(text.Begin(), text.Begin() + 24, value).ptr;
    if (field.decimals > 0) {  // a byte of the file: at most 255 zeros
        *end++ = '.';
        end = std::fill_n(end, std::min(field.decimals, 255), '0');
    }
    text.SetEnd(end);
}

void formatNumber(const DbfField& field, const FieldValue& value, const std::string& fileName, char* out) {
    FieldText text;
    if (const auto* i32 = std::get_if<std::int32_t>(&value)) {
        integerText(text, *i32, field);
    } else if (const auto* i64 = std::get_if<std::int64_t>(&value)) {
        integerText(text, *i64, field);
    } else if (const auto* flag = std::get_if<bool>(&value)) {
        integerText(text, *flag ? 1 : 0, field);
    } else {
        std::optional<double> real;
        if (const auto* d = std::get_if<double>(&value)) {
            if (std::isnan(*d)) return putPadded({}, out, field, true, fileName);
            real = *d;
        } else if (const auto* s = std::get_if<std::string>(&value)) {
            real = parseDouble(TrimDbfText(*s));
        }
        if (!real || !std::isfinite(*real)) refuse(field, fileName, "the value is not a finite number");
        if (!numberText(text, *real, field))
            refuse(field, fileName, "the number does not fit " + std::to_string(field.width) + " characters");
    }
    if (text.View().size() > static_cast<std::size_t>(field.width))
        refuse(field, fileName,
               "the number " + std::string(text.View()) + " does not fit " + std::to_string(field.width) + " characters");
    putPadded(text.View(), out, field, true, fileName);
}

std::string dateText(const Date& date) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", date.Year, date.Month, date.Day);
    return buffer;
}

void formatDate(const DbfField& field, const FieldValue& value, const std::string& fileName, char* out) {
    std::optional<Date> date;
    if (const auto* d = std::get_if<Date>(&value))
        date = isValidDate(*d) ? std::optional(*d) : std::nullopt;
    else if (const auto* s = std::get_if<std::string>(&value))
        date = parseDate(TrimDbfText(*s));
    if (!date) refuse(field, fileName, "the value is not a calendar date");
    putPadded(dateText(*date), out, field, false, fileName);
}

void formatLogical(const DbfField& field, const FieldValue& value, const std::string& fileName, char* out) {
    std::optional<bool> flag;
    if (const auto* b = std::get_if<bool>(&value))
        flag = *b;
    else if (const auto* s = std::get_if<std::string>(&value))
        flag = parseLogical(TrimDbfText(*s));
    if (!flag) refuse(field, fileName, "the value is not true or false");
    putPadded(*flag ? "T" : "F", out, field, false, fileName);
}

// The value's shortest text; text values are viewed, not copied.
std::string_view shortestText(const FieldValue& value, FieldText& text) {
    struct Visitor {
        FieldText& text;
        std::string_view operator()(std::monostate) const { return {}; }
        std::string_view operator()(std::int32_t v) const { return integer(v); }
        std::string_view operator()(std::int64_t v) const { return integer(v); }
        std::string_view operator()(double v) const {
            text.SetEnd(std::to_chars(text.Begin(), text.End(), v).ptr);
            return text.View();
        }
        std::string_view operator()(const std::string& v) const { return v; }
        std::string_view operator()(bool v) const { return v ? "T" : "F"; }
        std::string_view operator()(const Date& v) const {
            text.Set(dateText(v));
            return text.View();
        }
        std::string_view integer(std::int64_t v) const {
            text.SetEnd(std::to_chars(text.Begin(), text.End(), v).ptr);
            return text.View();
        }
    };
    return std::visit(Visitor{text}, value);
}

void formatText(const DbfField& field, const FieldValue& value, const TextEncoder& encoder, const std::string& fileName,
                char* out) {
    FieldText number;
    const std::string_view text = shortestText(value, number);
    std::optional<std::string> converted;
    if (!encoder.KeepsAsIs(text)) {
        converted = encoder.Encode(text);
        if (!converted) refuse(field, fileName, "the text cannot be written in code page " + encoder.CodePage());
    }
    const std::string_view encoded = converted ? std::string_view(*converted) : text;
    if (encoded.size() > static_cast<std::size_t>(field.width))
        refuse(field, fileName, "the text takes " + std::to_string(encoded.size()) + " bytes but the field holds " +
                                    std::to_string(field.width));
    putPadded(encoded, out, field, false, fileName);
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

void FormatDbfValue(const DbfField& field, const FieldValue& value, const TextEncoder& encoder,
                    const std::string& fileName, std::span<char> out) {
    if (out.size() != static_cast<std::size_t>(field.width))
        throw std::logic_error("the bytes given for field \"" + field.name + "\" are not its width");
    if (Support::IsNull(value)) return std::fill(out.begin(), out.end(), field.nativeType == 'L' ? '?' : ' ');
    switch (field.nativeType) {
    case 'N':
    case 'F': return formatNumber(field, value, fileName, out.data());
    case 'D': return formatDate(field, value, fileName, out.data());
    case 'L': return formatLogical(field, value, fileName, out.data());
    default: return formatText(field, value, encoder, fileName, out.data());
    }
}

}  // namespace Norvane::Shapefile::Detail
