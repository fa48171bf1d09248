#include "allocate/demand_scale.h"

#include <cmath>
#include <stdexcept>

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
    // The magnitude as unsigned, so that the smallest int64 has one too.
    const std::uint64_t magnitude = units < 0 ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
    const std::string digits = std::to_string(magnitude);
    const auto decimals = static_cast<std::size_t>(m_decimals);
    const std::string padded = std::string(digits.size() <= decimals ? decimals + 1 - digits.size() : 0, '0') + digits;
    const std::size_t whole = padded.size() - decimals;
    std::string text = units < 0 ? "-" : "";
    text.append(padded, 0, whole);
    if (decimals > 0) text.append(".").append(padded, whole, decimals);
    return text;
}

}  // namespace Allotrix::Allocate
