#include "host/shapefile/shape_geometry.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "host/shapefile/shape_table.h"
#include "host/support/exceptions.h"

namespace Norvane::Shapefile::Detail {
namespace {

using Support::GeometryPoint;
using Support::PointArray;
using Support::PointArrayList;

[[noreturn]] void refuse(const std::string& fileName, const std::string& why) {
    throw Support::ArgumentException("Cannot write this shape to " + fileName + ": " + why + ".");
}

void requireFinite(const GeometryPoint& p, const std::string& fileName) {
    if (!std::isfinite(p.X) || !std::isfinite(p.Y)) refuse(fileName, "a coordinate is not a finite number");
}

// Flat coordinate arrays and part starts, as SHPCreateObject takes them.
struct FlatParts {
    std::vector<double> x, y;
    std::vector<int> starts;

    void Add(const PointArray& part) {
        starts.push_back(static_cast<int>(x.size()));
        x.reserve(x.size() + part.size());
        y.reserve(y.size() + part.size());
        for (const GeometryPoint& p : part) {
            x.push_back(p.X);
            y.push_back(p.Y);
        }
    }
};

void addClosedRing(FlatParts& flat, const PointArray& ring, const std::string& fileName) {
    const bool open = ring.front() != ring.back();
    if (ring.size() + open < 4) refuse(fileName, "a polygon ring has fewer than three points");
    flat.Add(ring);
    if (open) {
        flat.x.push_back(ring.front().X);
        flat.y.push_back(ring.front().Y);
    }
}

}  // namespace

PointArrayList PartsOf(const SHPObject& shape) {
    const int count = std::max(shape.nVertices, 0);
    const auto point = [&](int i) { return GeometryPoint{shape.padfX[i], shape.padfY[i]}; };
    PointArrayList parts;
    if (count == 0) return parts;
    const int partCount = shape.nParts > 0 ? shape.nParts : 1;
    parts.reserve(static_cast<std::size_t>(partCount));
    for (int i = 0; i < partCount; ++i) {
        const auto clamp = [&](int index) { return std::clamp(index, 0, count); };
        const int start = shape.nParts > 0 ? clamp(shape.panPartStart[i]) : 0;
        const int end = shape.nParts > 0 && i + 1 < shape.nParts ? clamp(shape.panPartStart[i + 1]) : count;
        PointArray& part = parts.emplace_back();
        part.reserve(static_cast<std::size_t>(std::max(end - start, 0)));
        for (int k = start; k < end; ++k) part.push_back(point(k));
    }
    return parts;
}

ShapeObjectPtr NullShape() { return ShapeObjectPtr(SHPCreateSimpleObject(SHPT_NULL, 0, nullptr, nullptr, nullptr)); }

ShapeObjectPtr PointShape(int shapeType, const GeometryPoint& point, const std::string& fileName) {
    if (point.IsEmpty()) return NullShape();
    requireFinite(point, fileName);
    return ShapeObjectPtr(SHPCreateSimpleObject(shapeType, 1, &point.X, &point.Y, nullptr));
}

ShapeObjectPtr PartsShape(int shapeType, std::span<const PointArray> parts, const std::string& fileName) {
    const int family = ShapeFamily(shapeType);
    FlatParts flat;
    for (const PointArray& part : parts) {
        if (part.empty()) continue;
        for (const GeometryPoint& p : part) requireFinite(p, fileName);
        if (family == 5)
            addClosedRing(flat, part, fileName);
        else if (family == 3 && part.size() < 2)
            refuse(fileName, "a polyline part has a single point");
        else
            flat.Add(part);
    }
    if (flat.x.empty()) return NullShape();
    const int count = static_cast<int>(flat.x.size());
    if (family == 8) return ShapeObjectPtr(SHPCreateSimpleObject(shapeType, count, flat.x.data(), flat.y.data(), nullptr));
    ShapeObjectPtr shape(SHPCreateObject(shapeType, -1, static_cast<int>(flat.starts.size()), flat.starts.data(), nullptr,
                                         count, flat.x.data(), flat.y.data(), nullptr, nullptr));
    if (family == 5) SHPRewindObject(nullptr, shape.get());
    return shape;
}

}  // namespace Norvane::Shapefile::Detail
