#include "audit/laws.h"

#include <algorithm>
#include <numeric>

namespace loto {
namespace {

constexpr double kMinimumExpected = 5;

}  // namespace

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
    return ChiSquareTest{statistic, freedom, ChiSquareTail(freedom, statistic)};
}

std::optional<ChiSquareTest> SymmetricPooledChiSquare(std::span<const std::uint64_t> observed,
                                                      std::span<const double> probabilities) {
    const std::size_t classes = probabilities.size();
    const auto total =
        static_cast<double>(std::accumulate(observed.begin(), observed.end(), std::uint64_t{0}));
    // The law made exactly symmetric, its rounding apart.
    std::vector<double> expected(classes);
    for (std::size_t i = 0; i < classes; ++i) {
        expected[i] = total * (probabilities[i] + probabilities[classes - 1 - i]) / 2;
    }
    // Groups of the lower half from its tail up, each closed at 5 expected; what is left joins
    // the middle, and so do the innermost groups while the middle is under 5.
    std::vector<std::pair<std::size_t, std::size_t>> lower;  // first, last
    std::size_t from = 0;
    double sum = 0;
    for (std::size_t i = 0; i < classes / 2; ++i) {
        sum += expected[i];
        if (sum >= kMinimumExpected) {
            lower.emplace_back(from, i);
            from = i + 1;
            sum = 0;
        }
    }
    const auto range = [&](std::size_t first, std::size_t last) {
        double e = 0;
        std::uint64_t o = 0;
        for (std::size_t i = first; i <= last; ++i) {
            e += expected[i];
            o += observed[i];
        }
        return std::pair(static_cast<double>(o), e);
    };
    const auto middle = [&] { return range(from, classes - 1 - from).second; };
    // A group and its mirror take the lower one's expected count, summed in one order.
    const auto term = [](double o, double e) { return (o - e) * (o - e) / e; };
    while (!lower.empty() && from <= classes - 1 - from && middle() < kMinimumExpected) {
        from = lower.back().first;
        lower.pop_back();
    }
    const bool hasMiddle = from <= classes - 1 - from;
    const std::size_t groups = 2 * lower.size() + (hasMiddle ? 1 : 0);
    if (groups < 2) {
        return std::nullopt;
    }
    double statistic = 0;
    if (hasMiddle) {
        const auto [o, e] = range(from, classes - 1 - from);
        statistic = term(o, e);
    }
    for (const auto& [first, last] : lower) {
        const auto [o, e] = range(first, last);
        const double mirrored = range(classes - 1 - last, classes - 1 - first).first;
        statistic += term(o, e) + term(mirrored, e);
    }
    const int freedom = static_cast<int>(groups) - 1;
    return ChiSquareTest{statistic, freedom, ChiSquareTail(freedom, statistic)};
}

}  // namespace loto
