#include "core/statistics.h"

namespace loto {

ExpectedCounts ComputeExpectedCounts(double requested) noexcept {
    ExpectedCounts expected{};
    const double share = requested / kCombinations;
    for (std::size_t k = 0; k < expected.size(); ++k) {
        expected[k] = static_cast<float>(share * kMatchWeights[k]);
    }
    return expected;
}

Deviations ComputeDeviations(const ExpectedCounts& expected, const Tally& tally) noexcept {
    Deviations deviations{};
    for (std::size_t k = 0; k < deviations.size(); ++k) {
        const double e = expected[k];
        const auto o = static_cast<double>(tally[k]);
        deviations[k] = (e - o) / e * 100;
    }
    return deviations;
}

}  // namespace loto
