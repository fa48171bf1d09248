#include "host/domain/inp/inp_text.h"

#include <array>
#include <charconv>
#include <cmath>

namespace Norvane::Domain {
namespace {

enum CharClass : unsigned char { kPlain, kBlank, kComment, kQuote };

// One lookup per character instead of a chain of comparisons: tokenizing is
// most of the time spent reading a network.
constexpr auto kCharClasses = [] {
    std::array<CharClass, 256> classes{};
    for (unsigned char c : {' ', '\t', '\r', '\n'}) classes[c] = kBlank;
    classes[static_cast<unsigned char>(';')] = kComment;
    classes[static_cast<unsigned char>('"')] = kQuote;
    return classes;
}();

CharClass ClassOf(char c) { return kCharClasses[static_cast<unsigned char>(c)]; }

bool IsBlank(char c) { return ClassOf(c) == kBlank; }

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

void InpLineTokens::Split(std::string_view line) {
    m_tokens.clear();
    m_comment = {};
    std::size_t i = 0;
    while (i < line.size()) {
        switch (ClassOf(line[i])) {
            case kBlank: ++i; break;
            case kComment: m_comment = TrimBlanks(line.substr(i + 1)); return;
            case kQuote: {
                // An unclosed quote runs to the end of the line.
                const std::size_t close = line.find('"', i + 1);
                const std::size_t textEnd = close == std::string_view::npos ? line.size() : close;
                const std::size_t end = close == std::string_view::npos ? line.size() : close + 1;
                m_tokens.push_back({line.substr(i + 1, textEnd - i - 1), i, end});
                i = end;
                break;
            }
            case kPlain: {
                const std::size_t begin = i;
                while (i < line.size() && (ClassOf(line[i]) == kPlain || ClassOf(line[i]) == kQuote)) ++i;  // a quote inside a field is kept
                m_tokens.push_back({line.substr(begin, i - begin), begin, i});
                break;
            }
        }
    }
}

std::optional<double> ParseInpNumber(std::string_view field) {
    if (!field.empty() && field.front() == '+') {
        field.remove_prefix(1);
        if (!field.empty() && field.front() == '-') return std::nullopt;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc{} || end != field.data() + field.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string FormatInpNumber(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string InpField(std::string_view label) {
    const bool plain = !label.empty() && label.find_first_of(" \t;") == std::string_view::npos && label.front() != '[' &&
                       label.front() != '"';
    if (plain) return std::string(label);
    return std::string("\"").append(label).append("\"");
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}

bool IsDemandMultiplierKeyword(std::string_view field) {
    return field.size() >= 4 && EqualsIgnoreCase(field.substr(0, 4), "MULT");
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace Norvane::Domain
