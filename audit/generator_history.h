#pragma once

#include <cstdint>

#include "audit/history.h"
#include "core/draw_rule.h"
#include "core/random_source.h"

namespace loto {

// `draws` draws of the game by the program's own generator from `start`, each as DrawGameNumbers
// draws it, held as a history read from a file holds them: the main pool (K of 1..N), the bonus
// when the game has one, the second pool when it has one. A draw next to an edge of the
// generator that holds a 0 or a top + 1 (a few in 10^10 draws) is no draw of the game: it is set
// aside as a bad line is, its place in the run, from 1, for its line.
[[nodiscard]] History GeneratorHistory(const Game& game, GeneratorState start, std::uint64_t draws);

}  // namespace loto
