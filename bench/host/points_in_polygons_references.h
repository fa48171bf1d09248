// The point-in-polygon indexes the service-area benchmark compares: the
// host's range tree with its polygon searcher, GEOS prepared polygons over an
// STRtree of points, and a Boost.Geometry R-tree. Each holds the town's
// meters in its own form.
#pragma once

#include <memory>
#include <vector>

#include "town/town.h"

namespace points_in_polygons_bench {

using allotrix_town::Town;

class MetersIndex {
public:
    virtual ~MetersIndex() = default;
    // The meter numbers inside service area `area` (boundary included), in
    // any order.
    virtual void MetersInside(std::size_t area, std::vector<int>& meters) = 0;
};

std::unique_ptr<MetersIndex> MakeHostIndex(const Town& town);
std::unique_ptr<MetersIndex> MakeGeosIndex(const Town& town);
std::unique_ptr<MetersIndex> MakeBoostIndex(const Town& town);

}  // namespace points_in_polygons_bench
