#include "host/domain/model_selection_sets.h"

#include <algorithm>

#include "host/support/exceptions.h"

namespace Norvane::Domain {

std::vector<const IDomainElement*> ModelSelectionSets::Elements() const {
    std::vector<const IDomainElement*> sets;
    for (const SetRecord& set : m_sets) sets.push_back(&set);
    return sets;
}

const IDomainElement* ModelSelectionSets::Element(std::int32_t selectionSetId) const { return Find(selectionSetId); }

const ISelectionSetField* ModelSelectionSets::SelectionSetField(const std::string& fieldName) const {
    return fieldName == kSelectionSetElementIDsField ? this : nullptr;
}

bool ModelSelectionSets::HasLabel(const std::string& label) const {
    return std::any_of(m_sets.begin(), m_sets.end(), [&](const SetRecord& set) { return set.Label() == label; });
}

void ModelSelectionSets::Add(std::int32_t id, std::string label, std::vector<std::int32_t> elementIds) {
    m_sets.emplace_back(id, std::move(label), std::move(elementIds));
}

const std::vector<std::int32_t>& ModelSelectionSets::GetValue(std::int32_t selectionSetId) const {
    const SetRecord* set = Find(selectionSetId);
    if (set == nullptr)
        throw Support::ArgumentException("No selection set has the ID " + std::to_string(selectionSetId) + ".");
    return set->ElementIds();
}

const ModelSelectionSets::SetRecord* ModelSelectionSets::Find(std::int32_t selectionSetId) const {
    for (const SetRecord& set : m_sets)
        if (set.Id() == selectionSetId) return &set;
    return nullptr;
}

}  // namespace Norvane::Domain
