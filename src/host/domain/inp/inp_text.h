// The lexical rules of network (.inp) files, shared by the selection-set
// files: fields are separated by blanks and tabs, ";" starts a comment, and a
// field may be quoted with '"' to hold blanks.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Norvane::Domain {

struct InpToken {
    std::string_view text;  // without quotes
    std::size_t begin = 0;  // span within the line, quotes included
    std::size_t end = 0;
};

// The fields of one line (its text without the line ending) and its comment.
class InpLineTokens {
public:
    void Split(std::string_view line);

    std::size_t size() const { return m_tokens.size(); }
    bool empty() const { return m_tokens.empty(); }
    std::string_view operator[](std::size_t i) const { return m_tokens[i].text; }
    const InpToken& Token(std::size_t i) const { return m_tokens[i]; }
    // The text after ";", without surrounding blanks; empty when there is none.
    std::string_view Comment() const { return m_comment; }

private:
    std::vector<InpToken> m_tokens;
    std::string_view m_comment;
};

// A finite decimal number filling the whole field ("+" allowed in front).
std::optional<double> ParseInpNumber(std::string_view field);
// The shortest text that reads back as exactly `value`.
std::string FormatInpNumber(double value);
// `label` as a field: quoted when it is empty, holds a blank, a tab or ";",
// or starts like a section header or a quoted field.
std::string InpField(std::string_view label);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// Whether a [DEMANDS] row starting with `field` sets the demand multiplier:
// the engine takes any first field beginning with "MULT", in any case.
bool IsDemandMultiplierKeyword(std::string_view field);
std::string_view TrimBlanks(std::string_view text);

}  // namespace Norvane::Domain
