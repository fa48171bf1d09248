#include "host/mixed/polygon_contains_point_searcher.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "planar/disconnect_point.h"
#include "planar/xy_polygon_parity.h"

namespace Norvane::Support::Mixed {
namespace {

bool IsUsableCoordinate(double value) { return std::fabs(value) < Korvex::DRange2d::kNullMagnitude; }

// The parity test interpolates crossings, which may land a few units in the
// last place beyond the polygon's exact rectangle; widening the rectangle by
// as much keeps every point the test could accept among the candidates.
void WidenByRounding(Korvex::DRange2d& range) {
    const double magnitude = std::max({std::fabs(range.low.x), std::fabs(range.low.y), std::fabs(range.high.x),
                                       std::fabs(range.high.y)});
    range.extend(magnitude * 8.0 * std::numeric_limits<double>::epsilon());
}

}  // namespace

void PolygonContainsPointSearcher::Setup(const PointArray& polygon) {
    m_loops.clear();
    const bool usable = AppendRing(polygon);
    FinishSetup(usable);
}

void PolygonContainsPointSearcher::Setup(const PointArrayList& rings) {
    m_loops.clear();
    bool usable = true;
    for (const PointArray& ring : rings) {
        if (ring.empty()) continue;
        if (!m_loops.empty()) {
            Korvex::DPoint3d separator;
            Korvex::tgxDPoint3d_initDisconnect(&separator);
            m_loops.push_back(separator);
        }
        usable = AppendRing(ring) && usable;
    }
    FinishSetup(usable);
}

bool PolygonContainsPointSearcher::AppendRing(const PointArray& ring) {
    bool usable = true;
    for (const GeometryPoint& p : ring) {
        usable = usable && IsUsableCoordinate(p.X) && IsUsableCoordinate(p.Y);
        m_loops.push_back({p.X, p.Y, 0.0});
    }
    return usable;
}

void PolygonContainsPointSearcher::FinishSetup(bool usable) {
    m_range.init();
    m_found.clear();
    m_result.clear();
    if (m_loops.empty() || m_loops.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        usable = false;
    for (const Korvex::DPoint3d& p : m_loops)
        if (!Korvex::tgxDPoint3d_isDisconnect(&p)) m_range.extend(Korvex::DPoint2d{p.x, p.y});
    m_edges.clear();
    if (!usable) {
        m_loops.clear();
        m_range.init();  // the empty rectangle meets no point
        return;
    }
    WidenByRounding(m_range);
    MakeEdges();
}

// The edges of every loop of two or more points, the closing edge included:
// the loops the parity test classifies.
void PolygonContainsPointSearcher::MakeEdges() {
    std::size_t loopStart = 0;
    for (std::size_t i = 0; i <= m_loops.size(); ++i) {
        if (i < m_loops.size() && !Korvex::tgxDPoint3d_isDisconnect(&m_loops[i])) continue;
        if (i - loopStart >= 2) {
            const Korvex::DPoint3d* prev = &m_loops[i - 1];
            for (std::size_t k = loopStart; k < i; ++k) {
                m_edges.push_back({prev->x, prev->y, m_loops[k].x, m_loops[k].y});
                prev = &m_loops[k];
            }
        }
        loopStart = i + 1;
    }
}

// The parity test's horizontal probe with tolerance 0, over all loops at
// once: the parity of all crossings left of the point is the parity of the
// loops containing it. The test would leave the horizontal line for another
// when a vertex lies on it, and reports an exact hit as on the boundary by
// its own rules; both cases are left to it.
bool PolygonContainsPointSearcher::CountCrossings(double x, double y, bool& inside) const {
    bool odd = false;
    for (const Edge& e : m_edges) {
        const double dPrev = y - e.y0;
        const double d = y - e.y1;
        if (d == 0.0 || dPrev == 0.0) return false;
        if (dPrev * d < 0.0) {
            const double f = dPrev / (dPrev - d);
            const double at = e.x0 + f * (e.x1 - e.x0);
            if (at == x) return false;
            if (at < x) odd = !odd;
        }
    }
    inside = odd;
    return true;
}

bool PolygonContainsPointSearcher::ParityAccepts(double x, double y) const {
    bool inside = false;
    if (CountCrossings(x, y, inside)) return inside;
    const Korvex::DPoint3d query{x, y, 0.0};
    const int parity =
        Korvex::tgxGeom_XYPolygonParity(&query, m_loops.data(), static_cast<int>(m_loops.size()), 0.0);
    return parity == 1 || parity == 0;
}

void PolygonContainsPointSearcher::Begin() {
    m_found.clear();
    m_result.clear();
}

void PolygonContainsPointSearcher::Visit(const GeometryPoint& point, int key, std::size_t order) {
    if (ParityAccepts(point.X, point.Y)) m_found.emplace_back(order, key);
}

// The tree hands points over in its own order; sorting by order of addition
// makes the answer independent of how the tree happens to be shaped.
void PolygonContainsPointSearcher::End() {
    std::sort(m_found.begin(), m_found.end());
    m_result.reserve(m_found.size());
    for (const auto& [order, key] : m_found) m_result.push_back(key);
}

}  // namespace Norvane::Support::Mixed
