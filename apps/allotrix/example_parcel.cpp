#include "example_parcel.h"

#include "planar/disconnect_point.h"
#include "planar/polygon_measures.h"

namespace AllotrixApp {

NamedPolygon exampleParcel() {
    Korvex::DPoint3d separator;
    Korvex::tgxDPoint3d_initDisconnect(&separator);
    return {"built-in example: an L-shaped parcel with a well easement cut out",
            {
                // The lot: 40 m along the street, 40 m deep, 8 m wide arms.
                {0, 0, 0}, {40, 0, 0}, {40, 8, 0}, {8, 8, 0}, {8, 40, 0}, {0, 40, 0},
                separator,
                // The easement, 3 m square, turning the other way.
                {2, 2, 0}, {2, 5, 0}, {5, 5, 0}, {5, 2, 0},
            },
            2};
}

std::vector<SamplePoint> exampleParcelSamplePoints() {
    const NamedPolygon parcel = exampleParcel();
    Korvex::DPoint3d centroid{};
    Korvex::tgxPolygon_centroidAreaPerimeter(parcel.points.data(),
                                             static_cast<int>(parcel.points.size()), &centroid,
                                             nullptr, nullptr, nullptr, nullptr);
    std::vector<SamplePoint> samples{{"centroid (not in the lot)", centroid}};
    samples.push_back({"in the lot", {20, 4, 0}});
    samples.push_back({"corner of the lot", {40, 0, 0}});
    samples.push_back({"on the inner edge", {24, 8, 0}});
    samples.push_back({"inside the easement", {3.5, 3.5, 0}});
    samples.push_back({"across the street", {20, -10, 0}});
    return samples;
}

}  // namespace AllotrixApp
