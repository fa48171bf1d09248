#include "native/native_geometry.h"

#include <algorithm>

namespace Korvex {

NativeGeometry::NativeGeometry(double x, double y, double z)
    : points(new NativeGeometryPoint[1]{{x, y, z}}), count(1) {}

NativeGeometry::NativeGeometry(const NativeGeometryPoint* source, int n) {
    if (source == nullptr || n <= 0)
        return;
    points = new NativeGeometryPoint[static_cast<std::size_t>(n)];
    std::copy_n(source, n, points);
    count = n;
}

NativeGeometry::~NativeGeometry() {
    delete[] points;
    NativeGeometry* rest = next;
    while (rest != nullptr) {
        NativeGeometry* after = rest->next;
        rest->next = nullptr;  // detach so its destructor frees only itself
        delete rest;
        rest = after;
    }
}

}  // namespace Korvex
