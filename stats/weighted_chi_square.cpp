#include "stats/weighted_chi_square.h"

#include <algorithm>
#include <array>
#include <boost/math/quadrature/tanh_sinh.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>

#include "stats/significance.h"

namespace loto {
namespace {

// Relative to the integral; tanh-sinh doubles its digits with each level, so this costs little.
constexpr double kTolerance = 1e-11;
// Weights this close are one: rounding apart, as the terms of 2/N pairs, which are both 1.
constexpr double kSameWeight = 1e-12;

// tanh-sinh copes with the density of one degree of freedom, infinite at 0. It makes its table
// once, growing it under its own lock, so one may serve every thread (its integrate() is not
// declared const, though it changes nothing else).
boost::math::quadrature::tanh_sinh<double>& Integrator() {
    static boost::math::quadrature::tanh_sinh<double> integrator;
    return integrator;
}

// The density of χ²(d) at a > 0, from its logarithm: Γ(d / 2) alone overflows past d = 343.
double Density(int freedom, double a) {
    const double half = freedom / 2.0;
    return std::exp((half - 1) * std::log(a) - a / 2 - half * std::log(2.0) -
                    boost::math::lgamma(half));
}

// P(w χ²(d) + rest >= x) = P(w χ²(d) >= x) + ∫ from 0 to x/w of f_d(a) P(rest >= x - w a) da,
// with the terms in decreasing weight, so that the first's range is the shortest.
double Tail(std::span<const WeightedChiSquare> terms, double x) {
    if (x <= 0) {
        return 1;
    }
    const WeightedChiSquare& first = terms.front();
    const double end = x / first.weight;
    const double alone = ChiSquareTail(first.freedom, end);
    if (terms.size() == 1) {
        return alone;
    }
    const auto rest = terms.subspan(1);
    const auto integrand = [&](double a) {
        return a > 0 ? Density(first.freedom, a) * Tail(rest, x - first.weight * a) : 0.0;
    };
    return std::min(1.0, alone + Integrator().integrate(integrand, 0.0, end, kTolerance));
}

// The eigenvalues of the adjacency matrices A_r of J(N, t) (two t-subsets related when they share
// r numbers; A_t is the identity) on each eigenspace, with its dimension.
struct Eigenspace {
    int dimension;
    std::array<double, 3> adjacency;  // by r
};

std::vector<Eigenspace> JohnsonEigenspaces(int subsetSize, int highest) {
    const double n = highest;
    if (subsetSize == 1) {
        return {{1, {n - 1, 1}}, {highest - 1, {-1, 1}}};
    }
    return {{1, {(n - 2) * (n - 3) / 2, 2 * (n - 2), 1}},
            {highest - 1, {-(n - 3), n - 4, 1}},
            {highest * (highest - 3) / 2, {1, -2, 1}}};
}

// The probability that a draw holds u given numbers: K(K-1)...(K-u+1) / (N(N-1)...(N-u+1)).
double AllDrawn(int u, int drawn, int highest) {
    double p = 1;
    for (int i = 0; i < u; ++i) {
        p *= static_cast<double>(drawn - i) / (highest - i);
    }
    return p;
}

}  // namespace

double WeightedChiSquareTail(std::span<const WeightedChiSquare> terms, double x) {
    std::vector<WeightedChiSquare> merged;
    for (const WeightedChiSquare& term : terms) {
        if (term.weight > 0 && term.freedom > 0) {
            merged.push_back(term);
        }
    }
    if (merged.empty()) {
        return x <= 0 ? 1 : 0;
    }
    std::sort(merged.begin(), merged.end(),
              [](const auto& a, const auto& b) { return a.weight > b.weight; });
    std::vector<WeightedChiSquare> distinct{merged.front()};
    for (std::size_t i = 1; i < merged.size(); ++i) {
        if (distinct.back().weight - merged[i].weight <= kSameWeight * distinct.back().weight) {
            distinct.back().freedom += merged[i].freedom;
        } else {
            distinct.push_back(merged[i]);
        }
    }
    return Tail(distinct, x);
}

std::vector<WeightedChiSquare> SubsetCovarianceSpectrum(int subsetSize, int drawn, int highest) {
    // Two t-subsets sharing r numbers are both drawn when their 2t - r numbers are: the
    // covariance of their indicators is that probability less the mean's square. The matrix is
    // Σ_r c_r A_r, so its eigenvalue on each eigenspace is Σ_r c_r a_r.
    const double mean = AllDrawn(subsetSize, drawn, highest);
    std::vector<WeightedChiSquare> spectrum;
    for (const Eigenspace& space : JohnsonEigenspaces(subsetSize, highest)) {
        double eigenvalue = 0;
        for (int r = 0; r <= subsetSize; ++r) {
            const double covariance = AllDrawn(2 * subsetSize - r, drawn, highest) - mean * mean;
            eigenvalue += covariance * space.adjacency[static_cast<std::size_t>(r)];
        }
        spectrum.push_back({eigenvalue / mean, space.dimension});
    }
    return spectrum;
}

std::vector<WeightedChiSquare> PearsonLaw(int subsetSize, int drawn, int highest) {
    const auto spectrum = SubsetCovarianceSpectrum(subsetSize, drawn, highest);
    std::vector<WeightedChiSquare> law;
    for (std::size_t i = 1; i < spectrum.size(); ++i) {
        // A weight of rounding size is a zero, as the second for K = N - 1.
        if (spectrum[i].weight > kSameWeight && spectrum[i].freedom > 0) {
            law.push_back(spectrum[i]);
        }
    }
    return law;
}

}  // namespace loto
