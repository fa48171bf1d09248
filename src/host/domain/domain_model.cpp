#include "host/domain/domain_model.h"

#include <algorithm>

#include "host/domain/domain_fields.h"
#include "host/domain/model_element_manager.h"
#include "host/domain/model_selection_sets.h"
#include "host/domain/network_element_types.h"
#include "host/support/exceptions.h"

namespace Norvane::Domain {
namespace {

void AppendDescendants(const std::vector<std::unique_ptr<ElementTypeRecord>>& types, int parentId,
                       std::vector<const IDomainElementType*>& out) {
    for (const auto& type : types) {
        if (type->ParentId() != parentId) continue;
        out.push_back(type.get());
        AppendDescendants(types, type->Id(), out);
    }
}

}  // namespace

DomainModel::DomainModel(DomainModelData data)
    : m_data(std::move(data)), m_selectionSets(std::make_unique<ModelSelectionSets>()) {
    LinkSubTypes();
    CreateManagers();
    CreateFields();
}

DomainModel::~DomainModel() = default;

void DomainModel::LinkSubTypes() {
    for (auto& type : m_data.types) {
        std::vector<const IDomainElementType*> subTypes;
        AppendDescendants(m_data.types, type->Id(), subTypes);
        type->SetSubTypes(std::move(subTypes));
    }
}

void DomainModel::CreateManagers() {
    // Each element belongs to its own type's manager and to those of the
    // types it derives from.
    auto indexOf = [&](int typeId) {
        std::size_t i = 0;
        while (i < m_data.types.size() && m_data.types[i]->Id() != typeId) ++i;
        return i;
    };
    std::vector<std::vector<std::int32_t>> idsByType(m_data.types.size());
    for (const ElementRecord& element : m_data.elements)
        for (std::size_t i = indexOf(element.TypeId()); i < m_data.types.size(); i = indexOf(m_data.types[i]->ParentId()))
            idsByType[i].push_back(element.Id());
    for (std::size_t i = 0; i < m_data.types.size(); ++i)
        m_managers.push_back(std::make_unique<ModelElementManager>(*this, *m_data.types[i], std::move(idsByType[i])));
}

void DomainModel::CreateFields() {
    using Source = ModelingField::Source;
    const std::pair<const char*, Source> computed[] = {
        {FieldNames::Label, Source::Label},             {FieldNames::StartNode, Source::StartNode},
        {FieldNames::EndNode, Source::EndNode},         {FieldNames::StartNodeId, Source::StartNodeId},
        {FieldNames::EndNodeId, Source::EndNodeId},
    };
    for (const auto& [name, source] : computed)
        m_fields.emplace(name, std::make_unique<ModelingField>(*this, name, source));
    for (auto& [name, column] : m_data.columns) {
        if (m_fields.contains(name))
            throw Support::ArgumentException("The field \"" + name + "\" is computed by the model and cannot be stored.");
        column.resize(m_data.elements.size());
        m_fields.emplace(name, std::make_unique<ModelingField>(*this, name, Source::Column, std::move(column)));
    }
    m_data.columns.clear();
}

IDomainElementManager* DomainModel::DomainElementManager(int typeId) {
    for (const auto& manager : m_managers)
        if (manager->DomainElementType().Id() == typeId) return manager.get();
    return nullptr;
}

IDomainElementManager* DomainModel::DomainElementManager(const std::string& typeName) {
    for (const auto& manager : m_managers)
        if (manager->DomainElementType().Name() == typeName) return manager.get();
    return nullptr;
}

int DomainModel::DomainElementTypeID(std::int32_t elementId) const {
    const ElementRecord* element = FindElement(elementId);
    return element == nullptr ? 0 : element->TypeId();
}

ISelectionSetManager& DomainModel::SelectionSetManager() { return *m_selectionSets; }

std::vector<const IDomainElementType*> DomainModel::DomainElementTypes(bool includeSubTypes) const {
    std::vector<const IDomainElementType*> types;
    for (const auto& type : m_data.types)
        if (includeSubTypes || type->ParentId() == 0) types.push_back(type.get());
    return types;
}

const IDomainElementType* DomainModel::DomainElementType(int typeId) const { return TypeRecord(typeId); }

const ElementTypeRecord* DomainModel::TypeRecord(int typeId) const {
    for (const auto& type : m_data.types)
        if (type->Id() == typeId) return type.get();
    return nullptr;
}

const ElementRecord* DomainModel::FindElement(std::int32_t elementId) const {
    if (elementId < 1 || static_cast<std::size_t>(elementId) > m_data.elements.size()) return nullptr;
    return &m_data.elements[static_cast<std::size_t>(elementId - 1)];
}

bool DomainModel::IsOfType(std::int32_t elementId, int typeId) const {
    const ElementRecord* element = FindElement(elementId);
    if (element == nullptr) return false;
    // Catalogues are a handful of types deep, so walking up is cheap.
    for (const ElementTypeRecord* type = TypeRecord(element->TypeId()); type != nullptr; type = TypeRecord(type->ParentId()))
        if (type->Id() == typeId) return true;
    return false;
}

std::vector<std::int32_t> DomainModel::ElementsLabelled(std::string_view label) const {
    if (m_labelIndex.empty()) {
        m_labelIndex.reserve(m_data.elements.size());
        for (const ElementRecord& element : m_data.elements) m_labelIndex.emplace(element.Label(), element.Id());
    }
    std::vector<std::int32_t> ids;
    const auto [first, last] = m_labelIndex.equal_range(label);
    for (auto it = first; it != last; ++it) ids.push_back(it->second);
    std::sort(ids.begin(), ids.end());
    return ids;
}

Support::GeometryPoint DomainModel::PointOf(std::int32_t elementId) const {
    const ElementRecord* element = FindElement(elementId);
    return element == nullptr ? Support::GeometryPoint::Empty() : element->point;
}

Support::PointArray DomainModel::PointsOf(std::int32_t elementId) const {
    const ElementRecord* element = FindElement(elementId);
    if (element == nullptr) return {};
    const bool isLink = element->startNode != 0;
    const Support::GeometryPoint start = PointOf(element->startNode);
    const Support::GeometryPoint end = PointOf(element->endNode);
    if (isLink && (start.IsEmpty() || end.IsEmpty())) return {};
    Support::PointArray points;
    points.reserve(element->vertexCount + (isLink ? 2u : 0u));
    if (isLink) points.push_back(start);
    const auto first = m_data.vertices.begin() + element->vertexBegin;
    points.insert(points.end(), first, first + element->vertexCount);
    if (isLink) points.push_back(end);
    return points;
}

IModelingElementField* DomainModel::ModelingElementField(std::string_view fieldName) const {
    const auto it = m_fields.find(fieldName);
    return it == m_fields.end() ? nullptr : it->second.get();
}

std::vector<std::string> DomainModel::ModelingElementFieldNames() const {
    std::vector<std::string> names;
    for (const auto& entry : m_fields) names.push_back(entry.first);
    return names;
}

void DomainModel::SetValue(std::int32_t elementId, std::string_view fieldName, Support::FieldValue value) {
    auto it = m_fields.find(fieldName);
    if (it == m_fields.end()) {
        const std::string name(fieldName);
        it = m_fields.emplace(name, std::make_unique<ModelingField>(*this, name, ModelingField::Source::Column)).first;
    }
    it->second->Set(elementId, std::move(value));
}

std::int32_t DomainModel::AddSelectionSet(std::string label, std::vector<std::int32_t> elementIds) {
    if (label.empty() || label.find_first_of("\\/") != std::string::npos)
        throw Support::ArgumentException("A selection set label must be non-empty and hold no \"\\\" or \"/\": \"" +
                                         label + "\".");
    if (m_selectionSets->HasLabel(label))
        throw Support::ArgumentException("The model already has a selection set labelled \"" + label + "\".");
    for (std::int32_t id : elementIds)
        if (FindElement(id) == nullptr)
            throw Support::ArgumentException("No element of the model has the ID " + std::to_string(id) +
                                             " (selection set \"" + label + "\").");
    const auto id = static_cast<std::int32_t>(m_data.elements.size() + m_selectionSets->Elements().size() + 1);
    m_selectionSets->Add(id, std::move(label), std::move(elementIds));
    return id;
}

}  // namespace Norvane::Domain
