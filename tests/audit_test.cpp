// The audit's laws against independent computations: tails by closed forms and by Imhof's
// formula, weights worked out by hand and statistics of simulated histories.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numeric>
#include <random>
#include <tuple>
#include <vector>

#include "cli/audit_pool.h"
#include "cli/weighted_chi_square.h"

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
            const int j = std::uniform_int_distribution<int>(i, history.highest - 1)(engine);
            std::swap(deck[static_cast<std::size_t>(i)], deck[static_cast<std::size_t>(j)]);
            *out = deck[static_cast<std::size_t>(i)];
        }
    }
}

PoolHistory Fair(int drawn, int highest, std::size_t draws, std::uint64_t seed) {
    PoolHistory history{drawn, highest, std::vector<std::uint8_t>(draws * drawn)};
    FillFair(seed, history);
    return history;
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
    const double n = history.highest;
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
    };
    for (const auto& [terms, x, expected] : cases) {
        EXPECT_NEAR(WeightedChiSquareTail(terms, x), expected, expected * 1e-9) << x;
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

}  // namespace
}  // namespace loto
