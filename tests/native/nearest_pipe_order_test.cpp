// The nearest-first pipe search against the literal depth-first traversal,
// on pipes with many exact ties.
#include <gtest/gtest.h>

#include <random>
#include <tuple>
#include <vector>

#include "native/native.h"
#include "native/polyline_range_tree_closest_point_searcher.h"
#include "rangetree/rangetree.h"

namespace {

using Korvex::CStandAloneDataTools;
using Korvex::DPoint2d;
using Korvex::PlexPolyline;
using Korvex::Geom::PolylineRangeTreeClosestPointSearcher;
using Korvex::Geom::XYRangeTreeRoot;

// Pipe, squared distance and closest point of the handler's last search.
auto Answer(const PolylineRangeTreeClosestPointSearcher& handler) {
    const DPoint2d p = handler.GetClosestPoint();
    return std::tuple(handler.GetResult(), handler.GetBestDistanceSquared(), p.x, p.y);
}

TEST(NearestPipeSearch, NearestFirstFindsWhatTheTraversalFinds) {
    // Short pipes on a small integer grid, some listed twice, so that many
    // queries at grid and half-grid points have several pipes at exactly the
    // least distance; thousands of pipes make a tree of several levels.
    for (unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> coordinate(0, 60), step(-3, 3), bends(1, 3);
        XYRangeTreeRoot* tree = CStandAloneDataTools::NewXYRangeTree();
        auto* handler = CStandAloneDataTools::NewPolylineRangeTreeClosestPointSearcher();
        std::vector<PlexPolyline*> records;
        for (int id = 1; id <= 3000; ++id) {
            std::vector<DPoint2d> points{{double(coordinate(random)), double(coordinate(random))}};
            for (int k = bends(random); k > 0; --k)
                points.push_back({points.back().x + step(random), points.back().y + step(random)});
            const int copies = id % 7 == 0 ? 2 : 1;
            for (int c = 0; c < copies; ++c)
                CStandAloneDataTools::InitializeRangeTree(tree, points.data(), int(points.size()), id,
                                                          &records.emplace_back(), nullptr, nullptr,
                                                          nullptr, nullptr);
        }
        // Every other query a half step from the one before, as meters in
        // spatial order come: the search starts from its last answer.
        std::uniform_int_distribution<int> halfGrid(-10, 140), halfStep(-1, 1);
        Korvex::NativeGeometryPoint query{0.0, 0.0, 0.0};
        for (int q = 0; q < 4000; ++q) {
            if (q % 2 == 0)
                query = {halfGrid(random) * 0.5, halfGrid(random) * 0.5, 0.0};
            else
                query = {query.x + halfStep(random) * 0.5, query.y + halfStep(random) * 0.5, 0.0};
            std::int32_t id = -1;
            CStandAloneDataTools::SearchRangeTree(tree, handler, &query, 1e6, &id);
            const auto fast = Answer(*handler);
            ASSERT_EQ(id, std::get<0>(fast)->id);
            handler->StartSearch(query.x, query.y, 1e6);
            XYRangeTreeRoot::Traverse(tree, handler);
            ASSERT_EQ(fast, Answer(*handler)) << "query " << query.x << ", " << query.y;
        }
        CStandAloneDataTools::DisposeRangeTreeAndSearcher(tree, handler);
        for (PlexPolyline* record : records)
            CStandAloneDataTools::DisposePlexPolylineBuffer(record);
    }
}

}  // namespace
