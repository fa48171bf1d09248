// The reference indexes the nearest-feature benchmark measures the native
// searchers against, each built from the same town.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "town/town.h"

namespace nearest_bench {

using allotrix_town::Town;
using Korvex::DPoint2d;

// Each index answers the element ID of the nearest node or pipe.
class NearestIndex {
public:
    virtual ~NearestIndex() = default;
    virtual std::int32_t Nearest(std::size_t meter) = 0;
};

std::unique_ptr<NearestIndex> MakeNativeNodes(const Town& town);
std::unique_ptr<NearestIndex> MakeNanoflannNodes(const Town& town);
std::unique_ptr<NearestIndex> MakeBoostNodes(const Town& town);
std::unique_ptr<NearestIndex> MakeGeosNodes(const Town& town);

std::unique_ptr<NearestIndex> MakeNativePipes(const Town& town);
std::unique_ptr<NearestIndex> MakeBoostPipes(const Town& town);
std::unique_ptr<NearestIndex> MakeGeosPipes(const Town& town);
// The STRtree with a point-to-polyline distance callback.
std::unique_ptr<NearestIndex> MakeGeosCallbackPipes(const Town& town);

// Exact distances from a meter to an element, for telling ties apart.
double DistanceToNode(const Town& town, std::size_t meter, std::int32_t nodeId);
double DistanceToPipe(const Town& town, std::size_t meter, std::int32_t pipeId);

}  // namespace nearest_bench
