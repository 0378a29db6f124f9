#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include "core/event_pump.h"
#include "core/random_source.h"

namespace loto {

// Tally[k]: the draws that matched exactly k favourite numbers.
using Tally = std::array<std::uint64_t, 7>;
using Numbers = std::array<int, 6>;

// Six distinct numbers in drawing order: each candidate consumes one value and is drawn again
// while it equals a number already drawn.
[[nodiscard]] Numbers DrawNumbers(GeneratorState& state) noexcept;

// How many drawn numbers equal at least one grid number (each drawn number adds at most 1).
[[nodiscard]] int CountMatches(const Numbers& drawn, const Numbers& grid) noexcept;

// The numbers of a grid as a set of bits (bit n for number n), the form the draw loop scores in.
[[nodiscard]] std::uint64_t NumberMask(const Numbers& numbers) noexcept;

// DrawNumbers as a set of bits. Drawn numbers are distinct, so the matches of a draw are the
// bits it shares with the grid's mask.
[[nodiscard]] inline std::uint64_t DrawMask(GeneratorState& state) noexcept {
    std::uint64_t drawn = 0;
    for (int i = 0; i < 6; ++i) {
        std::uint64_t bit = 0;
        do {
            bit = std::uint64_t{1} << NextNumber(state);
        } while ((drawn & bit) != 0);
        drawn |= bit;
    }
    return drawn;
}

struct DrawRun {
    std::uint64_t done = 0;
    bool stopped = false;  // the pump asked the run to stop
};

// The draw loop: `count` draws scored against `gridMask` and added to `tally`, the hook called
// before every draw. The state is shared with any command that the pump runs in between, so it is
// written back before each visit and read again after.
DrawRun RunDraws(GeneratorState& state, std::uint64_t count, std::uint64_t gridMask, Tally& tally,
                 EventPumpHook& hook);

}  // namespace loto
