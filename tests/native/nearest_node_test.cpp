#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "native_test_support.h"
#include "rangetree/rangetree.h"
#include "town/town.h"

using namespace native_test;
using Korvex::CStandAloneDataTools;
using Korvex::DPoint2d;
using Korvex::Geom::XYPointSearcher;

namespace {

std::int32_t Nearest(XYPointSearcher* searcher, double x, double y, std::int32_t start = -1) {
    const NativeGeometryPoint query{x, y, 0.0};
    std::int32_t id = start;
    CStandAloneDataTools::SearchNearestPoint(searcher, &query, &id);
    return id;
}

}  // namespace

TEST(NearestNode, OnePointAlwaysWinsAndEmptySearcherLeavesTheId) {
    const std::int32_t ids[] = {42};
    const NativeGeometryPoint node{1, 2, 0};
    XYPointSearcher* searcher = CStandAloneDataTools::InitializePointSearcher(nullptr, &node, &ids[0]);
    EXPECT_EQ(Nearest(searcher, -1e9, 1e9), 42);
    EXPECT_EQ(Nearest(searcher, 1, 2), 42);
    CStandAloneDataTools::DisposePointSearcher(searcher);

    XYPointSearcher* empty = XYPointSearcher::Allocate();
    EXPECT_EQ(Nearest(empty, 0, 0, 17), 17);
    CStandAloneDataTools::DisposePointSearcher(empty);
    CStandAloneDataTools::DisposePointSearcher(nullptr);
}

TEST(NearestNode, ReadsTheCallersIdSlotAtSearchTime) {
    std::int32_t ids[] = {1, 2};
    const NativeGeometryPoint a{0, 0, 0};
    const NativeGeometryPoint b{10, 0, 0};
    XYPointSearcher* searcher = CStandAloneDataTools::InitializePointSearcher(nullptr, &a, &ids[0]);
    ASSERT_EQ(CStandAloneDataTools::InitializePointSearcher(searcher, &b, &ids[1]), searcher);
    EXPECT_EQ(Nearest(searcher, 9, 0), 2);
    ids[1] = 20;  // the searcher stores the address, not the value
    EXPECT_EQ(Nearest(searcher, 9, 0), 20);
    CStandAloneDataTools::DisposePointSearcher(searcher);
}

TEST(NearestNode, MatchesBruteForceOnTheSmallTown) {
    const allotrix_town::Town town = allotrix_town::MakeTown(allotrix_town::SmallTownSize(), 11);
    XYPointSearcher* searcher = nullptr;
    for (std::size_t i = 0; i < town.nodes.size(); ++i) {
        const NativeGeometryPoint p{town.nodes[i].x, town.nodes[i].y, 0.0};
        searcher = CStandAloneDataTools::InitializePointSearcher(searcher, &p, &town.nodeIds[i]);
    }
    auto distance2 = [&](const DPoint2d& m, std::int32_t id) {
        const DPoint2d& n = town.nodes[static_cast<std::size_t>(id - 1)];
        return (m.x - n.x) * (m.x - n.x) + (m.y - n.y) * (m.y - n.y);
    };
    for (const DPoint2d& meter : town.meters) {
        const std::int32_t id = Nearest(searcher, meter.x, meter.y);
        ASSERT_GE(id, 1);
        double best = std::numeric_limits<double>::infinity();
        for (std::int32_t n : town.nodeIds)
            best = std::min(best, distance2(meter, n));
        ASSERT_EQ(distance2(meter, id), best);  // ties allowed, nothing nearer
    }
    CStandAloneDataTools::DisposePointSearcher(searcher);
}
