#include "core/lottery.h"

namespace loto {

std::string GameSpec(const Game& game) {
    std::string spec = std::to_string(game.drawn) + "/" + std::to_string(game.top);
    if (game.bonus) {
        spec += "+bonus";
    }
    if (game.hasSecond()) {
        spec.append("+").append(std::to_string(game.secondDrawn));
        spec.append("/").append(std::to_string(game.secondTop));
    }
    return spec;
}

}  // namespace loto
