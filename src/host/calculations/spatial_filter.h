// What a layer's filter asks: the relation to test, the layer whose current
// feature is the reference, and the options of the relation.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace Norvane::Allotrix::Calculations {

class IDataLayer;

enum class SpatialFilterRelationType : int {
    PointInPolygon = 0,     // the current point lies in the reference polygon
    Nearest = 2,            // the element nearest to the reference feature
    PolygonsIntersect = 3,  // the current polygon and the reference polygon overlap
};

// Answers whether an element may be found by a nearest-pipe search.
using IsValidIDDelegate = std::function<bool(std::int32_t elementId)>;

struct SpatialFilterContext {
    SpatialFilterRelationType RelationType = SpatialFilterRelationType::PointInPolygon;
    IDataLayer* ReferencedLayer = nullptr;  // not owned
    // Fields whose values the point-in-polygon mode keeps per point; no list
    // means the plain record-by-record test.
    std::optional<std::vector<std::string>> ListRangeTreePointValueField;
    // The ring of the reference polygon used by the point-in-polygon mode;
    // negative means the first.
    int RingIndex = 0;
    IsValidIDDelegate IsValidID;  // empty: every element is valid
};

}  // namespace Norvane::Allotrix::Calculations
