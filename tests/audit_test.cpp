// The audit's battery against independent computations: laws written out by hand, statistics by
// plain loops, tails by closed forms and by Imhof's formula, and fair and faulty histories.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/chi_squared.hpp>
#include <cmath>
#include <map>
#include <numeric>
#include <random>
#include <set>
#include <tuple>
#include <vector>

#include "audit/battery.h"
#include "audit/laws.h"
#include "stats/weighted_chi_square.h"

namespace loto {
namespace {

// K of 1..N a draw by a partial Fisher-Yates shuffle of one deck kept from draw to draw: whatever
// order the deck was left in, its next K places are a uniform K-subset.
void FillFair(std::uint64_t seed, PoolHistory& history) {
    std::mt19937_64 engine(seed);
    std::array<std::uint8_t, 256> deck{};
    std::iota(deck.begin(), deck.end(), 1);
    for (auto out = history.numbers.begin(); out != history.numbers.end();) {
        for (int i = 0; i < history.drawn; ++i, ++out) {
            const int j = std::uniform_int_distribution<int>(i, history.top - 1)(engine);
            std::swap(deck[static_cast<std::size_t>(i)], deck[static_cast<std::size_t>(j)]);
            *out = deck[static_cast<std::size_t>(i)];
        }
    }
}

PoolHistory Fair(int drawn, int highest, std::size_t draws, std::uint64_t seed) {
    PoolHistory history{{drawn, highest}, std::vector<std::uint8_t>(draws * drawn)};
    FillFair(seed, history);
    return history;
}

// Fair histories for a calibration: replicate r of the family `family` from its own seed.
FairHistorySource FairSource(std::uint64_t family) {
    return [=](std::uint64_t replicate, PoolHistory& history) {
        FillFair(family << 32 | replicate, history);
    };
}

double ChiSquareTail(int freedom, double x) {
    return cdf(complement(boost::math::chi_squared(freedom), x));
}

void ExpectNear(const std::vector<double>& actual, const std::vector<double>& expected,
                double tolerance) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i], expected[i], tolerance) << i;
    }
}

// Pearson's X² of a map of counts against one expected count for each of `cells` cells.
template <typename Key>
double Pearson(const std::map<Key, int>& counts, double cells, double expected) {
    double sum = (cells - static_cast<double>(counts.size())) * expected;  // the cells never seen
    for (const auto& [key, count] : counts) {
        sum += (count - expected) * (count - expected) / expected;
    }
    return sum;
}

double PairsChiSquare(const PoolHistory& history) {
    std::map<std::pair<int, int>, int> pairs;
    for (std::size_t t = 0; t < history.draws(); ++t) {
        for (const int a : history.Draw(t)) {
            for (const int b : history.Draw(t)) {
                if (a < b) {
                    ++pairs[{a, b}];
                }
            }
        }
    }
    const double k = history.drawn;
    const double n = history.top;
    return Pearson(pairs, n * (n - 1) / 2,
                   static_cast<double>(history.draws()) * k * (k - 1) / (n * (n - 1)));
}

// w χ²(2) is exponential with mean 2w, and a sum of exponentials of distinct means m_i has the tail
// Σ_i exp(-x/m_i) Π_{j != i} m_i / (m_i - m_j).
double ExponentialsTail(const std::vector<double>& means, double x) {
    double tail = 0;
    for (const double m : means) {
        double term = std::exp(-x / m);
        for (const double other : means) {
            term *= other == m ? 1 : m / (m - other);
        }
        tail += term;
    }
    return tail;
}

TEST(WeightedChiSquare, TailMatchesClosedFormsAndImhof) {
    using Terms = std::vector<WeightedChiSquare>;
    const Terms pairs649{{5.0 * 43 / 47, 48}, {43.0 * 42 / (47 * 46), 1127}};
    const std::tuple<Terms, double, double> cases[] = {
        // Equal weights are one chi-square: 1.5 χ²(2) has the tail exp(-x/3), 2 χ²(4) at x the
        // tail exp(-x/4)(1 + x/4); a term of no weight counts for nothing.
        {{{1.5, 1}, {0, 7}, {1.5, 1}}, 3, std::exp(-1.0)},
        {{{2, 3}, {2, 1}}, 10, std::exp(-2.5) * 3.5},
        {{{1, 2}, {3, 2}}, 10, ExponentialsTail({2, 6}, 10)},
        {{{1, 2}, {3, 2}}, 100, ExponentialsTail({2, 6}, 100)},
        {{{4, 2}, {1, 2}, {2, 2}}, 20, ExponentialsTail({2, 4, 8}, 20)},
        // Imhof's formula for the pairs of 6/49, evaluated by mpmath at 40 digits.
        {pairs649, 1161, 0.487036121299087},
        {pairs649, 1300, 0.0140450235943931},
        {pairs649, 1500, 7.06356025181949e-7},
        {pairs649, 2000, 4.78182186544378e-23},
        {pairs649, -1, 1},
        // Pools of 86 numbers or more, whose second term has past 3,500 degrees of freedom.
        {PearsonLaw(2, 6, 90), 3990, 0.493816415596899},
        {PearsonLaw(2, 6, 90), 4389, 0.000118668051961683},
        {PearsonLaw(2, 5, 99), 4850, 0.46207998992129},
        {PearsonLaw(2, 5, 99), 5300, 1.79883222221903e-5},
    };
    for (const auto& [terms, x, expected] : cases) {
        EXPECT_NEAR(WeightedChiSquareTail(terms, x), expected, expected * 1e-9) << x;
    }
}

// Every pool a history can have (up to 255 numbers, N guessed from the data), every K: the pairs'
// tail is a probability that falls from 1 to 0 across the law's mean, from 0 to far above it.
TEST(WeightedChiSquare, PairsTailOfEveryPool) {
    for (int n = 4; n <= 255; n += n < 99 ? 1 : 52) {
        for (const int k : std::set<int>{2, 3, n / 2, n - 2, n - 1}) {
            const auto law = PearsonLaw(2, k, n);
            double mean = 0;
            double variance = 0;
            for (const WeightedChiSquare& term : law) {
                mean += term.weight * term.freedom;
                variance += 2 * term.weight * term.weight * term.freedom;
            }
            double previous = 1;
            for (const double sds : {-1e9, -8.0, 0.0, 20.0}) {
                const double x = std::max(mean + sds * std::sqrt(variance), 1e-300);
                const double p = WeightedChiSquareTail(law, x);
                ASSERT_TRUE(p >= 0 && p <= previous) << n << " " << k << " " << x << " " << p;
                previous = p;
            }
            EXPECT_GT(previous, 0) << n << " " << k;
            EXPECT_LT(previous, 1e-5) << n << " " << k;
        }
    }
}

// The eigenvalues summed from the Johnson scheme against the weights worked out by hand from them,
// the constant vector's 0.
TEST(WeightedChiSquare, SpectraHaveTheHandDerivedWeights) {
    const auto weights = [](const std::vector<WeightedChiSquare>& spectrum) {
        std::vector<double> w;
        std::vector<int> freedom;
        for (const WeightedChiSquare& term : spectrum) {
            w.push_back(term.weight);
            freedom.push_back(term.freedom);
        }
        return std::pair(w, freedom);
    };
    for (const auto& [k, n] : {std::pair{6, 49}, {5, 50}, {2, 12}, {5, 69}, {3, 10}}) {
        const double K = k;
        const double N = n;
        const auto [numbers, numbersFreedom] = weights(SubsetCovarianceSpectrum(1, k, n));
        ExpectNear(numbers, {0, (N - K) / (N - 1)}, 1e-12);
        EXPECT_EQ(numbersFreedom, (std::vector{1, n - 1}));
        const auto [pairs, pairsFreedom] = weights(SubsetCovarianceSpectrum(2, k, n));
        ExpectNear(pairs,
                   {0, (K - 1) * (N - K) / (N - 2), (N - K) * (N - K - 1) / ((N - 2) * (N - 3))},
                   1e-12);
        EXPECT_EQ(pairsFreedom, (std::vector{1, n - 1, n * (n - 3) / 2}));
    }
    EXPECT_EQ(PearsonLaw(2, 5, 6).size(), 1u);  // K = N - 1: the second weight is nil
}

// Over fair 3/10 histories the pairs' X² (a plain loop) has the mean Σ λ d = 42 and the variance
// 2 Σ λ² d = 94.5 of 1.75 χ²(9) + 0.75 χ²(35) (one chi-square of that mean would vary 15 % less),
// and the tail of that law.
TEST(WeightedChiSquare, PairsLawMatchesSimulatedHistories) {
    constexpr int kHistories = 5000;
    PoolHistory history = Fair(3, 10, 300, 0);
    std::vector<double> statistics;
    for (int i = 0; i < kHistories; ++i) {
        FillFair(i, history);
        statistics.push_back(PairsChiSquare(history));
    }
    const double mean = std::accumulate(statistics.begin(), statistics.end(), 0.0) / kHistories;
    double variance = 0;
    for (const double x : statistics) {
        variance += (x - mean) * (x - mean) / (kHistories - 1);
    }
    EXPECT_NEAR(mean, 42, 4 * std::sqrt(94.5 / kHistories));
    EXPECT_NEAR(variance, 94.5, 0.08 * 94.5);
    const auto law = PearsonLaw(2, 3, 10);
    for (const double x : {30.0, 42.0, 55.0, 65.0}) {
        const double p = WeightedChiSquareTail(law, x);
        const auto above =
            std::count_if(statistics.begin(), statistics.end(), [&](double s) { return s >= x; });
        EXPECT_NEAR(static_cast<double>(above) / kHistories, p,
                    4 * std::sqrt(p * (1 - p) / kHistories))
            << x;
    }
}

TEST(AuditLaws, ExactLawsByHand) {
    // 2 of 1..5: sums 3 to 9 from {12}, {13}, {14, 23}, {15, 24}, {25, 34}, {35}, {45}.
    ExpectNear(SumLaw(2, 5), {.1, .1, .2, .2, .2, .1, .1}, 1e-15);
    // 4 of 1..12: every subset, as a bit mask.
    std::vector<double> sums412(4 * 8 + 1);
    for (unsigned mask = 0; mask < 1u << 12; ++mask) {
        int sum = 0;
        for (int x = 1; x <= 12; ++x) {
            sum += (mask >> (x - 1) & 1) != 0 ? x : 0;
        }
        if (std::popcount(mask) == 4) {
            sums412[static_cast<std::size_t>(sum - 10)] += 1 / 495.0;
        }
    }
    ExpectNear(SumLaw(4, 12), sums412, 1e-15);
    // 6/49's median is its centre 150, which the runs test takes as the exact one.
    const std::vector<double> sums649 = SumLaw(6, 49);
    const double below = std::accumulate(sums649.begin(), sums649.begin() + (150 - 21), 0.0);
    EXPECT_LT(below, 0.5);
    EXPECT_GT(below + sums649[150 - 21], 0.5);
    // Shared numbers of two 3/10 draws; odd numbers in a 3/10 draw, 5 of 10 odd.
    ExpectNear(HypergeometricLaw(10, 3, 3), {35 / 120.0, 63 / 120.0, 21 / 120.0, 1 / 120.0}, 1e-15);
    ExpectNear(HypergeometricLaw(10, 5, 3), {10 / 120.0, 50 / 120.0, 50 / 120.0, 10 / 120.0},
               1e-15);
}

// From the top, each class joins its lower neighbours until 5 are expected; what is left under 5
// at the bottom joins the group above it, or is the only group, which leaves no chi-square.
TEST(AuditLaws, PoolingFromTheTop) {
    using Groups = std::vector<std::tuple<int, int, double>>;
    const auto pooled = [](std::vector<double> expected) {
        Groups groups;
        for (const ClassGroup& group : PoolClasses(expected)) {
            groups.emplace_back(group.first, group.last, group.expected);
        }
        return groups;
    };
    EXPECT_EQ(pooled({1, 10, 4, 2}), (Groups{{0, 1, 11}, {2, 3, 6}}));
    EXPECT_EQ(pooled({5, 5, 0, 3, 2}), (Groups{{0, 0, 5}, {1, 2, 5}, {3, 4, 5}}));
    EXPECT_EQ(pooled({1, 1, 1}), (Groups{{0, 2, 3}}));
    EXPECT_EQ(pooled({}), Groups{});
    const std::uint64_t fewDraws[] = {1, 2};
    const double probabilities[] = {0.5, 0.5};
    EXPECT_FALSE(PooledChiSquare(fewDraws, probabilities).has_value());  // one class of 3
}

// A symmetric law pooled from both tails alike: a history's classes and their mirror give the
// same statistic to the last bit, where pooling from the top gives two.
TEST(AuditLaws, SymmetricPoolingFromBothTails) {
    const struct {
        std::vector<double> law;  // times 22
        std::vector<std::uint64_t> observed;
        std::optional<std::pair<double, int>> expected;  // statistic and degrees of freedom
    } cases[] = {
        // [0, 2] [3] [4, 6]: 8, 8, 6 against 6, 10, 6.
        {{1, 2, 3, 10, 3, 2, 1}, {2, 2, 4, 8, 1, 3, 2}, {{4.0 / 6 + 4.0 / 10, 2}}},
        // [0] [1, 4] [5]: the middle under 5 takes the groups next to it.
        {{5, 5, 1, 1, 5, 5}, {4, 7, 0, 2, 6, 3}, {{1.0 / 5 + 9.0 / 12 + 4.0 / 5, 2}}},
        // Every class pooled into the middle.
        {{5, 1, 1, 5}, {5, 1, 1, 5}, std::nullopt},
    };
    for (const auto& [law, observed, expected] : cases) {
        std::vector<double> p;
        for (const double ways : law) {
            p.push_back(ways / std::accumulate(law.begin(), law.end(), 0.0));
        }
        const auto test = SymmetricPooledChiSquare(observed, p);
        std::vector<std::uint64_t> mirror(observed.rbegin(), observed.rend());
        const auto mirrored = SymmetricPooledChiSquare(mirror, p);
        ASSERT_EQ(test.has_value(), expected.has_value());
        ASSERT_EQ(mirrored.has_value(), expected.has_value());
        if (expected) {
            EXPECT_NEAR(test->statistic, expected->first, 1e-12);
            EXPECT_EQ(test->degreesOfFreedom, expected->second);
            EXPECT_EQ(test->statistic, mirrored->statistic);
            EXPECT_EQ(test->pValue, mirrored->pValue);
        }
    }
    // Fair 6/49 draws and their mirror, each number n as 50 - n: one sums p-value.
    PoolHistory history = Fair(6, 49, 300, 11);
    const double p = SumsTest(history)->pValue;
    for (std::uint8_t& x : history.numbers) {
        x = static_cast<std::uint8_t>(50 - x);
    }
    EXPECT_EQ(SumsTest(history)->pValue, p);
}

// 500 fair draws of 2 of 1..5 leave every class of every law above 5 expected, so no pooling:
// each test is then a plain loop's chi-square of its classes.
TEST(AuditBattery, StatisticsMatchPlainLoops) {
    const PoolHistory history = Fair(2, 5, 500, 7);
    std::map<int, int> numbers;
    std::map<int, int> sums;
    std::map<int, int> odd;
    std::map<int, int> overlap;
    for (std::size_t t = 0; t < 500; ++t) {
        const int a = history.Draw(t)[0];
        const int b = history.Draw(t)[1];
        ++numbers[a];
        ++numbers[b];
        ++sums[a + b];
        ++odd[a % 2 + b % 2];
        if (t > 0) {
            const auto before = history.Draw(t - 1);
            ++overlap[static_cast<int>(std::count(before.begin(), before.end(), a) +
                                       std::count(before.begin(), before.end(), b))];
        }
    }
    const auto chiSquare = [](const std::map<int, int>& counts, std::map<int, double> expected) {
        double sum = 0;
        for (const auto& [key, e] : expected) {
            const double o = counts.count(key) != 0 ? counts.at(key) : 0;
            sum += (o - e) * (o - e) / e;
        }
        return sum;
    };
    const double x2Numbers = Pearson(numbers, 5, 200) * 4 / 3;
    const double x2Pairs = PairsChiSquare(history);
    const double x2Sums =
        chiSquare(sums, {{3, 50}, {4, 50}, {5, 100}, {6, 100}, {7, 100}, {8, 50}, {9, 50}});
    const double x2Odd = chiSquare(odd, {{0, 50}, {1, 300}, {2, 150}});
    const double x2Overlap = chiSquare(overlap, {{0, 149.7}, {1, 299.4}, {2, 49.9}});
    double extremeNumber = 1;
    for (const auto& [x, count] : numbers) {
        extremeNumber = std::min(extremeNumber, BinomialTwoSidedP(count, 500, 0.4));
    }
    const std::map<std::string, std::tuple<double, std::optional<int>, double>> expected{
        {"numbers", {x2Numbers, 4, ChiSquareTail(4, x2Numbers)}},
        {"numbers extreme", {extremeNumber, {}, 1 - std::pow(1 - extremeNumber, 5)}},
        // K = 2: both weights are 1 and the law is χ²(9).
        {"pairs", {x2Pairs, {}, ChiSquareTail(9, x2Pairs)}},
        {"sums", {x2Sums, 6, ChiSquareTail(6, x2Sums)}},
        {"odd", {x2Odd, 2, std::exp(-x2Odd / 2)}},
        {"overlap", {x2Overlap, 2, std::exp(-x2Overlap / 2)}},
    };
    std::size_t checked = 0;
    for (const TestResult& result : RunBattery(history)) {
        if (const auto found = expected.find(result.name); found != expected.end()) {
            const auto& [statistic, freedom, p] = found->second;
            EXPECT_NEAR(result.statistic, statistic, 1e-9 * statistic) << result.name;
            EXPECT_EQ(result.freedom, freedom) << result.name;
            EXPECT_NEAR(result.pValue, p, 1e-9 * p) << result.name;
            EXPECT_FALSE(result.calibrated.has_value());
            ++checked;
        }
    }
    EXPECT_EQ(checked, expected.size());
}

// Which tests a history can form: no pairs nor sums with one number a draw, nothing where every
// number is drawn or nothing was.
TEST(AuditBattery, TestsThatTheHistoryCanForm) {
    const auto formed = [](const PoolHistory& history) {
        std::vector<std::string> names;
        for (const TestResult& result : RunBattery(history)) {
            names.push_back(result.name);
        }
        return names;
    };
    using Names = std::vector<std::string>;
    EXPECT_EQ(formed(Fair(6, 49, 2000, 1)),
              (Names{"numbers", "numbers extreme", "pairs", "pairs extreme", "overlap", "gaps",
                     "sums", "odd", "runs"}));
    EXPECT_EQ(formed(Fair(1, 10, 500, 1)),
              (Names{"numbers", "numbers extreme", "overlap", "gaps", "odd", "runs"}));
    EXPECT_EQ(formed(Fair(5, 5, 100, 1)), Names{});
    EXPECT_EQ(formed(Fair(6, 49, 0, 1)), Names{});
}

// Sums coded above or below the median: 1/4 has no draw on its median 2.5, 1/5 leaves out its 3s.
// z-scores and p-values by Python's math.erfc.
// Published figures through the same laws. Genest, Lockhart and Stephens (The Statistician 51,
// 2002): 1,798 draws of the Canadian 6/49, X² = 54.34 over the 49 numbers, p = 0.104 drawn
// without replacement (0.246 as a plain chi-square); with the bonus ball, X² = 57.64, p = 0.044.
// Haigh and Goldie's UK figure: ball 38 drawn 107 times in 637 draws, its exact one-sided tail
// 4.79 x 10^-4, which the two-sided p-value holds once and the lower tail adds little to.
TEST(AuditBattery, PublishedFigures) {
    EXPECT_NEAR(NumbersPValue(54.34, 6, 49), 0.104, 0.0005);
    EXPECT_NEAR(ChiSquareTail(48, 54.34), 0.246, 0.0005);
    EXPECT_NEAR(NumbersPValue(57.64, 7, 49), 0.044, 0.0005);
    const double p = BinomialTwoSidedP(107, 637, 6.0 / 49);
    EXPECT_GT(p, 4.79e-4);
    EXPECT_LT(p, 2 * 4.8e-4);
}

TEST(AuditBattery, RunsTestByHand) {
    const std::tuple<int, std::vector<std::uint8_t>, double, double> cases[] = {
        // B B B A A A: 2 runs, n1 = n2 = 3, mean 4, variance 1.2.
        {4, {1, 1, 1, 4, 4, 4}, -1.8257418583505538, 0.06788915486182903},
        // B B A A A once the 3s are out: 2 runs, mean 3.4, variance 0.84.
        {5, {1, 3, 1, 3, 4, 5, 3, 5}, -1.5275252316519465, 0.12663045794761724},
    };
    for (const auto& [highest, numbers, z, p] : cases) {
        const auto runs = RunsTest({1, highest, numbers});
        ASSERT_TRUE(runs.has_value());
        EXPECT_NEAR(runs->statistic, z, 1e-12);
        EXPECT_NEAR(runs->pValue, p, 1e-12);
    }
    EXPECT_FALSE(RunsTest({1, 5, {1, 2, 3, 3}}).has_value());  // nothing above the median
}

TEST(AuditBattery, HolmAdjustment) {
    const std::vector<std::pair<std::vector<double>, std::vector<double>>> cases{
        // Sorted: 0.005 x 4, 0.01 x 3, 0.03 x 2, then 0.04 x 1 raised to the 0.06 before it.
        {{0.01, 0.04, 0.03, 0.005}, {0.03, 0.06, 0.06, 0.02}},
        {{0.5, 0.6}, {1, 1}},
        {{0.02, 0.02}, {0.04, 0.04}},
        {{}, {}},
    };
    for (const auto& [p, adjusted] : cases) {
        ExpectNear(HolmAdjusted(p), adjusted, 1e-15);
    }
}

// The gaps' histogram of a hand-made 1/3 history, and a fair history's statistic from a plain
// list of its gaps against closed-form geometric classes.
TEST(AuditGaps, HistogramAndStatistic) {
    const PoolHistory fair = Fair(1, 3, 1000, 3);
    GapChiSquare test(fair);
    // 3 at t = 0, 20 and 21 (gaps 20 and 1); 1 and 2 take turns between (17 gaps of 2).
    PoolHistory turns{{1, 3}, {3}};
    for (int t = 1; t < 20; ++t) {
        turns.numbers.push_back(static_cast<std::uint8_t>(2 - t % 2));
    }
    turns.numbers.insert(turns.numbers.end(), {3, 3});
    const auto histogram = test.Histogram(turns);
    ASSERT_LT(histogram.size(), 20u);
    EXPECT_EQ(std::accumulate(histogram.begin(), histogram.end(), 0), 19);
    EXPECT_EQ(std::tuple(histogram[0], histogram[1], histogram.back()), std::tuple(1, 17, 1));

    std::map<int, int> last;
    std::vector<int> gaps;
    for (int t = 0; t < 1000; ++t) {
        const int x = fair.numbers[static_cast<std::size_t>(t)];
        if (last.count(x) != 0) {
            gaps.push_back(t - last[x]);
        }
        last[x] = t;
    }
    double statistic = 0;
    const auto classes = test.classes();
    for (const ClassGroup& group : classes) {
        const bool open = &group == &classes.back();
        const auto count = std::count_if(gaps.begin(), gaps.end(), [&](int g) {
            return g >= group.first && (open || g <= group.last);
        });
        const double e =
            static_cast<double>(gaps.size()) *
            (std::pow(2 / 3.0, group.first - 1) - (open ? 0 : std::pow(2 / 3.0, group.last)));
        EXPECT_GE(e, 5);
        statistic += (static_cast<double>(count) - e) * (static_cast<double>(count) - e) / e;
    }
    EXPECT_NEAR(test.Statistic(fair), statistic, 1e-9 * statistic);
    // The open bin G is the first whose tail is under 5 expected.
    const double tail =
        static_cast<double>(gaps.size()) * std::pow(2 / 3.0, classes.back().last - 1);
    EXPECT_LT(tail, 5);
    EXPECT_GE(tail * 1.5, 5);
}

// Peers in this process, as a cluster's ranks count their parts of a calibration.
class LocalCalibrationPeers : public CalibrationPeers {
public:
    LocalCalibrationPeers(unsigned count, FairHistorySource source)
        : asked_(count), source_(std::move(source)) {}
    [[nodiscard]] unsigned count() const noexcept override {
        return static_cast<unsigned>(asked_.size());
    }
    void Ask(unsigned peer, const CalibrationPart& part) override { asked_.at(peer - 1) = part; }
    std::uint64_t Answer(unsigned peer) override {
        const CalibrationPart& part = asked_.at(peer - 1);
        const GapCalibration calibration{.source = source_, .threads = part.threads};
        return CountAtLeast(GapChiSquare(*part.observed), part.statistic, *part.observed,
                            calibration, part.from, part.to);
    }

private:
    std::vector<CalibrationPart> asked_;
    FairHistorySource source_;
};

// Replicate r's history depends on r alone, so any number of threads or peers counts the same; a
// source that gives back the observed history ties every replicate, p = 1.
TEST(AuditGaps, CalibrationIsDeterministic) {
    const PoolHistory history = Fair(6, 49, 300, 4);
    GapChiSquare test(history);
    const double observed = test.Statistic(history);
    std::vector<CalibratedP> p;
    for (const unsigned threads : {1u, 2u, 3u}) {
        p.push_back(Calibrate(test, observed, history, {FairSource(1), 200, 200, {}, threads}));
    }
    // Grown from 25 histories while the interval holds one of levels too close for any to avoid.
    std::vector<double> everywhere;
    for (int i = 1; i < 1000; ++i) {
        everywhere.push_back(i / 1000.0);
    }
    p.push_back(Calibrate(test, observed, history, {FairSource(1), 25, 200, everywhere, 2}));
    for (const unsigned count : {1u, 2u}) {
        LocalCalibrationPeers peers(count, FairSource(1));
        GapCalibration shared{FairSource(1), 200, 200, {}, 1};
        shared.peers = &peers;
        p.push_back(Calibrate(test, observed, history, shared));
    }
    for (const CalibratedP& each : p) {
        EXPECT_EQ(std::tie(each.p, each.low, each.high, each.histories),
                  std::tie(p[0].p, p[0].low, p[0].high, p[0].histories));
    }
    EXPECT_EQ(p[0].histories, 200u);
    EXPECT_EQ(std::fmod(p[0].p * 201, 1.0), 0);
    const FairHistorySource same = [&](std::uint64_t, PoolHistory& h) { h = history; };
    EXPECT_EQ(Calibrate(test, observed, history, {same, 9, 9, {}, 2}).p, 1);
}

// The pump that a calibration runs between its slices: told the histories done of those due, and
// saying stop at its `stopAt`th call.
class CountingPump final : public EventPump {
public:
    explicit CountingPump(std::size_t stopAt) : stopAt_(stopAt) {}
    bool ProcessEvents(const DrawProgress& progress) override {
        seen.push_back(progress);
        return seen.size() < stopAt_;
    }
    std::vector<DrawProgress> seen;

private:
    std::size_t stopAt_;
};

// Slices of 3 histories a thread between the pump's turns change nothing; a pump that says stop
// stops the calibration there, said.
TEST(AuditGaps, CalibrationInSlicesThatAPumpCanStop) {
    const PoolHistory history = Fair(6, 49, 300, 4);
    GapChiSquare test(history);
    const double observed = test.Statistic(history);
    const CalibratedP whole = Calibrate(test, observed, history, {FairSource(1), 200, 200, {}, 2});
    CountingPump goesOn(SIZE_MAX);
    GapCalibration sliced{FairSource(1), 200, 200, {}, 2, &goesOn, 3 * 6 * 300};
    const CalibratedP got = Calibrate(test, observed, history, sliced);
    EXPECT_EQ(std::tie(got.p, got.histories, got.stopped),
              std::tie(whole.p, whole.histories, whole.stopped));
    ASSERT_EQ(goesOn.seen.size(), 34U);  // 33 slices of 6, then the last 2
    for (std::size_t i = 0; i < goesOn.seen.size(); ++i) {
        EXPECT_EQ(goesOn.seen[i].done, std::min<std::uint64_t>(6 * (i + 1), 200));
        EXPECT_EQ(goesOn.seen[i].total, 200U);
    }
    CountingPump stops(3);
    sliced.pump = &stops;
    const CalibratedP stopped = Calibrate(test, observed, history, sliced);
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(stopped.histories, 18U);
    EXPECT_FALSE(whole.stopped);
}

// The interval is Clopper and Pearson's at 99 %; calibration goes on, doubling, until it holds no
// level or reaches its most.
TEST(AuditGaps, CalibrationGoesOnUntilSettled) {
    const PoolHistory history = Fair(6, 49, 300, 4);
    GapChiSquare test(history);
    const double observed = test.Statistic(history);
    const CalibratedP fixed = Calibrate(test, observed, history, {FairSource(1), 400, 400, {}, 2});
    const double r = fixed.p * 401 - 1;
    // The interval's ends: P(X >= r) = 0.005 at low, P(X <= r) = 0.005 at high.
    const boost::math::binomial atLow(400, fixed.low);
    const boost::math::binomial atHigh(400, fixed.high);
    EXPECT_NEAR(cdf(complement(atLow, r - 1)), 0.005, 1e-9);
    EXPECT_NEAR(cdf(atHigh, r), 0.005, 1e-9);
    EXPECT_TRUE(fixed.settled);
    // A level inside the interval keeps it going to the most; one outside stops it at once.
    const double inside = (fixed.low + fixed.high) / 2;
    const CalibratedP grown =
        Calibrate(test, observed, history, {FairSource(1), 100, 800, {inside}, 2});
    EXPECT_EQ(grown.histories, grown.settled ? grown.histories : 800u);
    EXPECT_GT(grown.histories, 100u);
    EXPECT_EQ(Calibrate(test, observed, history, {FairSource(1), 100, 800, {0.9999}, 2}).histories,
              100u);
}

// Fair 3/10 histories of 200 draws: each p-value falls under 0.05 about 5 % of the time (the gaps
// calibrated on 19 replicates, exactly 1/20 then), within four binomial standard deviations.
TEST(AuditBattery, FairHistoriesGiveUniformPValues) {
    constexpr int kHistories = 1000;
    std::map<std::string, int> under;
    PoolHistory history = Fair(3, 10, 200, 0);
    for (int i = 0; i < kHistories; ++i) {
        FillFair(i, history);
        const GapCalibration calibration{FairSource(i + 1), 19, 19, {}, 2};
        for (const TestResult& result : RunBattery(history)) {
            const double p =
                result.name == "gaps"
                    ? Calibrate(GapChiSquare(history), result.statistic, history, calibration).p
                    : result.pValue;
            under[result.name] += p <= 0.05 ? 1 : 0;
        }
    }
    const double margin = 4 * std::sqrt(kHistories * 0.05 * 0.95);
    EXPECT_EQ(under.size(), 9u);
    for (const auto& [name, count] : under) {
        EXPECT_NEAR(count, kHistories * 0.05, margin) << name;
    }
}

double PValueOf(const std::string& name, const PoolHistory& history) {
    for (const TestResult& result : RunBattery(history)) {
        if (result.name == name) {
            return result.pValue;
        }
    }
    return std::nan("");
}

// Faults planted in fair 6/49 draws: number 1 put in place of another number in a share q of the
// draws, 6/49 + 43/49 q = 1.1 x 6/49, so 10 % more often; 2 put in a tenth of the draws that hold
// 1; a number of the draw before put back in a tenth of the draws. The test aimed at each fault
// flags it at the 1 % level, and not the same draws without the fault.
TEST(AuditBattery, FlagsPlantedFaults) {
    enum Fault { kHeavyOne, kGluedPair, kRepeat };
    const std::tuple<Fault, std::size_t, std::string> cases[] = {
        {kHeavyOne, 100000, "numbers"},
        {kHeavyOne, 100000, "numbers extreme"},
        {kGluedPair, 5000, "pairs extreme"},
        {kRepeat, 5000, "overlap"},
    };
    for (const auto& [fault, draws, name] : cases) {
        PoolHistory history = Fair(6, 49, draws, 11);
        EXPECT_GT(PValueOf(name, history), 0.01) << name;
        std::mt19937_64 engine(12);
        std::bernoulli_distribution planted(fault == kHeavyOne ? 0.6 / 43 : 0.1);
        for (std::size_t t = 1; t < draws; ++t) {
            const auto draw = std::span(history.numbers).subspan(t * 6, 6);
            const bool holdsOne = std::find(draw.begin(), draw.end(), 1) != draw.end();
            if (!planted(engine) || (fault == kGluedPair && !holdsOne)) {
                continue;
            }
            const std::uint8_t x = fault == kHeavyOne    ? 1
                                   : fault == kGluedPair ? 2
                                                         : history.Draw(t - 1)[engine() % 6];
            std::size_t at = engine() % 6;
            while (draw[at] == 1) {  // the glued pair's 1 stays
                at = engine() % 6;
            }
            if (std::find(draw.begin(), draw.end(), x) == draw.end()) {
                draw[at] = x;
            }
        }
        EXPECT_LT(PValueOf(name, history), 0.01) << name;
    }
}

}  // namespace
}  // namespace loto
