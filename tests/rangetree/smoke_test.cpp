#include "rangetree/rangetree.h"

#include <gtest/gtest.h>

#include <random>

using namespace Korvex;
using namespace Korvex::Geom;

TEST(Smoke, TreeAndSearcher) {
    XYRangeTreeRoot* root = XYRangeTreeRoot::Allocate();
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> u(0, 1000);
    std::vector<DPoint2d> pts(5000);
    for (auto& p : pts) {
        p = {u(rng), u(rng)};
        DRange2d r;
        r.initFrom(p);
        ASSERT_TRUE(XYRangeTreeRoot::Add(root, &p, r));
    }
    XYPointSearcher* s = XYPointSearcher::Allocate();
    for (auto& p : pts) s->AddPoint(p.x, p.y, &p);
    for (int q = 0; q < 200; ++q) {
        double x = u(rng), y = u(rng);
        double best = 1e300; void* bestData = nullptr;
        for (auto& p : pts) { double d = (p.x-x)*(p.x-x)+(p.y-y)*(p.y-y); if (d < best) { best = d; bestData = &p; } }
        XYRangeTreeClosestLowPointSearcher h;
        h.Start(x, y, 10);
        EXPECT_TRUE(XYRangeTreeRoot::Traverse(root, &h));
        EXPECT_EQ(h.GetResult(), bestData);
        double fx, fy; void* fd = nullptr;
        ASSERT_TRUE(s->ClosestPoint(x, y, &fx, &fy, &fd));
        EXPECT_EQ(fd, bestData);
    }
    XYPointSearcher::Free(s);
    XYRangeTreeRoot::Free(root);
}
