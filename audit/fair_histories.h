#pragma once

#include <cstdint>

#include "audit/gaps.h"
#include "audit/history.h"

namespace loto {

// Fair histories for the calibrations, from a generator of their own rather than the program's,
// so that an audit of the program's generator is not calibrated on the generator it audits.
// Replicate r of family f is the same on every machine, compiler and thread: SplitMix64 from a
// fixed seed, f and r, and bounded numbers by multiplication and rejection, which no standard
// library distribution guarantees alike everywhere.

// Fills `history` (K, N and the numbers' size set) with K distinct numbers of 1..N a draw, by a
// partial Fisher-Yates shuffle of one deck kept from draw to draw: whatever order the deck was
// left in, its next K places are a uniform K-subset, independent of the draws before.
void FillFairHistory(std::uint64_t seed, PoolHistory& history) noexcept;

// The source of replicate r of family f: FillFairHistory from a seed of f and r.
[[nodiscard]] FairHistorySource FairHistories(std::uint64_t family);

}  // namespace loto
