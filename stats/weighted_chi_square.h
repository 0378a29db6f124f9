#pragma once

#include <span>
#include <vector>

namespace loto {

// Pearson's statistic over counts that are not independent, as those of the numbers or pairs of
// draws without replacement, is asymptotically a weighted sum of independent chi-squares,
// Σ weight_i χ²(freedom_i), rather than one chi-square.
struct WeightedChiSquare {
    double weight;
    int freedom;
};

// P(Σ weight_i χ²(freedom_i) >= x), to about ten significant digits, also far in the tail: the
// density of one term integrated against the tail of the others. Terms of no weight or freedom
// count for nothing and terms of equal weight are one chi-square, so only distinct weights cost
// an integral each (nested: meant for two or three).
[[nodiscard]] double WeightedChiSquareTail(std::span<const WeightedChiSquare> terms, double x);

// The covariance matrix of one draw's indicators of its t-subsets (t = 1: the numbers, t = 2: the
// pairs) for K of 1..N, divided by their mean, on each eigenspace of the Johnson scheme J(N, t):
// one term per eigenspace, its eigenvalue and dimension, the constant vector's first. The
// constant vector's is 0, as a draw always holds C(K, t) subsets. For t <= K < N (N >= 3 for
// pairs).
[[nodiscard]] std::vector<WeightedChiSquare> SubsetCovarianceSpectrum(int subsetSize, int drawn,
                                                                      int highest);

// Genest, Lockhart and Stephens ("χ² and the Lottery", The Statistician 51, 2002) derive this law
// from the same Johnson scheme with explicit weights; only their summary could be read here, so
// the weights below are held to the derivation worked by hand and to simulated histories instead.
//
// The asymptotic law of Pearson's X² over the counts of the t-subsets in a fair history: the
// spectrum past the constant vector, without the terms of no weight (K = N - 1 for pairs). For
// numbers it is (N - K)/(N - 1) χ²(N - 1); for pairs (K - 1)(N - K)/(N - 2) χ²(N - 1) +
// (N - K)(N - K - 1)/((N - 2)(N - 3)) χ²(N(N - 3)/2).
[[nodiscard]] std::vector<WeightedChiSquare> PearsonLaw(int subsetSize, int drawn, int highest);

}  // namespace loto
