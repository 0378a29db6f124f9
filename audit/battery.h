#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "audit/gaps.h"
#include "audit/history.h"

namespace loto {

// Whether one pool's history of real draws looks like fair draws of K of 1..N (1 <= K < N): a
// battery of tests, each with a p-value under the hypothesis of fair, independent draws. Each
// test gives none when the history cannot form it (too few draws for two classes, K = 1 for
// pairs).

// The count that an "extreme" test found farthest from its expectation: a number (second 0) or
// a pair, first < second.
struct ExtremeCount {
    int first;
    int second;
    std::uint64_t count;
    double expected;

    friend bool operator==(const ExtremeCount&, const ExtremeCount&) = default;
};

struct TestResult {
    std::string name;
    double statistic;
    std::optional<int> freedom;  // of the chi-square law the p-value comes from, if one
    double pValue;
    std::optional<CalibratedP> calibrated{};  // where the p-value comes from fair histories
    std::optional<ExtremeCount> extreme{};
};

// "numbers": Pearson's X² of the N numbers' counts against D K / N each. Drawn without
// replacement, X² is asymptotically (N - K)/(N - 1) χ²(N - 1): the statistic is X² (N - 1)/(N - K),
// against χ²(N - 1).
[[nodiscard]] std::optional<TestResult> NumbersTest(const PoolHistory& history);
// That law's p-value of Pearson's X² of the numbers of a pool drawing K of N, before the factor.
[[nodiscard]] double NumbersPValue(double pearson, int drawn, int top);
// "numbers extreme": the smallest exact two-sided binomial p-value of a number's count,
// Binomial(D, K/N), which is the statistic, adjusted for the N numbers compared (Šidák:
// 1 - (1 - p)^N).
[[nodiscard]] std::optional<TestResult> NumbersExtremeTest(const PoolHistory& history);

// "pairs": Pearson's X² of the C(N, 2) pairs' counts, each draw holding C(K, 2) of them, against
// D C(K, 2)/C(N, 2) each; its p-value from the weighted sum of chi-squares of PearsonLaw. K >= 2.
[[nodiscard]] std::optional<TestResult> PairsTest(const PoolHistory& history);
// "pairs extreme": as "numbers extreme" over the pairs, Šidák-adjusted for C(N, 2).
[[nodiscard]] std::optional<TestResult> PairsExtremeTest(const PoolHistory& history);

// "overlap": how many numbers each draw shares with the one before, hypergeometric(N, K, K), by
// Pearson's chi-square over classes pooled by PoolClasses.
[[nodiscard]] std::optional<TestResult> OverlapTest(const PoolHistory& history);

// "gaps": GapChiSquare's statistic and the chi-square law's (uncalibrated) p-value; its
// calibration on fair histories, which Calibrate gives, depends on the family it is part of.
[[nodiscard]] std::optional<TestResult> GapsTest(const PoolHistory& history);

// "sums": the sum of each draw's numbers against its exact law (SumLaw), symmetric about its
// middle, pooled from both tails alike: a history and its mirror (n as N + 1 - n) give the same
// p-value. K >= 2: for K = 1 the sum is the number, which "numbers" tests already.
[[nodiscard]] std::optional<TestResult> SumsTest(const PoolHistory& history);

// "odd": the count of odd numbers in each draw, hypergeometric(N, ceil(N/2), K), pooled.
[[nodiscard]] std::optional<TestResult> OddTest(const PoolHistory& history);

// "runs": the Wald-Wolfowitz runs test on the draws' sums coded above or below the exact median of
// their law, K (N + 1)/2 (the law is symmetric about it: x -> N + 1 - x maps the draws onto each
// other); draws on the median itself are left out. The statistic is the z-score of the number of
// runs against its mean 2 n1 n2 / n + 1, the p-value two-sided from the normal law.
[[nodiscard]] std::optional<TestResult> RunsTest(const PoolHistory& history);

// Every test that the history can form, in the order above.
[[nodiscard]] std::vector<TestResult> RunBattery(const PoolHistory& history);

// Holm's step-down adjustment of a family of p-values, in their order: the i-th smallest is
// multiplied by m - i + 1, each at least the one before it, at most 1.
[[nodiscard]] std::vector<double> HolmAdjusted(std::span<const double> pValues);

}  // namespace loto
