#include <limits>

#include <gtest/gtest.h>

#include "native_test_support.h"
#include "planar/planar.h"

using namespace native_test;
using Korvex::CStandAloneDataTools;
using Korvex::DPoint3d;
using Korvex::kPointBufferSize;
using Korvex::PointBuffer;

namespace {

int FilledLength(const NativeGeometry* g, bool allRings, bool* fits = nullptr) {
    PointBuffer buffer;
    int count = -1;
    const bool ok = CStandAloneDataTools::CopyToPointBuffer(buffer.data(), &count, g, allRings);
    if (fits != nullptr)
        *fits = ok;
    return count;
}

}  // namespace

TEST(NativeGeometry, ConstructorsCopyPointsAndChainOwnsTheRest) {
    const NativeGeometry point(1.0, 2.0, 3.0);
    ASSERT_EQ(point.count, 1);
    EXPECT_EQ(point.points[0].z, 3.0);
    EXPECT_EQ(point.next, nullptr);

    const NativeGeometry empty(nullptr, 7);
    EXPECT_EQ(empty.count, 0);
    EXPECT_EQ(empty.points, nullptr);

    NativeGeometryPoint source[2] = {{1, 1, 0}, {2, 2, 0}};
    const NativeGeometry copy(source, 2);
    source[0].x = 99;
    EXPECT_EQ(copy.points[0].x, 1.0);  // a copy, not a view

    // A long chain is freed without recursion; the sanitizer build checks
    // that nothing leaks.
    auto* first = new NativeGeometry(0, 0, 0);
    NativeGeometry* last = first;
    for (int i = 0; i < 200000; ++i)
        last = last->next = new NativeGeometry(i, i, 0);
    delete first;
}

TEST(NativeGeometry, HandleRoundTripsAndZeroMeansNone) {
    const NativeGeometry g(1, 2, 0);
    EXPECT_EQ(Korvex::FromHandle(Korvex::ToHandle(&g)), &g);
    EXPECT_EQ(Korvex::FromHandle(0), nullptr);
}

TEST(CopyToPointBuffer, CapacityCountsSeparatorsBetweenRings) {
    bool fits = false;
    Chain ring4999 = Link({PointsRecord(4999)});
    EXPECT_EQ(FilledLength(ring4999.get(), true, &fits), 4999);
    EXPECT_TRUE(fits);

    Chain ring5000 = Link({PointsRecord(5000)});
    EXPECT_EQ(FilledLength(ring5000.get(), true, &fits), 0);
    EXPECT_FALSE(fits);

    Chain tooMany = Link({PointsRecord(2500), PointsRecord(2499)});  // 2500 + 1 + 2499
    EXPECT_EQ(FilledLength(tooMany.get(), true, &fits), 0);
    EXPECT_FALSE(fits);
    // The first ring alone still fits.
    EXPECT_EQ(FilledLength(tooMany.get(), false, &fits), 2500);
    EXPECT_TRUE(fits);

    Chain justFits = Link({PointsRecord(2500), PointsRecord(2498)});
    EXPECT_EQ(FilledLength(justFits.get(), true, &fits), 4999);
    EXPECT_TRUE(fits);
}

TEST(CopyToPointBuffer, LaysRingsWithOneDisconnectBetweenThem) {
    Chain chain = Link({Square(0, 0, 1), Ring({}), Square(5, 5, 1)});
    PointBuffer buffer;
    int count = 0;
    ASSERT_TRUE(CStandAloneDataTools::CopyToPointBuffer(buffer.data(), &count, chain.get(), true));
    ASSERT_EQ(count, 4 + 1 + 0 + 1 + 4);  // the empty ring keeps its separator
    EXPECT_TRUE(Korvex::tgxDPoint3d_isDisconnect(&buffer[4]));
    EXPECT_TRUE(Korvex::tgxDPoint3d_isDisconnect(&buffer[5]));
    EXPECT_EQ(buffer[6].x, 5.0);
    EXPECT_FALSE(Korvex::tgxDPoint3d_isDisconnect(&buffer[count - 1]));
}

TEST(CopyToPointBuffer, NullFitsAsNothingAndMalformedRecordsNeverFit) {
    bool fits = false;
    EXPECT_EQ(FilledLength(nullptr, true, &fits), 0);
    EXPECT_TRUE(fits);

    Chain negative = Link({Square(0, 0, 1)});
    negative->count = -3;
    EXPECT_EQ(FilledLength(negative.get(), true, &fits), 0);
    EXPECT_FALSE(fits);
    negative->count = 4;

    NativeGeometry missingPoints(nullptr, 0);
    missingPoints.count = 12;
    EXPECT_EQ(FilledLength(&missingPoints, true, &fits), 0);
    EXPECT_FALSE(fits);
    missingPoints.count = 0;
}
