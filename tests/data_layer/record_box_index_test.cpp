#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "data/shapefile/record_box_index.h"

using Norvane::Allotrix::Calculations::Data::Shapefile::RecordBox;
using Norvane::Allotrix::Calculations::Data::Shapefile::RecordBoxIndex;

namespace {

bool finite(const RecordBox& b) {
    return std::isfinite(b.minX) && std::isfinite(b.minY) && std::isfinite(b.maxX) && std::isfinite(b.maxY);
}

std::vector<std::int32_t> scan(const std::vector<RecordBox>& boxes, const RecordBox& q) {
    std::vector<std::int32_t> out;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const RecordBox& b = boxes[i];
        const bool meets = b.minX <= q.maxX && q.minX <= b.maxX && b.minY <= q.maxY && q.minY <= b.maxY;
        if (!finite(b) || !finite(q) || meets) out.push_back(static_cast<std::int32_t>(i));
    }
    return out;
}

}  // namespace

// Boxes on an integer grid touch each other and the queries exactly along
// edges and corners; a few carry NaN or infinite bounds.
TEST(RecordBoxIndex, AnswersEqualAPlainScanIncludingBoxesThatOnlyTouch) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(0, 60), extent(0, 4), rare(0, 99);
    for (int round = 0; round < 20; ++round) {
        std::vector<RecordBox> boxes(static_cast<std::size_t>(round * 37));
        for (RecordBox& b : boxes) {
            b.minX = coordinate(random);
            b.minY = coordinate(random);
            b.maxX = b.minX + extent(random);
            b.maxY = b.minY + extent(random);
            if (rare(random) == 0) b.maxY = std::nan("");
            if (rare(random) == 1) b.minX = -INFINITY;
        }
        const RecordBoxIndex index(boxes);
        std::vector<std::int32_t> found;
        for (int q = 0; q < 50; ++q) {
            RecordBox query{double(coordinate(random)), double(coordinate(random)), 0, 0};
            query.maxX = query.minX + extent(random) * 3;
            query.maxY = query.minY + extent(random) * 3;
            if (q == 0) query.maxX = std::nan("");
            if (q == 1) query = {1.7976931348623157e308, 1.7976931348623157e308, -1.7976931348623157e308,
                                 -1.7976931348623157e308};  // an empty geometry's box
            index.Query(query, found);
            ASSERT_EQ(found, scan(boxes, query)) << "round " << round << " query " << q;
        }
    }
}
