#pragma once

// Histories of K of N with a known fault, for what the audit can see: the faults it should flag,
// and the same draws without them.

#include <cstdint>
#include <vector>

#include "audit/history.h"

namespace loto {

enum class Fault {
    kNone,
    // Number 1 put in place of another number in a share b K/(N - K) of the draws that lack it:
    // P(1 drawn) = K/N + (1 - K/N) b K/(N - K) = (1 + b) K/N, b more likely (b = 0.1: ten per
    // cent).
    kHeavyNumber,
    // 2 put in place of a number other than 1 in a share b of the draws that hold 1 but not 2.
    kGluedPair,
    // A number of the draw before put in place of one of this draw's in a share b of the draws
    // that lack it.
    kRepeat,
};

[[nodiscard]] const char* FaultName(Fault fault) noexcept;

// Fair draws by a partial Fisher-Yates shuffle of one deck kept from draw to draw, on a generator
// apart from the calibrations' own (seeded by `seed`); then the fault, of bias b (at most 1 as a
// share of draws).
[[nodiscard]] PoolHistory FaultyHistory(Fault fault, int drawn, int highest, std::size_t draws,
                                        std::uint64_t seed, double bias = 0.1);

}  // namespace loto
