#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "model/SpatialIndex.h"

namespace {

using TBox = TSpatialIndex::TBox;
using TQuery = TSpatialIndex::TQuery;

std::vector<int32_t> BruteForce(const std::vector<TBox>& boxes, const TQuery& q) {
    std::vector<int32_t> r;
    for (size_t i = 0; i < boxes.size(); ++i) {
        const TBox& b = boxes[i];
        if (b.Left <= q.Right && b.Right >= q.Left && b.Bottom <= q.Top && b.Top >= q.Bottom)
            r.push_back(int32_t(i));
    }
    return r;
}

// Sizes around the node size and its powers, where the packing's last, partly filled nodes
// and slices are.
TEST(SpatialIndex, QueriesMatchTheFullScanInAscendingOrder) {
    std::mt19937 rng(7);
    for (int n : {0, 1, 2, 15, 16, 17, 255, 256, 257, 1000, 4099}) {
        SCOPED_TRACE(n);
        std::uniform_int_distribution<int32_t> pos(-100000, 100000), size(0, 3000);
        std::vector<TBox> boxes;
        for (int i = 0; i < n; ++i) {
            const int32_t x = pos(rng), y = pos(rng);
            if (i % 97 == 5)
                boxes.push_back({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}); // may be anywhere
            else if (i % 13 == 0)
                boxes.push_back({x, y, x, y}); // a point
            else
                boxes.push_back({x, y, x + size(rng), y + size(rng)});
        }
        TSpatialIndex index;
        index.Build(boxes);
        EXPECT_EQ(index.Size(), n);
        for (int k = 0; k < 60; ++k) {
            const int64_t x = pos(rng), y = pos(rng), w = k % 3 == 0 ? 0 : size(rng) * (k % 7);
            const TQuery q{x, y, x + w, y + w};
            std::vector<int32_t> got{-1}; // what was there before stays in front
            index.Query(q, got);
            std::vector<int32_t> want{-1};
            const std::vector<int32_t> scan = BruteForce(boxes, q);
            want.insert(want.end(), scan.begin(), scan.end());
            ASSERT_EQ(got, want);
        }
    }
}

TEST(SpatialIndex, EdgesTouchingCountAndRebuildingReplaces) {
    TSpatialIndex index;
    index.Build({{0, 0, 10, 10}, {20, 0, 30, 10}});
    std::vector<int32_t> got;
    index.Query({10, 10, 20, 20}, got); // corners touch both
    EXPECT_EQ(got, (std::vector<int32_t>{0, 1}));
    got.clear();
    index.Query({11, 0, 19, 10}, got); // the gap between them
    EXPECT_TRUE(got.empty());
    // A query far beyond the 32-bit range is no overflow.
    got.clear();
    index.Query({INT64_MIN / 2, INT64_MIN / 2, INT64_MAX / 2, INT64_MAX / 2}, got);
    EXPECT_EQ(got.size(), 2u);

    index.Build({{100, 100, 110, 110}});
    got.clear();
    index.Query({0, 0, 30, 30}, got);
    EXPECT_TRUE(got.empty());
    index.Clear();
    index.Query({INT64_MIN / 2, INT64_MIN / 2, INT64_MAX / 2, INT64_MAX / 2}, got);
    EXPECT_TRUE(got.empty());
}

} // namespace
