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
// many of them the grid holds. The definition of a draw that chunks are parsed by, for one stream
// (T an integer) or for lanes of streams at once (T a vector of them, where Complete() is a mask
// per lane). The lanes count in units of 8, each number's bit three places up (kUnit 8): a count
// of matches is then already the shift to its 8-bit tally field.
template <typename T, std::uint64_t kUnit = 1>
struct BasicPartialDraw {
    T drawn{};
    T accepted{};
    T matches{};

    friend bool operator==(const BasicPartialDraw&, const BasicPartialDraw&) = default;

    [[nodiscard]] auto Complete() const noexcept { return accepted == kUnit * kFavouriteCount; }

    // Takes one candidate: a number already drawn sets no new bit, which is the rejection, and a
    // new number scores when the grid has it.
    void Take(T number, T gridMask) noexcept {
        const T fresh = ~(drawn >> number) & kUnit;
        drawn |= (T{} + kUnit) << number;
        accepted += fresh;
        matches += fresh & (gridMask >> number);
    }
};
using PartialDraw = BasicPartialDraw<std::uint64_t>;

// A grid as the serial loop scores it: for each number, its bit in the set drawn and its weight,
// kCounted for a number drawn plus 1 when the grid holds it. A draw's total counts its numbers
// (above kCounted) and its matches (below) with one add a value, and neither needs a shift by the
// number, which the core runs on fewer of its pipes than loads and adds. Next to a multiple of
// 2^48 a one-off quotient makes a 0 or a 50, drawn as any number and never in the grid: the table
// has their rows too.
class ScoringTable {
public:
    static constexpr std::uint64_t kCounted = 16;  // above the most matches, 6
    static constexpr int kRows = kHighestNumber + 2;

    explicit constexpr ScoringTable(std::uint64_t gridMask) noexcept {
        for (int n = 0; n < kRows; ++n) {
            bit_[n] = std::uint64_t{1} << n;
            weight_[n] = kCounted + (gridMask >> n & 1);  // bits 0 and 50 never set
        }
    }

    // Adds a number to a draw's set and total, unless the draw holds it already: the rejection.
    constexpr void Take(int number, std::uint64_t& drawn, std::uint64_t& total) const noexcept {
        const auto i = static_cast<unsigned>(number);  // unsigned: no sign to extend
        total += (drawn & bit_[i]) != 0 ? 0 : weight_[i];
        drawn |= bit_[i];
    }

private:
    std::array<std::uint64_t, kRows> bit_{};
    std::array<std::uint64_t, kRows> weight_{};
};

// One draw of six distinct numbers, scored against the grid, in one pass: each candidate consumes
// one value and is drawn again while it repeats a number already drawn, and each drawn number
// that the grid holds scores 1. Every draw takes at least six candidates, so those six are taken
// without a test; a repeat among them is the only reason to take more.
[[nodiscard]] inline int DrawMatches(GeneratorState& state, const ScoringTable& table) noexcept {
    constexpr std::uint64_t kComplete = kFavouriteCount * ScoringTable::kCounted;
    std::uint64_t drawn = 0;
    std::uint64_t total = 0;
    for (int i = 0; i < kFavouriteCount; ++i) {
        table.Take(NextNumber(state), drawn, total);
    }
    while (total < kComplete) {
        table.Take(NextNumber(state), drawn, total);
    }
    return static_cast<int>(total % ScoringTable::kCounted);
}

// `draws` draws added to the tally, with nothing in between; the state in registers meanwhile.
inline void DrawInto(GeneratorState& state, std::uint64_t draws, std::uint64_t gridMask,
                     Tally& tally) noexcept {
    const ScoringTable table(gridMask);
    GeneratorState local = state;
    for (std::uint64_t i = 0; i < draws; ++i) {
        ++tally[static_cast<std::size_t>(DrawMatches(local, table))];
    }
    state = local;
}

}  // namespace loto
