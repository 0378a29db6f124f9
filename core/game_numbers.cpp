#include "core/game_numbers.h"

namespace loto {
namespace {

// Candidates of 1 to top until one that the pool's draw does not hold yet, which joins it.
std::uint8_t Fresh(GeneratorState& state, int top, NumberSet& drawn) noexcept {
    for (;;) {
        const int number = NextNumber(state, static_cast<std::uint64_t>(top));
        if (!drawn.Has(number)) {
            drawn.Add(number);
            return static_cast<std::uint8_t>(number);
        }
    }
}

}  // namespace

void DrawGameNumbers(GeneratorState& state, const Game& game,
                     std::span<std::uint8_t> numbers) noexcept {
    auto next = numbers.begin();
    NumberSet main;
    for (int i = 0; i < game.mainTaken(); ++i) {
        *next++ = Fresh(state, game.main.top, main);
    }
    NumberSet second;
    for (int i = 0; i < game.second.drawn; ++i) {
        *next++ = Fresh(state, game.second.top, second);
    }
}

}  // namespace loto
