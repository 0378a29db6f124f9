#include "audit/laws.h"

#include <algorithm>
#include <numeric>

#include "core/combinations.h"

namespace loto {

std::vector<double> HypergeometricLaw(int population, int marked, int sample) {
    std::vector<double> probabilities(static_cast<std::size_t>(sample) + 1);
    for (int j = 0; j <= sample; ++j) {
        probabilities[static_cast<std::size_t>(j)] = Hypergeometric(population, sample, marked, j);
    }
    return probabilities;
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

}  // namespace loto
