// The native geometry record: a chain of rings (or polyline parts, or one
// point), each owning its point array and the rest of the chain.
#pragma once

#include <cstdint>
#include <memory>

namespace Korvex {

struct NativeGeometryPoint {
    double x;
    double y;
    double z;
};

// One ring of a polygon, one part of a polyline, or a single point. A
// geometry is the chain starting at its first record; outer rings and holes
// are told apart only by orientation. Rings are stored as given (not closed).
//
// Ownership: a record owns `points` (allocated with new[]) and `next`.
// Deleting the first record frees the whole chain.
struct NativeGeometry {
    NativeGeometryPoint* points = nullptr;
    std::int32_t count = 0;
    NativeGeometry* next = nullptr;

    // A single point (count 1).
    NativeGeometry(double x, double y, double z);
    // A copy of `n` points; no array when `source` is null or `n` is not
    // positive (count 0 then).
    NativeGeometry(const NativeGeometryPoint* source, int n);
    // Frees the points and the rest of the chain (iteratively, so a long
    // chain cannot exhaust the stack).
    ~NativeGeometry();

    NativeGeometry(const NativeGeometry&) = delete;
    NativeGeometry& operator=(const NativeGeometry&) = delete;
};

// Owns a whole chain: deleting the first record frees the rest.
using NativeGeometryChain = std::unique_ptr<NativeGeometry>;

// Hosts see a geometry as a pointer-sized handle: the address of its first
// record, 0 for none.
using NativeGeometryHandle = std::intptr_t;

inline NativeGeometryHandle ToHandle(const NativeGeometry* geometry) {
    return reinterpret_cast<NativeGeometryHandle>(geometry);
}

inline NativeGeometry* FromHandle(NativeGeometryHandle handle) {
    return reinterpret_cast<NativeGeometry*>(handle);
}

}  // namespace Korvex
