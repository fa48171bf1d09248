// Plain value types shared by every geometry layer: points, segments and
// axis-aligned rectangles in double precision.
#pragma once

#include <cmath>
#include <limits>

namespace Korvex {

// A point or a vector in space; the planar routines read x and y only.
struct DPoint3d {
    double x;
    double y;
    double z;
};

struct DPoint2d {
    double x;
    double y;
};

// A fraction f names start + f * (end - start).
struct DSegment3d {
    DPoint3d point[2];
};

// An axis-aligned rectangle. The empty rectangle has inverted infinite-ish
// bounds so that extending it by any point yields that point.
struct DRange2d {
    DPoint2d low;
    DPoint2d high;

    static constexpr double kLargest = std::numeric_limits<double>::max();
    // Coordinates at or beyond this magnitude make a rectangle count as null.
    static constexpr double kNullMagnitude = 1.0e100;

    void init() {
        low = {kLargest, kLargest};
        high = {-kLargest, -kLargest};
    }

    void initFrom(DPoint2d point) {
        low = point;
        high = point;
    }

    void initFrom(double x0, double y0, double x1, double y1) {
        low = {x0 < x1 ? x0 : x1, y0 < y1 ? y0 : y1};
        high = {x0 < x1 ? x1 : x0, y0 < y1 ? y1 : y0};
    }

    // Grows (or shrinks, for a negative distance) every side by the distance.
    void extend(double distance) {
        low.x -= distance;
        low.y -= distance;
        high.x += distance;
        high.y += distance;
    }

    // A bound moves only when a point lies strictly outside it.
    void extend(const DPoint2d* points, int count) {
        for (int i = 0; i < count; ++i) {
            const DPoint2d& p = points[i];
            if (p.x < low.x) low.x = p.x;
            if (p.y < low.y) low.y = p.y;
            if (p.x > high.x) high.x = p.x;
            if (p.y > high.y) high.y = p.y;
        }
    }

    void extend(DPoint2d point) { extend(&point, 1); }

    // Grows to cover another rectangle; true when any bound moved.
    bool extend(const DRange2d& other) {
        bool changed = false;
        if (other.low.x < low.x) { low.x = other.low.x; changed = true; }
        if (other.low.y < low.y) { low.y = other.low.y; changed = true; }
        if (other.high.x > high.x) { high.x = other.high.x; changed = true; }
        if (other.high.y > high.y) { high.y = other.high.y; changed = true; }
        return changed;
    }

    // True when this rectangle lies inside other (boundaries may coincide).
    bool isContained(const DRange2d& other) const {
        return other.low.x <= low.x && other.low.y <= low.y && other.high.x >= high.x &&
               other.high.y >= high.y;
    }

    // Touching rectangles intersect.
    bool intersectsWith(const DRange2d& other) const {
        return !(other.high.x < low.x || other.high.y < low.y || high.x < other.low.x ||
                 high.y < other.low.y);
    }

    bool isEmpty() const {
        return low.x == kLargest && low.y == kLargest && high.x == -kLargest &&
               high.y == -kLargest;
    }

    // The empty rectangle, or one with any coordinate of magnitude >= 1e100.
    bool isNull() const {
        return isEmpty() || std::fabs(low.x) >= kNullMagnitude ||
               std::fabs(low.y) >= kNullMagnitude || std::fabs(high.x) >= kNullMagnitude ||
               std::fabs(high.y) >= kNullMagnitude;
    }
};

}  // namespace Korvex
