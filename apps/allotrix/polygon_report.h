// The example program's report: a polygon's measures and where a few points
// lie with respect to it.
#pragma once

#include "planar/planar_types.h"

#include <cstdio>
#include <string>
#include <vector>

namespace AllotrixApp {

struct NamedPolygon {
    std::string name;
    std::vector<Korvex::DPoint3d> points;  // rings separated by disconnect points
    int ringCount = 0;
};

struct SamplePoint {
    std::string label;
    Korvex::DPoint3d point;
};

// The centroid (when the polygon has one), the first vertex, the middle of the
// first edge and a point well outside the polygon's extent.
std::vector<SamplePoint> standardSamplePoints(const NamedPolygon& polygon);

// Prints signed area, centroid and perimeter, then each sample point with
// "inside", "on the boundary" or "outside".
void printPolygonReport(std::FILE* out, const NamedPolygon& polygon,
                        const std::vector<SamplePoint>& samples);

}  // namespace AllotrixApp
