#pragma once

#include <cstdint>
#include <span>

#include "core/draw_rule.h"
#include "core/random_source.h"

namespace loto {

// The numbers of one draw of `game`, as the serial loop draws it and scores it without saying
// them: K main numbers floor(u x N + 1), each candidate drawn again while it repeats one of the
// draw; then the bonus, drawn again while it repeats one of the K; then the second pool's M
// numbers floor(u x Q + 1), drawn again while they repeat among themselves; one value of the
// stream a candidate. `numbers` receives them in that order, game.mainTaken() + game.second.drawn
// of them. Next to an edge of the generator a number can be a 0 or a top + 1, as in those draws.
void DrawGameNumbers(GeneratorState& state, const Game& game,
                     std::span<std::uint8_t> numbers) noexcept;

}  // namespace loto
