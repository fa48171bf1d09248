#include "host/domain/domain_fields.h"

#include <cmath>

#include "host/domain/domain_model.h"
#include "host/support/exceptions.h"

namespace Norvane::Domain {
namespace {

[[noreturn]] void ThrowUnknownElement(std::int32_t elementId, const std::string& fieldName) {
    throw Support::ArgumentException("No element of the model has the ID " + std::to_string(elementId) +
                                     " (field \"" + fieldName + "\").");
}

Support::FieldValue LabelOrNull(const DomainModel& model, std::int32_t elementId) {
    const ElementRecord* element = model.FindElement(elementId);
    if (element == nullptr) return {};
    return element->Label();
}

Support::FieldValue IdOrNull(std::int32_t elementId) {
    if (elementId == 0) return {};
    return elementId;
}

}  // namespace

Support::FieldValue ModelingField::GetValue(std::int32_t elementId) const {
    const ElementRecord* element = m_model.FindElement(elementId);
    if (element == nullptr) ThrowUnknownElement(elementId, m_name);
    switch (m_source) {
        case Source::Column: return m_column[static_cast<std::size_t>(elementId - 1)];
        case Source::Label: return element->Label();
        case Source::StartNode: return LabelOrNull(m_model, element->startNode);
        case Source::EndNode: return LabelOrNull(m_model, element->endNode);
        case Source::StartNodeId: return IdOrNull(element->startNode);
        case Source::EndNodeId: return IdOrNull(element->endNode);
    }
    return {};
}

void ModelingField::Set(std::int32_t elementId, Support::FieldValue value) {
    if (m_model.FindElement(elementId) == nullptr) ThrowUnknownElement(elementId, m_name);
    if (!IsStored()) throw Support::ArgumentException("The field \"" + m_name + "\" is computed by the model.");
    m_column.resize(m_model.ElementCount());
    m_column[static_cast<std::size_t>(elementId - 1)] = std::move(value);
}

template <typename Interface>
GeometryFieldBase<Interface>::GeometryFieldBase(const DomainModel& model, int typeId)
    : m_model(model), m_typeId(typeId), m_name(kGeometryFieldName), m_workingUnit(Support::Unit::FromLengthUnit(model.LengthUnit())) {}

template <typename Interface>
void GeometryFieldBase<Interface>::SetWorkingUnit(const Support::Unit& unit) {
    if (!unit.IsLength())
        throw Support::ArgumentException("\"" + unit.Name() + "\" is not a length unit; coordinates cannot be given in it.");
    const Support::Unit modelUnit = Support::Unit::FromLengthUnit(m_model.LengthUnit());
    m_workingUnit = unit;
    m_scale = modelUnit.IsLength() ? modelUnit.ConvertTo(1.0, unit) : 1.0;
}

template <typename Interface>
void GeometryFieldBase<Interface>::CheckServes(std::int32_t elementId) const {
    if (m_model.FindElement(elementId) == nullptr) ThrowUnknownElement(elementId, m_name);
    if (!m_model.IsOfType(elementId, m_typeId))
        throw Support::ArgumentException("The element " + std::to_string(elementId) +
                                         " is not of the type whose geometry field was asked.");
}

template class GeometryFieldBase<IGeometryPointField>;
template class GeometryFieldBase<IGeometryPolylineField>;

Support::GeometryPoint PointGeometryField::GetPoint(std::int32_t elementId) const {
    CheckServes(elementId);
    const Support::GeometryPoint point = Model().PointOf(elementId);
    return point.IsEmpty() ? point : Scaled(point);
}

Support::GeometryObject PointGeometryField::GetGeometry(std::int32_t elementId) const {
    const Support::GeometryPoint point = GetPoint(elementId);
    if (point.IsEmpty()) return {};
    return point;
}

Support::PointArray PolylineGeometryField::GetPoints(std::int32_t elementId) const {
    CheckServes(elementId);
    Support::PointArray points = Model().PointsOf(elementId);
    for (Support::GeometryPoint& point : points) point = Scaled(point);
    return points;
}

Support::GeometryObject PolylineGeometryField::GetGeometry(std::int32_t elementId) const {
    Support::PointArray points = GetPoints(elementId);
    if (points.empty()) return {};
    return points;
}

}  // namespace Norvane::Domain
