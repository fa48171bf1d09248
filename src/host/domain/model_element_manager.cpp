#include "host/domain/model_element_manager.h"

#include "host/domain/domain_fields.h"
#include "host/domain/domain_model.h"

namespace Norvane::Domain {
namespace {

std::unique_ptr<IGeometryField> GeometryFieldFor(const DomainModel& model, const ElementTypeRecord& type) {
    if (type.DomainElementShapeType() == DomainElementShapeType::Point)
        return std::make_unique<PointGeometryField>(model, type.Id());
    return std::make_unique<PolylineGeometryField>(model, type.Id());
}

}  // namespace

ModelElementManager::ModelElementManager(DomainModel& model, const ElementTypeRecord& type,
                                         std::vector<std::int32_t> elementIds)
    : m_model(model), m_type(type), m_elementIds(std::move(elementIds)), m_geometry(GeometryFieldFor(model, type)) {}

ModelElementManager::~ModelElementManager() = default;

const IDomainElementType& ModelElementManager::DomainElementType() const { return m_type; }

std::vector<const IDomainElement*> ModelElementManager::Elements() const {
    std::vector<const IDomainElement*> elements;
    elements.reserve(m_elementIds.size());
    for (std::int32_t id : m_elementIds) elements.push_back(m_model.FindElement(id));
    return elements;
}

const IDomainElement* ModelElementManager::Element(std::int32_t elementId) const {
    return m_model.IsOfType(elementId, m_type.Id()) ? m_model.FindElement(elementId) : nullptr;
}

IDomainElementField* ModelElementManager::DomainElementField(const std::string& fieldName, const std::string& tableName) {
    if (fieldName == kGeometryFieldName && tableName == kGeometryTableName) return m_geometry.get();
    return ModelingElementField(fieldName);
}

IModelingElementField* ModelElementManager::ModelingElementField(const std::string& fieldName) {
    return m_model.ModelingElementField(fieldName);
}

std::vector<std::string> ModelElementManager::ModelingElementFieldNames() const {
    return m_model.ModelingElementFieldNames();
}

IDomainDataSet& ModelElementManager::DomainDataSet() { return m_model; }

}  // namespace Norvane::Domain
