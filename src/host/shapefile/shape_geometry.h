// Shapes as shapelib holds them turned into the host's point arrays, and
// back, checked on the way in.
#pragma once

#include <shapefil.h>

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "host/shapefile/record_box.h"
#include "host/support/geometry_point.h"

namespace Norvane::Shapefile::Detail {

// One point array per part, points as stored; a multipoint's points as one part.
Support::PointArrayList PartsOf(const SHPObject& shape);

struct ShapeObjectDeleter {
    void operator()(SHPObject* shape) const { SHPDestroyObject(shape); }
};
using ShapeObjectPtr = std::unique_ptr<SHPObject, ShapeObjectDeleter>;

// A shape for the writer as the flat coordinate arrays the file stores. The
// writer keeps one and refills it for every record, so that once its arrays
// have grown a record costs no allocation.
struct FlatShape {
    int type = SHPT_NULL;  // the file's type, or SHPT_NULL without points
    std::vector<int> starts;  // where each part begins in x and y
    std::vector<double> x, y;

    void Clear();
    // Empty for a null shape.
    RecordBox Box() const;
};

// Fill `shape` as a shape of `shapeType`. No points make a null shape.
// Polygon rings are closed when open and wound as the format wants (outer
// rings clockwise, holes anticlockwise). ArgumentException, naming
// `fileName`, for a coordinate that is not finite, a polyline part of one
// point or a ring of fewer than three; `shape` is then unspecified.
void FlattenPoint(FlatShape& shape, int shapeType, const Support::GeometryPoint& point, const std::string& fileName);
void FlattenParts(FlatShape& shape, int shapeType, std::span<const Support::PointArray> parts, const std::string& fileName);
// The shape as shapelib takes it.
ShapeObjectPtr ShapeObjectOf(const FlatShape& shape);

}  // namespace Norvane::Shapefile::Detail
