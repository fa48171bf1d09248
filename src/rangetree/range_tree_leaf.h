// A leaf of an XY range tree: one stored item and its rectangle.
#pragma once

#include "rangetree/range_tree_query.h"

namespace Korvex::Geom {

// Holds the caller's data pointer without owning it. A leaf keeps no link to
// the interior node that holds it; traversal hands both to the handler.
class XYRangeTreeLeaf final : public XYRangeTreeQuery {
public:
    XYRangeTreeLeaf(const DRange2d& range, void* data) : m_range(range), m_data(data) {}

    DRange2d GetRange() const override { return m_range; }
    const XYRangeTreeLeaf* AsLeaf() const override { return this; }

    void* GetData() const { return m_data; }

private:
    DRange2d m_range;
    void* m_data;
};

}  // namespace Korvex::Geom
