#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "stats/significance.h"

namespace loto {

// The exact laws of what a fair draw of K numbers of 1..N shows.

// P(j) for j = 0 to `sample`: j marked ones among `sample` taken without replacement from
// `population` of which `marked` are marked, C(m, j) C(P - m, s - j) / C(P, s); 0 where
// impossible.
[[nodiscard]] std::vector<double> HypergeometricLaw(int population, int marked, int sample);

// The smallest sum of K distinct numbers from 1 up: 1 + 2 + ... + K.
[[nodiscard]] constexpr int LowestSum(int drawn) noexcept {
    return drawn * (drawn + 1) / 2;
}

// P(sum = LowestSum(K) + i) for i = 0 to K(N - K): the number of K-subsets of 1..N with each sum,
// counted number by number, over C(N, K).
[[nodiscard]] std::vector<double> SumLaw(int drawn, int highest);

}  // namespace loto
