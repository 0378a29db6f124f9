#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>

#include "core/draw_rule.h"
#include "core/random_source.h"
#include "core/six_of_forty_nine.h"

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
// many of them the grid holds. The definition of a draw that lanes of streams at once parse by
// (T a vector of them, where Complete() is a mask per lane), as a chunk's open draw of a game of
// one pool keeps it (T an integer). The lanes count in units of 8, each number's bit three places
// up (kUnit 8): a count of matches is then already the shift to its 8-bit tally field.
template <typename T, std::uint64_t kUnit = 1>
struct BasicPartialDraw {
    T drawn{};
    T accepted{};
    T matches{};

    friend bool operator==(const BasicPartialDraw&, const BasicPartialDraw&) = default;

    // Whether `drawn` numbers are taken, in units of kUnit.
    [[nodiscard]] auto Complete(T drawnTarget) const noexcept { return accepted == drawnTarget; }

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

// A draw of any game in progress, value by value, as chunks are parsed: the main numbers taken so
// far (the bonus last, once the K main ones are), the second pool's after them, and what of each
// the ticket holds.
struct OpenDraw {
    NumberSet main;
    NumberSet second;
    int mainTaken = 0;
    int matches = 0;
    int bonusMatched = 0;
    int secondTaken = 0;
    int secondMatches = 0;

    friend bool operator==(const OpenDraw&, const OpenDraw&) = default;

    // Whether the draw's next value is of the second pool: its number is then 1 to Q.
    [[nodiscard]] bool InSecond(const DrawRule& rule) const noexcept {
        return mainTaken == rule.game.mainTaken();
    }
    // Takes one value, its number in the pool that the draw is drawing from; true once the draw
    // is complete.
    bool Take(const DrawRule& rule, int number) noexcept {
        const Game& game = rule.game;
        if (!InSecond(rule)) {
            if (!main.Has(number)) {
                main.Add(number);
                const int inTicket = rule.main.Has(number) ? 1 : 0;
                (mainTaken++ < game.main.drawn ? matches : bonusMatched) += inTicket;
            }
        } else if (!second.Has(number)) {
            second.Add(number);
            ++secondTaken;
            secondMatches += rule.second.Has(number) ? 1 : 0;
        }
        return mainTaken == game.mainTaken() && secondTaken == game.second.drawn;
    }
    [[nodiscard]] int Tier(const TierStrides& strides) const noexcept {
        return strides.Index(matches, bonusMatched, secondMatches);
    }
    [[nodiscard]] int Tier(const DrawRule& rule) const noexcept { return Tier(rule.Strides()); }
    [[nodiscard]] bool Empty() const noexcept { return mainTaken == 0; }
};

// A pool as the serial loop scores it: for each number, its bit in the set drawn and its weight,
// kCounted for a number drawn plus 1 when the ticket holds it. A draw's total counts its numbers
// (above kCounted) and its matches (below) with one add a value, and neither needs a shift by the
// number, which the core runs on fewer of its pipes than loads and adds. Next to a multiple of
// 2^48 a one-off quotient makes a 0 or a top + 1, drawn as any number and never in the ticket:
// the table has their rows too. Set: an integer of enough bits for those numbers.
template <typename Set>
class BasicScoringTable {
public:
    static constexpr std::uint64_t kCounted = 128;  // above the most matches, 99
    static constexpr int kMostRows = 101;

    constexpr BasicScoringTable(const NumberSet& ticket, int top) noexcept : top_(top) {
        for (int n = 0; n <= top + 1; ++n) {
            bit_[n] = Set{1} << n;
            weight_[n] = kCounted + (ticket.Has(n) ? 1 : 0);  // 0 and top + 1 never in it
        }
    }

    [[nodiscard]] constexpr int top() const noexcept { return top_; }

    // Adds a number to a draw's set and total, unless the draw holds it already: the rejection.
    // Where a draw takes many numbers of its pool, and repeats often, without a branch, which would
    // be mispredicted at every repeat; where few, the compiler's choice, which is faster there.
    template <bool kRepeatsOften = false>
    constexpr void Take(int number, Set& drawn, std::uint64_t& total) const noexcept {
        const auto i = static_cast<unsigned>(number);  // unsigned: no sign to extend
        if constexpr (kRepeatsOften) {
            const auto fresh = static_cast<std::uint64_t>((drawn & bit_[i]) == 0);
            total += (0 - fresh) & weight_[i];
        } else {
            total += (drawn & bit_[i]) != 0 ? 0 : weight_[i];
        }
        drawn |= bit_[i];
    }

private:
    std::array<Set, kMostRows> bit_{};
    std::array<std::uint64_t, kMostRows> weight_{};
    int top_;
};

// 6/49's table: 49 numbers and the rows of 0 and 50 fit one 64-bit set.
using ScoringTable = BasicScoringTable<std::uint64_t>;

// `taken` distinct numbers of one pool scored against its table, each candidate consuming one
// value and drawn again while it repeats a number already drawn: the draw's total. Every draw
// takes at least `taken` candidates, so those are taken without a test; a repeat among them is
// the only reason to take more. kTaken: `taken` known when compiled, 0 when not.
template <int kTaken, typename Set>
[[nodiscard, gnu::always_inline]] inline std::uint64_t DrawPool(GeneratorState& state,
                                                                const BasicScoringTable<Set>& table,
                                                                int taken, Set& drawn) noexcept {
    const int count = kTaken != 0 ? kTaken : taken;
    const auto top = static_cast<std::uint64_t>(table.top());
    const std::uint64_t complete = static_cast<std::uint64_t>(count) * table.kCounted;
    // The state and the set in registers: through their references, which the compiler cannot
    // tell apart from the table's memory, every step would go through memory.
    GeneratorState local = state;
    Set set = drawn;
    std::uint64_t total = 0;
    // A count not known when compiled is of the draws that take many numbers.
    constexpr bool kRepeatsOften = kTaken == 0;
    for (int i = 0; i < count; ++i) {
        table.template Take<kRepeatsOften>(NextNumber(local, top), set, total);
    }
    while (total < complete) {
        table.template Take<kRepeatsOften>(NextNumber(local, top), set, total);
    }
    state = local;
    drawn = set;
    return total;
}

// One draw of 6/49, scored against the grid: its matches, 0 to 6.
[[nodiscard]] inline int DrawMatches(GeneratorState& state, const ScoringTable& table) noexcept {
    std::uint64_t drawn = 0;
    const std::uint64_t total = DrawPool<kFavouriteCount>(state, table, kFavouriteCount, drawn);
    return static_cast<int>(total % ScoringTable::kCounted);
}

// `draws` draws of the rule's game added to the tally, one by one, with nothing in between; the
// state in registers meanwhile. `tally` holds rule.tiers() counts.
void DrawInto(GeneratorState& state, std::uint64_t draws, const DrawRule& rule,
              std::span<std::uint64_t> tally) noexcept;

// 6/49, for a grid given as its set of numbers.
inline void DrawInto(GeneratorState& state, std::uint64_t draws, std::uint64_t gridMask,
                     Tally& tally) noexcept {
    DrawInto(state, draws, SixOfFortyNineRule(gridMask), tally);
}

// One draw at a time of a rule's game, each its tier, for processes that act on every draw; the
// serial loop's own tables, made once.
class DrawByDraw {
public:
    explicit DrawByDraw(const DrawRule& rule);
    ~DrawByDraw();
    DrawByDraw(const DrawByDraw&) = delete;
    DrawByDraw& operator=(const DrawByDraw&) = delete;

    // The next draw's tier, by rule.TierIndex.
    [[nodiscard]] int Next(GeneratorState& state) const noexcept;

    struct Loop;

private:
    std::unique_ptr<const Loop> loop_;
};

// The mean number of values a draw of the game takes: each candidate of a pool is drawn again
// with the probability that it repeats a number already drawn.
[[nodiscard]] double ValuesPerDraw(const Game& game) noexcept;
// And their variance.
[[nodiscard]] double ValuesPerDrawVariance(const Game& game) noexcept;

}  // namespace loto
