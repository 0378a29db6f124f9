#pragma once

#include <array>

#include "core/combinations.h"
#include "core/draws.h"
#include "core/six_of_forty_nine.h"

namespace loto {

// For k = 0 to 6, how many of the C(49, 6) = 13,983,816 combinations share exactly k numbers
// with a grid: C(6, k) x C(43, 6 - k), 6,096,454 for k = 0 down to 1 for k = 6.
inline constexpr PerRow<double> kMatchWeights = [] {
    PerRow<double> weights{};
    for (int k = 0; k < kResultRows; ++k) {
        weights[static_cast<std::size_t>(k)] =
            static_cast<double>(Choose(kFavouriteCount, k) *
                                Choose(kHighestNumber - kFavouriteCount, kFavouriteCount - k));
    }
    return weights;
}();
inline constexpr double kCombinations =
    static_cast<double>(Choose(kHighestNumber, kFavouriteCount));

using ExpectedCounts = PerRow<float>;
using Deviations = PerRow<double>;

// The probability that a draw matches exactly k favourites: C(6, k) C(43, 6 - k) / C(49, 6).
[[nodiscard]] double MatchProbability(int k) noexcept;

// How many of `draws` draws are expected to match exactly k favourites: (draws / 13,983,816) x
// C(6, k) C(43, 6 - k), in Double.
[[nodiscard]] double ExpectedCount(double draws, int k) noexcept;

// The deviation of an observed count from the expected one in percent, with the sign of the
// difference: (observed - expected) / expected x 100. Not a number where nothing was expected
// (N = 0) or where the expected count is not finite.
[[nodiscard]] double DeviationPercent(double observed, double expected) noexcept;

// The expected counts of N requested draws, kept as Singles. N is the requested count, not the
// draws done; a count beyond the Single range comes out infinite.
[[nodiscard]] ExpectedCounts ComputeExpectedCounts(double requested) noexcept;

// The deviation of each row's tally from its expected count, as shown.
[[nodiscard]] Deviations ComputeDeviations(const ExpectedCounts& expected,
                                           const Tally& tally) noexcept;

}  // namespace loto
