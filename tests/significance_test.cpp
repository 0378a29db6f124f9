#include "cli/significance.h"

#include <gtest/gtest.h>

namespace loto {
namespace {

// Two-sided exact binomial p-values, as R's binom.test defines them: the probability of every
// outcome no more likely than the one observed.
TEST(Significance, BinomialPValuesArePublishedAndHandCheckedValues) {
    struct Case {
        std::uint64_t observed, trials;
        double p;
        double expected;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
        EXPECT_NEAR(BinomialTwoSidedP(c.observed, c.trials, c.p), c.expected, c.expected * 1e-9)
            << c.observed << " of " << c.trials;
    }
}

// Too few draws for two classes of 5 expected: k = 0, still under 5, joins the classes above it
// (ten draws), or makes the only class (four), which then holds every draw expected.
TEST(Significance, PoolingJoinsAKZeroUnderFiveToTheRest) {
    for (const double draws : {4.0, 10.0}) {
        PerRow<double> expected{};
        for (int k = 0; k <= 6; ++k) {
            expected[static_cast<std::size_t>(k)] = BinomialMean(draws, k);
        }
        const std::vector<ClassGroup> groups = PoolClasses(expected);
        ASSERT_EQ(groups.size(), 1u) << draws;
        EXPECT_EQ(groups[0].first, 0) << draws;
        EXPECT_EQ(groups[0].last, 6) << draws;
        EXPECT_NEAR(groups[0].expected, draws, 1e-9) << draws;
    }
}

// A class of exactly 5 expected stands alone; under 5 it joins its neighbour.
TEST(Significance, PoolingKeepsAClassOfFive) {
    const auto pooled = [](double rarest) {
        std::vector<std::pair<int, int>> bounds;
        for (const ClassGroup& group : PoolClasses({100, 100, 100, 100, 100, 5, rarest})) {
            bounds.emplace_back(group.first, group.last);
        }
        return bounds;
    };
    EXPECT_EQ(pooled(5), (std::vector<std::pair<int, int>>{
                             {0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}}));
    EXPECT_EQ(pooled(4.99),
              (std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 6}}));
}

}  // namespace
}  // namespace loto
