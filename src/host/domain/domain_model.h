// An in-memory network model: element types with sub-types, elements with
// labels, coordinates and attribute values, one manager per type, and
// selection sets. Built by DomainModelBuilder or read from a network file
// (InpModel); elements are fixed once built, values and selection sets may
// still change.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/domain/domain_model_records.h"
#include "host/domain/i_domain_data_set.h"
#include "host/support/field_value.h"
#include "host/support/units.h"

namespace Norvane::Domain {

class ModelElementManager;
class ModelingField;
class ModelSelectionSets;

// Everything a builder hands over. Element i has ID i + 1, so IDs are dense,
// start at 1 and are unique across the model; 0 names no element.
struct DomainModelData {
    Support::LengthUnit lengthUnit = Support::LengthUnit::Unknown;
    std::vector<std::unique_ptr<ElementTypeRecord>> types;
    std::vector<ElementRecord> elements;
    std::vector<Support::GeometryPoint> vertices;
    std::map<std::string, std::vector<Support::FieldValue>, std::less<>> columns;
};

class DomainModel final : public IDomainDataSet, private IDomainDataSetType {
public:
    explicit DomainModel(DomainModelData data);
    ~DomainModel() override;
    DomainModel(const DomainModel&) = delete;
    DomainModel& operator=(const DomainModel&) = delete;

    const IDomainDataSetType& DomainDataSetType() const override { return *this; }
    IDomainElementManager* DomainElementManager(int typeId) override;
    IDomainElementManager* DomainElementManager(const std::string& typeName) override;
    int DomainElementTypeID(std::int32_t elementId) const override;
    ISelectionSetManager& SelectionSetManager() override;

    // The unit coordinates are stored in; Unknown for a model built without one.
    Support::LengthUnit LengthUnit() const { return m_data.lengthUnit; }
    std::size_t ElementCount() const { return m_data.elements.size(); }
    // Null when no element has this ID.
    const ElementRecord* FindElement(std::int32_t elementId) const;
    // Whether the element is of `typeId` or of a type derived from it.
    bool IsOfType(std::int32_t elementId, int typeId) const;
    // Every element with this label, in ID order (a node and a link may share one).
    std::vector<std::int32_t> ElementsLabelled(std::string_view label) const;
    // Geometry in the model's unit: Empty, or no points, when there is none.
    Support::GeometryPoint PointOf(std::int32_t elementId) const;
    Support::PointArray PointsOf(std::int32_t elementId) const;

    // Null for an unknown name.
    IModelingElementField* ModelingElementField(std::string_view fieldName) const;
    std::vector<std::string> ModelingElementFieldNames() const;
    // Adds the field when it is new; ArgumentException for an unknown element
    // or a name the model computes itself (Label, StartNode, ...).
    void SetValue(std::int32_t elementId, std::string_view fieldName, Support::FieldValue value);

    // Adds a selection set and returns its ID, which no element or set has.
    // ArgumentException for an empty label, a label holding "\" or "/" (it
    // could not be named in a layer path), a label already in use, or an
    // element ID the model does not have.
    std::int32_t AddSelectionSet(std::string label, std::vector<std::int32_t> elementIds);

private:
    std::vector<const IDomainElementType*> DomainElementTypes(bool includeSubTypes) const override;
    const IDomainElementType* DomainElementType(int typeId) const override;

    const ElementTypeRecord* TypeRecord(int typeId) const;
    void LinkSubTypes();
    void CreateManagers();
    void CreateFields();

    DomainModelData m_data;
    std::vector<std::unique_ptr<ModelElementManager>> m_managers;  // one per type, in catalogue order
    std::map<std::string, std::unique_ptr<ModelingField>, std::less<>> m_fields;
    std::unique_ptr<ModelSelectionSets> m_selectionSets;
    mutable std::unordered_multimap<std::string_view, std::int32_t> m_labelIndex;  // built on first use
};

}  // namespace Norvane::Domain
