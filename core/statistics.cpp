#include "core/statistics.h"

namespace loto {

double MatchProbability(int k) noexcept {
    return Hypergeometric(kHighestNumber, kFavouriteCount, kFavouriteCount, k);
}

double ExpectedCount(double draws, int k) noexcept {
    return draws / kCombinations * kMatchWeights[static_cast<std::size_t>(k)];
}

double DeviationPercent(double observed, double expected) noexcept {
    return (observed - expected) / expected * 100;
}

ExpectedCounts ComputeExpectedCounts(double requested) noexcept {
    ExpectedCounts expected{};
    for (int k = 0; k < static_cast<int>(expected.size()); ++k) {
        expected[static_cast<std::size_t>(k)] = static_cast<float>(ExpectedCount(requested, k));
    }
    return expected;
}

Deviations ComputeDeviations(const ExpectedCounts& expected, const Tally& tally) noexcept {
    Deviations deviations{};
    for (std::size_t k = 0; k < deviations.size(); ++k) {
        deviations[k] = DeviationPercent(static_cast<double>(tally[k]), expected[k]);
    }
    return deviations;
}

}  // namespace loto
