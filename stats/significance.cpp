#include "stats/significance.h"

#include <algorithm>
#include <boost/math/distributions/binomial.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <numeric>

#include "core/statistics.h"

namespace loto {
namespace {

using boost::math::binomial;
using boost::math::cdf;
using boost::math::complement;
using boost::math::pdf;

constexpr double kMinimumExpected = 5;
// The logarithm of about the least Double, subnormals included.
constexpr double kLogSmallest = -745;
constexpr double kRelativeTolerance = 1 + 1e-7;

// The first i in [from, to) with more(i) false, for a predicate true then false: a binary search.
template <class More>
std::uint64_t FirstNot(std::uint64_t from, std::uint64_t to, More more) {
    while (from < to) {
        const std::uint64_t middle = from + (to - from) / 2;
        if (more(middle)) {
            from = middle + 1;
        } else {
            to = middle;
        }
    }
    return from;
}

}  // namespace

double ChiSquareTail(int freedom, double x) {
    if (!(x > 0)) {
        return 1;
    }
    const double a = freedom / 2.0;
    const double y = x / 2;
    // P(a, y) = y^a e^-y / Γ(a + 1) (1 + y/(a + 1) + ...) <= that prefix / (1 - y/(a + 1)).
    if (y < a) {
        const double logLower =
            a * std::log(y) - y - boost::math::lgamma(a + 1) - std::log1p(-y / (a + 1));
        if (logLower < kLogSmallest) {
            return 1;
        }
    }
    return boost::math::gamma_q(a, y);
}

double BinomialTwoSidedP(std::uint64_t observed, std::uint64_t trials, double p) {
    const binomial distribution(static_cast<double>(trials), p);
    const auto likelihood = [&](std::uint64_t i) {
        return pdf(distribution, static_cast<double>(i));
    };
    const double bound = likelihood(observed) * kRelativeTolerance;
    const double mean = static_cast<double>(trials) * p;
    const auto x = static_cast<double>(observed);
    if (x == mean) {
        return 1;
    }
    if (x < mean) {
        // Above the mean the likelihood falls: the outcomes no more likely form an upper tail.
        const auto from = static_cast<std::uint64_t>(std::ceil(mean));
        const std::uint64_t tail =
            FirstNot(from, trials + 1, [&](std::uint64_t i) { return likelihood(i) > bound; });
        const double upper =
            tail <= trials ? cdf(complement(distribution, static_cast<double>(tail - 1))) : 0.0;
        return std::min(1.0, cdf(distribution, x) + upper);
    }
    // Below the mean the likelihood rises: they form a lower tail [0, end).
    const auto to = static_cast<std::uint64_t>(std::floor(mean)) + 1;
    const std::uint64_t end =
        FirstNot(0, to, [&](std::uint64_t i) { return likelihood(i) <= bound; });
    const double lower = end > 0 ? cdf(distribution, static_cast<double>(end - 1)) : 0.0;
    return std::min(1.0, lower + cdf(complement(distribution, x - 1)));
}

std::vector<ClassGroup> PoolClasses(std::span<const double> expected) {
    std::vector<ClassGroup> groups;
    const int last = static_cast<int>(expected.size()) - 1;
    ClassGroup open{last, last, 0};
    for (int k = last; k >= 0; --k) {
        open.first = k;
        open.expected += expected[static_cast<std::size_t>(k)];
        if (open.expected >= kMinimumExpected) {
            groups.push_back(open);
            open = {k - 1, k - 1, 0};
        }
    }
    if (open.last >= 0) {  // the first class and up, still under 5
        if (groups.empty()) {
            groups.push_back(open);
        } else {
            groups.back().first = open.first;
            groups.back().expected += open.expected;
        }
    }
    std::reverse(groups.begin(), groups.end());
    return groups;
}

namespace {

// Pearson's statistic of counts by class over groups of classes, whose expected counts are given;
// none for a single group.
std::optional<ChiSquareTest> GroupedChiSquare(std::span<const std::uint64_t> observed,
                                              const std::vector<ClassGroup>& groups) {
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

}  // namespace

std::optional<Significance> TestSignificance(std::span<const std::uint64_t> tally,
                                             std::span<const double> probabilities,
                                             std::uint64_t draws) {
    if (draws == 0) {
        return std::nullopt;
    }
    Significance significance;
    const auto n = static_cast<double>(draws);
    std::vector<double> expected;
    for (std::size_t k = 0; k < tally.size(); ++k) {
        const double p = probabilities[k];
        expected.push_back(n * p);
        significance.z.push_back((static_cast<double>(tally[k]) - expected[k]) /
                                 std::sqrt(n * p * (1 - p)));
        significance.p.push_back(BinomialTwoSidedP(tally[k], draws, p));
        significance.possible += p > 0 ? 1 : 0;
    }
    significance.groups = PoolClasses(expected);
    significance.chiSquare = GroupedChiSquare(tally, significance.groups);
    return significance;
}

std::optional<ChiSquareTest> PooledChiSquare(std::span<const std::uint64_t> observed,
                                             std::span<const double> probabilities) {
    const auto total =
        static_cast<double>(std::accumulate(observed.begin(), observed.end(), std::uint64_t{0}));
    std::vector<double> expected(probabilities.size());
    std::transform(probabilities.begin(), probabilities.end(), expected.begin(),
                   [&](double p) { return total * p; });
    return GroupedChiSquare(observed, PoolClasses(expected));
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

PerRow<double> MatchProbabilities() noexcept {
    PerRow<double> probabilities{};
    for (int k = 0; k < kResultRows; ++k) {
        probabilities[static_cast<std::size_t>(k)] = MatchProbability(k);
    }
    return probabilities;
}

std::optional<Significance> TestSignificance(const Tally& tally, std::uint64_t draws) {
    return TestSignificance(tally, MatchProbabilities(), draws);
}

}  // namespace loto
