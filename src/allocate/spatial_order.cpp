#include "allocate/spatial_order.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace Allotrix::Allocate {

using Norvane::Support::GeometryPoint;

namespace {

constexpr double kCellsPerSide = 65535.0;
constexpr std::uint64_t kNoPlace = std::numeric_limits<std::uint64_t>::max();

// The bits of a 16-bit value spread to the even bit positions.
std::uint64_t spread(std::uint64_t v) {
    v = (v | (v << 8)) & 0x00FF00FFu;
    v = (v | (v << 4)) & 0x0F0F0F0Fu;
    v = (v | (v << 2)) & 0x33333333u;
    v = (v | (v << 1)) & 0x55555555u;
    return v;
}

struct Extent {
    double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;

    // The cell of a coordinate on a grid of 65536 cells a side; 0 for a
    // zero-width extent, or one too wide for its width to be a number.
    static std::uint64_t Cell(double value, double low, double high) {
        const double fraction = (value - low) / (high - low);
        if (!(high > low) || !std::isfinite(fraction)) return 0;
        return static_cast<std::uint64_t>(std::clamp(fraction, 0.0, 1.0) * kCellsPerSide);
    }
    std::uint64_t ZOrder(const GeometryPoint& p) const {
        return spread(Cell(p.X, minX, maxX)) | (spread(Cell(p.Y, minY, maxY)) << 1);
    }
};

}  // namespace

std::vector<std::size_t> SpatialOrder(const std::vector<GeometryPoint>& points) {
    Extent extent;
    for (const GeometryPoint& p : points) {
        if (!p.IsFinite()) continue;
        extent.minX = std::min(extent.minX, p.X), extent.maxX = std::max(extent.maxX, p.X);
        extent.minY = std::min(extent.minY, p.Y), extent.maxY = std::max(extent.maxY, p.Y);
    }
    std::vector<std::pair<std::uint64_t, std::size_t>> keyed;
    keyed.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        keyed.emplace_back(points[i].IsFinite() ? extent.ZOrder(points[i]) : kNoPlace, i);
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::size_t> order;
    order.reserve(keyed.size());
    for (const auto& entry : keyed) order.push_back(entry.second);
    return order;
}

}  // namespace Allotrix::Allocate
