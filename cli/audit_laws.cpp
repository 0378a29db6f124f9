#include "cli/audit_laws.h"

#include <algorithm>
#include <boost/math/distributions/chi_squared.hpp>
#include <numeric>

namespace loto {

double Choose(int n, int k) noexcept {
    if (k < 0 || k > n) {
        return 0;
    }
    k = std::min(k, n - k);
    double c = 1;
    for (int i = 1; i <= k; ++i) {
        c = c * (n - k + i) / i;  // each step is a whole C(n - k + i, i)
    }
    return c;
}

std::vector<double> HypergeometricLaw(int population, int marked, int sample) {
    std::vector<double> law(static_cast<std::size_t>(sample) + 1);
    const double all = Choose(population, sample);
    for (int j = 0; j <= sample; ++j) {
        law[static_cast<std::size_t>(j)] =
            Choose(marked, j) * Choose(population - marked, sample - j) / all;
    }
    return law;
}

std::vector<double> SumLaw(int drawn, int highest) {
    const auto top = static_cast<std::size_t>(drawn * highest);
    const auto row = [&](int k) { return static_cast<std::size_t>(k) * (top + 1); };
    // ways[row(k) + s]: the k-subsets of the numbers 1..x taken so far whose sum is s.
    std::vector<double> ways(row(drawn + 1));
    ways[0] = 1;
    for (int x = 1; x <= highest; ++x) {
        const auto number = static_cast<std::size_t>(x);
        for (int k = std::min(x, drawn); k >= 1; --k) {  // downwards: x joins each subset once
            for (std::size_t s = top; s >= number; --s) {
                ways[row(k) + s] += ways[row(k - 1) + s - number];
            }
        }
    }
    const auto first = ways.begin() + static_cast<std::ptrdiff_t>(row(drawn) + LowestSum(drawn));
    std::vector<double> law(first, first + drawn * (highest - drawn) + 1);
    const double subsets = std::accumulate(law.begin(), law.end(), 0.0);
    for (double& p : law) {
        p /= subsets;
    }
    return law;
}

std::optional<ChiSquareTest> PooledChiSquare(std::span<const std::uint64_t> observed,
                                             std::span<const double> probabilities) {
    const auto total =
        static_cast<double>(std::accumulate(observed.begin(), observed.end(), std::uint64_t{0}));
    std::vector<double> expected(probabilities.size());
    std::transform(probabilities.begin(), probabilities.end(), expected.begin(),
                   [&](double p) { return total * p; });
    const std::vector<ClassGroup> groups = PoolClasses(expected);
    if (groups.size() < 2) {
        return std::nullopt;
    }
    double statistic = 0;
    for (const ClassGroup& group : groups) {
        const auto from = observed.begin() + group.first;
        const auto count = static_cast<double>(
            std::accumulate(from, observed.begin() + group.last + 1, std::uint64_t{0}));
        statistic += (count - group.expected) * (count - group.expected) / group.expected;
    }
    const int freedom = static_cast<int>(groups.size()) - 1;
    const boost::math::chi_squared law(freedom);
    return ChiSquareTest{statistic, freedom, cdf(complement(law, statistic))};
}

}  // namespace loto
