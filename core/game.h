#pragma once

#include <string>

#include "core/six_of_forty_nine.h"

namespace loto {

// A pool of numbers: `drawn` of them drawn out of 1 to `top`, each at most once.
struct Pool {
    int drawn = 0;
    int top = 0;

    friend constexpr bool operator==(const Pool&, const Pool&) = default;
};

// A lottery as data: K numbers drawn out of 1 to N, then, optionally, one bonus number drawn from
// the rest of the same pool, then, optionally, M numbers of a second pool drawn out of 1 to Q.
struct Game {
    Pool main{kFavouriteCount, kHighestNumber};  // K of N
    bool bonus = false;
    Pool second{};  // M of Q; none without a second pool

    friend constexpr bool operator==(const Game&, const Game&) = default;

    [[nodiscard]] constexpr bool hasSecond() const noexcept { return second.drawn > 0; }
    // The numbers drawn from the main pool, the bonus included.
    [[nodiscard]] constexpr int mainTaken() const noexcept { return main.drawn + (bonus ? 1 : 0); }
};

// Six numbers out of 49, no bonus, no second pool.
inline constexpr Game kSixOfFortyNine{};

// The game written as loto-sim takes it: K/N, then +bonus, then +M/Q.
[[nodiscard]] std::string GameName(const Game& game);

}  // namespace loto
