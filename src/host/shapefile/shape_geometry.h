// Shapes as shapelib holds them turned into the host's point arrays, and
// back, checked on the way in.
#pragma once

#include <shapefil.h>

#include <memory>
#include <span>

#include "host/support/geometry_point.h"

namespace Norvane::Shapefile::Detail {

// One point array per part, points as stored; a multipoint's points as one part.
Support::PointArrayList PartsOf(const SHPObject& shape);

struct ShapeObjectDeleter {
    void operator()(SHPObject* shape) const { SHPDestroyObject(shape); }
};
using ShapeObjectPtr = std::unique_ptr<SHPObject, ShapeObjectDeleter>;

// A shape of `shapeType` for the writer. No points make a null shape.
// Polygon rings are closed when open and wound as the format wants (outer
// rings clockwise, holes anticlockwise). ArgumentException, naming
// `fileName`, for a coordinate that is not finite, a polyline part of one
// point or a ring of fewer than three.
ShapeObjectPtr PointShape(int shapeType, const Support::GeometryPoint& point, const std::string& fileName);
ShapeObjectPtr PartsShape(int shapeType, std::span<const Support::PointArray> parts, const std::string& fileName);
ShapeObjectPtr NullShape();

}  // namespace Norvane::Shapefile::Detail
