// The field objects a model hands out: attribute fields (stored columns, or
// values computed from the elements themselves) and geometry fields.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/domain/i_domain_fields.h"

namespace Norvane::Domain {

class DomainModel;

class ModelingField final : public IModelingElementField {
public:
    enum class Source { Column, Label, StartNode, EndNode, StartNodeId, EndNodeId };

    ModelingField(const DomainModel& model, std::string name, Source source, std::vector<Support::FieldValue> column = {})
        : m_model(model), m_name(std::move(name)), m_source(source), m_column(std::move(column)) {}

    const std::string& Name() const override { return m_name; }
    Support::FieldValue GetValue(std::int32_t elementId) const override;

    bool IsStored() const { return m_source == Source::Column; }
    void Set(std::int32_t elementId, Support::FieldValue value);

private:
    const DomainModel& m_model;
    std::string m_name;
    Source m_source;
    std::vector<Support::FieldValue> m_column;  // slot i: element ID i + 1
};

// What point and polyline fields share: the element type they serve and the
// working unit.
template <typename Interface>
class GeometryFieldBase : public Interface {
public:
    GeometryFieldBase(const DomainModel& model, int typeId);

    const std::string& Name() const override { return m_name; }
    Support::Unit WorkingUnit() const override { return m_workingUnit; }
    // ArgumentException for a unit that is not a length.
    void SetWorkingUnit(const Support::Unit& unit) override;

protected:
    // ArgumentException unless the element is of the served type.
    void CheckServes(std::int32_t elementId) const;
    Support::GeometryPoint Scaled(Support::GeometryPoint point) const { return {point.X * m_scale, point.Y * m_scale}; }
    const DomainModel& Model() const { return m_model; }

private:
    const DomainModel& m_model;
    int m_typeId;
    std::string m_name;
    Support::Unit m_workingUnit;
    double m_scale = 1.0;  // working units per model unit
};

class PointGeometryField final : public GeometryFieldBase<IGeometryPointField> {
public:
    using GeometryFieldBase::GeometryFieldBase;
    Support::GeometryPoint GetPoint(std::int32_t elementId) const override;
    Support::GeometryObject GetGeometry(std::int32_t elementId) const override;
};

// Links give start node, vertices, end node; polygon elements their ring.
class PolylineGeometryField final : public GeometryFieldBase<IGeometryPolylineField> {
public:
    using GeometryFieldBase::GeometryFieldBase;
    Support::PointArray GetPoints(std::int32_t elementId) const override;
    Support::GeometryObject GetGeometry(std::int32_t elementId) const override;
};

}  // namespace Norvane::Domain
