#pragma once

#include <array>
#include <cstdint>

#include "core/event_pump.h"
#include "core/random_source.h"

namespace loto {

// Tally[k]: the draws that matched exactly k favourite numbers.
using Tally = std::array<std::uint64_t, 7>;
using Numbers = std::array<int, 6>;

// The numbers of a grid as a set of bits (bit n for number n), the form the draw loop scores in.
[[nodiscard]] constexpr std::uint64_t NumberMask(const Numbers& numbers) noexcept {
    std::uint64_t mask = 0;
    for (const int n : numbers) {
        mask |= std::uint64_t{1} << n;
    }
    return mask;
}

// A draw in progress, as bits (bit n for number n): the numbers taken so far, how many, and how
// many of them the grid holds.
struct PartialDraw {
    std::uint64_t drawn = 0;
    int accepted = 0;
    int matches = 0;

    [[nodiscard]] bool Complete() const noexcept { return accepted == 6; }

    // Takes one candidate: a number already drawn sets no new bit, which is the rejection, and a
    // new number scores when the grid has it.
    void Take(int number, std::uint64_t gridMask) noexcept {
        const auto fresh = static_cast<int>(~drawn >> number & 1);
        drawn |= std::uint64_t{1} << number;
        accepted += fresh;
        matches += fresh & static_cast<int>(gridMask >> number & 1);
    }
};

// One draw of six distinct numbers, scored against the grid, in one pass: each candidate consumes
// one value and is drawn again while it repeats a number already drawn, and each drawn number
// that the grid holds scores 1. Every draw takes at least six candidates, so those six are taken
// without a test; a repeat among them is the only reason to take more.
[[nodiscard]] inline int DrawMatches(GeneratorState& state, std::uint64_t gridMask) noexcept {
    PartialDraw draw;
    for (int i = 0; i < 6; ++i) {
        draw.Take(NextNumber(state), gridMask);
    }
    while (!draw.Complete()) {
        draw.Take(NextNumber(state), gridMask);
    }
    return draw.matches;
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
