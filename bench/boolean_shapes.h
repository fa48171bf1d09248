// The polygon pairs on which the Boolean operations are timed and digested,
// for any point type with x, y and z.
#pragma once

#include <cmath>
#include <random>
#include <vector>

namespace boolean_shapes {

constexpr double kPi = 3.14159265358979323846;

// A wobbly circle, like a parcel or service area outline: counter-clockwise,
// simple, no two vertices at one angle; few crossings with another one.
template <class Point>
std::vector<Point> WobblyCircle(int count, double cx, double cy, double phase) {
    std::vector<Point> ring;
    for (int i = 0; i < count; ++i) {
        const double angle = phase + 2.0 * kPi * i / count;
        const double r = 100.0 * (1.0 + 0.05 * std::sin(7.0 * angle) + 0.02 * std::cos(31.0 * angle));
        ring.push_back({cx + r * std::cos(angle), cy + r * std::sin(angle), 0.0});
    }
    return ring;
}

// A star: vertices at even turns, at random radii between 60 and 100. Two
// of them overlap in a maze of crossings, the hard case for every library.
template <class Point>
std::vector<Point> Star(int count, double cx, double cy, unsigned seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> radius(60.0, 100.0);
    std::vector<Point> ring;
    for (int i = 0; i < count; ++i) {
        const double angle = 2.0 * kPi * i / count;
        const double r = radius(random);
        ring.push_back({cx + r * std::cos(angle), cy + r * std::sin(angle), 0.0});
    }
    return ring;
}

// The two pairs: circles at (0, 0) and (60, 35), stars at (0, 0) and (30, 20).
template <class Point>
std::vector<Point> CircleA(int count) { return WobblyCircle<Point>(count, 0, 0, 0.0); }
template <class Point>
std::vector<Point> CircleB(int count) { return WobblyCircle<Point>(count, 60, 35, 0.37); }
template <class Point>
std::vector<Point> StarA(int count) { return Star<Point>(count, 0, 0, 1); }
template <class Point>
std::vector<Point> StarB(int count) { return Star<Point>(count, 30, 20, 2); }

}  // namespace boolean_shapes
