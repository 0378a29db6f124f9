#pragma once

#include <vector>

#include "audit/battery.h"
#include "audit/history.h"

namespace loto {

// Two instances of a generator must never fall into step: draw t of one stream against draw t
// of another, for histories of the same K, N and number of draws.
//
// "stream overlap": the numbers that the two draws share, hypergeometric(N, K, K) as the overlap
// of consecutive draws, by Pearson's chi-square over classes pooled from the top.
// "stream correlation": Pearson's correlation r of the two draws' sums, the statistic; its
// p-value two-sided from Student's t with D - 2 degrees of freedom, t = r sqrt((D - 2)/(1 - r²)).
// Each is left out where it cannot be formed (too few draws, sums that never vary).
[[nodiscard]] std::vector<TestResult> StreamPairTests(const PoolHistory& one,
                                                      const PoolHistory& other);

}  // namespace loto
