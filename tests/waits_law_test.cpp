// The waits' test against the geometric law: its quantiles against a running sum, its classes,
// and its verdicts on waits drawn from the law and from one twice as likely.
#include "cli/waits_law.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "cli/lifetimes.h"

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
            const std::uint64_t w = GeometricQuantile(p, level);
            const std::uint64_t summed = SummedQuantile(p, level);
            // A running sum may land a hair either side of a level that the law meets exactly.
            EXPECT_LE(w > summed ? w - summed : summed - w, 1u) << p << " " << level;
            EXPECT_GE(1 - std::pow(1 - p, static_cast<double>(w)), level - 1e-12);
            EXPECT_LT(1 - std::pow(1 - p, static_cast<double>(w - 1)), level + 1e-12);
        }
    }
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
        // 20 of 5 % each and the censored; or 13 below F(11000) = 0.667, the one up to it, and
        // the censored.
        EXPECT_EQ(fair.classes.size(), bound > 1e6 ? 21u : 15u);
        std::uint64_t observed = 0;
        double probability = 0;
        for (const WaitClass& c : fair.classes) {
            observed += c.observed;
            probability += c.probability;
        }
        EXPECT_EQ(observed, 1000u);
        EXPECT_NEAR(probability, 1, 1e-12);
        EXPECT_NEAR(fair.lawMean, 1e4, 1e-8);
        EXPECT_EQ(fair.lawMedian, 6932);  // ln 2 / -ln(1 - 1e-4), rounded up
    }
}

TEST(WaitsLaw, MeanAndMedianOfWhatCame) {
    const WaitsSample sample{.probability = 0.1, .bound = 10, .waits = {3, 1, 7, 2}, .censored = 3};
    const WaitsTest test = TestWaits(sample);
    EXPECT_DOUBLE_EQ(*test.mean, 13.0 / 4);
    EXPECT_DOUBLE_EQ(*test.median, 7);  // rank 4 of 7: 1 2 3 7, then the censored
    EXPECT_FALSE(TestWaits({.probability = 0.1, .bound = 10, .waits = {3}, .censored = 3}).median);
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
}

}  // namespace
}  // namespace loto
