// The polygon the example program measures when given no file.
#pragma once

#include "polygon_report.h"

#include <vector>

namespace AllotrixApp {

// An L-shaped parcel with a square well easement cut out of it: two rings,
// the outer one counterclockwise and the hole clockwise.
NamedPolygon exampleParcel();

// Points chosen to show every answer, including that the centroid of an
// L-shaped lot lies outside the lot.
std::vector<SamplePoint> exampleParcelSamplePoints();

}  // namespace AllotrixApp
