#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "stats/significance.h"

namespace loto {

// The exact laws of what a fair draw of K numbers of 1..N shows, and Pearson's chi-square of
// observed classes against them.

// C(n, k) in double: exact while it stays under 2^53, within a few ulps beyond.
[[nodiscard]] double Choose(int n, int k) noexcept;

// P(j) for j = 0 to `sample`: j marked ones among `sample` taken without replacement from
// `population` of which `marked` are marked, C(m, j) C(P - m, s - j) / C(P, s); 0 where impossible.
[[nodiscard]] std::vector<double> HypergeometricLaw(int population, int marked, int sample);

// The smallest sum of K distinct numbers from 1 up: 1 + 2 + ... + K.
[[nodiscard]] constexpr int LowestSum(int drawn) noexcept {
    return drawn * (drawn + 1) / 2;
}

// P(sum = LowestSum(K) + i) for i = 0 to K(N - K): the number of K-subsets of 1..N with each sum,
// counted number by number, over C(N, K).
[[nodiscard]] std::vector<double> SumLaw(int drawn, int highest);

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

}  // namespace loto
