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

void addPart(FlatShape& shape, const PointArray& part) {
    shape.starts.push_back(static_cast<int>(shape.x.size()));
    for (const GeometryPoint& p : part) {
        shape.x.push_back(p.X);
        shape.y.push_back(p.Y);
    }
}

void addClosedRing(FlatShape& shape, const PointArray& ring, const std::string& fileName) {
    const bool open = ring.front() != ring.back();
    if (ring.size() + open < 4) refuse(fileName, "a polygon ring has fewer than three points");
    addPart(shape, ring);
    if (open) {
        shape.x.push_back(ring.front().X);
        shape.y.push_back(ring.front().Y);
    }
}

ShapeObjectPtr nullShape() { return ShapeObjectPtr(SHPCreateSimpleObject(SHPT_NULL, 0, nullptr, nullptr, nullptr)); }

// Outer rings clockwise and holes anticlockwise, as shapelib decides which
// ring lies in which.
void windRings(FlatShape& shape) {
    const ShapeObjectPtr object = ShapeObjectOf(shape);
    SHPRewindObject(nullptr, object.get());
    std::copy_n(object->padfX, shape.x.size(), shape.x.begin());
    std::copy_n(object->padfY, shape.y.size(), shape.y.begin());
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

void FlatShape::Clear() {
    type = SHPT_NULL;
    starts.clear();
    x.clear();
    y.clear();
}

RecordBox FlatShape::Box() const {
    RecordBox box;
    if (type == SHPT_NULL) return box;
    for (std::size_t i = 0; i < x.size(); ++i) {
        box.XMin = std::min(box.XMin, x[i]);
        box.YMin = std::min(box.YMin, y[i]);
        box.XMax = std::max(box.XMax, x[i]);
        box.YMax = std::max(box.YMax, y[i]);
    }
    return box;
}

void FlattenPoint(FlatShape& shape, int shapeType, const GeometryPoint& point, const std::string& fileName) {
    shape.Clear();
    if (point.IsEmpty()) return;
    requireFinite(point, fileName);
    shape.type = shapeType;
    shape.x.push_back(point.X);
    shape.y.push_back(point.Y);
}

void FlattenParts(FlatShape& shape, int shapeType, std::span<const PointArray> parts, const std::string& fileName) {
    shape.Clear();
    const int family = ShapeFamily(shapeType);
    for (const PointArray& part : parts) {
        if (part.empty()) continue;
        for (const GeometryPoint& p : part) requireFinite(p, fileName);
        if (family == 5)
            addClosedRing(shape, part, fileName);
        else if (family == 3 && part.size() < 2)
            refuse(fileName, "a polyline part has a single point");
        else
            addPart(shape, part);
    }
    if (shape.x.empty()) return;
    shape.type = shapeType;
    if (family == 8) shape.starts.clear();
    if (family == 5) windRings(shape);
}

ShapeObjectPtr ShapeObjectOf(const FlatShape& shape) {
    if (shape.type == SHPT_NULL) return nullShape();
    const int count = static_cast<int>(shape.x.size());
    if (shape.starts.empty())
        return ShapeObjectPtr(SHPCreateSimpleObject(shape.type, count, shape.x.data(), shape.y.data(), nullptr));
    return ShapeObjectPtr(SHPCreateObject(shape.type, -1, static_cast<int>(shape.starts.size()), shape.starts.data(),
                                          nullptr, count, shape.x.data(), shape.y.data(), nullptr, nullptr));
}

}  // namespace Norvane::Shapefile::Detail
