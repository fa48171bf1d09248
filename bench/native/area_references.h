// Intersection areas of parcel/service pairs by the reference libraries,
// each holding the town's polygons in its own form.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "town/town.h"

namespace area_bench {

using allotrix_town::Town;

// Parcel index, service-area index.
using Pair = std::pair<std::size_t, std::size_t>;

class IntersectionArea {
public:
    virtual ~IntersectionArea() = default;
    virtual double Area(const Pair& pair) = 0;
};

std::unique_ptr<IntersectionArea> MakeNativeArea(const Town& town);
// The same operation on one classifier kept for every pair.
std::unique_ptr<IntersectionArea> MakeNativeReusedArea(const Town& town);
std::unique_ptr<IntersectionArea> MakeGeosArea(const Town& town);
std::unique_ptr<IntersectionArea> MakeClipperArea(const Town& town);
std::unique_ptr<IntersectionArea> MakeBoostArea(const Town& town);

// Every parcel with every service area whose bounding box meets its own.
std::vector<Pair> OverlappingPairs(const Town& town);

}  // namespace area_bench
