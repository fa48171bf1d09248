#include "test_support.h"

#include <random>

namespace rangetree_test {

using Korvex::DPoint2d;

const char* PatternName(PointPattern pattern) {
    switch (pattern) {
        case PointPattern::Uniform: return "uniform";
        case PointPattern::Clustered: return "clustered";
        case PointPattern::Collinear: return "collinear";
        case PointPattern::Duplicated: return "duplicated";
    }
    return "?";
}

std::vector<DPoint2d> MakePoints(PointPattern pattern, int count, uint32_t seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1000.0);
    std::normal_distribution<double> spread(0.0, 3.0);
    std::vector<DPoint2d> centres(8);
    for (DPoint2d& centre : centres) centre = {unit(rng), unit(rng)};
    std::uniform_int_distribution<size_t> pick(0, centres.size() - 1);

    std::vector<DPoint2d> points;
    points.reserve(count);
    for (int i = 0; i < count; ++i) {
        switch (pattern) {
            case PointPattern::Uniform:
                points.push_back({unit(rng), unit(rng)});
                break;
            case PointPattern::Clustered: {
                const DPoint2d& centre = centres[pick(rng)];
                points.push_back({centre.x + spread(rng), centre.y + spread(rng)});
                break;
            }
            case PointPattern::Collinear: {
                const double t = unit(rng);
                if (i % 3 == 0) points.push_back({t, 0.5 * t + 7.0});
                else if (i % 3 == 1) points.push_back({t, 250.0});
                else points.push_back({250.0, t});
                break;
            }
            case PointPattern::Duplicated:
                points.push_back(centres[pick(rng)]);
                break;
        }
    }
    return points;
}

}  // namespace rangetree_test
