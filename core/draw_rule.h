#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>

#include "core/game.h"
#include "core/six_of_forty_nine.h"

namespace loto {

// Numbers as bits, number n as bit n, 0 to 127: a draw next to an edge of the generator can hold
// a 0 or an N + 1, as 6/49's draws can hold a 0 or a 50.
class NumberSet {
public:
    constexpr NumberSet() = default;
    constexpr NumberSet(std::uint64_t low, std::uint64_t high) noexcept : words_{low, high} {}

    [[nodiscard]] constexpr bool Has(int n) const noexcept {
        return (words_[n >> 6] >> (n & 63) & 1) != 0;
    }
    constexpr void Add(int n) noexcept { words_[n >> 6] |= std::uint64_t{1} << (n & 63); }
    [[nodiscard]] constexpr int Count() const noexcept {
        return std::popcount(words_[0]) + std::popcount(words_[1]);
    }
    // Numbers 0 to 63, where a game's draws and tickets all lie.
    [[nodiscard]] constexpr std::uint64_t low() const noexcept { return words_[0]; }
    [[nodiscard]] constexpr std::uint64_t high() const noexcept { return words_[1]; }
    [[nodiscard]] constexpr bool FitsLow() const noexcept { return words_[1] == 0; }

    friend constexpr bool operator==(const NumberSet&, const NumberSet&) = default;

private:
    std::uint64_t words_[2] = {0, 0};
};

// A tier's index from its matches, m the most significant, with its strides counted once: the
// second pool's comes from a count of the ticket's bits, which a loop should not take a draw.
struct TierStrides {
    int bonusStates = 1;
    int secondStride = 1;

    [[nodiscard]] constexpr int Index(int m, int b, int s) const noexcept {
        return (m * bonusStates + b) * secondStride + s;
    }
};

// What the draw loop scores a draw against: the game and a ticket's numbers, p main and q of the
// second pool. A draw falls into a tier, (m, b, s): the main numbers that it matched, whether its
// bonus did (in a game with one) and the second-pool numbers that it matched (in a game with a
// second pool); its tally is indexed by the tier, m the most significant: in 6/49 the index is
// m, the matches.
struct DrawRule {
    Game game;
    NumberSet main;
    NumberSet second;

    friend constexpr bool operator==(const DrawRule&, const DrawRule&) = default;

    [[nodiscard]] constexpr int mostMain() const noexcept {
        return std::min(main.Count(), game.main.drawn);
    }
    [[nodiscard]] constexpr int mostSecond() const noexcept {
        return game.hasSecond() ? std::min(second.Count(), game.second.drawn) : 0;
    }
    [[nodiscard]] constexpr int bonusStates() const noexcept { return game.bonus ? 2 : 1; }
    [[nodiscard]] constexpr int tiers() const noexcept {
        return (mostMain() + 1) * bonusStates() * (mostSecond() + 1);
    }
    [[nodiscard]] constexpr TierStrides Strides() const noexcept {
        return {bonusStates(), mostSecond() + 1};
    }
    [[nodiscard]] constexpr int TierIndex(int m, int b, int s) const noexcept {
        return Strides().Index(m, b, s);
    }
};

// The game against a ticket of its numbers 1 to `main` and, with a second pool, 1 to `second`.
[[nodiscard]] constexpr DrawRule FirstNumbersRule(const Game& game, int main, int second) noexcept {
    DrawRule rule{.game = game, .main = {}, .second = {}};
    for (int n = 1; n <= main; ++n) {
        rule.main.Add(n);
    }
    for (int n = 1; n <= second; ++n) {
        rule.second.Add(n);
    }
    return rule;
}

// 6/49 against a grid of six, given as the set of its numbers.
[[nodiscard]] constexpr DrawRule SixOfFortyNineRule(std::uint64_t gridMask) noexcept {
    DrawRule rule{.game = kSixOfFortyNine, .main = {}, .second = {}};
    for (int n = 0; n < 64; ++n) {
        if ((gridMask >> n & 1) != 0) {
            rule.main.Add(n);
        }
    }
    return rule;
}

}  // namespace loto
