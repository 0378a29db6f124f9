#include "stats/significance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

namespace loto {
namespace {

// Two-sided exact binomial p-values, as R's binom.test defines them: the probability of every
// outcome no more likely than the one observed.
TEST(Significance, BinomialPValuesArePublishedAndHandCheckedValues) {
    // Observed successes, trials, the probability of one, and the p-value.
    const std::tuple<std::uint64_t, std::uint64_t, double, double> cases[] = {
        // R's documentation of binom.test: 682 "giant" plants out of 925 against 3/4, p-value
        // 0.3825 (0.38249155957485 by exact rational summation).
        {682, 925, 0.75, 0.3824915595748517},
        // 15 heads in 20 fair tosses: twice P(X >= 15) = 2 x 21700 / 2^20.
        {15, 20, 0.5, 0.04138946533203125},
        {10, 20, 0.5, 1.0},  // the mean itself
        // Exact rational summation over the 21 outcomes.
        {2, 20, 0.3, 0.05262794872972712},
        {0, 5, 0.3, 0.33115},  // only X = 0 is this unlikely: 0.7^5
        {2, 5, 0.3, 0.63985},  // above the mean, with X = 0 alone below it: 0.7^5 + P(X >= 2)
        {0, 2, 0.5, 0.5},      // X = 0 and X = 2, the last outcome
        // The k = 5 class of a million draws (probability 258 / 13983816), summed term by term at
        // 50 digits.
        {40, 1000000, 258.0 / 13983816, 0.000011146478506518096},
    };
    for (const auto& [observed, trials, p, expected] : cases) {
        EXPECT_NEAR(BinomialTwoSidedP(observed, trials, p), expected, expected * 1e-9)
            << observed << " of " << trials;
    }
}

// Classes expected under 5 join their neighbour, one of exactly 5 stands alone; with too few draws
// for two classes, k = 0 joins the rest (ten draws) or makes the only class (four), which then
// holds every draw expected.
TEST(Significance, PoolingJoinsClassesUnderFive) {
    using Groups = std::vector<std::tuple<int, int, double>>;
    const auto pooled = [](const PerRow<double>& expected) {
        Groups groups;
        for (const ClassGroup& group : PoolClasses(expected)) {
            groups.emplace_back(group.first, group.last, std::round(group.expected * 1e9) / 1e9);
        }
        return groups;
    };
    const auto binomial = [](double draws) {
        PerRow<double> expected{};
        for (int k = 0; k <= 6; ++k) {
            expected[static_cast<std::size_t>(k)] = BinomialMean(draws, k);
        }
        return expected;
    };
    EXPECT_EQ(pooled({100, 100, 100, 100, 100, 5, 5}), (Groups{{0, 0, 100},
                                                               {1, 1, 100},
                                                               {2, 2, 100},
                                                               {3, 3, 100},
                                                               {4, 4, 100},
                                                               {5, 5, 5},
                                                               {6, 6, 5}}));
    EXPECT_EQ(
        pooled({100, 100, 100, 100, 100, 5, 4.99}),
        (Groups{{0, 0, 100}, {1, 1, 100}, {2, 2, 100}, {3, 3, 100}, {4, 4, 100}, {5, 6, 9.99}}));
    EXPECT_EQ(pooled(binomial(4)), (Groups{{0, 6, 4}}));
    EXPECT_EQ(pooled(binomial(10)), (Groups{{0, 6, 10}}));
}

}  // namespace
}  // namespace loto
