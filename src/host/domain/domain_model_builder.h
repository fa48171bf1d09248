// Builds a DomainModel in code: a catalogue that starts with the network
// types (NetworkElementType) and may gain more, elements with their
// geometry, and attribute values.
//
//   DomainModelBuilder builder(Support::LengthUnit::Metre);
//   const auto a = builder.AddNode(TypeId(NetworkElementType::Junction), "J1", {0, 0});
//   const auto b = builder.AddNode(TypeId(NetworkElementType::Tank), "T1", {100, 0});
//   builder.AddLink(TypeId(NetworkElementType::Pipe), "P1", a, b, {{50, 20}});
//   builder.SetValue(a, FieldNames::Elevation, 12.5);
//   std::unique_ptr<DomainModel> model = builder.Build();
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "host/domain/domain_model.h"

namespace Norvane::Domain {

class DomainModelBuilder {
public:
    explicit DomainModelBuilder(Support::LengthUnit lengthUnit = Support::LengthUnit::Unknown);

    // Adds an element type and returns its ID. ArgumentException for a name
    // already in the catalogue or a parent that is not, or of another shape.
    int AddElementType(std::string name, std::string label, DomainElementShapeType shape, int parentTypeId = 0);

    // Each returns the new element's ID (IDs count up from 1). Coordinates
    // must be finite; a node without coordinates takes GeometryPoint::Empty().
    // ArgumentException for a type of another shape or a link end that is
    // not a point element.
    std::int32_t AddNode(int typeId, std::string label, Support::GeometryPoint point = Support::GeometryPoint::Empty());
    std::int32_t AddLink(int typeId, std::string label, std::int32_t startNode, std::int32_t endNode,
                         const Support::PointArray& vertices = {});
    std::int32_t AddPolygon(int typeId, std::string label, const Support::PointArray& ring);

    void SetValue(std::int32_t elementId, const std::string& fieldName, Support::FieldValue value);
    // The field's values for elements 1 to values.size() at once, replacing
    // any set before; the model serves the field even when `values` is empty.
    void SetColumn(const std::string& fieldName, std::vector<Support::FieldValue> values);
    void Reserve(std::size_t elements, std::size_t vertices);

    // Hands everything to the model; the builder is empty afterwards.
    std::unique_ptr<DomainModel> Build();

private:
    const ElementTypeRecord& TypeOfShape(int typeId, DomainElementShapeType shape) const;
    const ElementTypeRecord* FindType(int typeId) const;
    std::int32_t Append(int typeId, std::string label);
    void AppendVertices(ElementRecord& element, const Support::PointArray& points);

    DomainModelData m_data;
};

}  // namespace Norvane::Domain
