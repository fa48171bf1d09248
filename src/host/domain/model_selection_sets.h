// The selection sets of a DomainModel, listed like elements, with the field
// that gives each set's element IDs.
#pragma once

#include <deque>

#include "host/domain/i_selection_set_manager.h"

namespace Norvane::Domain {

class ModelSelectionSets final : public ISelectionSetManager, private ISelectionSetField {
public:
    std::vector<const IDomainElement*> Elements() const override;
    const IDomainElement* Element(std::int32_t selectionSetId) const override;
    const ISelectionSetField* SelectionSetField(const std::string& fieldName) const override;

    bool HasLabel(const std::string& label) const;
    void Add(std::int32_t id, std::string label, std::vector<std::int32_t> elementIds);

private:
    const std::vector<std::int32_t>& GetValue(std::int32_t selectionSetId) const override;

    class SetRecord final : public IDomainElement {
    public:
        SetRecord(std::int32_t id, std::string label, std::vector<std::int32_t> elementIds)
            : m_id(id), m_label(std::move(label)), m_elementIds(std::move(elementIds)) {}
        std::int32_t Id() const override { return m_id; }
        const std::string& Label() const override { return m_label; }
        const std::vector<std::int32_t>& ElementIds() const { return m_elementIds; }

    private:
        std::int32_t m_id;
        std::string m_label;
        std::vector<std::int32_t> m_elementIds;
    };

    const SetRecord* Find(std::int32_t selectionSetId) const;

    std::deque<SetRecord> m_sets;  // a deque keeps listed pointers valid as sets are added
};

}  // namespace Norvane::Domain
