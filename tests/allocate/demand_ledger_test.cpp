#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <map>
#include <random>

#include "allocate/allocate.h"

using namespace Allotrix::Allocate;

TEST(ProportionalSplit, SharesAlwaysSumToTheTotalAndStayWithinAUnitOfTheirProportion) {
    std::mt19937_64 random(7);
    std::uniform_int_distribution<std::int64_t> totals(0, 1'000'000'000'000'000 - 1);
    std::uniform_int_distribution<int> counts(1, 9);
    std::uniform_real_distribution<double> weightOf(0.0, 1e6);
    for (int trial = 0; trial < 20000; ++trial) {
        const std::int64_t total = trial % 3 == 0 ? trial % 7 : totals(random);
        std::vector<double> weights(static_cast<std::size_t>(counts(random)));
        for (double& w : weights) w = trial % 5 == 0 && &w != &weights.front() ? 0.0 : weightOf(random) + 1e-300;
        const auto shares = SplitProportionally(total, weights);
        if (weights.size() == 2) {
            const auto pair = SplitInTwo(total, weights[0], weights[1]);
            ASSERT_EQ(std::vector(pair.begin(), pair.end()), shares);
        }
        long double sum = 0;
        for (double w : weights) sum += w;
        std::int64_t given = 0;
        for (std::size_t i = 0; i < shares.size(); ++i) {
            given += shares[i];
            const long double exact = static_cast<long double>(total) * weights[i] / sum;
            EXPECT_LE(std::fabs(static_cast<double>(shares[i] - exact)), 1.0 + 1e-6 * static_cast<double>(exact));
            if (weights[i] == 0.0) {
                EXPECT_EQ(shares[i], 0);
            }
        }
        ASSERT_EQ(given, total);
    }
    // A tie gives the odd unit to the first weight.
    EXPECT_EQ(SplitProportionally(1, std::vector{200.0, 200.0}), (std::vector<std::int64_t>{1, 0}));
    EXPECT_EQ(SplitProportionally(10, std::vector{1.0, 2.0}), (std::vector<std::int64_t>{3, 7}));
    EXPECT_THROW(SplitProportionally(5, std::vector{0.0, 0.0}), std::invalid_argument);
    EXPECT_THROW(SplitProportionally(5, std::vector<double>{NAN}), std::invalid_argument);
}

TEST(DemandScale, UnitsWriteAsTheirExactDecimalAndReadBackAsTheSameDouble) {
    const DemandScale scale(6);
    EXPECT_EQ(scale.Format(1234567), "1.234567");
    EXPECT_EQ(scale.Format(5), "0.000005");
    EXPECT_EQ(scale.Format(-120), "-0.000120");
    EXPECT_EQ(DemandScale(0).Format(42), "42");
    EXPECT_EQ(scale.ToUnits(0.1 + 0.2), 300000);
    EXPECT_FALSE(scale.ToUnits(NAN));
    EXPECT_FALSE(scale.ToUnits(1e9));  // 10^15 units: past exact decimal round trips

    // The model writer prints the shortest text of ToDouble; it must be the
    // ledger's decimal, so what the engine reads is what was counted.
    std::mt19937_64 random(3);
    std::uniform_int_distribution<std::int64_t> units(0, 1'000'000'000'000'000 - 1);
    for (int trial = 0; trial < 100000; ++trial) {
        const std::int64_t u = trial < 1000 ? trial : units(random);
        char buffer[32];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, scale.ToDouble(u), std::chars_format::fixed).ptr;
        std::string shortest(buffer, end), exact = scale.Format(u);
        while (exact.back() == '0') exact.pop_back();
        if (exact.back() == '.') exact.pop_back();
        ASSERT_EQ(shortest, exact) << u;
    }
}

TEST(DemandLedger, BalancesOnlyWhenEveryUnitIsAccountedFor) {
    DemandLedger ledger;
    ledger.AddInput(10);
    ledger.AddInput(5);
    ledger.AddAllocated(3, 7);
    EXPECT_FALSE(ledger.Balances());
    EXPECT_THROW(ledger.Check(), ConservationError);
    ledger.AddAllocated(3, 1);
    ledger.AddUnallocated(UnallocatedReason::OutsideEveryPolygon, 7);
    EXPECT_TRUE(ledger.Balances());
    ASSERT_NE(ledger.Node(3), nullptr);
    EXPECT_EQ(ledger.Node(3)->units, 8);
    EXPECT_EQ(ledger.Node(3)->sources, 2);
    EXPECT_EQ(ledger.Node(2), nullptr);
    EXPECT_EQ(ledger.NodeCount(), 1u);
    EXPECT_EQ(ledger.UnallocatedFor(UnallocatedReason::OutsideEveryPolygon).sources, 1);
    EXPECT_THROW(ledger.AddInput(-1), ConservationError);
    EXPECT_THROW(ledger.AddInput(std::numeric_limits<std::int64_t>::max()), ConservationError);
}

TEST(UniqueIds, FindsEveryRepeatAndOnlyRepeatsWhileTheTableGrows) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> idOf(0, 30000);
    UniqueIds ids;  // no Reserve: the table grows from its smallest size
    std::map<std::string, int> expected;
    for (int record = 1; record <= 50000; ++record) {
        // Short and long IDs, so some live inside and some outside small-string storage.
        const int n = idOf(random);
        const std::string id = n % 4 == 0 ? "parcel-with-a-long-identifier-" + std::to_string(n) : std::to_string(n);
        const auto [first, added] = expected.emplace(id, record);
        const std::optional<int> seen = ids.Add(id, record);
        if (added) {
            ASSERT_FALSE(seen) << id;
        } else {
            ASSERT_EQ(seen, first->second) << id;
        }
    }
    for (const auto& [id, record] : expected) ASSERT_EQ(ids.Find(id), record) << id;
    EXPECT_FALSE(ids.Find("not an ID"));
    EXPECT_FALSE(ids.Add("", 1));
    EXPECT_EQ(ids.Add("", 2), 1);
}
