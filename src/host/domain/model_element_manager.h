// The manager of one element type of a DomainModel: the elements of the type
// and its sub-types, in ID order, and the type's geometry field.
#pragma once

#include <memory>

#include "host/domain/i_domain_element_manager.h"

namespace Norvane::Domain {

class DomainModel;
class ElementTypeRecord;

class ModelElementManager final : public IDomainElementManager {
public:
    ModelElementManager(DomainModel& model, const ElementTypeRecord& type, std::vector<std::int32_t> elementIds);
    ~ModelElementManager() override;

    const IDomainElementType& DomainElementType() const override;
    std::vector<const IDomainElement*> Elements() const override;
    const std::vector<std::int32_t>& ElementIDs() const override { return m_elementIds; }
    const IDomainElement* Element(std::int32_t elementId) const override;
    IDomainElementField* DomainElementField(const std::string& fieldName, const std::string& tableName) override;
    IModelingElementField* ModelingElementField(const std::string& fieldName) override;
    std::vector<std::string> ModelingElementFieldNames() const override;
    IDomainDataSet& DomainDataSet() override;

private:
    DomainModel& m_model;
    const ElementTypeRecord& m_type;
    std::vector<std::int32_t> m_elementIds;
    std::unique_ptr<IGeometryField> m_geometry;
};

}  // namespace Norvane::Domain
