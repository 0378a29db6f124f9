#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/draws.h"
#include "core/statistics.h"

namespace loto {

// Whether a tally looks like chance: each row against a binomial with the exact probability of k
// matches, and the whole tally against the expected counts of the draws actually done.

// The exact two-sided p-value of `observed` successes out of `trials` with probability p: the
// probability of every outcome no more likely than the one observed (relative tolerance 1e-7, as
// R's binom.test).
[[nodiscard]] double BinomialTwoSidedP(std::uint64_t observed, std::uint64_t trials, double p);

// P(χ²(freedom) >= x). Boost's series for the lower tail takes Γ(freedom / 2), which overflows
// past about 3,500 degrees of freedom where x is far below them (the pairs of a pool of 86 or
// more); there the lower tail is below what a Double holds, and this is 1.
[[nodiscard]] double ChiSquareTail(int freedom, double x);

// The mean of the binomial of k matches in `draws` draws: draws x MatchProbability(k). Within an
// ulp of ExpectedCount, whose rounding the window's design fixes; the statistics keep their own.
[[nodiscard]] inline double BinomialMean(double draws, int k) noexcept {
    return draws * MatchProbability(k);
}

// Adjacent classes first to last whose expected counts are pooled into one.
struct ClassGroup {
    int first;
    int last;
    double expected;
};

// From the last class down, classes are pooled with their neighbour until the pooled expected
// count is at least 5; what is left under 5 at the first class joins the group above it. In the
// classes' order.
[[nodiscard]] std::vector<ClassGroup> PoolClasses(std::span<const double> expected);

struct ChiSquareTest {
    double statistic;
    int degreesOfFreedom;
    double pValue;
};

// What --stats says of the draws of one command, whenever it drew: one rule for every output.
struct Significance {
    std::vector<double> z;  // NaN for a class that is certain or impossible: its count is fixed
    std::vector<double> p;
    std::vector<ClassGroup> groups;          // the classes of the chi-square, after pooling
    std::optional<ChiSquareTest> chiSquare;  // none when the pooling leaves a single class
    int possible = 0;                        // the classes of a probability above 0
};

// Each class's count against a binomial of its probability, and the whole tally against the
// expected counts of the draws actually done. None without a draw: nothing can be tested.
[[nodiscard]] std::optional<Significance> TestSignificance(std::span<const std::uint64_t> tally,
                                                           std::span<const double> probabilities,
                                                           std::uint64_t draws);

// Pearson's chi-square of counts by class against their total times each class's probability,
// over the classes pooled by PoolClasses, with classes - 1 degrees of freedom; none when a single
// class is left.
[[nodiscard]] std::optional<ChiSquareTest> PooledChiSquare(std::span<const std::uint64_t> observed,
                                                           std::span<const double> probabilities);

// The same for a law symmetric about its middle (P(i) = P(L - 1 - i)), pooled from both tails
// toward the middle alike, so that the mirror of the observed classes gives the same statistic to
// the last bit: a class and its mirror's pooled the same way, their terms added as pairs.
[[nodiscard]] std::optional<ChiSquareTest> SymmetricPooledChiSquare(
    std::span<const std::uint64_t> observed, std::span<const double> probabilities);

// 6/49's rows, k = 0 to 6, by MatchProbability.
[[nodiscard]] std::optional<Significance> TestSignificance(const Tally& tally, std::uint64_t draws);

// 6/49's probabilities of k matches, k = 0 to 6.
[[nodiscard]] PerRow<double> MatchProbabilities() noexcept;

}  // namespace loto
