// A layer of one point feature whose point the caller sets: the reference
// of a nearest-element filter, so that the meters can be searched for in
// any order rather than only in the order their layer walks them.
#pragma once

#include "host/calculations/i_data_layer.h"

namespace Allotrix::Allocate {

class QueryPointLayer final : public Norvane::Allotrix::Calculations::IDataLayer {
public:
    void SetPoint(const Norvane::Support::GeometryPoint& point) { m_point = point; }

    // The point is its only feature, its centroid and its shape.
    Norvane::Domain::DomainElementShapeType ShapeType() override {
        return Norvane::Domain::DomainElementShapeType::Point;
    }
    Norvane::Support::GeometryPoint GetCentroid() override { return m_point; }
    Norvane::Support::GeometryObject GetGeometryShape() override { return m_point; }
    int FeatureCount() override { return 1; }
    std::string Name() override { return "query point"; }
    std::string SpatialReferenceName() override { return {}; }
    void Dispose() override {}
    void InitializeDataLater(const std::string&) override {}

    // It has no fields, no walk of its own and no native shape.
    void BeginFilter(const Norvane::Allotrix::Calculations::SpatialFilterContext&, bool) override { Refuse(); }
    void EndFilter() override { Refuse(); }
    bool MoveNext() override { Refuse(); }
    void Reset() override { Refuse(); }
    std::vector<std::string> GetFieldNames() override { return {}; }
    bool FieldExists(const std::string&) override { return false; }
    Norvane::Support::FieldDataType GetFieldDataType(const std::string&) override { Refuse(); }
    std::unique_ptr<Norvane::Allotrix::Calculations::IDataSet> GetDataSet() override { Refuse(); }
    std::int32_t GetInt32Value(const std::string&) override { Refuse(); }
    double GetDoubleValue(const std::string&) override { Refuse(); }
    Norvane::Support::FieldValue GetObjectValue(const std::string&) override { Refuse(); }
    std::vector<Norvane::Support::FieldValue> GetUniqueValues(const std::string&) override { Refuse(); }
    std::intptr_t GetGeometryShapeNative() override { Refuse(); }
    double GetFeatureArea() override { return 0.0; }
    double GetFeatureLength() override { return 0.0; }
    double GetIntersectionAreaWith(IDataLayer&) override { return 0.0; }
    double GetIntersectionAreaWith(IDataLayer&, IDataLayer&) override { return 0.0; }

private:
    // NotSupportedException.
    [[noreturn]] static void Refuse();

    Norvane::Support::GeometryPoint m_point = Norvane::Support::GeometryPoint::Empty();
};

}  // namespace Allotrix::Allocate
