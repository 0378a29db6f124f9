// The waits' test against the geometric law: its quantiles against a running sum, its classes,
// and its verdicts on waits drawn from the law and from one twice as likely.
#include "stats/waits_law.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "stats/lifetimes.h"

namespace loto {
namespace {

// The least w whose probabilities (1 - p)^(i - 1) p, summed from i = 1, reach `level`.
std::uint64_t SummedQuantile(double p, double level) {
    double sum = 0;
    std::uint64_t w = 0;
    while (sum < level) {
        sum += std::pow(1 - p, static_cast<double>(w)) * p;
        ++w;
    }
    return w;
}

TEST(WaitsLaw, QuantilesOfTheGeometricLaw) {
    for (const double p : {0.5, 0.1, 0.0177, 1e-4}) {
        for (const double level : {0.05, 0.5, 0.9, 0.99}) {
            const auto w = static_cast<std::uint64_t>(GeometricQuantile(p, level));
            const std::uint64_t summed = SummedQuantile(p, level);
            // A running sum may land a hair either side of a level that the law meets exactly.
            EXPECT_LE(w > summed ? w - summed : summed - w, 1u) << p << " " << level;
            EXPECT_GE(1 - std::pow(1 - p, static_cast<double>(w)), level - 1e-12);
            EXPECT_LT(1 - std::pow(1 - p, static_cast<double>(w - 1)), level + 1e-12);
        }
    }
    // Past what 64 bits hold: the median wait of 20 of 20 numbers of 20/99, about 3 x 10^20.
    const double rare = 1 / 4.287866963230478e20;
    EXPECT_NEAR(GeometricQuantile(rare, 0.5), std::log(2.0) / rare, 1e6);
    EXPECT_EQ(GeometricQuantile(1, 0.5), 1);
}

// E[W | W <= bound] against the plain sum of w P(w) over P(W <= bound), in long double, across
// the magnitudes where the closed form would cancel; and the censored waits of 6/49's 4 matches.
TEST(WaitsLaw, MeanBelowTheBound) {
    for (const double p : {0.5, 0.1, 1e-3, 1e-6, 1e-12, 1e-20}) {
        for (const std::uint64_t bound : {1u, 2u, 10u, 1500u, 100000u}) {
            long double weighted = 0;
            long double mass = 0;
            long double survival = 1;
            for (std::uint64_t w = 1; w <= bound; ++w) {
                weighted += w * survival * p;
                mass += survival * p;
                survival *= 1 - static_cast<long double>(p);
            }
            const auto exact = static_cast<double>(weighted / mass);
            EXPECT_NEAR(GeometricMeanBelow(p, bound), exact, exact * 1e-12) << p << " " << bound;
        }
    }
    EXPECT_EQ(GeometricMeanBelow(1, 10), 1);
    EXPECT_NEAR(GeometricMeanBelow(1 / 1032.3973, 1500), 574.89, 0.005);
}

WaitsSample Sample(double lawP, double drawnP, std::uint64_t bound, int count, unsigned seed) {
    std::mt19937_64 random(seed);
    std::geometric_distribution<std::uint64_t> geometric(drawnP);  // failures before a success
    WaitsSample sample{.probability = lawP, .bound = bound, .waits = {}, .censored = 0};
    for (int i = 0; i < count; ++i) {
        const std::uint64_t wait = geometric(random) + 1;
        wait <= bound ? sample.waits.push_back(wait) : (void)++sample.censored;
    }
    return sample;
}

// 1,000 waits for a tier of probability 1e-4 are not rejected at 1 %; drawn twice as likely,
// they are; a bound that censors a third of them leaves both verdicts.
TEST(WaitsLaw, TheTestTellsTheLawFromOneTwiceAsLikely) {
    for (const std::uint64_t bound : {std::uint64_t{1} << 40, std::uint64_t{11000}}) {
        int rejectedFair = 0;
        for (unsigned seed = 1; seed <= 20; ++seed) {
            const WaitsTest fair = TestWaits(Sample(1e-4, 1e-4, bound, 1000, seed));
            ASSERT_TRUE(fair.chiSquare && fair.chiSquare->chiSquare);
            rejectedFair += fair.chiSquare->chiSquare->pValue < 0.01 ? 1 : 0;
            const WaitsTest twice = TestWaits(Sample(1e-4, 2e-4, bound, 1000, seed));
            EXPECT_LT(twice.chiSquare->chiSquare->pValue, 1e-6) << bound;
        }
        EXPECT_LE(rejectedFair, 2) << bound;  // 1 % of 20, and its margin
        const WaitsTest fair = TestWaits(Sample(1e-4, 1e-4, bound, 1000, 99));
        // 20 of 5 % each, none beyond a bound that no wait can reach; or 13 below
        // F(11000) = 0.667, the one up to it, and the censored.
        EXPECT_EQ(fair.classes.size(), bound > 1e6 ? 20u : 15u);
        std::uint64_t observed = 0;
        double probability = 0;
        double statistic = 0;  // Pearson's, from the classes listed
        for (const WaitClass& c : fair.classes) {
            observed += c.observed;
            probability += c.probability;
            const double expected = 1000 * c.probability;
            statistic += (c.observed - expected) * (c.observed - expected) / expected;
        }
        EXPECT_EQ(observed, 1000u);
        EXPECT_NEAR(probability, 1, 1e-12);
        EXPECT_NEAR(fair.chiSquare->chiSquare->statistic, statistic, 1e-9 * statistic);
        EXPECT_EQ(fair.chiSquare->chiSquare->degreesOfFreedom,
                  static_cast<int>(fair.classes.size()) - 1);
        EXPECT_NEAR(fair.lawMean, 1e4, 1e-8);
        EXPECT_EQ(fair.lawMedian, 6932);  // ln 2 / -ln(1 - 1e-4), rounded up
    }
}

// A tier too rare for a Double's survivals to part (1 in 4 x 10^20), and a certain one: classes
// that hold their probability, or the one class a certain tier has, and no chi-square.
TEST(WaitsLaw, RareAndCertainTiers) {
    const WaitsTest rare = TestWaits(
        {.probability = 1 / 4.287866963230478e20, .bound = 10, .waits = {}, .censored = 2});
    ASSERT_EQ(rare.bars.size(), 2u);
    EXPECT_NEAR(rare.bars[0].probability, 10 / 4.287866963230478e20, 1e-30);
    EXPECT_NEAR(*rare.lawMeanBelowBound, 5.5, 1e-12);
    for (const double p : {1.0, 1 + 1e-16}) {  // a sum of tiers' probabilities may pass 1
        const WaitsTest certain =
            TestWaits({.probability = p, .bound = 10, .waits = {1, 1, 1, 1, 1}, .censored = 0});
        ASSERT_EQ(certain.classes.size(), 1u);
        EXPECT_EQ(certain.classes[0].observed, 5u);
        EXPECT_FALSE(certain.chiSquare->chiSquare);
        EXPECT_EQ(certain.chiSquare->possible, 1);
        EXPECT_EQ(certain.lawMedian, 1);
        EXPECT_FALSE(certain.lawMeanBelowBound);
    }
}

TEST(WaitsLaw, MeanAndMedianOfWhatCame) {
    const WaitsSample sample{.probability = 0.1, .bound = 10, .waits = {3, 1, 7, 2}, .censored = 3};
    const WaitsTest test = TestWaits(sample);
    EXPECT_DOUBLE_EQ(*test.mean, 13.0 / 4);
    EXPECT_DOUBLE_EQ(*test.median, 7);  // rank 4 of 7: 1 2 3 7, then the censored
    EXPECT_FALSE(TestWaits({.probability = 0.1, .bound = 10, .waits = {3}, .censored = 3}).median);
    EXPECT_EQ(TestWaits({.probability = 0.1, .bound = 10, .waits = {3}, .censored = 0}).median, 3);
}

TEST(Lifetimes, NearestRanksAndTheExactLaw) {
    const std::vector<Cents> sorted = {-500, -300, -300, -100, 0, 200, 900};
    const struct {
        double q;
        Cents value;
    } ranks[] = {{0.01, -500}, {0.5, -100}, {0.99, 900}, {1, 900}, {0.3, -300}, {0.86, 900}};
    for (const auto& [q, value] : ranks) {
        EXPECT_EQ(NearestRank(sorted, q), value) << q;
    }
    MoneyLaw law;
    law.cost = 200;
    law.expectedReturn = 50;
    law.variance = 400;
    Lifetimes lifetimes(100, law);
    EXPECT_FALSE(lifetimes.Summarise());
    for (const Cents net : {Cents{-300}, Cents{100}, Cents{500}, Cents{-100}}) {
        lifetimes.Add(net);
    }
    const Lifetimes::Summary summary = *lifetimes.Summarise();
    EXPECT_DOUBLE_EQ(summary.ahead, 0.5);
    EXPECT_EQ(summary.median, -100);
    EXPECT_DOUBLE_EQ(summary.mean, 50);
    EXPECT_NEAR(summary.sd, std::sqrt((350.0 * 350 + 50 * 50 + 450 * 450 + 150 * 150) / 3), 1e-9);
    EXPECT_DOUBLE_EQ(summary.expectedNet, 100 * (50 - 200));
    EXPECT_DOUBLE_EQ(summary.expectedSd, 200);
    // A cent up is ahead; even is not.
    Lifetimes edge(1, law);
    edge.Add(0);
    edge.Add(1);
    EXPECT_DOUBLE_EQ(edge.Summarise()->ahead, 0.5);
}

}  // namespace
}  // namespace loto
