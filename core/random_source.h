#pragma once

#include <cstdint>

#include "core/six_of_forty_nine.h"

namespace loto {

// RandomSource: a multiply-with-carry generator computed in Currency fixed point.
//
// State: the seed X and the carry C, two Currency values kept as raw integers (value x 10,000).
// Constants: multiplier A = 32353 and modulus M = 2^48 raw. One step, in raw units:
//     t = 32353 X + C;  q = floor(t / 2^48);  X = t - q 2^48;  C = 10,000 q
// and the output is X / M in [0, 1). The quotient q is what the Double division of the Currency
// values gives, which equals the integer quotient unless t lies within a few thousand raw units of
// a multiple of 2^48; then, and only then, the Double formulas are followed step for step (a
// one-off quotient can leave X just outside [0, 2^48) and the output just outside [0, 1)).
// No value leaves 64 bits: 32353 x 2^48 is about 9.107e18.
struct GeneratorState {
    std::int64_t x = 0;  // raw Currency
    std::int64_t c = 0;  // raw Currency, 10,000 x the carry

    friend bool operator==(const GeneratorState&, const GeneratorState&) = default;
};

inline constexpr std::int64_t kMultiplier = 32353;
inline constexpr int kModulusBits = 48;
inline constexpr std::int64_t kModulusRaw = std::int64_t{1} << kModulusBits;
inline constexpr double kModulusDouble = 28147497671.0656;           // M as a Double: 2^48 / 10,000
inline constexpr GeneratorState kSeedState{280029710000, 65340000};  // X = 28002971, C = 6534

// One step by the Double formulas, exactly as the run time computes it; returns the new X / M.
[[nodiscard]] double NextUniformByDoubles(GeneratorState& state) noexcept;

// floor(u x top + 1) in Double: a number from 1 to top for u in [0, 1).
[[nodiscard]] int NumberFromUniform(double u, int top = kHighestNumber) noexcept;

namespace detail {

inline constexpr std::uint64_t kLowMask = static_cast<std::uint64_t>(kModulusRaw) - 1;
// Both Double formulas are off by at most a few thousand raw units (three roundings of 2^-53
// relative at 32353 x 2^48; four at top x 2^48 for the number); a margin of 2^16 is ample.
inline constexpr std::uint64_t kGuard = std::uint64_t{1} << 16;

// The number of a step comes from s = top (x >> 16), top times the top 32 of x's 48 bits: s is
// within top of top x / 2^16, so floor(s / 2^32) is floor(top x / 2^48) unless s lies within top
// of a multiple of 2^32. Where t (whose low bits are x) or top x comes within kGuard of a
// multiple of 2^48, the Double formulas may differ, and s comes within 2 top of a multiple of
// 2^32. One test of s, with a margin of 2 top + 2 (100 for 49), watches all three.
[[nodiscard]] constexpr std::uint32_t NearNumber(std::uint64_t top) noexcept {
    return static_cast<std::uint32_t>(2 * top + 2);
}
static_assert(NearNumber(99) > 99 + 99 * kGuard / (std::uint64_t{1} << 16));

[[nodiscard]] constexpr bool NearEdge(std::uint64_t s, std::uint32_t near) noexcept {
    return static_cast<std::uint32_t>(s + near) < 2 * near;
}

// The step by the Double formulas, and the number of the state it leaves. The fields go in and
// out as values, not as a state's address or a larger result: a loop's state then stays in
// registers, which a memory round trip would add to every step's chain.
[[nodiscard]] GeneratorState StepByDoubles(std::int64_t x, std::int64_t c) noexcept;
[[nodiscard]] int NumberOf(std::int64_t x, int top) noexcept;

}  // namespace detail

// One step and its number from 1 to top, identical to
// NumberFromUniform(NextUniformByDoubles(), top) for every state, without a division on the
// common path: away from the edges the integer quotient and the integer floor are what the
// Double formulas give. The step's chain is one multiply, an add and a mask; the test is off it.
// Always inline: called apart, its state would go through memory, a round trip on the chain.
[[nodiscard, gnu::always_inline]] inline int NextNumber(
    GeneratorState& state, std::uint64_t top = kHighestNumber) noexcept {
    const std::int64_t t = kMultiplier * state.x + state.c;
    const std::uint64_t x = static_cast<std::uint64_t>(t) & detail::kLowMask;
    const std::uint64_t s = (x >> 16) * top;
    if (detail::NearEdge(s, detail::NearNumber(top))) [[unlikely]] {
        const GeneratorState next = detail::StepByDoubles(state.x, state.c);
        state.x = next.x;
        state.c = next.c;
        return detail::NumberOf(next.x, static_cast<int>(top));
    }
    state.x = static_cast<std::int64_t>(x);
    state.c = (t >> kModulusBits) * 10000;
    return static_cast<int>(s >> 32) + 1;
}

// One step and floor(u x 2^32) of its uniform u, for external test batteries. Away from the few
// states where the Double formulas act, u = X / 2^48 and the word is X / 2^16; where X is a
// multiple of 2^16 the Double quotient may fall just below it, so the word is taken from u itself,
// and a u just outside [0, 1) gives 0 or 2^32 - 1.
[[nodiscard]] std::uint32_t NextWord(GeneratorState& state) noexcept;

// A generator's state over a run: seeded when it is made (or started on a stream of its
// sequence), then advanced by every draw.
class RandomSource {
public:
    explicit RandomSource(const GeneratorState& start = kSeedState) noexcept : state_(start) {}

    [[nodiscard]] GeneratorState& state() noexcept { return state_; }
    [[nodiscard]] const GeneratorState& state() const noexcept { return state_; }

private:
    GeneratorState state_;
};

}  // namespace loto
