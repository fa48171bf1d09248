// A point index: points with integer keys, searched by rectangle.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "host/mixed/range_tree_2d_searcher.h"
#include "host/support/geometry_point.h"

namespace Korvex::Geom {
class XYRangeTreeRoot;
class XYRangeTreeInterior;
}  // namespace Korvex::Geom

namespace Norvane::Support::Mixed {

// Points are collected by AddPoint and indexed on the next Traverse: the
// points added since the last one are sorted into tiles (strips by x, runs
// by y) of a few neighbours each, every tile is stored contiguously, and the
// XY range tree indexes the tiles' rectangles. A search walks the tree to the
// tiles that meet its range and scans their points in one sweep, so it
// touches little memory however many points the tree holds.
//
// Points with a NaN coordinate or one of magnitude 1e100 or more are counted
// but never indexed: no searcher ever receives them.
class RangeTree2D {
public:
    RangeTree2D();
    ~RangeTree2D();
    RangeTree2D(RangeTree2D&&) noexcept;
    RangeTree2D& operator=(RangeTree2D&&) noexcept;
    RangeTree2D(const RangeTree2D&) = delete;
    RangeTree2D& operator=(const RangeTree2D&) = delete;

    void AddPoint(const GeometryPoint& point, int key);
    // Points added so far, indexable or not.
    std::size_t Count() const { return m_count; }
    // Hands the searcher every indexed point inside its search range.
    void Traverse(RangeTree2DSearcher& searcher);

private:
    struct TreeDeleter {
        void operator()(Korvex::Geom::XYRangeTreeRoot* root) const;
    };
    struct Entry {
        double x;
        double y;
        int key;
        std::size_t order;  // how many points were added before this one
    };

    void TilePendingPoints();
    void AddTilesToTree();
    void Walk(const Korvex::Geom::XYRangeTreeInterior& node, const Korvex::DRange2d& range,
              RangeTree2DSearcher& searcher) const;
    void ScanTile(std::size_t tile, const Korvex::DRange2d& range, RangeTree2DSearcher& searcher) const;

    std::size_t m_count = 0;
    std::vector<Entry> m_pending;          // indexable points not tiled yet
    std::vector<Entry> m_tiled;            // tile after tile
    std::vector<std::size_t> m_tileBegin;  // first entry of each tile in m_tiled, then the end
    std::size_t m_tilesInTree = 0;
    std::unique_ptr<Korvex::Geom::XYRangeTreeRoot, TreeDeleter> m_tree;
};

}  // namespace Norvane::Support::Mixed
