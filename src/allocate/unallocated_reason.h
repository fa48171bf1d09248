// Why demand was left unallocated.
#pragma once

#include <array>
#include <string_view>

namespace Allotrix::Allocate {

enum class UnallocatedReason : int {
    NoGeometry = 0,           // a record without a shape, or a polygon without area
    NaNCoordinate,            // a coordinate that is NaN or infinite
    BeyondSnappingDistance,   // nearer to nothing than the maximum snapping distance
    OutsideEveryPolygon,      // a meter, or the part of a parcel, in no service polygon
    NoDemandValue,            // the demand field is blank, "*", "N/A" or not a number
};

inline constexpr std::array kAllUnallocatedReasons = {
    UnallocatedReason::NoGeometry, UnallocatedReason::NaNCoordinate, UnallocatedReason::BeyondSnappingDistance,
    UnallocatedReason::OutsideEveryPolygon, UnallocatedReason::NoDemandValue};

// A short key for tables and machine-readable output, e.g. "no-geometry".
constexpr std::string_view ReasonKey(UnallocatedReason reason) {
    constexpr std::array<std::string_view, 5> keys = {"no-geometry", "nan-coordinate", "beyond-snapping-distance",
                                                      "outside-every-polygon", "no-demand-value"};
    return keys[static_cast<std::size_t>(reason)];
}

// The words a person reads, e.g. "no geometry".
constexpr std::string_view ReasonText(UnallocatedReason reason) {
    constexpr std::array<std::string_view, 5> texts = {"no geometry", "NaN or infinite coordinate",
                                                       "beyond the snapping distance", "outside every service polygon",
                                                       "no demand value"};
    return texts[static_cast<std::size_t>(reason)];
}

}  // namespace Allotrix::Allocate
