// Nearest-point search over points sorted into horizontal strips.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "planar/planar_types.h"

namespace Korvex::Geom {

// Points are added one by one with an untyped data pointer (not owned).
// Before the first search after additions the points are sorted into about
// sqrt(n) horizontal strips (by y), each sorted by x. A search scans the
// query's strip outward from the query's x, then neighbouring strips while
// their y range can still hold a closer point. Every improvement must be
// strict, so of several points at the same distance the first examined wins.
class XYPointSearcher {
public:
    struct Entry {
        double x;
        double y;
        void* data;
    };
    // Points [first, end) of the sorted array; lowY and highY are the y of
    // the strip's lowest and highest point.
    struct Strip {
        uint32_t first;
        uint32_t end;
        double lowY;
        double highY;
    };

    static constexpr uint32_t kMaxStrips = 2000;
    static constexpr uint32_t kMinPointsPerStrip = 20;
    // Strip bounds are 32-bit, one past the last point included.
    static constexpr size_t kMaxPoints = UINT32_MAX - 1;

    XYPointSearcher();

    // A new empty searcher, released with Free.
    static XYPointSearcher* Allocate();
    // Releases the searcher and its storage; null is ignored.
    static void Free(XYPointSearcher* searcher);

    // Adds a point; the next search sorts again. False only when the
    // searcher is full or memory runs out.
    bool AddPoint(double x, double y, void* data);

    // The stored point nearest to (x, y). A point with a NaN coordinate is
    // never the nearest. False when there is no other point (or no memory
    // to sort them), leaving the outputs untouched. Outputs may be null.
    bool ClosestPoint(double x, double y, double* foundX, double* foundY, void** foundData);

    // Sorts the points into strips unless they already are; ClosestPoint
    // does this itself. False when memory runs out.
    bool SortIntoStrips();

    // Number of strips for n points: sqrt(n), at most 2000, and at least 20
    // points per strip on average (one strip for fewer than 40 points).
    static uint32_t StripCountFor(size_t pointCount);

    std::span<const Entry> GetPoints() const { return m_points; }
    std::span<const Strip> GetStrips() const { return m_strips; }
    bool IsSorted() const { return m_sorted; }
    // Bounding rectangle of every point added.
    const DRange2d& GetRange() const { return m_range; }
    // Heap and object bytes held, for measuring memory per point.
    size_t GetAllocatedBytes() const;

private:
    // The best point of a strip, or kNone with an infinite distance.
    struct StripHit {
        double distance;
        uint32_t index;
    };
    static constexpr uint32_t kNone = UINT32_MAX;

    void ArrangeStrips(uint32_t stripCount);
    uint32_t FindStrip(double y) const;
    uint32_t FindStartPosition(const Strip& strip, double x) const;
    StripHit SearchStrip(const Strip& strip, double x, double y) const;
    double DistanceSquared(uint32_t index, double x, double y) const;

    std::vector<Entry> m_points;
    std::vector<Strip> m_strips;
    bool m_sorted = false;
    DRange2d m_range;
};

}  // namespace Korvex::Geom
