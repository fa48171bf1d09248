#include "planar/planar_types.h"

#include <gtest/gtest.h>

using Korvex::DRange2d;

TEST(DRange2d, EmptyRangeAbsorbsFirstPointAndIsNull) {
    DRange2d r;
    r.init();
    EXPECT_TRUE(r.isNull());
    DRange2d pts;
    pts.initFrom(3, 4, 1, 2);
    EXPECT_EQ(pts.low.x, 1);
    EXPECT_EQ(pts.high.y, 4);
    EXPECT_TRUE(r.extend(pts));
    EXPECT_FALSE(r.isNull());
    EXPECT_TRUE(pts.isContained(r));
    EXPECT_FALSE(r.extend(pts));  // nothing moves a second time
}

TEST(DRange2d, TouchingRectanglesIntersectAndHugeOnesAreNull) {
    DRange2d a, b;
    a.initFrom(0, 0, 1, 1);
    b.initFrom(1, 1, 2, 2);
    EXPECT_TRUE(a.intersectsWith(b));
    b.initFrom(1.0000001, 0, 2, 1);
    EXPECT_FALSE(a.intersectsWith(b));
    b.initFrom(0, 0, 1e100, 1);
    EXPECT_TRUE(b.isNull());
    b.initFrom(0, 0, 9.9e99, 1);
    EXPECT_FALSE(b.isNull());
}
