#include "rangetree/point_searcher.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

#include "rangetree/coordinate_order.h"

namespace Korvex::Geom {

namespace {

// Halves [lo, hi) while it holds more than one index, keeping the upper half
// when its first key is at most value: the last index whose key is at most
// value, or lo. The keys must ascend, NaN keys last (they count as above
// every value, as they sort).
template <class KeyAt>
uint32_t BisectLastAtMost(uint32_t lo, uint32_t hi, double value, KeyAt keyAt) {
    while (hi > lo + 1) {
        const uint32_t mid = (lo + hi) / 2;
        if (!(keyAt(mid) <= value)) {
            hi = mid;
        } else {
            lo = mid;
        }
    }
    return lo;
}

bool HasNaN(const XYPointSearcher::Entry& point) {
    return std::isnan(point.x) || std::isnan(point.y);
}

}  // namespace

XYPointSearcher::XYPointSearcher() { m_range.init(); }

XYPointSearcher* XYPointSearcher::Allocate() { return new (std::nothrow) XYPointSearcher(); }

void XYPointSearcher::Free(XYPointSearcher* searcher) { delete searcher; }

bool XYPointSearcher::AddPoint(double x, double y, void* data) {
    if (m_points.size() >= kMaxPoints) return false;
    try {
        m_points.push_back({x, y, data});
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_range.extend(DPoint2d{x, y});
    m_sorted = false;
    return true;
}

uint32_t XYPointSearcher::StripCountFor(size_t pointCount) {
    const auto n = static_cast<uint32_t>(std::min<size_t>(pointCount, kMaxPoints));
    uint32_t count = static_cast<uint32_t>(std::sqrt(static_cast<double>(n)));
    if (count > kMaxStrips) count = kMaxStrips;
    if (count == 0) count = 1;
    if (n / count < kMinPointsPerStrip) count = std::max(n / kMinPointsPerStrip, 1u);
    return count;
}

bool XYPointSearcher::SortIntoStrips() {
    if (m_sorted || m_points.empty()) return true;
    m_strips.clear();
    const uint32_t stripCount = StripCountFor(m_points.size());
    try {
        m_strips.reserve(stripCount);
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::sort(m_points.begin(), m_points.end(), [](const Entry& a, const Entry& b) {
        return CoordinatePairLess(a.y, a.x, b.y, b.x);
    });
    ArrangeStrips(stripCount);
    // Searches usually follow one batch of additions: give back the slack
    // of the array's growth, up to half of it.
    m_points.shrink_to_fit();
    m_sorted = true;
    return true;
}

// Cuts the y-sorted points into nearly equal runs and sorts each run by x.
void XYPointSearcher::ArrangeStrips(uint32_t stripCount) {
    const auto n = static_cast<uint32_t>(m_points.size());
    uint32_t first = 0;
    for (uint32_t s = 0; s < stripCount; ++s) {
        const auto end = static_cast<uint32_t>(static_cast<double>(s + 1) * n / stripCount);
        m_strips.push_back({first, end, m_points[first].y, m_points[end - 1].y});
        std::sort(m_points.begin() + first, m_points.begin() + end,
                  [](const Entry& a, const Entry& b) {
                      return CoordinatePairLess(a.x, a.y, b.x, b.y);
                  });
        first = end;
    }
}

// The last strip whose low y is at most y, or strip 0.
uint32_t XYPointSearcher::FindStrip(double y) const {
    const auto stripCount = static_cast<uint32_t>(m_strips.size());
    if (stripCount < 2) return 0;
    return BisectLastAtMost(0, stripCount, y, [this](uint32_t s) { return m_strips[s].lowY; });
}

// The last point of the strip whose x is at most x; the strip's first point
// when x is at or before it, one past the strip when x is at or after its end.
uint32_t XYPointSearcher::FindStartPosition(const Strip& strip, double x) const {
    if (x <= m_points[strip.first].x) return strip.first;
    if (x >= m_points[strip.end - 1].x) return strip.end;
    if (strip.end <= strip.first + 1) return strip.first;
    return BisectLastAtMost(strip.first, strip.end, x,
                            [this](uint32_t k) { return m_points[k].x; });
}

double XYPointSearcher::DistanceSquared(uint32_t index, double x, double y) const {
    const double dx = x - m_points[index].x;
    const double dy = y - m_points[index].y;
    return dx * dx + dy * dy;
}

// Scans forward, then backward from the start position, each direction ending
// once the x distance alone reaches the best distance. When the query lies
// beyond the strip's last x the start is the next strip's first point; past
// the very last point it is that last point, which the backward scan would
// examine first anyway. A point with a NaN coordinate is never the best:
// when the start is one, the scan goes on without a bound until it meets
// another point.
XYPointSearcher::StripHit XYPointSearcher::SearchStrip(const Strip& strip, double x,
                                                       double y) const {
    const auto n = static_cast<uint32_t>(m_points.size());
    const uint32_t start = std::min(FindStartPosition(strip, x), n - 1);
    uint32_t best = kNone;
    double bestSquared = std::numeric_limits<double>::infinity();
    double radius = bestSquared;
    auto consider = [&](uint32_t k) {
        const double squared = DistanceSquared(k, x, y);
        if (squared < bestSquared || (best == kNone && !HasNaN(m_points[k]))) {
            best = k;
            bestSquared = squared;
            radius = std::sqrt(squared);
        }
    };
    consider(start);
    for (uint32_t k = start + 1; k < strip.end; ++k) {
        if (best != kNone && m_points[k].x >= x + radius) break;
        consider(k);
    }
    for (uint32_t k = start; k > strip.first;) {
        --k;
        if (best != kNone && m_points[k].x <= x - radius) break;
        consider(k);
    }
    return {radius, best};
}

bool XYPointSearcher::ClosestPoint(double x, double y, double* foundX, double* foundY,
                                   void** foundData) {
    if (m_points.empty() || !SortIntoStrips()) return false;

    const auto stripCount = static_cast<uint32_t>(m_strips.size());
    const uint32_t home = FindStrip(y);
    StripHit best = SearchStrip(m_strips[home], x, y);
    auto consider = [&](const Strip& strip) {
        const StripHit hit = SearchStrip(strip, x, y);
        if (hit.index != kNone && (best.index == kNone || hit.distance < best.distance))
            best = hit;
    };
    // Strips alternate upward and downward from the query's strip; each side
    // closes at the first strip whose y range lies beyond the best distance
    // (none while nothing is found).
    bool upOpen = true;
    bool downOpen = true;
    for (uint32_t k = 1;; ++k) {
        if (upOpen) {
            if (home + k < stripCount &&
                (best.index == kNone || m_strips[home + k].lowY <= y + best.distance)) {
                consider(m_strips[home + k]);
            } else {
                upOpen = false;
            }
        } else if (!downOpen) {
            break;
        }
        if (downOpen) {
            if (k <= home && (best.index == kNone || m_strips[home - k].highY >= y - best.distance)) {
                consider(m_strips[home - k]);
            } else {
                downOpen = false;
            }
        }
    }

    if (best.index == kNone) return false;  // every point has a NaN
    const Entry& found = m_points[best.index];
    if (foundX) *foundX = found.x;
    if (foundY) *foundY = found.y;
    if (foundData) *foundData = found.data;
    return true;
}

size_t XYPointSearcher::GetAllocatedBytes() const {
    return sizeof(*this) + m_points.capacity() * sizeof(Entry) +
           m_strips.capacity() * sizeof(Strip);
}

}  // namespace Korvex::Geom
