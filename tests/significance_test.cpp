#include "cli/significance.h"

#include <gtest/gtest.h>

#include <cmath>

namespace loto {
namespace {

// Two-sided exact binomial p-values, as R's binom.test defines them: the probability of every
// outcome no more likely than the one observed.
TEST(BinomialTwoSidedP, PublishedAndHandCheckedValues) {
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
        {10, 20, 0.5, 1.0},                 // the mean itself
        {11, 20, 0.5, 0.8238029479980469},  // every outcome but the mode: 1 - 184756 / 2^20
        // Exact rational summation over the 21 outcomes.
        {2, 20, 0.3, 0.05262794872972712},
        {0, 5, 0.3, 0.33115},  // only X = 0 is this unlikely: 0.7^5
        // A million draws: the tallies of k = 3, 4 and 5 (probabilities 246820, 13545 and 258 out
        // of 13983816), summed term by term at 50 digits.
        {17620, 1000000, 246820.0 / 13983816, 0.82273101347212299},
        {964, 1000000, 13545.0 / 13983816, 0.89768393802181602},
        {16, 1000000, 258.0 / 13983816, 0.72571906215654843},
        {40, 1000000, 258.0 / 13983816, 0.000011146478506518096},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(BinomialTwoSidedP(c.observed, c.trials, c.p), c.expected, c.expected * 1e-9)
            << c.observed << " of " << c.trials;
    }
}

TEST(PoolClasses, PoolsExpectedCountsUnderFive) {
    const auto groups = [](double draws) {
        std::array<double, 7> expected{};
        for (int k = 0; k <= 6; ++k) {
            expected[static_cast<std::size_t>(k)] = draws * MatchProbability(k);
        }
        std::vector<std::pair<int, int>> spans;
        for (const ClassGroup& group : PoolClasses(expected)) {
            spans.emplace_back(group.first, group.last);
        }
        return spans;
    };
    using Spans = std::vector<std::pair<int, int>>;
    EXPECT_EQ(groups(100), (Spans{{0, 0}, {1, 1}, {2, 6}}));  // 1.77 + 0.097 + ... joins k = 2
    EXPECT_EQ(groups(1e6), (Spans{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 6}}));
    EXPECT_EQ(groups(1e9), (Spans{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}}));
    // Ten draws: k = 1 to 6 reach 5.6 together, and k = 0 (4.36) joins them.
    EXPECT_EQ(groups(10), (Spans{{0, 6}}));
}

TEST(TestSignificance, ChiSquareAgainstItsClosedForm) {
    // 100 draws, tallies 43, 47, 9, 1, 0, 0, 0: three groups, two degrees of freedom, for which
    // the upper tail of the chi-square distribution is exp(-x / 2). The statistic, summed by hand
    // over 43 | 47 | 10 against 43.5965, 41.3019 and 15.1015, is 2.5176613949.
    const Significance stats = TestSignificance({43, 47, 9, 1, 0, 0, 0}, 100);
    ASSERT_TRUE(stats.chiSquare.has_value());
    EXPECT_EQ(stats.chiSquare->degreesOfFreedom, 2);
    EXPECT_NEAR(stats.chiSquare->statistic, 2.5176613949, 1e-9);
    EXPECT_NEAR(stats.chiSquare->pValue, std::exp(-2.5176613949 / 2), 1e-9);
    // z of k = 0: (43 - 43.5965) / sqrt(100 p (1 - p)).
    const double p0 = MatchProbability(0);
    EXPECT_NEAR(*stats.z[0], (43 - 100 * p0) / std::sqrt(100 * p0 * (1 - p0)), 1e-12);

    EXPECT_FALSE(TestSignificance({5, 4, 1, 0, 0, 0, 0}, 10).chiSquare.has_value());
    const Significance none = TestSignificance({}, 0);
    EXPECT_FALSE(none.z[0].has_value());
    EXPECT_FALSE(none.chiSquare.has_value());
}

}  // namespace
}  // namespace loto
