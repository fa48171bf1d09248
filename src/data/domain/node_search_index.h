// The nearest-node index of a model-element layer: the native point searcher
// over the layer's nodes, each point carrying the address of its element ID.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "host/support/geometry_point.h"

namespace Korvex::Geom {
class XYPointSearcher;
}

namespace Norvane::Allotrix::Calculations::Data::Domain {

class NodeSearchIndex {
public:
    // Node i has ID ids[i] and point points[i]; a node without finite
    // coordinates is left out, since it can be near to nothing.
    NodeSearchIndex(const std::vector<std::int32_t>& ids, const std::vector<Support::GeometryPoint>& points);
    ~NodeSearchIndex();
    NodeSearchIndex(const NodeSearchIndex&) = delete;
    NodeSearchIndex& operator=(const NodeSearchIndex&) = delete;

    std::size_t IndexedCount() const { return m_indexedCount; }
    // The ID of the node nearest to (x, y); 0 when the index holds none.
    std::int32_t Nearest(double x, double y) const;

private:
    // The searcher keeps the address of each slot, so the slots never move.
    std::unique_ptr<std::int32_t[]> m_nativeElementIds;
    Korvex::Geom::XYPointSearcher* m_PointSearcher = nullptr;
    std::size_t m_indexedCount = 0;
};

}  // namespace Norvane::Allotrix::Calculations::Data::Domain
