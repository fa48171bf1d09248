// What a walk of a RangeTree2D asks of the object that searches it.
#pragma once

#include <cstddef>

#include "host/support/geometry_point.h"
#include "planar/planar_types.h"

namespace Norvane::Support::Mixed {

// The tree calls Begin, then Visit for every stored point inside
// SearchRange() (bounds inclusive) in the tree's own order, then End. All
// search state lives in the searcher.
class RangeTree2DSearcher {
public:
    virtual ~RangeTree2DSearcher() = default;

    // The rectangle outside which no point matters to the searcher. An empty
    // rectangle visits nothing.
    virtual Korvex::DRange2d SearchRange() const = 0;
    virtual void Begin() {}
    // `order` numbers the points of the tree from 0 in the order they were
    // added, so a searcher can report in that order whatever the tree's shape.
    virtual void Visit(const GeometryPoint& point, int key, std::size_t order) = 0;
    virtual void End() {}

protected:
    RangeTree2DSearcher() = default;
    RangeTree2DSearcher(const RangeTree2DSearcher&) = default;
    RangeTree2DSearcher& operator=(const RangeTree2DSearcher&) = default;
};

}  // namespace Norvane::Support::Mixed
