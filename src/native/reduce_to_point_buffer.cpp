// Thinning an operand that does not fit the point buffer.
#include <cmath>
#include <vector>

#include "native/malformed_record.h"
#include "native/max_vertices_count_exceeded.h"
#include "native/point_buffer.h"
#include "native/stand_alone_data_tools.h"

namespace Korvex {

namespace {

double DistanceSquared3d(const NativeGeometryPoint& a, const NativeGeometryPoint& b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double dz = b.z - a.z;
    return dx * dx + (dy * dy + dz * dz);
}

double FirstRingLength(const NativeGeometry& ring) {
    double length = 0.0;
    for (int i = 1; i < ring.count; ++i)
        length += std::sqrt(DistanceSquared3d(ring.points[i - 1], ring.points[i]));
    return length;
}

// One thinning pass into *reduced: every ring keeps its first point and
// each further point lying at least sqrt(tolerance2) from the last one kept
// (a NaN distance keeps it too). False when the kept points, ring starts not
// counted, would fill the point buffer.
bool ThinningPass(const NativeGeometry* geometry, bool allRings, double tolerance2,
                  NativeGeometryChain* reduced) {
    reduced->reset();
    std::vector<NativeGeometryPoint> ringCopy;
    ringCopy.reserve(kPointBufferSize);
    NativeGeometry* last = nullptr;
    int kept = 0;
    for (const NativeGeometry* ring = geometry; ring != nullptr;
         ring = allRings ? ring->next : nullptr) {
        ringCopy.clear();
        if (ring->count > 0 && ring->points != nullptr)
            ringCopy.push_back(ring->points[0]);
        for (int i = 1; i < ring->count && ring->points != nullptr; ++i) {
            if (DistanceSquared3d(ringCopy.back(), ring->points[i]) < tolerance2)
                continue;
            if (kept == kPointBufferSize)
                return false;
            ringCopy.push_back(ring->points[i]);
            ++kept;
        }
        if (kept == kPointBufferSize)
            return false;
        auto* copy = new NativeGeometry(ringCopy.data(), static_cast<int>(ringCopy.size()));
        if (last == nullptr)
            reduced->reset(copy);
        else
            last->next = copy;
        last = copy;
    }
    return true;
}

}  // namespace

void CStandAloneDataTools::ReduceToPointBuffer(DPoint3d* buffer, int* count,
                                               NativeGeometry** reduced,
                                               const NativeGeometry* geometry, bool allRings) {
    *reduced = nullptr;
    if (CopyToPointBuffer(buffer, count, geometry, allRings))
        return;
    // A malformed record makes the operand empty, as in the other operations.
    if (HoldsMalformedRecord(geometry, allRings))
        return;
    // The distance starts at the first ring's length shared by the buffer's
    // points and doubles until the thinned copy fits. A distance of zero (or
    // NaN) cannot grow, and an infinite one cannot grow further.
    const double step = FirstRingLength(*geometry) / kPointBufferSize;
    double tolerance2 = step * step;
    NativeGeometryChain thinned;
    while (!ThinningPass(geometry, allRings, tolerance2, &thinned)) {
        if (!(tolerance2 > 0.0) || std::isinf(tolerance2))
            throwMaxVerticesCountExceededException();
        tolerance2 *= 4.0;
    }
    // Ring starts and separators may still overflow the buffer.
    if (!CopyToPointBuffer(buffer, count, thinned.get(), allRings))
        throwMaxVerticesCountExceededException();
    *reduced = thinned.release();
}

}  // namespace Korvex
