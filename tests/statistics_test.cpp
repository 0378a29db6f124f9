#include "core/statistics.h"

#include <gtest/gtest.h>

#include <cmath>

namespace loto {
namespace {

// N / 13,983,816 x the combinations sharing k numbers, kept as a Single.
TEST(ExpectedCounts, FollowTheRequestedCount) {
    const ExpectedCounts all = ComputeExpectedCounts(13983816);
    EXPECT_EQ(all, (ExpectedCounts{6096454, 5775588, 1851150, 246820, 13545, 258, 1}));
    const ExpectedCounts million = ComputeExpectedCounts(1000000);
    EXPECT_EQ(million[6], static_cast<float>(1000000.0 / 13983816));
    EXPECT_NEAR(million[3], 17650.4, 0.05);
    EXPECT_EQ(ComputeExpectedCounts(100)[0], 43.59649658203125f);
    EXPECT_EQ(ComputeExpectedCounts(10.6)[6], static_cast<float>(10.6 / 13983816));
    EXPECT_TRUE(std::isinf(ComputeExpectedCounts(1e40)[0]));  // beyond the Single range
}

// (expected - observed) / expected x 100; none can be formed when nothing is expected.
TEST(Deviations, CompareObservedWithExpected) {
    Tally tally{6096454, 5775588, 1851150, 246820, 13545, 387, 0};
    const Deviations d = ComputeDeviations(ComputeExpectedCounts(13983816), tally);
    EXPECT_EQ(d, (Deviations{0, 0, 0, 0, 0, -50, 100}));
    for (const double none : ComputeDeviations(ComputeExpectedCounts(0), Tally{})) {
        EXPECT_TRUE(std::isnan(none));
    }
    // A negative request: negative expected counts, no draws, deviations of exactly 100.
    EXPECT_EQ(ComputeDeviations(ComputeExpectedCounts(-5), Tally{})[3], 100);
}

}  // namespace
}  // namespace loto
