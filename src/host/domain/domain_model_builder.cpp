#include "host/domain/domain_model_builder.h"

#include <cmath>
#include <limits>

#include "host/domain/network_element_types.h"
#include "host/support/exceptions.h"

namespace Norvane::Domain {
namespace {

void CheckFinite(Support::GeometryPoint point, const std::string& label) {
    if (!point.IsFinite())
        throw Support::ArgumentException("The element \"" + label + "\" has a coordinate that is not a finite number.");
}

}  // namespace

DomainModelBuilder::DomainModelBuilder(Support::LengthUnit lengthUnit) {
    m_data.lengthUnit = lengthUnit;
    using T = NetworkElementType;
    const auto point = DomainElementShapeType::Point;
    const auto polyline = DomainElementShapeType::Polyline;
    const std::tuple<T, const char*, DomainElementShapeType, int> catalogue[] = {
        {T::Node, "Node", point, 0},           {T::Junction, "Junction", point, TypeId(T::Node)},
        {T::Reservoir, "Reservoir", point, TypeId(T::Node)}, {T::Tank, "Tank", point, TypeId(T::Node)},
        {T::Link, "Link", polyline, 0},        {T::Pipe, "Pipe", polyline, TypeId(T::Link)},
        {T::Pump, "Pump", polyline, TypeId(T::Link)},        {T::Valve, "Valve", polyline, TypeId(T::Link)},
    };
    for (const auto& [type, name, shape, parent] : catalogue)
        m_data.types.push_back(std::make_unique<ElementTypeRecord>(TypeId(type), name, name, shape, parent));
}

int DomainModelBuilder::AddElementType(std::string name, std::string label, DomainElementShapeType shape, int parentTypeId) {
    for (const auto& type : m_data.types)
        if (type->Name() == name) throw Support::ArgumentException("The catalogue already has a type named \"" + name + "\".");
    if (parentTypeId != 0) {
        const ElementTypeRecord* parent = FindType(parentTypeId);
        if (parent == nullptr || parent->DomainElementShapeType() != shape)
            throw Support::ArgumentException("The type \"" + name + "\" names a parent type that does not exist or has another shape.");
    }
    int id = 0;
    for (const auto& type : m_data.types) id = std::max(id, type->Id());
    m_data.types.push_back(std::make_unique<ElementTypeRecord>(id + 1, std::move(name), std::move(label), shape, parentTypeId));
    return id + 1;
}

std::int32_t DomainModelBuilder::AddNode(int typeId, std::string label, Support::GeometryPoint point) {
    TypeOfShape(typeId, DomainElementShapeType::Point);
    if (!point.IsEmpty()) CheckFinite(point, label);
    const std::int32_t id = Append(typeId, std::move(label));
    m_data.elements.back().point = point;
    return id;
}

std::int32_t DomainModelBuilder::AddLink(int typeId, std::string label, std::int32_t startNode, std::int32_t endNode,
                                         const Support::PointArray& vertices) {
    TypeOfShape(typeId, DomainElementShapeType::Polyline);
    for (std::int32_t node : {startNode, endNode}) {
        const bool isNode = node >= 1 && static_cast<std::size_t>(node) <= m_data.elements.size() &&
                            FindType(m_data.elements[static_cast<std::size_t>(node - 1)].TypeId())->DomainElementShapeType() ==
                                DomainElementShapeType::Point;
        if (!isNode)
            throw Support::ArgumentException("The link \"" + label + "\" names the element " + std::to_string(node) +
                                             ", which is not a node.");
    }
    const std::int32_t id = Append(typeId, std::move(label));
    ElementRecord& element = m_data.elements.back();
    element.startNode = startNode;
    element.endNode = endNode;
    AppendVertices(element, vertices);
    return id;
}

std::int32_t DomainModelBuilder::AddPolygon(int typeId, std::string label, const Support::PointArray& ring) {
    TypeOfShape(typeId, DomainElementShapeType::Polygon);
    const std::int32_t id = Append(typeId, std::move(label));
    AppendVertices(m_data.elements.back(), ring);
    return id;
}

void DomainModelBuilder::SetValue(std::int32_t elementId, const std::string& fieldName, Support::FieldValue value) {
    if (elementId < 1 || static_cast<std::size_t>(elementId) > m_data.elements.size())
        throw Support::ArgumentException("No element has the ID " + std::to_string(elementId) + " yet.");
    std::vector<Support::FieldValue>& column = m_data.columns[fieldName];
    if (column.size() < static_cast<std::size_t>(elementId)) column.resize(m_data.elements.size());
    column[static_cast<std::size_t>(elementId - 1)] = std::move(value);
}

void DomainModelBuilder::SetColumn(const std::string& fieldName, std::vector<Support::FieldValue> values) {
    if (values.size() > m_data.elements.size())
        throw Support::ArgumentException("The field \"" + fieldName + "\" has more values than the model has elements.");
    m_data.columns[fieldName] = std::move(values);
}

void DomainModelBuilder::Reserve(std::size_t elements, std::size_t vertices) {
    m_data.elements.reserve(elements);
    m_data.vertices.reserve(vertices);
}

std::unique_ptr<DomainModel> DomainModelBuilder::Build() {
    auto model = std::make_unique<DomainModel>(std::move(m_data));
    m_data = DomainModelData{};
    return model;
}

const ElementTypeRecord& DomainModelBuilder::TypeOfShape(int typeId, DomainElementShapeType shape) const {
    const ElementTypeRecord* type = FindType(typeId);
    if (type == nullptr || type->DomainElementShapeType() != shape)
        throw Support::ArgumentException("The element type " + std::to_string(typeId) +
                                         " does not exist or has another shape.");
    return *type;
}

const ElementTypeRecord* DomainModelBuilder::FindType(int typeId) const {
    for (const auto& type : m_data.types)
        if (type->Id() == typeId) return type.get();
    return nullptr;
}

std::int32_t DomainModelBuilder::Append(int typeId, std::string label) {
    if (m_data.elements.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() / 2))
        throw Support::ArgumentException("A model holds at most about a billion elements.");
    const auto id = static_cast<std::int32_t>(m_data.elements.size() + 1);
    m_data.elements.emplace_back(id, typeId, std::move(label));
    return id;
}

void DomainModelBuilder::AppendVertices(ElementRecord& element, const Support::PointArray& points) {
    for (const Support::GeometryPoint& point : points) CheckFinite(point, element.Label());
    if (m_data.vertices.size() + points.size() > std::numeric_limits<std::uint32_t>::max())
        throw Support::ArgumentException("A model holds at most about four billion vertices.");
    element.vertexBegin = static_cast<std::uint32_t>(m_data.vertices.size());
    element.vertexCount = static_cast<std::uint32_t>(points.size());
    m_data.vertices.insert(m_data.vertices.end(), points.begin(), points.end());
}

}  // namespace Norvane::Domain
