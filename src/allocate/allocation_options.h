// What a modeller chooses for one allocation.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace Allotrix::Allocate {

enum class AllocationMethod {
    NearestNode,       // each meter to the nearest node of a model-element layer
    NearestPipe,       // each meter to the nearest pipe, split between its end nodes
    ServiceArea,       // meters inside a service polygon to that polygon's node
    AreaProportional,  // each parcel's demand shared by the area it has in each service polygon
};

// How a nearest-pipe meter's demand is shared by the pipe's two end nodes.
enum class PipeSplit {
    Equal,       // half each
    ByPosition,  // in proportion to nearness: the nearer end gets more
};

// Pipes that may not take demand, by a numeric model field: for example
// Diameter at or above 400 leaves transmission mains out.
struct PipeExclusion {
    enum class Comparison { AtLeast, Above, AtMost, Below };
    std::string field;
    Comparison comparison = Comparison::AtLeast;
    double value = 0.0;
};

struct AllocationOptions {
    AllocationMethod method = AllocationMethod::NearestNode;
    // The meters' (or parcels') demand field, and the factor that turns its
    // values into the model's flow unit.
    std::string demandField;
    double unitMultiplier = 1.0;
    // The field that names each meter or parcel; empty: record numbers.
    std::string idField;
    // The service polygons' field naming the node that serves them.
    std::string nodeField;
    // Meters farther than this from every node or pipe (model length unit)
    // are left unallocated; none: no limit.
    std::optional<double> maxDistance;
    // The model-element layer for the nearest methods; empty: junctions for
    // nearest-node, pipes for nearest-pipe.
    std::string layerPath;
    PipeSplit split = PipeSplit::Equal;
    std::optional<PipeExclusion> exclusion;
    // Demand is counted in units of 10^-decimals of the flow unit.
    int decimals = 6;
    // A shapefile whose .prj names a length unit other than the model's is
    // bad input unless this is set; then it is a warning.
    bool allowUnitMismatch = false;
};

// How the allocated demand is written into the model.
enum class DemandMode {
    Replace,  // a node that receives demand keeps only the allocated demand
    Add,      // the allocated demand is added as a demand category of its own
};

struct DemandWriteOptions {
    DemandMode mode = DemandMode::Add;
    std::string pattern;   // empty: the model's default pattern
    std::string category;  // empty: none
};

}  // namespace Allotrix::Allocate
