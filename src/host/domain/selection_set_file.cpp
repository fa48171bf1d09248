#include "host/domain/selection_set_file.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <unordered_set>

#include "host/domain/inp/inp_document.h"
#include "host/domain/inp/inp_text.h"
#include "host/support/exceptions.h"

namespace Norvane::Domain {
namespace {

struct PendingSet {
    std::string name;
    std::size_t line;
    std::vector<std::int32_t> elementIds;
    std::unordered_set<std::int32_t> members;
};

class SelectionSetParser {
public:
    SelectionSetParser(const std::string& sourceName, DomainModel& model) : m_sourceName(sourceName), m_model(model) {}

    std::vector<PendingSet> Parse(const InpDocument& document, const std::string& defaultSetName) {
        std::vector<PendingSet> sets;
        InpLineTokens tokens;
        for (std::size_t line = 0; line < document.LineCount(); ++line) {
            const std::string_view text = TrimBlanks(document.Line(line));
            if (text.starts_with('[')) {
                sets.push_back({SetName(line, text), line, {}, {}});
                continue;
            }
            tokens.Split(text);
            if (tokens.empty()) continue;
            if (sets.empty()) sets.push_back({CheckedName(line, defaultSetName), line, {}, {}});
            const std::int32_t id = Resolve(line, tokens);
            if (sets.back().members.insert(id).second) sets.back().elementIds.push_back(id);
        }
        for (std::size_t i = 0; i < sets.size(); ++i) CheckNameIsFree(sets, i);
        return sets;
    }

private:
    [[noreturn]] void Fail(std::size_t line, const std::string& message) const {
        throw Support::ApplicationException(m_sourceName + ":" + std::to_string(line + 1) + ": " + message);
    }

    std::string SetName(std::size_t line, std::string_view header) const {
        const std::size_t close = header.find(']');
        if (close == std::string_view::npos) Fail(line, "a set name needs a closing \"]\"");
        return CheckedName(line, std::string(TrimBlanks(header.substr(1, close - 1))));
    }

    // Labels before the first header take the file's name, so it is checked too.
    std::string CheckedName(std::size_t line, std::string name) const {
        if (name.empty() || name.find_first_of("\\/") != std::string::npos)
            Fail(line, "the set name \"" + name + "\" is empty or holds \"\\\" or \"/\", which separate the parts of a layer path");
        return name;
    }

    void CheckNameIsFree(const std::vector<PendingSet>& sets, std::size_t index) const {
        const PendingSet& set = sets[index];
        for (std::size_t i = 0; i < index; ++i)
            if (sets[i].name == set.name) Fail(set.line, "the set \"" + set.name + "\" is named twice in the file");
        for (const IDomainElement* existing : m_model.SelectionSetManager().Elements())
            if (existing->Label() == set.name) Fail(set.line, "the model already has a selection set named \"" + set.name + "\"");
    }

    std::int32_t Resolve(std::size_t line, const InpLineTokens& tokens) const {
        if (tokens.size() > 2) Fail(line, "expected one element label, optionally after its type, found " + std::to_string(tokens.size()) + " fields");
        const std::string_view label = tokens[tokens.size() - 1];
        std::vector<std::int32_t> ids = m_model.ElementsLabelled(label);
        if (tokens.size() == 2) {
            const std::vector<int> types = TypesLabelled(line, tokens[0]);
            std::erase_if(ids, [&](std::int32_t id) {
                return std::none_of(types.begin(), types.end(), [&](int type) { return m_model.IsOfType(id, type); });
            });
        }
        if (ids.empty()) Fail(line, "no element" + std::string(tokens.size() == 2 ? " of that type" : "") + " is labelled \"" + std::string(label) + "\"");
        if (ids.size() > 1)
            Fail(line, "\"" + std::string(label) + "\" labels more than one element (" + TypeList(ids) +
                           "); write the type before the label, e.g. \"" + TypeLabel(ids.back()) + " " + std::string(label) + "\"");
        return ids.front();
    }

    std::vector<int> TypesLabelled(std::size_t line, std::string_view typeLabel) const {
        std::vector<int> types;
        for (const IDomainElementType* type : m_model.DomainDataSetType().DomainElementTypes(true))
            if (EqualsIgnoreCase(type->Label(), typeLabel)) types.push_back(type->Id());
        if (types.empty()) Fail(line, "no element type is labelled \"" + std::string(typeLabel) + "\"");
        return types;
    }

    std::string TypeLabel(std::int32_t id) const {
        return m_model.DomainDataSetType().DomainElementType(m_model.DomainElementTypeID(id))->Label();
    }

    std::string TypeList(const std::vector<std::int32_t>& ids) const {
        std::string list;
        for (std::int32_t id : ids) list += (list.empty() ? "" : ", ") + TypeLabel(id);
        return list;
    }

    const std::string& m_sourceName;
    DomainModel& m_model;
};

std::vector<std::int32_t> AddAll(std::vector<PendingSet> sets, DomainModel& model) {
    std::vector<std::int32_t> ids;
    for (PendingSet& set : sets) ids.push_back(model.AddSelectionSet(std::move(set.name), std::move(set.elementIds)));
    return ids;
}

}  // namespace

std::vector<std::int32_t> SelectionSetFile::Load(const std::filesystem::path& path, DomainModel& model) {
    std::ifstream in(path, std::ios::binary);
    std::error_code error;
    if (!in || !std::filesystem::is_regular_file(path, error))
        throw Support::FileNotFoundException("The selection-set file " + path.string() + " does not exist or cannot be read.");
    std::ostringstream text;
    text << in.rdbuf();
    return Parse(text.str(), path.string(), path.stem().string(), model);
}

std::vector<std::int32_t> SelectionSetFile::Parse(std::string_view text, const std::string& sourceName,
                                                  const std::string& defaultSetName, DomainModel& model) {
    const InpDocument document{std::string(text)};
    return AddAll(SelectionSetParser(sourceName, model).Parse(document, defaultSetName), model);
}

}  // namespace Norvane::Domain
