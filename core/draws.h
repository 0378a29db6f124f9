#pragma once

#include <array>
#include <cstdint>

#include "core/game.h"
#include "core/random_source.h"

namespace loto {

// Tally[k]: the draws that matched exactly k favourite numbers.
using Tally = PerRow<std::uint64_t>;
using Numbers = std::array<int, kFavouriteCount>;

// The numbers of a grid as a set of bits (bit n for number n), the form the draw loop scores in.
[[nodiscard]] constexpr std::uint64_t NumberMask(const Numbers& numbers) noexcept {
    std::uint64_t mask = 0;
    for (const int n : numbers) {
        mask |= std::uint64_t{1} << n;
    }
    return mask;
}

// A draw in progress, as bits (bit n for number n): the numbers taken so far, how many, and how
// many of them the grid holds. The one definition of a draw, for one stream (T an integer) or for
// lanes of streams at once (T a vector of them, where Complete() is a mask per lane).
template <typename T>
struct BasicPartialDraw {
    T drawn{};
    T accepted{};
    T matches{};

    friend bool operator==(const BasicPartialDraw&, const BasicPartialDraw&) = default;

    [[nodiscard]] auto Complete() const noexcept { return accepted == kFavouriteCount; }

    // Takes one candidate: a number already drawn sets no new bit, which is the rejection, and a
    // new number scores when the grid has it.
    void Take(T number, T gridMask) noexcept {
        const T fresh = ~(drawn >> number) & 1;
        drawn |= (T{} + 1) << number;
        accepted += fresh;
        matches += fresh & (gridMask >> number);
    }
};
using PartialDraw = BasicPartialDraw<std::uint64_t>;

// One draw of six distinct numbers, scored against the grid, in one pass: each candidate consumes
// one value and is drawn again while it repeats a number already drawn, and each drawn number
// that the grid holds scores 1. Every draw takes at least six candidates, so those six are taken
// without a test; a repeat among them is the only reason to take more.
[[nodiscard]] inline int DrawMatches(GeneratorState& state, std::uint64_t gridMask) noexcept {
    PartialDraw draw;
    for (int i = 0; i < kFavouriteCount; ++i) {
        draw.Take(NextNumber(state), gridMask);
    }
    while (!draw.Complete()) {
        draw.Take(NextNumber(state), gridMask);
    }
    return static_cast<int>(draw.matches);
}

// `draws` draws added to the tally, with nothing in between.
inline void DrawInto(GeneratorState& state, std::uint64_t draws, std::uint64_t gridMask,
                     Tally& tally) noexcept {
    for (std::uint64_t i = 0; i < draws; ++i) {
        ++tally[static_cast<std::size_t>(DrawMatches(state, gridMask))];
    }
}

}  // namespace loto
