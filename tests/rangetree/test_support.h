// Shared helpers of the rangetree tests: point sets and the sanitizer scale.
#pragma once

#include <cstdint>
#include <vector>

#include "planar/planar_types.h"

namespace rangetree_test {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr int kScaleDivisor = 4;
#else
inline constexpr int kScaleDivisor = 1;
#endif

// Fewer random iterations under the sanitizers, which run many times slower.
constexpr int Scaled(int count) { return count / kScaleDivisor > 0 ? count / kScaleDivisor : 1; }

enum class PointPattern {
    Uniform,     // spread over a 1000 x 1000 square
    Clustered,   // tight clusters around a few centres
    Collinear,   // on one slanted line, plus a horizontal and a vertical run
    Duplicated,  // few distinct places, each repeated many times
};

const char* PatternName(PointPattern pattern);

std::vector<Korvex::DPoint2d> MakePoints(PointPattern pattern, int count, uint32_t seed);

}  // namespace rangetree_test
