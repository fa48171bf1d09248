#include "host/shapefile/projection_unit.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

#include "host/shapefile/dbf_field_table.h"
#include "host/shapefile/shapefile_files.h"

namespace Norvane::Shapefile {
namespace {

using Support::LengthUnit;

// KEYWORD["text", 1.5, CHILD[...], ...]
struct WktNode {
    std::string keyword;
    std::vector<std::string> values;  // quoted texts and numbers, in order
    std::vector<WktNode> children;
};

constexpr int kMaxDepth = 32;

class WktParser {
public:
    explicit WktParser(std::string_view text) : m_text(text) {}

    std::optional<WktNode> Root() {
        skipSpace();
        std::string keyword = word();
        skipSpace();
        return keyword.empty() ? std::nullopt : node(std::move(keyword), 0);
    }

private:
    // The node whose keyword was just read, from its opening bracket on.
    std::optional<WktNode> node(std::string keyword, int depth) {
        if (depth > kMaxDepth || !take('[', '(')) return std::nullopt;
        WktNode result{std::move(keyword), {}, {}};
        do {
            skipSpace();
            if (!item(result, depth)) return std::nullopt;
            skipSpace();
        } while (take(',', ','));
        if (!take(']', ')')) return std::nullopt;
        return result;
    }

    // A quoted text, a number, a child node or a bare word (an axis direction).
    bool item(WktNode& parent, int depth) {
        if (m_at >= m_text.size()) return false;
        if (m_text[m_at] == '"') {
            const std::size_t end = m_text.find('"', m_at + 1);
            if (end == std::string_view::npos) return false;
            parent.values.emplace_back(m_text.substr(m_at + 1, end - m_at - 1));
            m_at = end + 1;
            return true;
        }
        if (std::isalpha(static_cast<unsigned char>(m_text[m_at]))) {
            std::string keyword = word();
            skipSpace();
            if (m_at < m_text.size() && (m_text[m_at] == '[' || m_text[m_at] == '(')) {
                auto child = node(std::move(keyword), depth + 1);
                if (!child) return false;
                parent.children.push_back(std::move(*child));
            } else {
                parent.values.push_back(std::move(keyword));
            }
            return true;
        }
        const std::size_t start = m_at;
        while (m_at < m_text.size() && std::string_view("+-.0123456789eE").find(m_text[m_at]) != std::string_view::npos)
            ++m_at;
        if (m_at == start) return false;
        parent.values.emplace_back(m_text.substr(start, m_at - start));
        return true;
    }
    std::string word() {
        std::string out;
        while (m_at < m_text.size() && (std::isalnum(static_cast<unsigned char>(m_text[m_at])) || m_text[m_at] == '_'))
            out += m_text[m_at++];
        return out;
    }
    void skipSpace() {
        while (m_at < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_at]))) ++m_at;
    }
    bool take(char a, char b) {
        if (m_at < m_text.size() && (m_text[m_at] == a || m_text[m_at] == b)) {
            ++m_at;
            return true;
        }
        return false;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

bool isOneOf(const std::string& keyword, std::initializer_list<const char*> names) {
    const std::string upper = Detail::UpperAscii(keyword);
    for (const char* name : names)
        if (upper == name) return true;
    return false;
}

std::optional<double> number(const std::string& text) {
    double value = 0.0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
    if (parsed.ec != std::errc() || parsed.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

LengthUnit unitOfName(const std::string& name) {
    std::string key;
    for (const char c : Detail::UpperAscii(name))
        if (std::isalnum(static_cast<unsigned char>(c))) key += c;
    if (key == "METRE" || key == "METER" || key == "M") return LengthUnit::Metre;
    if (key == "FOOT" || key == "FOOTINTL" || key == "INTERNATIONALFOOT" || key == "FT") return LengthUnit::Foot;
    if (key == "USSURVEYFOOT" || key == "FOOTUS" || key == "USFOOT") return LengthUnit::USSurveyFoot;
    if (key == "KILOMETRE" || key == "KILOMETER") return LengthUnit::Kilometre;
    return LengthUnit::Unknown;
}

// UNIT["name", metres per unit]: the conversion factor decides; the name
// only when the factor is missing.
LengthUnit unitOf(const WktNode& unit) {
    const std::optional<double> factor = unit.values.size() > 1 ? number(unit.values[1]) : std::nullopt;
    if (!factor) return unit.values.empty() ? LengthUnit::Unknown : unitOfName(unit.values[0]);
    for (const Support::Unit& known : Support::Unit::AvailableUnitsSorted(Support::Dimension::Length))
        if (std::fabs(*factor - known.MetresPerUnit()) <= 1e-9 * known.MetresPerUnit()) return known.Length();
    return LengthUnit::Unknown;
}

const WktNode* childNamed(const WktNode& node, std::initializer_list<const char*> names) {
    for (const WktNode& child : node.children)
        if (isOneOf(child.keyword, names)) return &child;
    return nullptr;
}

LengthUnit unitOfSystem(const WktNode& system) {
    if (isOneOf(system.keyword, {"GEOGCS", "GEOGCRS", "GEODCRS", "GEOGRAPHICCRS", "GEODETICCRS"}))
        return LengthUnit::Degree;
    if (isOneOf(system.keyword, {"COMPD_CS", "COMPOUNDCRS"}))
        return system.children.empty() ? LengthUnit::Unknown : unitOfSystem(system.children.front());
    if (!isOneOf(system.keyword, {"PROJCS", "PROJCRS", "PROJECTEDCRS"})) return LengthUnit::Unknown;
    // WKT1 gives the unit as a child of the system; WKT2 beside the
    // coordinate system or on each axis.
    if (const WktNode* unit = childNamed(system, {"UNIT", "LENGTHUNIT"})) return unitOf(*unit);
    for (const WktNode& child : system.children)
        if (isOneOf(child.keyword, {"AXIS"}))
            if (const WktNode* unit = childNamed(child, {"UNIT", "LENGTHUNIT"})) return unitOf(*unit);
    return LengthUnit::Unknown;
}

}  // namespace

LengthUnit ParseProjectionLengthUnit(std::string_view wkt) {
    const std::optional<WktNode> root = WktParser(wkt).Root();
    return root ? unitOfSystem(*root) : LengthUnit::Unknown;
}

LengthUnit ReadProjectionLengthUnit(const std::string& path) {
    const auto prj = FindCompanionFile(ShapefileBasePath(path), "prj");
    if (!prj) return LengthUnit::Unknown;
    const FileImage text = ReadFileImage(*prj);
    return ParseProjectionLengthUnit(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
}

}  // namespace Norvane::Shapefile
