#pragma once

#include <array>

#include "core/draws.h"

namespace loto {

// For k = 0 to 6, how many of the C(49, 6) = 13,983,816 combinations share exactly k numbers
// with a grid: C(6, k) x C(43, 6 - k).
inline constexpr std::array<double, 7> kMatchWeights{6096454, 5775588, 1851150, 246820,
                                                     13545,   258,     1};
inline constexpr double kCombinations = 13983816;

using ExpectedCounts = std::array<float, 7>;
using Deviations = std::array<double, 7>;

// (N / 13,983,816) x weight, in Double, kept as a Single. N is the requested count, not the
// draws done; a count beyond the Single range comes out infinite.
[[nodiscard]] ExpectedCounts ComputeExpectedCounts(double requested) noexcept;

// (expected - observed) / expected x 100, in Double. Not a number where nothing was expected
// (N = 0) or where the expected count is not finite.
[[nodiscard]] Deviations ComputeDeviations(const ExpectedCounts& expected,
                                           const Tally& tally) noexcept;

}  // namespace loto
