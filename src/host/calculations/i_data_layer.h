// A layer of features as the allocation engine walks it: a cursor with
// optional spatial filters, attribute reads and per-feature measures.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/calculations/spatial_filter.h"
#include "host/domain/domain_element_shape_type.h"
#include "host/support/field_data_type.h"
#include "host/support/field_value.h"
#include "host/support/geometry_object.h"
#include "host/support/geometry_point.h"

namespace Norvane::Allotrix::Calculations {

class IDataSet;

class IDataLayer {
public:
    virtual ~IDataLayer() = default;

    // Releases readers, writers, indexes and temporary files; idempotent.
    virtual void Dispose() = 0;

    // --- Walking ------------------------------------------------------------
    virtual void BeginFilter(const SpatialFilterContext& context, bool forwardOnly) = 0;
    virtual void EndFilter() = 0;
    virtual bool MoveNext() = 0;
    virtual void Reset() = 0;
    virtual int FeatureCount() = 0;
    // Loads whatever the layer defers until it is walked.
    virtual void InitializeDataLater(const std::string& layerIDFieldName) = 0;

    // --- Description ----------------------------------------------------------
    virtual std::string Name() = 0;
    virtual std::string SpatialReferenceName() = 0;
    virtual Domain::DomainElementShapeType ShapeType() = 0;
    virtual std::vector<std::string> GetFieldNames() = 0;
    virtual bool FieldExists(const std::string& fieldName) = 0;
    virtual Support::FieldDataType GetFieldDataType(const std::string& fieldName) = 0;
    // A new data set holding this layer's siblings; the caller owns it.
    virtual std::unique_ptr<IDataSet> GetDataSet() = 0;

    // --- Values of the current feature -----------------------------------------
    virtual std::int32_t GetInt32Value(const std::string& fieldName) = 0;
    virtual double GetDoubleValue(const std::string& fieldName) = 0;
    virtual Support::FieldValue GetObjectValue(const std::string& fieldName) = 0;
    // Distinct values of a field over the whole layer, in no particular order.
    virtual std::vector<Support::FieldValue> GetUniqueValues(const std::string& fieldName) = 0;

    // --- Geometry and measures of the current feature -----------------------------
    virtual Support::GeometryObject GetGeometryShape() = 0;
    // A new native geometry handle (0 = none) that the caller releases.
    virtual std::intptr_t GetGeometryShapeNative() = 0;
    virtual double GetFeatureArea() = 0;
    virtual double GetFeatureLength() = 0;
    virtual Support::GeometryPoint GetCentroid() = 0;
    // Area this feature shares with the current feature of `layer`.
    virtual double GetIntersectionAreaWith(IDataLayer& layer) = 0;
    // Area this feature shares with the overlap of the current features of
    // `layer1` and `layer2`.
    virtual double GetIntersectionAreaWith(IDataLayer& layer1, IDataLayer& layer2) = 0;
};

}  // namespace Norvane::Allotrix::Calculations
