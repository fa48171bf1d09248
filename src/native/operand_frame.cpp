#include "native/operand_frame.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "planar/planar.h"

namespace Korvex {

namespace {

// The finite values met on one axis.
struct AxisSpan {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    double largestMagnitude = 0.0;

    void Add(double value) {
        if (!std::isfinite(value))
            return;
        low = std::min(low, value);
        high = std::max(high, value);
        largestMagnitude = std::max(largestMagnitude, std::fabs(value));
    }
    bool IsEmpty() const { return !(low <= high); }
    double Size() const { return IsEmpty() ? 0.0 : high - low; }
};

struct Spans {
    AxisSpan x;
    AxisSpan y;

    void Add(const DPoint3d* points, int count) {
        for (int i = 0; i < count; ++i) {
            if (tgxDPoint3d_isDisconnect(&points[i]))
                continue;
            x.Add(points[i].x);
            y.Add(points[i].y);
        }
    }
};

// The smallest power of two at or above a positive finite value; 0 for 0.
double PowerOfTwoAtLeast(double value) {
    if (!(value > 0.0))
        return 0.0;
    int exponent = 0;
    const double mantissa = std::frexp(value, &exponent);  // in [0.5, 1)
    return std::ldexp(1.0, mantissa == 0.5 ? exponent - 1 : exponent);
}

// The unit in the last place of the largest magnitude, which every smaller
// magnitude's unit divides.
double UnitInLastPlace(double magnitude) {
    int exponent = 0;
    std::frexp(magnitude, &exponent);
    return std::ldexp(1.0, exponent - std::numeric_limits<double>::digits);
}

// The move along one axis, for operands whose size (over both axes) is
// `size`: 0 unless the span lies beyond twice the step from zero.
double MoveAlong(const AxisSpan& span, double size) {
    if (span.IsEmpty() || !std::isfinite(size))
        return 0.0;
    const double step = std::max(PowerOfTwoAtLeast(size), UnitInLastPlace(span.largestMagnitude));
    if (!(span.low >= 2.0 * step || span.high <= -2.0 * step))
        return 0.0;
    const double middle = span.low + 0.5 * (span.high - span.low);
    return std::nearbyint(middle / step) * step;
}

}  // namespace

OperandFrame OperandFrame::Around(const DPoint3d* a, int countA, const DPoint3d* b, int countB) {
    Spans spans;
    spans.Add(a, countA);
    spans.Add(b, countB);
    const double size = std::max(spans.x.Size(), spans.y.Size());
    OperandFrame frame;
    frame.m_origin = {MoveAlong(spans.x, size), MoveAlong(spans.y, size)};
    return frame;
}

void OperandFrame::MoveIn(DPoint3d* points, int count) const {
    if (IsIdentity())
        return;
    for (int i = 0; i < count; ++i) {
        if (tgxDPoint3d_isDisconnect(&points[i]))
            continue;
        points[i].x -= m_origin.x;
        points[i].y -= m_origin.y;
    }
}

NativeGeometry* OperandFrame::MoveOut(NativeGeometry* chain) const {
    if (IsIdentity())
        return chain;
    for (NativeGeometry* ring = chain; ring != nullptr; ring = ring->next) {
        for (int i = 0; i < ring->count; ++i) {
            ring->points[i].x += m_origin.x;
            ring->points[i].y += m_origin.y;
        }
    }
    return chain;
}

}  // namespace Korvex
