// The bounding box a shapefile record stores in its header.
#pragma once

#include <limits>

namespace Norvane::Shapefile {

struct RecordBox {
    double XMin = std::numeric_limits<double>::infinity();
    double YMin = std::numeric_limits<double>::infinity();
    double XMax = -std::numeric_limits<double>::infinity();
    double YMax = -std::numeric_limits<double>::infinity();

    // A null shape has the empty box, which meets no other box. A box with a
    // NaN coordinate meets none either, since every comparison with NaN fails.
    bool IsEmpty() const { return !(XMin <= XMax && YMin <= YMax); }
    // Closed intervals: boxes that only touch do meet.
    bool Meets(const RecordBox& other) const {
        return XMin <= other.XMax && other.XMin <= XMax && YMin <= other.YMax && other.YMin <= YMax;
    }

    friend bool operator==(const RecordBox&, const RecordBox&) = default;
};

}  // namespace Norvane::Shapefile
