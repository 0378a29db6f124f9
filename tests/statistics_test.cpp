#include "core/statistics.h"

#include <gtest/gtest.h>

#include <cmath>

namespace loto {
namespace {

TEST(MatchWeights, AreTheCombinationsSharingKNumbers) {
    const auto choose = [](double n, double k) {
        double c = 1;
        for (double i = 0; i < k; ++i) {
            c = c * (n - i) / (i + 1);
        }
        return c;
    };
    double total = 0;
    for (int k = 0; k <= 6; ++k) {
        EXPECT_EQ(kMatchWeights[k], choose(6, k) * choose(43, 6 - k)) << k;
        total += kMatchWeights[k];
    }
    EXPECT_EQ(total, kCombinations);
}

TEST(ExpectedCounts, FollowTheRequestedCount) {
    const ExpectedCounts all = ComputeExpectedCounts(13983816);
    for (int k = 0; k <= 6; ++k) {
        EXPECT_EQ(all[k], static_cast<float>(kMatchWeights[k])) << k;
    }
    const ExpectedCounts million = ComputeExpectedCounts(1000000);
    EXPECT_EQ(million[6], static_cast<float>(1000000.0 / 13983816));
    EXPECT_EQ(million[3], static_cast<float>(1000000.0 / 13983816 * 246820));
    EXPECT_NEAR(million[3], 17650.4, 0.05);
    EXPECT_EQ(ComputeExpectedCounts(100)[0], 43.59649658203125f);
    // N = 10.6 performs ten draws, but the expected counts use 10.6.
    EXPECT_EQ(ComputeExpectedCounts(10.6)[6], static_cast<float>(10.6 / 13983816));
    EXPECT_TRUE(std::isinf(ComputeExpectedCounts(1e40)[0]));  // beyond the Single range
}

TEST(Deviations, CompareObservedWithExpected) {
    const ExpectedCounts expected = ComputeExpectedCounts(13983816);
    Tally tally{};
    for (int k = 0; k <= 6; ++k) {
        tally[k] = static_cast<std::uint64_t>(kMatchWeights[k]);
    }
    tally[6] = 0;    // nothing observed: the shown deviation -(100) is -100
    tally[5] = 387;  // half as many again: -(-50)
    const Deviations d = ComputeDeviations(expected, tally);
    for (int k = 0; k <= 4; ++k) {
        EXPECT_EQ(d[k], 0) << k;
    }
    EXPECT_EQ(d[5], -50);
    EXPECT_EQ(d[6], 100);
}

TEST(Deviations, CannotBeFormedWhenNothingIsExpected) {
    const Deviations none = ComputeDeviations(ComputeExpectedCounts(0), Tally{});
    for (const double d : none) {
        EXPECT_TRUE(std::isnan(d));
    }
    // A negative request: negative expected counts, no draws, deviations of exactly 100.
    const Deviations negative = ComputeDeviations(ComputeExpectedCounts(-5), Tally{});
    for (const double d : negative) {
        EXPECT_EQ(d, 100);
    }
}

}  // namespace
}  // namespace loto
