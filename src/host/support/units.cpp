#include "host/support/units.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "host/support/exceptions.h"

namespace Norvane::Support {
namespace {

struct UnitRow {
    LengthUnit unit;
    const char* label;
    const char* name;
    double metres;
};

const std::array<UnitRow, 11>& unitTable() {
    static const std::array<UnitRow, 11> table{{
        {LengthUnit::Unknown, "unknown", "unknown unit", 0.0},
        {LengthUnit::Millimetre, "mm", "millimetre", 0.001},
        {LengthUnit::Centimetre, "cm", "centimetre", 0.01},
        {LengthUnit::Metre, "m", "metre", 1.0},
        {LengthUnit::Kilometre, "km", "kilometre", 1000.0},
        {LengthUnit::Foot, "ft", "foot", 0.3048},
        {LengthUnit::Inch, "in", "inch", 0.0254},
        {LengthUnit::Yard, "yd", "yard", 0.9144},
        {LengthUnit::Mile, "mi", "mile", 1609.344},
        {LengthUnit::USSurveyFoot, "ft (US survey)", "US survey foot", 1200.0 / 3937.0},
        {LengthUnit::Degree, "deg", "degree", 0.0},
    }};
    return table;
}

const UnitRow& rowOf(LengthUnit unit) { return unitTable()[static_cast<std::size_t>(unit)]; }

}  // namespace

Unit Unit::FromDimensionEnum(Dimension, int enumValue) {
    if (enumValue < 0 || enumValue >= static_cast<int>(unitTable().size()))
        throw ArgumentException("No length unit has the value " + std::to_string(enumValue) + ".");
    return Unit(static_cast<LengthUnit>(enumValue));
}

std::vector<Unit> Unit::AvailableUnitsSorted(Dimension) {
    std::vector<Unit> units;
    for (const UnitRow& row : unitTable())
        if (row.metres > 0.0) units.push_back(Unit(row.unit));
    std::stable_sort(units.begin(), units.end(),
                     [](const Unit& a, const Unit& b) { return a.MetresPerUnit() < b.MetresPerUnit(); });
    return units;
}

const std::string& Unit::Label() const {
    static const auto labels = [] {
        std::array<std::string, 11> out;
        for (std::size_t i = 0; i < out.size(); ++i) out[i] = unitTable()[i].label;
        return out;
    }();
    return labels[static_cast<std::size_t>(m_unit)];
}

const std::string& Unit::Name() const {
    static const auto names = [] {
        std::array<std::string, 11> out;
        for (std::size_t i = 0; i < out.size(); ++i) out[i] = unitTable()[i].name;
        return out;
    }();
    return names[static_cast<std::size_t>(m_unit)];
}

double Unit::MetresPerUnit() const { return rowOf(m_unit).metres; }

double Unit::ConvertTo(double value, const Unit& target) const {
    if (!IsLength() || !target.IsLength()) return std::numeric_limits<double>::quiet_NaN();
    if (m_unit == target.m_unit) return value;
    return value * MetresPerUnit() / target.MetresPerUnit();
}

}  // namespace Norvane::Support
