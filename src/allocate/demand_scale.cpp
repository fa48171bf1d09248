#include "allocate/demand_scale.h"

#include <cmath>
#include <stdexcept>

#include "allocate/number_text.h"

namespace Allotrix::Allocate {
namespace {

constexpr double kUnitsLimit = 1e15;  // 15 significant digits round-trip through a double

}  // namespace

DemandScale::DemandScale(int decimals) : m_decimals(decimals), m_unitsPerOne(std::pow(10.0, decimals)) {
    if (decimals < 0 || decimals > 9) throw std::invalid_argument("decimals must be from 0 to 9");
}

std::optional<std::int64_t> DemandScale::ToUnits(double value) const {
    const double units = std::nearbyint(value * m_unitsPerOne);
    if (!std::isfinite(units) || std::fabs(units) >= kUnitsLimit) return std::nullopt;
    return static_cast<std::int64_t>(units);
}

double DemandScale::ToDouble(std::int64_t units) const { return static_cast<double>(units) / m_unitsPerOne; }

std::string DemandScale::Format(std::int64_t units) const {
    std::string text;
    AppendDecimalUnits(text, units, m_decimals);
    return text;
}

}  // namespace Allotrix::Allocate
