#include "allocate/demand_source.h"

#include <algorithm>
#include <cmath>

#include "allocate/allocation_errors.h"
#include "allocate/allocation_result.h"
#include "allocate/number_text.h"

namespace Allotrix::Allocate {

using Norvane::Support::FieldDataType;
using Norvane::Support::FieldValue;
using Norvane::Support::GeometryObject;
using Norvane::Support::GeometryPoint;
using Norvane::Support::PointArray;
using Norvane::Support::PointArrayList;

namespace {

std::string fieldList(Norvane::Allotrix::Calculations::IDataLayer& layer) {
    std::string names;
    for (const std::string& name : layer.GetFieldNames()) names += (names.empty() ? "" : ", ") + name;
    return names.empty() ? "none" : names;
}

void requireField(Norvane::Allotrix::Calculations::IDataLayer& layer, const std::string& fileName,
                  const std::string& field, const char* role) {
    if (!layer.FieldExists(field))
        throw InputError(fileName + ": no " + role + " field \"" + field + "\" (fields: " + fieldList(layer) + ")");
}

}  // namespace

std::string FieldValueText(const FieldValue& value) {
    struct Visitor {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(std::int32_t v) const { return std::to_string(v); }
        std::string operator()(std::int64_t v) const { return std::to_string(v); }
        std::string operator()(double v) const { return ShortestText(v); }
        std::string operator()(const std::string& v) const { return v; }
        std::string operator()(bool v) const { return v ? "T" : "F"; }
        std::string operator()(const Norvane::Support::Date& d) const {
            return std::to_string(d.Year) + "-" + std::to_string(d.Month) + "-" + std::to_string(d.Day);
        }
    };
    return std::visit(Visitor{}, value);
}

DemandSource::DemandSource(Norvane::Allotrix::Calculations::IDataLayer& layer, std::string fileName,
                           const AllocationOptions& options, const DemandScale& scale)
    : m_layer(layer), m_fileName(std::move(fileName)), m_demandField(options.demandField), m_idField(options.idField),
      m_multiplier(options.unitMultiplier), m_scale(scale) {
    requireField(layer, m_fileName, m_demandField, "demand");
    const FieldDataType type = layer.GetFieldDataType(m_demandField);
    if (type != FieldDataType::Integer && type != FieldDataType::Real)
        throw InputError(m_fileName + ": the demand field \"" + m_demandField + "\" is not numeric");
    if (m_idField.empty()) return;
    requireField(layer, m_fileName, m_idField, "ID");
    m_ids.Reserve(static_cast<std::size_t>(std::max(0, layer.FeatureCount())));
}

void DemandSource::Refuse(int recordNumber, const std::string& what) const {
    throw InputError(m_fileName + ": record " + std::to_string(recordNumber) + ": " + what);
}

std::optional<std::int64_t> DemandSource::Demand(int recordNumber) {
    const FieldValue value = m_layer.GetObjectValue(m_demandField);
    double number = 0.0;
    if (const auto* i32 = std::get_if<std::int32_t>(&value)) number = *i32;
    else if (const auto* i64 = std::get_if<std::int64_t>(&value)) number = static_cast<double>(*i64);
    else if (const auto* real = std::get_if<double>(&value)) number = *real;
    else return std::nullopt;
    if (!std::isfinite(number)) return std::nullopt;
    if (number < 0.0) Refuse(recordNumber, "negative demand " + ShortestText(number) + " in \"" + m_demandField + "\"");
    const std::optional<std::int64_t> units = m_scale.ToUnits(number * m_multiplier);
    if (!units) Refuse(recordNumber, "demand " + ShortestText(number) + " times " + ShortestText(m_multiplier) + " is too large");
    return units;
}

std::string DemandSource::Id(int recordNumber) {
    if (m_idField.empty()) return std::to_string(recordNumber);
    std::string id = FieldValueText(m_layer.GetObjectValue(m_idField));
    if (id.empty()) Refuse(recordNumber, "no ID in \"" + m_idField + "\"");
    if (const std::optional<int> seen = m_ids.Add(id, recordNumber))
        Refuse(recordNumber, "duplicate ID \"" + id + "\" (also record " + std::to_string(*seen) + ")");
    return id;
}

std::optional<UnallocatedReason> PointProblem(const GeometryObject& shape, GeometryPoint& point) {
    const auto* found = std::get_if<GeometryPoint>(&shape);
    if (!found || found->IsEmpty()) return UnallocatedReason::NoGeometry;
    if (!found->IsFinite()) return UnallocatedReason::NaNCoordinate;
    point = *found;
    return std::nullopt;
}

std::optional<UnallocatedReason> PolygonProblem(const GeometryObject& shape, PointArrayList& rings) {
    if (const auto* list = std::get_if<PointArrayList>(&shape)) rings = *list;
    else if (const auto* ring = std::get_if<PointArray>(&shape)) rings = {*ring};
    else return UnallocatedReason::NoGeometry;
    std::size_t points = 0;
    for (const PointArray& ring : rings) {
        for (const GeometryPoint& p : ring)
            if (!p.IsFinite()) return UnallocatedReason::NaNCoordinate;
        points += ring.size();
    }
    if (points < 3) return UnallocatedReason::NoGeometry;
    return std::nullopt;
}

}  // namespace Allotrix::Allocate
