// The calls that fill a result layer: fields first, then records.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/support/field_data_type.h"
#include "host/support/field_value.h"
#include "host/support/geometry_object.h"
#include "host/support/pair.h"

namespace Norvane::Allotrix::Calculations {

using FieldValuePairs = std::vector<Support::Pair<std::string, Support::FieldValue>>;

class IEditDataLayer {
public:
    virtual ~IEditDataLayer() = default;

    virtual void CreateField(const std::string& name, Support::FieldDataType type) = 0;
    virtual void BeginUpdate() = 0;
    // Appends a record with `geometry` and the named values.
    virtual void AddNew(const Support::GeometryObject& geometry, const FieldValuePairs& values) = 0;
    virtual void SetInt32Value(const std::string& fieldName, std::int32_t value) = 0;
    virtual void SetGeometry(const Support::GeometryObject& geometry) = 0;
    virtual void SetGeometryNative(std::intptr_t geometry) = 0;
    virtual void EndUpdate() = 0;
};

}  // namespace Norvane::Allotrix::Calculations
