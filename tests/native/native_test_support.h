// Builders for native geometry chains used across the native tests.
#pragma once

#include <initializer_list>
#include <vector>

#include "native/native.h"

namespace native_test {

using Korvex::NativeGeometry;
using Korvex::NativeGeometryPoint;

using Chain = Korvex::NativeGeometryChain;

// One record from (x, y) pairs, z 0.
inline NativeGeometry* Ring(std::initializer_list<std::pair<double, double>> xy) {
    std::vector<NativeGeometryPoint> points;
    for (const auto& [x, y] : xy)
        points.push_back({x, y, 0.0});
    return new NativeGeometry(points.data(), static_cast<int>(points.size()));
}

// A record of n points along a line (a ring or polyline of the given size).
inline NativeGeometry* PointsRecord(int n) {
    std::vector<NativeGeometryPoint> points;
    for (int i = 0; i < n; ++i)
        points.push_back({static_cast<double>(i), static_cast<double>(i % 7), 0.0});
    return new NativeGeometry(points.data(), n);
}

// Links records into one chain in the order given.
inline Chain Link(std::initializer_list<NativeGeometry*> records) {
    NativeGeometry* first = nullptr;
    NativeGeometry* last = nullptr;
    for (NativeGeometry* record : records) {
        (first == nullptr ? first : last->next) = record;
        last = record;
    }
    return Chain(first);
}

// Axis-aligned square ring, counterclockwise unless clockwise is set.
inline NativeGeometry* Square(double x0, double y0, double side, bool clockwise = false) {
    if (clockwise)
        return Ring({{x0, y0}, {x0, y0 + side}, {x0 + side, y0 + side}, {x0 + side, y0}});
    return Ring({{x0, y0}, {x0 + side, y0}, {x0 + side, y0 + side}, {x0, y0 + side}});
}

}  // namespace native_test
