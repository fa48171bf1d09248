// Builders and readers of native geometry chains shared by the native tests.
#pragma once

#include <initializer_list>
#include <limits>
#include <vector>

#include "native/native.h"

namespace native_test {

using Korvex::NativeGeometry;
using Korvex::NativeGeometryPoint;
using Chain = Korvex::NativeGeometryChain;
using Tools = Korvex::CStandAloneDataTools;

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
inline constexpr double kInf = std::numeric_limits<double>::infinity();

// One record from (x, y) pairs, z 0.
inline NativeGeometry* Ring(std::initializer_list<std::pair<double, double>> xy) {
    std::vector<NativeGeometryPoint> points;
    for (const auto& [x, y] : xy) points.push_back({x, y, 0.0});
    return new NativeGeometry(points.data(), static_cast<int>(points.size()));
}

// A record of n points along a zigzag line (a ring or polyline of that size).
inline NativeGeometry* PointsRecord(int n) {
    std::vector<NativeGeometryPoint> points;
    for (int i = 0; i < n; ++i) points.push_back({double(i), double(i % 7), 0.0});
    return new NativeGeometry(points.data(), n);
}

// Links records into one chain in the order given.
inline Chain Link(std::initializer_list<NativeGeometry*> records) {
    NativeGeometry* first = nullptr;
    NativeGeometry** link = &first;
    for (NativeGeometry* record : records) link = &(*link = record)->next;
    return Chain(first);
}

// Axis-aligned square ring, counterclockwise unless clockwise is set.
inline NativeGeometry* Square(double x0, double y0, double side, bool clockwise = false) {
    const double x1 = x0 + side, y1 = y0 + side;
    return clockwise ? Ring({{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}})
                     : Ring({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
}

// The area of all rings, each measured alone.
inline double Area(const NativeGeometry* g) { return Tools::GetSignedPolygonArea(g, true, true); }

inline bool IsOneEmptyRing(const NativeGeometry* g) {
    return g != nullptr && g->next == nullptr && g->count == 0 && g->points == nullptr;
}

}  // namespace native_test
