#include "audit/battery.h"

#include <algorithm>
#include <bitset>
#include <cmath>
#include <numeric>

#include "audit/laws.h"
#include "core/combinations.h"
#include "stats/significance.h"
#include "stats/weighted_chi_square.h"

namespace loto {
namespace {

using Counts = std::vector<std::uint64_t>;

// Every test needs a draw and a game in which a draw leaves some numbers out.
bool Formable(const PoolHistory& history) {
    return history.drawn >= 1 && history.drawn < history.top && history.draws() > 0;
}

std::optional<TestResult> Named(const char* name, const std::optional<ChiSquareTest>& test) {
    if (!test) {
        return std::nullopt;
    }
    return TestResult{name, test->statistic, test->degreesOfFreedom, test->pValue};
}

Counts NumberCounts(const PoolHistory& history) {
    Counts counts(static_cast<std::size_t>(history.top));
    for (const std::uint8_t x : history.numbers) {
        ++counts[x - 1u];
    }
    return counts;
}

// Pair {a, b}, a < b, at (b - 1)(b - 2)/2 + a - 1.
Counts PairCounts(const PoolHistory& history) {
    Counts counts(static_cast<std::size_t>(Choose(history.top, 2)));
    for (std::size_t t = 0; t < history.draws(); ++t) {
        const auto draw = history.Draw(t);
        for (std::size_t i = 0; i < draw.size(); ++i) {
            for (std::size_t j = 0; j < i; ++j) {
                const std::size_t a = std::min(draw[i], draw[j]);
                const std::size_t b = std::max(draw[i], draw[j]);
                ++counts[(b - 1) * (b - 2) / 2 + a - 1];
            }
        }
    }
    return counts;
}

double PearsonStatistic(const Counts& counts, double expected) {
    double statistic = 0;
    for (const std::uint64_t count : counts) {
        const double deviation = static_cast<double>(count) - expected;
        statistic += deviation * deviation / expected;
    }
    return statistic;
}

// The smallest two-sided p-value of the counts, each Binomial(trials, p), then the chance that
// the smallest of that many independent ones is as small: Šidák's 1 - (1 - p)^m, with log1p and
// expm1 as p is tiny and m large. The p-value falls as a count moves away from the mode either
// way, so the smallest is the fewest's or the most's. `cell` names a count's number or pair.
template <typename Cell>
TestResult MostExtreme(const char* name, const Counts& counts, std::uint64_t trials, double p,
                       Cell cell) {
    const auto [fewest, most] = std::minmax_element(counts.begin(), counts.end());
    const double fewestP = BinomialTwoSidedP(*fewest, trials, p);
    const double mostP = BinomialTwoSidedP(*most, trials, p);
    const auto extreme = fewestP < mostP ? fewest : most;
    const double smallest = std::min(fewestP, mostP);
    const auto compared = static_cast<double>(counts.size());
    const auto [first, second] = cell(static_cast<std::size_t>(extreme - counts.begin()));
    return {name,         smallest,
            std::nullopt, -std::expm1(compared * std::log1p(-smallest)),
            std::nullopt, ExtremeCount{first, second, *extreme, static_cast<double>(trials) * p}};
}

}  // namespace

double NumbersPValue(double pearson, int drawn, int top) {
    return ChiSquareTail(top - 1, pearson * (top - 1) / (top - drawn));
}

std::optional<TestResult> NumbersTest(const PoolHistory& history) {
    if (!Formable(history)) {
        return std::nullopt;
    }
    const double k = history.drawn;
    const double n = history.top;
    const double expected = static_cast<double>(history.draws()) * k / n;
    const double pearson = PearsonStatistic(NumberCounts(history), expected);
    return TestResult{"numbers", pearson * (n - 1) / (n - k), history.top - 1,
                      NumbersPValue(pearson, history.drawn, history.top)};
}

std::optional<TestResult> NumbersExtremeTest(const PoolHistory& history) {
    if (!Formable(history)) {
        return std::nullopt;
    }
    return MostExtreme("numbers extreme", NumberCounts(history), history.draws(),
                       static_cast<double>(history.drawn) / history.top,
                       [](std::size_t i) { return std::pair(static_cast<int>(i) + 1, 0); });
}

std::optional<TestResult> PairsTest(const PoolHistory& history) {
    if (!Formable(history) || history.drawn < 2) {
        return std::nullopt;
    }
    const Counts counts = PairCounts(history);
    const double pairsPerDraw = static_cast<double>(Choose(history.drawn, 2));
    const double expected =
        static_cast<double>(history.draws()) * pairsPerDraw / static_cast<double>(counts.size());
    const double statistic = PearsonStatistic(counts, expected);
    const auto law = PearsonLaw(2, history.drawn, history.top);
    return TestResult{"pairs", statistic, std::nullopt, WeightedChiSquareTail(law, statistic)};
}

std::optional<TestResult> PairsExtremeTest(const PoolHistory& history) {
    if (!Formable(history) || history.drawn < 2) {
        return std::nullopt;
    }
    const double n = history.top;
    const double k = history.drawn;
    return MostExtreme("pairs extreme", PairCounts(history), history.draws(),
                       k * (k - 1) / (n * (n - 1)), [](std::size_t i) {
                           // Pair {a, b} at (b - 1)(b - 2)/2 + a - 1: the b whose row holds i.
                           int b = 2;
                           while (static_cast<std::size_t>(b * (b - 1) / 2) <= i) {
                               ++b;
                           }
                           return std::pair(static_cast<int>(i) - (b - 1) * (b - 2) / 2 + 1, b);
                       });
}

std::optional<TestResult> OverlapTest(const PoolHistory& history) {
    if (!Formable(history)) {
        return std::nullopt;
    }
    Counts shared(static_cast<std::size_t>(history.drawn) + 1);
    std::bitset<256> previous;
    for (std::size_t t = 0; t < history.draws(); ++t) {
        std::bitset<256> current;
        for (const std::uint8_t x : history.Draw(t)) {
            current.set(x);
        }
        if (t > 0) {
            ++shared[(current & previous).count()];
        }
        previous = current;
    }
    return Named("overlap", PooledChiSquare(shared, HypergeometricLaw(history.top, history.drawn,
                                                                      history.drawn)));
}

std::optional<TestResult> GapsTest(const PoolHistory& history) {
    if (!Formable(history)) {
        return std::nullopt;
    }
    GapChiSquare test(history);
    if (!test.testable()) {
        return std::nullopt;
    }
    const double statistic = test.Statistic(history);
    return TestResult{"gaps", statistic, test.freedom(), test.UncalibratedP(statistic)};
}

std::optional<TestResult> SumsTest(const PoolHistory& history) {
    if (!Formable(history) || history.drawn < 2) {
        return std::nullopt;
    }
    const std::vector<double> law = SumLaw(history.drawn, history.top);
    Counts sums(law.size());
    for (std::size_t t = 0; t < history.draws(); ++t) {
        const auto draw = history.Draw(t);
        const int sum = std::accumulate(draw.begin(), draw.end(), 0);
        ++sums[static_cast<std::size_t>(sum - LowestSum(history.drawn))];
    }
    return Named("sums", SymmetricPooledChiSquare(sums, law));
}

std::optional<TestResult> OddTest(const PoolHistory& history) {
    if (!Formable(history)) {
        return std::nullopt;
    }
    Counts odd(static_cast<std::size_t>(history.drawn) + 1);
    for (std::size_t t = 0; t < history.draws(); ++t) {
        const auto draw = history.Draw(t);
        ++odd[static_cast<std::size_t>(
            std::count_if(draw.begin(), draw.end(), [](std::uint8_t x) { return x % 2 == 1; }))];
    }
    const int oddNumbers = (history.top + 1) / 2;
    return Named("odd",
                 PooledChiSquare(odd, HypergeometricLaw(history.top, oddNumbers, history.drawn)));
}

std::optional<TestResult> RunsTest(const PoolHistory& history) {
    if (!Formable(history)) {
        return std::nullopt;
    }
    const int twiceMedian = history.drawn * (history.top + 1);
    double above = 0;
    double below = 0;
    double runs = 0;
    int previous = 0;  // the side of the last draw off the median, none yet
    for (std::size_t t = 0; t < history.draws(); ++t) {
        const auto draw = history.Draw(t);
        const int twiceSum = 2 * std::accumulate(draw.begin(), draw.end(), 0);
        const int side = (twiceSum > twiceMedian) - (twiceSum < twiceMedian);
        if (side == 0) {
            continue;
        }
        (side > 0 ? above : below) += 1;
        runs += side != previous ? 1 : 0;
        previous = side;
    }
    const double n = above + below;
    const double product = 2 * above * below;
    const double variance = product * (product - n) / (n * n * (n - 1));
    if (above == 0 || below == 0 || !(variance > 0)) {
        return std::nullopt;
    }
    const double z = (runs - (product / n + 1)) / std::sqrt(variance);
    return TestResult{"runs", z, std::nullopt, std::erfc(std::abs(z) / std::sqrt(2.0))};
}

std::vector<TestResult> RunBattery(const PoolHistory& history) {
    std::vector<TestResult> results;
    for (std::optional<TestResult> result :
         {NumbersTest(history), NumbersExtremeTest(history), PairsTest(history),
          PairsExtremeTest(history), OverlapTest(history), GapsTest(history), SumsTest(history),
          OddTest(history), RunsTest(history)}) {
        if (result) {
            results.push_back(std::move(*result));
        }
    }
    return results;
}

std::vector<double> HolmAdjusted(std::span<const double> pValues) {
    std::vector<std::size_t> order(pValues.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return pValues[a] < pValues[b]; });
    std::vector<double> adjusted(pValues.size());
    double floor = 0;  // the adjusted values never fall along the order
    for (std::size_t i = 0; i < order.size(); ++i) {
        const auto factor = static_cast<double>(order.size() - i);
        floor = std::max(floor, std::min(1.0, factor * pValues[order[i]]));
        adjusted[order[i]] = floor;
    }
    return adjusted;
}

}  // namespace loto
