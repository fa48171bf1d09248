// Turns fuzzer bytes into native geometry: chains of rings whose coordinates
// are mostly small integers (so that vertices, edges and rings coincide) and
// sometimes raw doubles (NaN, infinities, huge values).
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <limits>
#include <vector>

#include "native/native.h"

namespace fuzz_input {

using Korvex::NativeGeometry;
using Korvex::NativeGeometryPoint;

using Chain = Korvex::NativeGeometryChain;

inline double Coordinate(FuzzedDataProvider& data, bool allowHostile) {
    if (allowHostile) {
        switch (data.ConsumeIntegralInRange<int>(0, 15)) {
            case 0:
                return data.ConsumeFloatingPoint<double>();  // finite, of any size
            case 1: {
                constexpr double kInfinity = std::numeric_limits<double>::infinity();
                constexpr double kSpecial[] = {std::numeric_limits<double>::quiet_NaN(), kInfinity,
                                               -kInfinity};
                return kSpecial[data.ConsumeIntegralInRange<int>(0, 2)];
            }
            default:
                break;
        }
    }
    return data.ConsumeIntegralInRange<int>(0, 40);
}

// Usually a handful of points; now and then far more than a point buffer holds.
inline int PointCount(FuzzedDataProvider& data) {
    const int pick = data.ConsumeIntegralInRange<int>(0, 63);
    return pick == 63 ? data.ConsumeIntegralInRange<int>(4990, 6000) : pick % 12;
}

inline Chain MakeChain(FuzzedDataProvider& data, bool allowHostile) {
    const int rings = data.ConsumeIntegralInRange<int>(1, 4);
    NativeGeometry* first = nullptr;
    NativeGeometry** link = &first;
    for (int r = 0; r < rings; ++r) {
        std::vector<NativeGeometryPoint> points(static_cast<std::size_t>(PointCount(data)));
        for (NativeGeometryPoint& p : points)
            p = {Coordinate(data, allowHostile), Coordinate(data, allowHostile), 0.0};
        *link = new NativeGeometry(points.data(), static_cast<int>(points.size()));
        link = &(*link)->next;
    }
    return Chain(first);
}

inline int TotalLength(const NativeGeometry* g) {
    int length = -1;
    for (; g != nullptr; g = g->next)
        length += g->count + 1;
    return length;
}

}  // namespace fuzz_input
