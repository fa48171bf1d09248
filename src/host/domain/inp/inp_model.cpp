#include "host/domain/inp/inp_model.h"

#include <cmath>
#include <fstream>
#include <system_error>

#include "host/domain/inp/inp_network_reader.h"
#include "host/domain/inp/inp_text.h"
#include "host/domain/network_element_types.h"
#include "host/support/exceptions.h"

namespace Norvane::Domain {
namespace {

constexpr std::uintmax_t kMaxFileSize = std::uintmax_t{1} << 30;

std::string ReadWholeFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        throw Support::FileNotFoundException("The network file " + path.string() + " does not exist or is not a file.");
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) throw Support::FileNotFoundException("The network file " + path.string() + " cannot be read: " + error.message());
    if (size > kMaxFileSize)
        throw Support::ApplicationException("The network file " + path.string() + " is larger than 1 GiB; it is not read.");
    std::ifstream in(path, std::ios::binary);
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!in.read(text.data(), static_cast<std::streamsize>(size)) || in.peek() != std::char_traits<char>::eof())
        throw Support::FileNotFoundException("The network file " + path.string() + " cannot be read (it changed while it was read?).");
    return text;
}

bool IsBlankLine(std::string_view line) { return TrimBlanks(line).empty(); }

}  // namespace

InpModel::InpModel(std::string text, std::string sourceName)
    : m_document(std::move(text)), m_sourceName(std::move(sourceName)) {
    m_network = InpNetworkReader(m_document, m_sourceName).Read();
}

std::unique_ptr<InpModel> InpModel::Load(const std::filesystem::path& path) {
    return std::unique_ptr<InpModel>(new InpModel(ReadWholeFile(path), path.string()));
}

std::unique_ptr<InpModel> InpModel::Parse(std::string text, std::string sourceName) {
    if (text.size() > kMaxFileSize) throw Support::ApplicationException(sourceName + " is larger than 1 GiB; it is not read.");
    return std::unique_ptr<InpModel>(new InpModel(std::move(text), std::move(sourceName)));
}

std::int32_t InpModel::NodeId(std::string_view label) const {
    const auto it = m_network.nodeIds.find(label);
    return it == m_network.nodeIds.end() ? 0 : it->second;
}

std::int32_t InpModel::LinkId(std::string_view label) const {
    const auto it = m_network.linkIds.find(label);
    return it == m_network.linkIds.end() ? 0 : it->second;
}

void InpModel::CheckJunction(std::int32_t junctionId) const {
    if (Model().DomainElementTypeID(junctionId) != TypeId(NetworkElementType::Junction))
        throw Support::ArgumentException("The element " + std::to_string(junctionId) + " is not a junction of " + m_sourceName + ".");
}

void InpModel::CheckRow(const DemandRow& row) const {
    if (!std::isfinite(row.BaseDemand))
        throw Support::ArgumentException("A base demand must be a finite number.");
    if (!row.Pattern.empty() && !m_network.patternIds.contains(row.Pattern))
        throw Support::ArgumentException("The demand pattern \"" + row.Pattern + "\" is not defined in " + m_sourceName + ".");
    if (row.Category.find_first_of("\r\n") != std::string::npos)
        throw Support::ArgumentException("A demand category must not hold a line break.");
}

double InpModel::BaseDemand(std::int32_t junctionId) const {
    CheckJunction(junctionId);
    const Support::FieldValue value = Model().ModelingElementField(FieldNames::BaseDemand)->GetValue(junctionId);
    return std::get<double>(value);
}

std::vector<DemandRow> InpModel::DemandRows(std::int32_t junctionId) const {
    CheckJunction(junctionId);
    if (const auto edited = m_demandRowEdits.find(junctionId); edited != m_demandRowEdits.end()) return edited->second;
    if (const auto read = m_network.demandRows.find(junctionId); read != m_network.demandRows.end()) return read->second.rows;
    return {};
}

std::vector<DemandRow> InpModel::EffectiveDemands(std::int32_t junctionId) const {
    std::vector<DemandRow> rows = DemandRows(junctionId);
    if (!rows.empty()) return rows;
    const Support::FieldValue pattern = Model().ModelingElementField(FieldNames::DemandPattern)->GetValue(junctionId);
    const auto* patternText = std::get_if<std::string>(&pattern);
    return {DemandRow{BaseDemand(junctionId), patternText ? *patternText : std::string(), {}}};
}

void InpModel::SetBaseDemand(std::int32_t junctionId, double baseDemand) {
    CheckRow({baseDemand, {}, {}});
    const double original = BaseDemand(junctionId);
    m_baseDemandEdits.try_emplace(junctionId, BaseDemandEdit{original, original}).first->second.current = baseDemand;
    Model().SetValue(junctionId, FieldNames::BaseDemand, baseDemand);
    UpdateTotalBaseDemand(junctionId);
}

void InpModel::SetDemandRows(std::int32_t junctionId, std::vector<DemandRow> rows) {
    CheckJunction(junctionId);
    const std::string& label = Model().FindElement(junctionId)->Label();
    if (!rows.empty() && IsDemandMultiplierKeyword(label))
        throw Support::ArgumentException("The junction \"" + label + "\" cannot have demand rows: the engine reads a row "
                                         "starting with its label as the demand multiplier.");
    for (const DemandRow& row : rows) CheckRow(row);
    m_demandRowEdits[junctionId] = std::move(rows);
    UpdateTotalBaseDemand(junctionId);
}

void InpModel::AddDemand(std::int32_t junctionId, DemandRow row) {
    std::vector<DemandRow> rows = DemandRows(junctionId);
    if (rows.empty() && BaseDemand(junctionId) != 0.0) rows = EffectiveDemands(junctionId);
    rows.push_back(std::move(row));
    SetDemandRows(junctionId, std::move(rows));
}

void InpModel::UpdateTotalBaseDemand(std::int32_t junctionId) {
    const std::vector<DemandRow> rows = DemandRows(junctionId);
    double total = rows.empty() ? BaseDemand(junctionId) : 0.0;
    for (const DemandRow& row : rows) total += row.BaseDemand;
    Model().SetValue(junctionId, FieldNames::TotalBaseDemand, total);
}

bool InpModel::IsModified() const { return !Edits().empty(); }

std::string InpModel::Text() const { return m_document.Render(Edits()); }

void InpModel::Save(const std::filesystem::path& path) const {
    const std::string text = Text();
    std::filesystem::path partial = path;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            throw Support::ApplicationException("The network file " + path.string() + " cannot be written.");
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    if (error) {
        std::filesystem::remove(partial, error);
        throw Support::ApplicationException("The network file " + path.string() + " cannot be written: " + error.message());
    }
}

InpEdits InpModel::Edits() const {
    InpEdits edits;
    for (const auto& [id, edit] : m_baseDemandEdits)
        if (edit.current != edit.original)
            edits.replaced[m_network.definitionLines[static_cast<std::size_t>(id - 1)]] = JunctionLineWithDemand(id, edit.current);
    AddDemandRowEdits(edits);
    return edits;
}

// The junction's line with its demand field replaced, or added after the
// elevation; the rest of the line keeps its bytes.
std::string InpModel::JunctionLineWithDemand(std::int32_t junctionId, double baseDemand) const {
    const std::string_view line = m_document.Line(m_network.definitionLines[static_cast<std::size_t>(junctionId - 1)]);
    InpLineTokens tokens;
    tokens.Split(line);
    const std::string number = FormatInpNumber(baseDemand);
    if (tokens.size() >= 3)
        return std::string(line.substr(0, tokens.Token(2).begin)) + number + std::string(line.substr(tokens.Token(2).end));
    const auto& elevation = tokens.Token(1);
    // An elevation in an unclosed quote runs to the end of the line and
    // would swallow the demand: closing it keeps its value.
    const bool unclosed = line[elevation.begin] == '"' &&
                          (elevation.end - elevation.begin == 1 || line[elevation.end - 1] != '"');
    return std::string(line.substr(0, elevation.end)) + (unclosed ? "\"\t" : "\t") + number +
           std::string(line.substr(elevation.end));
}

std::string InpModel::DemandLine(std::int32_t junctionId, const DemandRow& row) const {
    std::string line(" ");
    line.append(InpField(Model().FindElement(junctionId)->Label())).append("\t").append(FormatInpNumber(row.BaseDemand));
    if (!row.Pattern.empty()) line.append("\t").append(InpField(row.Pattern));
    if (!row.Category.empty()) line.append("\t;").append(row.Category);
    return line;
}

void InpModel::AddDemandRowEdits(InpEdits& edits) const {
    std::vector<std::string> newLines;  // rows of junctions that had none
    for (const auto& [id, rows] : m_demandRowEdits) {
        static const JunctionDemandRows none;
        const auto read = m_network.demandRows.find(id);
        const JunctionDemandRows& original = read == m_network.demandRows.end() ? none : read->second;
        const std::size_t kept = std::min(rows.size(), original.rows.size());
        for (std::size_t i = 0; i < kept; ++i)
            if (!(rows[i] == original.rows[i])) edits.replaced[original.lines[i]] = DemandLine(id, rows[i]);
        for (std::size_t i = kept; i < original.rows.size(); ++i) edits.replaced[original.lines[i]] = std::nullopt;
        if (rows.size() <= kept) continue;
        std::vector<std::string>& target = original.lines.empty() ? newLines : edits.insertedBefore[original.lines.back() + 1];
        for (std::size_t i = kept; i < rows.size(); ++i) target.push_back(DemandLine(id, rows[i]));
    }
    if (!newLines.empty()) InsertNewDemandRows(edits, std::move(newLines));
}

// New rows go after the last non-blank line of the last [DEMANDS] section;
// without one, a section of their own goes before [END] or at the end.
void InpModel::InsertNewDemandRows(InpEdits& edits, std::vector<std::string> lines) const {
    const InpSectionRange* demands = nullptr;
    const InpSectionRange* end = nullptr;
    for (const InpSectionRange& section : m_document.Sections()) {
        if (section.kind == InpSection::Demands) demands = &section;
        if (section.kind == InpSection::End) end = &section;
    }
    if (demands != nullptr) {
        std::size_t after = demands->headerLine;
        for (std::size_t line = demands->firstLine; line < demands->endLine; ++line)
            if (!IsBlankLine(m_document.Line(line))) after = line;
        auto& target = edits.insertedBefore[after + 1];
        target.insert(target.end(), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
        return;
    }
    lines.insert(lines.begin(), "[DEMANDS]");
    if (end != nullptr) {
        lines.push_back("");
        auto& target = edits.insertedBefore[end->headerLine];
        target.insert(target.end(), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
    } else {
        lines.insert(lines.begin(), "");
        auto& target = edits.insertedBefore[m_document.LineCount()];
        target.insert(target.end(), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
    }
}

}  // namespace Norvane::Domain
