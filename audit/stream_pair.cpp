#include "audit/stream_pair.h"

#include <bitset>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>
#include <numeric>

#include "audit/laws.h"

namespace loto {
namespace {

std::optional<TestResult> OverlapOfStreams(const PoolHistory& one, const PoolHistory& other) {
    std::vector<std::uint64_t> shared(static_cast<std::size_t>(one.drawn) + 1);
    for (std::size_t t = 0; t < one.draws(); ++t) {
        std::bitset<256> drawn;
        for (const std::uint8_t x : one.Draw(t)) {
            drawn.set(x);
        }
        std::size_t common = 0;
        for (const std::uint8_t x : other.Draw(t)) {
            common += drawn[x] ? 1 : 0;
        }
        ++shared[common];
    }
    const auto test = PooledChiSquare(shared, HypergeometricLaw(one.top, one.drawn, one.drawn));
    if (!test) {
        return std::nullopt;
    }
    return TestResult{"stream overlap", test->statistic, test->degreesOfFreedom, test->pValue};
}

double SumOf(std::span<const std::uint8_t> draw) {
    return std::accumulate(draw.begin(), draw.end(), 0.0);
}

std::optional<TestResult> CorrelationOfSums(const PoolHistory& one, const PoolHistory& other) {
    const std::size_t draws = one.draws();
    if (draws < 3) {
        return std::nullopt;
    }
    // Centred on the exact mean of a draw's sum, K (N + 1) / 2, so that the sums of squares
    // lose no digits to a large mean.
    const double centre = one.drawn * (one.top + 1) / 2.0;
    double x = 0, y = 0, xx = 0, yy = 0, xy = 0;
    for (std::size_t t = 0; t < draws; ++t) {
        const double a = SumOf(one.Draw(t)) - centre;
        const double b = SumOf(other.Draw(t)) - centre;
        x += a;
        y += b;
        xx += a * a;
        yy += b * b;
        xy += a * b;
    }
    const auto n = static_cast<double>(draws);
    const double covariance = xy - x * y / n;
    const double spread = (xx - x * x / n) * (yy - y * y / n);
    if (!(spread > 0)) {
        return std::nullopt;
    }
    const double r = std::clamp(covariance / std::sqrt(spread), -1.0, 1.0);
    const double freedom = n - 2;
    const double t = r * std::sqrt(freedom / std::max(1 - r * r, 1e-300));
    const boost::math::students_t law(freedom);
    const double p = 2 * cdf(complement(law, std::abs(t)));
    return TestResult{"stream correlation", r, static_cast<int>(draws - 2), std::min(1.0, p)};
}

}  // namespace

std::vector<TestResult> StreamPairTests(const PoolHistory& one, const PoolHistory& other) {
    std::vector<TestResult> results;
    for (std::optional<TestResult> result :
         {OverlapOfStreams(one, other), CorrelationOfSums(one, other)}) {
        if (result) {
            results.push_back(std::move(*result));
        }
    }
    return results;
}

}  // namespace loto
