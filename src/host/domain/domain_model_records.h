// The stored form of a model's element types and elements.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/domain/i_domain_element.h"
#include "host/domain/i_domain_element_type.h"
#include "host/support/geometry_point.h"

namespace Norvane::Domain {

class ElementTypeRecord final : public IDomainElementType {
public:
    ElementTypeRecord(int id, std::string name, std::string label, ::Norvane::Domain::DomainElementShapeType shape,
                      int parentId)
        : m_id(id), m_name(std::move(name)), m_label(std::move(label)), m_shape(shape), m_parentId(parentId) {}

    int Id() const override { return m_id; }
    const std::string& Name() const override { return m_name; }
    const std::string& Label() const override { return m_label; }
    ::Norvane::Domain::DomainElementShapeType DomainElementShapeType() const override { return m_shape; }
    std::vector<const IDomainElementType*> SubElementTypes() const override { return m_subTypes; }

    int ParentId() const { return m_parentId; }
    void SetSubTypes(std::vector<const IDomainElementType*> subTypes) { m_subTypes = std::move(subTypes); }

private:
    int m_id;
    std::string m_name;
    std::string m_label;
    ::Norvane::Domain::DomainElementShapeType m_shape;
    int m_parentId;  // 0: derives from no type
    std::vector<const IDomainElementType*> m_subTypes;
};

// Point elements keep their point (Empty when they have no coordinates).
// Links keep their end nodes and a run of interior vertices in the model's
// vertex pool; polygon elements keep their ring in the pool and no nodes.
class ElementRecord final : public IDomainElement {
public:
    ElementRecord(std::int32_t id, int typeId, std::string label) : m_id(id), m_typeId(typeId), m_label(std::move(label)) {}

    std::int32_t Id() const override { return m_id; }
    const std::string& Label() const override { return m_label; }
    int TypeId() const { return m_typeId; }

    Support::GeometryPoint point = Support::GeometryPoint::Empty();
    std::int32_t startNode = 0;
    std::int32_t endNode = 0;
    std::uint32_t vertexBegin = 0;
    std::uint32_t vertexCount = 0;

private:
    std::int32_t m_id;
    int m_typeId;
    std::string m_label;
};

}  // namespace Norvane::Domain
