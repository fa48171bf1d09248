#include "host/mixed/range_tree_2d.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>

#include "rangetree/range_tree_interior.h"
#include "rangetree/range_tree_leaf.h"
#include "rangetree/range_tree_root.h"

namespace Norvane::Support::Mixed {
namespace {

using Korvex::DRange2d;
using Korvex::Geom::XYRangeTreeInterior;
using Korvex::Geom::XYRangeTreeLeaf;
using Korvex::Geom::XYRangeTreeRoot;

// Points per tile: a search scans whole tiles and the tree holds one leaf
// per tile. 16 measured best for service areas holding a few dozen meters.
constexpr std::size_t kTileSize = 16;

bool IsIndexable(const GeometryPoint& p) {
    return std::fabs(p.X) < DRange2d::kNullMagnitude && std::fabs(p.Y) < DRange2d::kNullMagnitude;
}

// A leaf stores its tile's number in its data pointer; nothing ever
// dereferences it.
void* TileAsData(std::size_t tile) { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(tile)); }
std::size_t DataAsTile(const void* data) { return static_cast<std::size_t>(reinterpret_cast<std::uintptr_t>(data)); }

bool Contains(const DRange2d& range, double x, double y) {
    return range.low.x <= x && x <= range.high.x && range.low.y <= y && y <= range.high.y;
}

}  // namespace

void RangeTree2D::TreeDeleter::operator()(XYRangeTreeRoot* root) const { XYRangeTreeRoot::Free(root); }

RangeTree2D::RangeTree2D() = default;
RangeTree2D::~RangeTree2D() = default;
RangeTree2D::RangeTree2D(RangeTree2D&&) noexcept = default;
RangeTree2D& RangeTree2D::operator=(RangeTree2D&&) noexcept = default;

void RangeTree2D::AddPoint(const GeometryPoint& point, int key) {
    if (IsIndexable(point)) m_pending.push_back({point.X, point.Y, key, m_count});
    ++m_count;
}

void RangeTree2D::Traverse(RangeTree2DSearcher& searcher) {
    TilePendingPoints();
    AddTilesToTree();
    searcher.Begin();
    const DRange2d range = searcher.SearchRange();
    if (m_tree && m_tree->GetTopNode()) Walk(*m_tree->GetTopNode(), range, searcher);
    searcher.End();
}

// Sort-tile order: strips of about equal count by x, each sorted by y and cut
// into tiles of kTileSize points, so a tile is a compact patch.
void RangeTree2D::TilePendingPoints() {
    if (m_pending.empty()) return;
    std::sort(m_pending.begin(), m_pending.end(), [](const Entry& a, const Entry& b) { return a.x < b.x; });
    const std::size_t tiles = (m_pending.size() + kTileSize - 1) / kTileSize;
    const auto strips = static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(tiles))));
    const std::size_t stripLength = (tiles + strips - 1) / strips * kTileSize;
    const std::size_t oldEntries = m_tiled.size();
    const std::size_t oldTiles = m_tileBegin.size();
    try {
        m_tiled.reserve(oldEntries + m_pending.size());
        if (m_tileBegin.empty()) m_tileBegin.push_back(0);
        for (std::size_t begin = 0; begin < m_pending.size(); begin += stripLength) {
            const auto first = m_pending.begin() + static_cast<std::ptrdiff_t>(begin);
            const auto last = m_pending.begin() + static_cast<std::ptrdiff_t>(std::min(begin + stripLength, m_pending.size()));
            std::sort(first, last, [](const Entry& a, const Entry& b) { return a.y < b.y; });
            for (auto tile = first; tile != last; tile += std::min<std::ptrdiff_t>(last - tile, kTileSize)) {
                m_tiled.insert(m_tiled.end(), tile, tile + std::min<std::ptrdiff_t>(last - tile, kTileSize));
                m_tileBegin.push_back(m_tiled.size());
            }
        }
    } catch (...) {
        m_tiled.resize(oldEntries);
        m_tileBegin.resize(oldTiles);
        throw;
    }
    m_pending.clear();
}

void RangeTree2D::AddTilesToTree() {
    const std::size_t tiles = m_tileBegin.empty() ? 0 : m_tileBegin.size() - 1;
    if (m_tilesInTree == tiles) return;
    try {
        if (!m_tree) m_tree.reset(XYRangeTreeRoot::Allocate());
        if (!m_tree) throw std::bad_alloc();
        for (; m_tilesInTree < tiles; ++m_tilesInTree) {
            DRange2d range;
            range.init();
            for (std::size_t i = m_tileBegin[m_tilesInTree]; i < m_tileBegin[m_tilesInTree + 1]; ++i)
                range.extend(Korvex::DPoint2d{m_tiled[i].x, m_tiled[i].y});
            if (!XYRangeTreeRoot::Add(m_tree.get(), TileAsData(m_tilesInTree), range)) throw std::bad_alloc();
        }
    } catch (...) {
        // A tree missing tiles would answer wrongly: build a new one next time.
        m_tree.reset();
        m_tilesInTree = 0;
        throw;
    }
}

// A node holds only leaves or only interior nodes, so the children's kind is
// known without asking each one.
void RangeTree2D::Walk(const XYRangeTreeInterior& node, const DRange2d& range, RangeTree2DSearcher& searcher) const {
    const int count = node.GetChildCount();
    if (node.HasOnlyLeaves()) {
        for (int i = 0; i < count; ++i) {
            const auto& leaf = static_cast<const XYRangeTreeLeaf&>(*node.GetChild(i));
            if (leaf.GetRange().intersectsWith(range)) ScanTile(DataAsTile(leaf.GetData()), range, searcher);
        }
        return;
    }
    for (int i = 0; i < count; ++i) {
        const auto& child = static_cast<const XYRangeTreeInterior&>(*node.GetChild(i));
        if (child.GetRange().intersectsWith(range)) Walk(child, range, searcher);
    }
}

void RangeTree2D::ScanTile(std::size_t tile, const DRange2d& range, RangeTree2DSearcher& searcher) const {
    // A tile's points ascend in y: the scan ends above the range.
    for (std::size_t i = m_tileBegin[tile]; i < m_tileBegin[tile + 1]; ++i) {
        const Entry& p = m_tiled[i];
        if (p.y > range.high.y) return;
        if (Contains(range, p.x, p.y)) searcher.Visit({p.x, p.y}, p.key, p.order);
    }
}

}  // namespace Norvane::Support::Mixed
