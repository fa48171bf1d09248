// Reading the meters or parcels that carry demand: each record's ID, its
// demand in smallest units, and whether its shape can be used. Bad input
// (a missing or text demand field, a negative demand, a duplicate ID) is an
// InputError naming the file and the record.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "allocate/allocation_options.h"
#include "allocate/demand_scale.h"
#include "allocate/unallocated_reason.h"
#include "allocate/unique_ids.h"
#include "host/calculations/i_data_layer.h"

namespace Allotrix::Allocate {

// The text of an attribute value as a person would write it; empty for null.
std::string FieldValueText(const Norvane::Support::FieldValue& value);

class DemandSource {
public:
    // Checks that the layer has the demand field, numeric, and the ID field
    // when one is named.
    DemandSource(Norvane::Allotrix::Calculations::IDataLayer& layer, std::string fileName,
                 const AllocationOptions& options, const DemandScale& scale);

    const std::string& FileName() const { return m_fileName; }
    const std::string& IdField() const { return m_idField; }

    // The current record's demand in smallest units; none when the field
    // holds no number (blank, "*", "N/A").
    std::optional<std::int64_t> Demand(int recordNumber);
    // The current record's ID (its 1-based record number without an ID
    // field); an ID met before is an InputError.
    std::string Id(int recordNumber);
    // The record number of an ID met by Id; none without an ID field.
    std::optional<int> RecordOf(std::string_view id) const { return m_ids.Find(id); }

private:
    [[noreturn]] void Refuse(int recordNumber, const std::string& what) const;

    Norvane::Allotrix::Calculations::IDataLayer& m_layer;
    std::string m_fileName;
    std::string m_demandField;
    std::string m_idField;
    double m_multiplier;
    const DemandScale& m_scale;
    UniqueIds m_ids;
};

// The point of a point record, or why it has none usable.
std::optional<UnallocatedReason> PointProblem(const Norvane::Support::GeometryObject& shape,
                                              Norvane::Support::GeometryPoint& point);

// The rings of a polygon record, or why it has none usable.
std::optional<UnallocatedReason> PolygonProblem(const Norvane::Support::GeometryObject& shape,
                                                Norvane::Support::PointArrayList& rings);

}  // namespace Allotrix::Allocate
