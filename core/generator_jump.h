#pragma once

#include <cstdint>
#include <optional>

#include "core/random_source.h"

namespace loto {

// Jumping the generator ahead. In raw units a step maps t = 32353 X + C to
//     t' = 32353 (t - q 2^48) + 10,000 q = 32353 t - q m,   m = 32353 x 2^48 - 10,000,
// so t' is congruent to 32353 t modulo m whatever quotient q the step used, and the t of k steps
// later is congruent to 32353^k t. The true t lies in [0, m) but for rare states (a large carry
// with X close to 2^48, or after a one-off Double quotient), so a jumped state is a guess that the
// caller must check against the state that the steps before it really end in.
inline constexpr std::uint64_t kJumpModulus =
    static_cast<std::uint64_t>(kMultiplier) * (std::uint64_t{1} << kModulusBits) - 10000;

// The t of a state: the value that its next step starts from.
[[nodiscard]] constexpr std::int64_t StepValue(const GeneratorState& state) noexcept {
    return kMultiplier * state.x + state.c;
}

// A state whose next step starts from t. It yields the same values as any state with that t, but
// its fields differ from the true ones until its first step.
[[nodiscard]] constexpr GeneratorState StateWithStepValue(std::int64_t t) noexcept {
    return {0, t};
}

// t modulo m, in [0, m).
[[nodiscard]] std::uint64_t JumpResidue(std::int64_t t) noexcept;

// (a x b) modulo m, for a and b in [0, m).
[[nodiscard]] std::uint64_t JumpMultiply(std::uint64_t a, std::uint64_t b) noexcept;

// 32353^steps modulo m: the factor that moves a residue `steps` values ahead.
[[nodiscard]] std::uint64_t JumpFactor(std::uint64_t steps) noexcept;

// Streams of the sequence from the seed, 2^40 values (about 1.7 x 10^11 draws) apart, for runs
// that must not share draws: stream 0 starts at the seed. The period from the seed, 47,429,999,
// 591,249,185 values, holds whole streams up to kLastStream.
inline constexpr int kStreamBits = 40;
inline constexpr std::uint64_t kLastStream =
    47'429'999'591'249'185 / (std::uint64_t{1} << kStreamBits) - 1;

// The state `stream` x 2^40 values after the seed; nothing past the last stream.
[[nodiscard]] std::optional<GeneratorState> StreamStart(std::uint64_t stream) noexcept;

}  // namespace loto
